#include "resources/png_file.h"

#include "platform/file_path.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

#include <zlib.h>

namespace tenji::resources {

namespace {

void put32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
  put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t from = out.size();
  out += type;
  out += data;
  put32(out, static_cast<std::uint32_t>(::crc32(0, reinterpret_cast<const Bytef*>(out.data() + from),
                                                  static_cast<uInt>(out.size() - from))));
}

// A PNG of `rows` (each led by its filter byte) of the given colour type.
std::string png_of(int width, int height, char colour_type, const std::string& rows) {
  std::string header;
  put32(header, static_cast<std::uint32_t>(width));
  put32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08", 1) + colour_type + std::string("\x00\x00\x00", 3);  // 8 bits, deflate, no interlace
  // Runs of one value packed as such: a page of dots is mostly white, and
  // this is many times faster than looking for repeats farther back.
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return {};
  std::string data(deflateBound(&z, static_cast<uLong>(rows.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(rows.data()));
  z.avail_in = static_cast<uInt>(rows.size());
  z.next_out = reinterpret_cast<Bytef*>(data.data());
  z.avail_out = static_cast<uInt>(data.size());
  const int done = deflate(&z, Z_FINISH);
  data.resize(z.total_out);
  deflateEnd(&z);
  if (done != Z_STREAM_END) return {};
  std::string out = "\x89PNG\r\n\x1a\n";
  chunk(out, "IHDR", header);
  chunk(out, "IDAT", data);
  chunk(out, "IEND", "");
  return out;
}

bool write_file(const std::string& path, const std::string& bytes) {
  if (bytes.empty()) return false;
  std::ofstream out(platform::fs_path(path), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace

std::string png_bytes(const Pixels& p) {
  std::string rows;
  rows.reserve(static_cast<std::size_t>(p.height) * (static_cast<std::size_t>(p.width) * 4 + 1));
  for (int y = 0; y < p.height; ++y) {
    rows += '\0';  // filter: none
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.at(x, y);
      for (int shift : {16, 8, 0, 24}) rows += static_cast<char>((v >> shift) & 0xFF);
    }
  }
  return png_of(p.width, p.height, 6, rows);
}

std::string png_bytes(const GreyPixels& p) {
  std::string rows;
  rows.reserve(static_cast<std::size_t>(p.height) * (static_cast<std::size_t>(p.width) + 1));
  for (int y = 0; y < p.height; ++y) {
    rows += '\0';
    rows.append(reinterpret_cast<const char*>(p.grey.data()) + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width),
                static_cast<std::size_t>(p.width));
  }
  return png_of(p.width, p.height, 0, rows);
}

bool write_png(const std::string& path, const Pixels& pixels) { return write_file(path, png_bytes(pixels)); }
bool write_png(const std::string& path, const GreyPixels& pixels) { return write_file(path, png_bytes(pixels)); }

}  // namespace tenji::resources
