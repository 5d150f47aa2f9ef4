#include "platform/ui/picture.h"

namespace korvane::platform::ui {

std::optional<Picture> DecodePicture(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xD8")) return DecodeJpeg(bytes);
  if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return DecodeGif(bytes);
  if (bytes.starts_with("BM")) return DecodeBmp(bytes);
  if (bytes.starts_with(std::string_view("\0\0\1\0", 4))) return DecodeIco(bytes);
  return std::nullopt;
}

}  // namespace korvane::platform::ui
