// Writes the program's icons as .ico files for the Windows resource script:
//   make-icons DIR  ->  DIR/icon-146.ico, DIR/icon-147.ico
#include <cstdio>
#include <fstream>
#include <string>

#include "resources/pixels.h"
#include "resources/resource_ids.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-icons DIR\n");
    return 2;
  }
  for (int id : {tenji::resources::IDI_BIG, tenji::resources::IDI_SMALL}) {
    const std::string path = std::string(argv[1]) + "/icon-" + std::to_string(id) + ".ico";
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
