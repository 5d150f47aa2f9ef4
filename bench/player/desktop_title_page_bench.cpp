// The road of bench_player_title_page on the desktop backend, in this process on an X
// server of the benchmark's own: a film's title page of 10 MB with 100, 1,000 and 5,000
// episode links arrives in the film-library browser (handed over as WebKit hands its
// bytes: Navigated, then PageComplete), the real player scrapes it, waits out the
// 500 ms status pause on the real clock, fills the programme list with every episode and
// plays the first on libmpv (its address answers nothing, so mpv shows no picture). Timed
// from the page's arrival until the GTK store holds every row and a round trip to the X
// server has completed, so the window has drawn the list and answers again. Two films
// take turns, so each iteration replaces the whole list. The sites answer from memory.
// Goal: 5,000 episodes cost less than 0.3 s beyond 100, linear in the items.

#include <gtk/gtk.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "bench/player/bench_player.h"
#include "bench/player/memory_site.h"
#include "platform/testing/virtual_display.h"
#include "platform/ui/desktop/desktop_backend.h"

namespace {

using namespace korvane;
namespace ui = platform::ui;

constexpr int kFilms = 2;
constexpr char kList[] = "主窗体播放器节目列表";
constexpr char kEngine[] = "快播播放器";
constexpr char kLibraryBrowser[] = "主界面片库浏览器";

// Runs the loop until `done` holds; false after 60 s without it.
bool PumpUntil(const std::function<bool()>& done) {
  const gint64 deadline = g_get_monotonic_time() + 60 * G_USEC_PER_SEC;
  while (!done()) {
    if (g_get_monotonic_time() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
  }
  return true;
}

// The list box's view inside the control's box and its scrolled window.
GtkTreeView* ListView(GtkWidget* control) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(control));
  GtkWidget* scrolled = GTK_WIDGET(children->data);
  g_list_free(children);
  return GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scrolled)));
}

// The rows the view's store holds, at every depth; none while the store is off the view.
int StoreRows(GtkTreeView* view) {
  GtkTreeModel* model = gtk_tree_view_get_model(view);
  int rows = 0;
  if (model == nullptr) return rows;
  gtk_tree_model_foreach(
      model, [](GtkTreeModel*, GtkTreePath*, GtkTreeIter*, gpointer count) -> gboolean {
        ++*static_cast<int*>(count);
        return FALSE;
      },
      &rows);
  return rows;
}

class DesktopTitlePages {
 public:
  DesktopTitlePages(benchmark::State& state, int episodes) : state_(state), episodes_(episodes) {
    bench::ServePlayerStart(site_);
    for (int film = 0; film < kFilms; ++film) pages_[film] = bench::FilmPage(film, bench::kTitlePageBytes, episodes);
    bench::WriteInstallation(folder_);
  }

  // Runs the player; the pages are opened from its loop once its main window shows.
  void Run() {
    g_timeout_add(10, &DesktopTitlePages::WhenStarted, this);
    player_.Run();
  }

 private:
  static gboolean WhenStarted(gpointer self) {
    return static_cast<DesktopTitlePages*>(self)->StartedRoad() ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
  }

  // False while the main window is not yet shown.
  bool StartedRoad() {
    const std::vector<ui::Window> windows = InspectionOf(player_.ui).Windows();
    if (windows.empty() || !windows.front().Has(kList)) return false;
    GtkWidget* main = backend_.WindowWidget(windows.front().Id());
    if (main == nullptr || !gtk_widget_get_mapped(main)) return false;
    backend_.Guard([&] { player_.OpenView(true); });
    // The first page makes mpv's player and lays the list out once: not timed.
    if (OpenPage(0) < 0) {
      state_.SkipWithError("the first page did not fill the list and play");
    } else {
      for (int page = 1; state_.KeepRunning(); ++page) {
        const double seconds = OpenPage(page);
        if (seconds < 0) {
          state_.SkipWithError("a page did not fill the list and play its first episode");
          break;
        }
        state_.SetIterationTime(seconds);
      }
    }
    for (const ui::Window& window : InspectionOf(player_.ui).Windows()) {
      backend_.Guard([&] { player_.ui.DestroyUnit(window); });
    }
    return true;
  }

  // The seconds from the page's arrival to a window that answers with the list filled;
  // -1 when the list is not filled or the first episode does not play.
  double OpenPage(int page) {
    const int film = page % kFilms;
    const ui::Window main = player_.Main();
    const ui::UnitId browser = main.Find<ui::WebBrowserBox>(kLibraryBrowser).Id();
    GtkTreeView* view = ListView(backend_.UnitWidget(main.Find<ui::TreeBox>(kList).Id()));
    const Text address = bench::FilmPageAddress(film, page);
    std::string bytes = pages_[film];  // WebKit's copy, handed over
    const gint64 arrived = g_get_monotonic_time();
    backend_.Guard([&] { ReportsOf(player_.ui).PageArrived(browser, address, std::move(bytes)); });
    backend_.Guard([&] { ReportsOf(player_.ui).RaiseEvent(browser, "PageComplete", {0}); });
    if (!PumpUntil([&] { return StoreRows(view) == episodes_ + 1; })) return -1;
    gdk_display_sync(gdk_display_get_default());
    const double taken = static_cast<double>(g_get_monotonic_time() - arrived) / G_USEC_PER_SEC;
    const bool played = main.Find<ui::PlaybackEngine>(kEngine).MediaAddress() == bench::EpisodeAddress(film, 1) &&
                        main.Find<ui::TreeBox>(kList).ItemCount() == episodes_ + 1;
    return played ? taken : -1;
  }

  benchmark::State& state_;
  const int episodes_;
  bench::MemorySite site_;
  std::string pages_[kFilms];
  platform::testing::TempProgramFolder folder_;
  ui::desktop::DesktopBackend backend_;
  bench::PlayerInProcess player_{backend_, site_, folder_, bench::MemorySite::kRoot};
};

void BM_DesktopTitlePageToFirstPlay(benchmark::State& state) {
  DesktopTitlePages pages(state, static_cast<int>(state.range(0)));
  pages.Run();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench::kTitlePageBytes));
}

BENCHMARK(BM_DesktopTitlePageToFirstPlay)
    ->ArgName("episodes")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  // Before the toolkit opens a display; Xvfb has no GPU for WebKit's compositor.
  const platform::testing::VirtualDisplay display;
  ::setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
