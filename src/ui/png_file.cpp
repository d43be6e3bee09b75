#include "ui/png_file.h"

#include "platform/file_path.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>

namespace tenji::ui {

namespace {

std::uint32_t crc32(const std::string& bytes, std::size_t from) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i) c = table[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void put32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
  put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t from = out.size();
  out += type;
  out += data;
  put32(out, crc32(out, from));
}

// The rows as a zlib stream of stored blocks.
std::string zlib_stored(const std::string& raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  std::size_t at = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    out += static_cast<char>(at + n == raw.size() ? 1 : 0);
    out += static_cast<char>(n & 0xFF), out += static_cast<char>(n >> 8);
    out += static_cast<char>(~n & 0xFF), out += static_cast<char>((~n >> 8) & 0xFF);
    out.append(raw, at, n);
    at += n;
  } while (at < raw.size());
  put32(out, (b << 16) | a);
  return out;
}

}  // namespace

std::string png_bytes(const resources::Pixels& p) {
  std::string header;
  put32(header, static_cast<std::uint32_t>(p.width));
  put32(header, static_cast<std::uint32_t>(p.height));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
  std::string raw;
  raw.reserve(static_cast<std::size_t>(p.height) * (static_cast<std::size_t>(p.width) * 4 + 1));
  for (int y = 0; y < p.height; ++y) {
    raw += '\0';  // filter: none
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.at(x, y);
      for (int shift : {16, 8, 0, 24}) raw += static_cast<char>((v >> shift) & 0xFF);
    }
  }
  std::string out = "\x89PNG\r\n\x1a\n";
  chunk(out, "IHDR", header);
  chunk(out, "IDAT", zlib_stored(raw));
  chunk(out, "IEND", "");
  return out;
}

bool write_png(const std::string& path, const resources::Pixels& pixels) {
  const std::string bytes = png_bytes(pixels);
  std::ofstream out(platform::fs_path(path), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace tenji::ui
