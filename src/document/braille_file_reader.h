// Reads a Braille document file (.NRK): signature "%NRQ", a header area, a
// 0xFF marker, then a body of length-counted records of control and cell
// bytes.
#pragma once

#include "document/braille_document.h"

namespace tenji {

// What the user is told when read refuses a file.
inline constexpr const char* NOT_A_DOCUMENT_MESSAGE = "NRK形式のファイルではありません。";

class BrailleFileReader {
 public:
  static constexpr std::size_t PATH_SIZE = 260;

  explicit BrailleFileReader(const char* file_path);

  // Appends the file's lines to `target`. Returns 0 when the file opened and
  // its signature was accepted (whatever the body held), -1 when it cannot be
  // opened, is not a regular file, its path is too long, or it is not a
  // Braille document.
  int read(BrailleDocument* target);

  char path[PATH_SIZE];
  BrailleDocument* document = nullptr;

 private:
  bool path_too_long_ = false;
};

}  // namespace tenji
