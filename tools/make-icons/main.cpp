// Writes the program's icons from their data:
//   make-icons DIR        ->  DIR/icon-146.ico, DIR/icon-147.ico (the Windows resource script's)
//   make-icons --png DIR  ->  DIR/<N>x<N>/apps/tenjiprint.png for N = 16, 32, 48, 128, 256 (hicolor)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/pixels.h"
#include "resources/png_file.h"
#include "resources/resource_ids.h"

namespace {

using tenji::resources::Pixels;

// Whole multiples repeat each pixel, as the drawn icon's square pixels want;
// other sizes are interpolated.
Pixels icon_at(int size) {
  const Pixels icon = tenji::resources::icon_pixels(tenji::resources::IDI_BIG);
  if (size % icon.width != 0) return tenji::resources::scaled(icon, static_cast<double>(size) / icon.width);
  const int k = size / icon.width;
  Pixels out{size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * static_cast<std::size_t>(size))};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      out.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)] =
          icon.at(x / k, y / k);
  return out;
}

int write_pngs(const std::string& dir) {
  for (int size : {16, 32, 48, 128, 256}) {
    const std::string folder = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!tenji::resources::write_png(folder + "/tenjiprint.png", icon_at(size))) {
      std::fprintf(stderr, "make-icons: cannot write %s/tenjiprint.png\n", folder.c_str());
      return 1;
    }
  }
  return 0;
}

int write_icos(const std::string& dir) {
  for (int id : {tenji::resources::IDI_BIG, tenji::resources::IDI_SMALL}) {
    const std::string path = dir + "/icon-" + std::to_string(id) + ".ico";
    const std::string bytes = tenji::resources::ico_file(id);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "make-icons: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--png") return write_pngs(argv[2]);
  if (argc == 2) return write_icos(argv[1]);
  std::fprintf(stderr, "usage: make-icons DIR | make-icons --png DIR\n");
  return 2;
}
