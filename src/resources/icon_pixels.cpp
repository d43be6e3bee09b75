#include "resources/dialog_template.h"
#include "resources/pixels.h"

namespace tenji::resources {

Pixels icon_pixels(int icon_id) {
  const auto& icon = icon_template(icon_id);
  Pixels p{32, 32, std::vector<std::uint32_t>(32 * 32, 0)};
  for (std::size_t y = 0; y < 32 && y < icon.rows.size(); ++y)
    for (std::size_t x = 0; x < 32 && x < icon.rows[y].size(); ++x)
      if (const char c = icon.rows[y][x]; c != ' ') p.argb[y * 32 + x] = 0xFF000000u | icon_palette_colour(c);
  return p;
}

namespace {

void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::string ico_file(int icon_id) {
  const Pixels p = icon_pixels(icon_id);
  const std::uint32_t colour_bytes = 32 * 32 * 4, mask_bytes = 32 * 4, image_bytes = 40 + colour_bytes + mask_bytes;
  std::string out;
  // The directory: one 32 x 32 image of 32 bits, right after it.
  put16(out, 0), put16(out, 1), put16(out, 1);
  out += static_cast<char>(32), out += static_cast<char>(32), out += '\0', out += '\0';
  put16(out, 1), put16(out, 32), put32(out, image_bytes), put32(out, 6 + 16);
  // The image: a bitmap header (twice the height: colours, then the mask),
  // rows bottom up in BGRA, then the mask, set where the icon is transparent.
  put32(out, 40), put32(out, 32), put32(out, 64), put16(out, 1), put16(out, 32);
  put32(out, 0), put32(out, colour_bytes + mask_bytes), put32(out, 0), put32(out, 0), put32(out, 0), put32(out, 0);
  for (int y = 31; y >= 0; --y)
    for (int x = 0; x < 32; ++x) put32(out, p.at(x, y));
  for (int y = 31; y >= 0; --y) {
    std::uint32_t bits = 0;
    for (int x = 0; x < 32; ++x)
      if ((p.at(x, y) >> 24) == 0) bits |= 0x80000000u >> x;
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((bits >> shift) & 0xFF);
  }
  return out;
}

}  // namespace tenji::resources
