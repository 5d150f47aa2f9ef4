// A progress bar moved through many positions on one drawing panel: each position fills
// the panel in four gradients and writes its text twice (shadow and face), as the
// updater's bars do. Goal: the record a draw replays, and the time of one draw, are the
// same after 100,000 positions as after 1,000.

#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cstdint>
#include <string>

#include "platform/ui/desktop/desktop_drawing.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui {
namespace {

constexpr int kWidth = 295;
constexpr int kHeight = 18;

TriVertex Corner(int x, int y, Colour colour) {
  return {x, y, static_cast<std::uint16_t>((colour & 0xFF) << 8), static_cast<std::uint16_t>(colour & 0xFF00),
          static_cast<std::uint16_t>((colour >> 8) & 0xFF00), 0};
}

// A headless program with one window holding the bar's panel.
struct BarProgram {
  BarProgram() {
    resources.AddCopy("Bar.layout.json", R"({"controls": [{"kind": "DrawPanel", "name": "bar",
                                                            "rect": [0, 0, 295, 18]}]})");
    panel = program.LoadWindow("Bar", false).Find<DrawPanel>("bar");
    panel.SetBackColour(0xBCB8BC);
  }

  void Fill(int left, int top, int right, int bottom, Colour from, Colour to) {
    const WindowHandle window = program.GetWindowHandle(panel);
    const TriVertex vertices[2] = {Corner(left, top, from), Corner(right, bottom, to)};
    const GradientRect mesh{0, 1};
    const DeviceContext context = program.GetDC(window);
    program.GradientFill(context, std::string_view(reinterpret_cast<const char*>(vertices), sizeof vertices), 2,
                         &mesh, 1, kGradientFillRectV);
    program.ReleaseDC(window, context);
  }

  void Position(int position, int maximum) {
    const int split = static_cast<int>(std::int64_t{position % (maximum + 1)} * kWidth / maximum);
    Fill(split, 0, kWidth, kHeight / 2, 0xE8F3E7, 0xE1DBE1);
    Fill(split, kHeight / 2, kWidth, kHeight, 0xB3BDB3, 0xE2EEE2);
    Fill(0, 0, split, kHeight / 2, 0xDFFBDF, 0x6CFF6C);
    Fill(0, kHeight / 2, split, kHeight, 0x1AE41A, 0xD9F4D9);
    const std::string text = std::to_string(position % 101) + "%";
    panel.SetTextColour(0xFFFFFF);
    panel.SetWritePosition(141, 4);
    panel.WriteText(text);
    panel.SetTextColour(0x000000);
    panel.SetWritePosition(140, 3);
    panel.WriteText(text);
  }

  const PaintRecord& Record() const { return std::get<DrawingState>(ModelOf(panel)->state).paints; }

  VirtualTimebase time;
  HeadlessBackend backend{time, nullptr};
  ResourceBundle resources;
  Program program{backend, resources};
  DrawPanel panel;
};

// Sets range(0) positions; the counters give what a draw replays and what the dump keeps.
void BM_SetPositions(benchmark::State& state) {
  const int positions = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    BarProgram bar;
    state.ResumeTiming();
    for (int position = 0; position < positions; ++position) bar.Position(position, 100);
    state.counters["shown_ops"] = static_cast<double>(bar.Record().Shown().size());
    state.counters["recent_ops"] = static_cast<double>(bar.Record().Recent().size());
  }
  state.SetItemsProcessed(state.iterations() * positions);
}
BENCHMARK(BM_SetPositions)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One draw of the panel, as the desktop makes it, after range(0) positions.
void BM_DrawAfterPositions(benchmark::State& state) {
  BarProgram bar;
  for (int position = 0; position < state.range(0); ++position) bar.Position(position, 100);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth + 2, kHeight + 2);
  cairo_t* cr = cairo_create(surface);
  desktop::PictureCache pictures(bar.resources);
  for (auto _ : state) {
    desktop::PaintUnit(cr, *ModelOf(bar.panel), pictures, {});
    cairo_surface_flush(surface);
  }
  state.counters["shown_ops"] = static_cast<double>(bar.Record().Shown().size());
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_DrawAfterPositions)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvane::platform::ui

BENCHMARK_MAIN();
