// libFuzzer target: any bytes as a document file, read from a real file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "document/braille_file_reader.h"
#include "platform/alert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = [] {
    tenji::platform::alert_hook.set([](std::string_view, std::string_view) {});  // no alert on stderr
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && dir[0] ? dir : "/tmp") + "/nrk-fuzz-" + std::to_string(::getpid()) + ".NRK";
  }();

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  tenji::BrailleDocument doc;
  const int result = tenji::BrailleFileReader(path.c_str()).read(&doc);
  if (result != 0 && result != -1) std::abort();
  if (result == -1 && size >= 1025 && std::memcmp(data, "%NRQ", 4) == 0 &&
      (data[512] == 0xFF || data[513] == 0xFF || data[514] == 0xFF)) {
    // Only a missing body marker may refuse a file with a good signature.
    for (std::size_t i = 1024; i < size; ++i)
      if (data[i] == 0xFF) std::abort();
  }

  char buf[tenji::BRAILLE_LINE_MAX + 1];
  for (int n = 1; n <= doc.line_count(); ++n) {
    doc.get_line(buf, n);
    const std::size_t length = std::strlen(buf);
    if (length != static_cast<std::size_t>(doc.line_record(n)->length) || std::memchr(buf, 0x18, length)) std::abort();
  }
  return 0;
}
