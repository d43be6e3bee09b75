// make-nrk: turns UTF-8 text of Unicode Braille patterns into a Braille
// document file (.NRK), one document line per text line.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "document/braille_document.h"
#include "document/braille_text.h"
#include "document/nrk_writer.h"
#include "platform/atomic_file.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: make-nrk INPUT.txt OUTPUT.NRK\n"
               "  INPUT is UTF-8 text of Braille patterns U+2800-U+283F (a space is an\n"
               "  empty cell); '-' reads standard input.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    usage();
    return 0;
  }
  if (argc != 3) {
    usage();
    return 2;
  }
  const std::string input = argv[1], output = argv[2];
  std::string text;
  if (input == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), {});
  } else if (auto bytes = tenji::platform::read_file_bytes(input)) {
    text = std::move(*bytes);
  } else {
    std::fprintf(stderr, "make-nrk: cannot read %s\n", input.c_str());
    return 1;
  }

  std::vector<std::string> lines;
  tenji::BrailleTextError error;
  if (!tenji::cells_from_braille_text(text, lines, error)) {
    std::fprintf(stderr, "make-nrk: %s: line %d, column %d: %s; nothing written\n",
                 input.c_str(), error.line, error.column, error.message.c_str());
    return 1;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > tenji::BRAILLE_LINE_MAX) {
      std::fprintf(stderr, "make-nrk: %s: line %zu has %zu cells, at most %zu fit; nothing written\n",
                   input.c_str(), i + 1, lines[i].size(), tenji::BRAILLE_LINE_MAX);
      return 1;
    }
  }
  if (!tenji::platform::replace_file_atomically(output, tenji::encode_nrk(lines))) {
    std::fprintf(stderr, "make-nrk: cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}
