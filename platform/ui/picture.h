#pragma once
// Decoding of the resource pictures into RGBA rows (top row first, 4 bytes a pixel):
// JPEG through libjpeg, GIF through giflib (the first frame on the logical screen,
// transparent pixels with alpha 0), BMP (uncompressed 1, 4, 8, 24 and 32 bits a pixel) and
// ICO (images stored as BMP data, with their transparency mask) by our own decoder.
// Bad or truncated data gives nullopt, never a partial picture.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvane::platform::ui {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// Chooses the decoder by the data's signature.
std::optional<Picture> DecodePicture(std::string_view bytes);

std::optional<Picture> DecodeJpeg(std::string_view bytes);
std::optional<Picture> DecodeGif(std::string_view bytes);
std::optional<Picture> DecodeBmp(std::string_view bytes);
// Image `index` of an icon file (the first by default).
std::optional<Picture> DecodeIco(std::string_view bytes, int index = 0);
int IcoImageCount(std::string_view bytes);

}  // namespace korvane::platform::ui
