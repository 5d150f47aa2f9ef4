#include <algorithm>
#include <cstring>
#include <memory>

#include <gif_lib.h>

#include "platform/ui/picture.h"

namespace korvane::platform::ui {
namespace {

struct Source {
  std::string_view bytes;
  std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* into, int wanted) {
  auto* source = static_cast<Source*>(gif->UserData);
  const std::size_t left = source->bytes.size() - source->at;
  const std::size_t count = std::min(left, static_cast<std::size_t>(wanted));
  std::memcpy(into, source->bytes.data() + source->at, count);
  source->at += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

constexpr int kLargestSide = 16384;

}  // namespace

std::optional<Picture> DecodeGif(std::string_view bytes) {
  Source source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadFromMemory, &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1) return std::nullopt;
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return std::nullopt;

  const SavedImage& frame = gif->SavedImages[0];
  const GifImageDesc& place = frame.ImageDesc;
  const ColorMapObject* colours = place.ColorMap != nullptr ? place.ColorMap : gif->SColorMap;
  if (colours == nullptr) return std::nullopt;
  GraphicsControlBlock control{};
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  DGifSavedExtensionToGCB(gif.get(), 0, &control);

  // Pixels outside the first frame show nothing.
  Picture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4, 0)};
  for (int y = 0; y < place.Height; ++y) {
    for (int x = 0; x < place.Width; ++x) {
      const int to_x = place.Left + x;
      const int to_y = place.Top + y;
      if (to_x < 0 || to_y < 0 || to_x >= width || to_y >= height) continue;
      const int index = frame.RasterBits[static_cast<std::size_t>(y) * place.Width + x];
      if (index == control.TransparentColor) continue;
      if (index >= colours->ColorCount) return std::nullopt;
      const GifColorType& colour = colours->Colors[index];
      std::uint8_t* out = &picture.rgba[(static_cast<std::size_t>(to_y) * width + to_x) * 4];
      out[0] = colour.Red;
      out[1] = colour.Green;
      out[2] = colour.Blue;
      out[3] = 255;
    }
  }
  return picture;
}

}  // namespace korvane::platform::ui
