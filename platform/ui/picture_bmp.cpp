#include <cstdint>
#include <limits>

#include "platform/ui/picture.h"

namespace korvane::platform::ui {
namespace {

std::uint32_t Read16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8;
}

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
  return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr int kLargestSide = 16384;

// A device-independent bitmap: the info header at `dib` and its pixels at `pixels`. In
// an icon the header's height counts the colour rows and the transparency mask after them.
std::optional<Picture> DecodeDib(std::string_view bytes, std::size_t dib, std::size_t pixels, bool icon) {
  if (dib + 40 > bytes.size()) return std::nullopt;
  const std::uint32_t header_size = Read32(bytes, dib);
  const std::int32_t width = static_cast<std::int32_t>(Read32(bytes, dib + 4));
  std::int32_t height = static_cast<std::int32_t>(Read32(bytes, dib + 8));
  const std::uint32_t bits = Read16(bytes, dib + 14);
  const std::uint32_t compression = Read32(bytes, dib + 16);
  std::uint32_t colours_used = Read32(bytes, dib + 32);
  if (header_size < 40 || width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (icon) height /= 2;
  if (width > kLargestSide || height > kLargestSide || height == 0) return std::nullopt;
  if (compression != kBiRgb && !(compression == kBiBitfields && bits == 32)) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

  const std::size_t palette_at = dib + header_size + (compression == kBiBitfields && header_size == 40 ? 12 : 0);
  if (bits <= 8 && colours_used == 0) colours_used = 1u << bits;
  if (bits > 8) colours_used = 0;
  if (colours_used > 256 || palette_at + std::size_t{colours_used} * 4 > bytes.size()) return std::nullopt;
  if (pixels == 0) pixels = palette_at + std::size_t{colours_used} * 4;

  const std::size_t stride = (std::size_t{static_cast<std::uint32_t>(width)} * bits + 31) / 32 * 4;
  const std::size_t mask_stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  const std::size_t rows = static_cast<std::size_t>(height);
  if (pixels + stride * rows > bytes.size()) return std::nullopt;
  const bool has_mask = icon && pixels + stride * rows + mask_stride * rows <= bytes.size();

  Picture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * rows * 4)};
  bool any_alpha = false;
  for (std::size_t row = 0; row < rows; ++row) {
    const std::size_t source_row = top_down ? row : rows - 1 - row;
    const std::size_t line = pixels + source_row * stride;
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
      std::uint8_t* out = &picture.rgba[(row * static_cast<std::size_t>(width) + x) * 4];
      std::uint32_t blue = 0, green = 0, red = 0, alpha = 255;
      if (bits <= 8) {
        const std::size_t bit = x * bits;
        const std::uint32_t byte = static_cast<std::uint8_t>(bytes[line + bit / 8]);
        const std::uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= colours_used) return std::nullopt;
        const std::size_t entry = palette_at + index * 4;
        blue = static_cast<std::uint8_t>(bytes[entry]);
        green = static_cast<std::uint8_t>(bytes[entry + 1]);
        red = static_cast<std::uint8_t>(bytes[entry + 2]);
      } else {
        const std::size_t at = line + x * (bits / 8);
        blue = static_cast<std::uint8_t>(bytes[at]);
        green = static_cast<std::uint8_t>(bytes[at + 1]);
        red = static_cast<std::uint8_t>(bytes[at + 2]);
        if (bits == 32) {
          alpha = static_cast<std::uint8_t>(bytes[at + 3]);
          any_alpha = any_alpha || alpha != 0;
        }
      }
      if (has_mask) {
        const std::size_t mask_line = pixels + stride * rows + source_row * mask_stride;
        const std::uint32_t mask_byte = static_cast<std::uint8_t>(bytes[mask_line + x / 8]);
        if ((mask_byte >> (7 - x % 8)) & 1) alpha = 0;
      }
      out[0] = static_cast<std::uint8_t>(red);
      out[1] = static_cast<std::uint8_t>(green);
      out[2] = static_cast<std::uint8_t>(blue);
      out[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  // A 32-bit bitmap whose fourth bytes are all zero carries no alpha: it is opaque.
  if (bits == 32 && !any_alpha && !icon) {
    for (std::size_t i = 3; i < picture.rgba.size(); i += 4) picture.rgba[i] = 255;
  }
  return picture;
}

}  // namespace

std::optional<Picture> DecodeBmp(std::string_view bytes) {
  if (bytes.size() < 14 + 40 || !bytes.starts_with("BM")) return std::nullopt;
  const std::size_t pixels = Read32(bytes, 10);
  if (pixels < 14 + 40 || pixels >= bytes.size()) return std::nullopt;
  return DecodeDib(bytes, 14, pixels, false);
}

int IcoImageCount(std::string_view bytes) {
  if (bytes.size() < 6 || Read16(bytes, 0) != 0 || Read16(bytes, 2) != 1) return 0;
  const std::uint32_t count = Read16(bytes, 4);
  if (6 + std::size_t{count} * 16 > bytes.size()) return 0;
  // A file cut short loses images at its end: the whole icon counts as faulty.
  for (std::uint32_t index = 0; index < count; ++index) {
    const std::size_t entry = 6 + std::size_t{index} * 16;
    const std::uint64_t end = std::uint64_t{Read32(bytes, entry + 12)} + Read32(bytes, entry + 8);
    if (end > bytes.size()) return 0;
  }
  return static_cast<int>(count);
}

std::optional<Picture> DecodeIco(std::string_view bytes, int index) {
  if (index < 0 || index >= IcoImageCount(bytes)) return std::nullopt;
  const std::size_t entry = 6 + static_cast<std::size_t>(index) * 16;
  const std::uint32_t size = Read32(bytes, entry + 8);
  const std::uint32_t offset = Read32(bytes, entry + 12);
  if (offset >= bytes.size() || size > bytes.size() - offset) return std::nullopt;
  return DecodeDib(bytes.substr(0, std::size_t{offset} + size), offset, 0, true);
}

}  // namespace korvane::platform::ui
