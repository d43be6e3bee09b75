// make-nrk: turns UTF-8 text of Unicode Braille patterns into a Braille
// document file, one document line per text line: NRK, or by the output's
// extension BRF, PEF or Unicode Braille text (where form feeds keep their
// page breaks).
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "document/braille_document.h"
#include "document/text_reader.h"
#include "document/braille_writers.h"
#include "document/nrk_writer.h"
#include "platform/atomic_file.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: make-nrk INPUT.txt OUTPUT.{NRK,brf,pef,txt}\n"
               "  INPUT is UTF-8 text of Braille patterns U+2800-U+283F (a space is an\n"
               "  empty cell, a form feed a page break); '-' reads standard input.\n"
               "  NRK has no page breaks; PEF declares 32 cells x 22 rows.\n");
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

  tenji::TextDocument doc;
  tenji::BrailleTextError error;
  if (!tenji::parse_braille_text(text, doc, error)) {
    std::fprintf(stderr, "make-nrk: %s: line %d, column %d: %s; nothing written\n",
                 input.c_str(), error.line, error.column, error.message.c_str());
    return 1;
  }
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    if (doc.lines[i].size() > tenji::BRAILLE_LINE_MAX) {
      std::fprintf(stderr, "make-nrk: %s: line %zu has %zu cells, at most %zu fit; nothing written\n",
                   input.c_str(), i + 1, doc.lines[i].size(), tenji::BRAILLE_LINE_MAX);
      return 1;
    }
  }
  std::string ext = output.substr(output.find_last_of('.') == std::string::npos ? output.size() : output.find_last_of('.'));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string bytes = ext == ".brf"   ? tenji::encode_brf(doc)
                            : ext == ".pef" ? tenji::encode_pef(doc, 32, 22)
                            : ext == ".txt" ? tenji::encode_braille_text(doc)
                                            : tenji::encode_nrk(doc.lines);
  if (!tenji::platform::replace_file_atomically(output, bytes)) {
    std::fprintf(stderr, "make-nrk: cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}
