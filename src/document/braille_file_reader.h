// Reads a Braille document file (.NRK): signature "%NRQ", a header area, a
// 0xFF marker, then a body of length-counted records of control and cell
// bytes.
#pragma once

#include <string>

#include "document/braille_document.h"

namespace tenji {

// What the user is told when a file is not a Braille document.
inline constexpr const char* NOT_A_DOCUMENT_MESSAGE = "NRK形式のファイルではありません。";

// A document read whole that has no line: printing it would only feed a page.
inline constexpr const char* EMPTY_DOCUMENT_MESSAGE = "点字ファイルに行がありません。";

// Why read refused a file.
enum class DocumentFailure { none, missing, unreadable, not_a_file, not_a_document, out_of_memory, too_large };

// The message for a refusal: the text for its cause, and the path on a
// line of its own.
std::string document_failure_message(DocumentFailure failure, const std::string& path);

class BrailleFileReader {
 public:
  static constexpr std::size_t PATH_SIZE = 260;

  explicit BrailleFileReader(const char* file_path);

  // Appends the file's lines to `target`. Returns 0 when the file opened and
  // its signature was accepted (whatever the body held), -1 when it cannot be
  // opened, is not a regular file, is not a Braille document, or memory ran
  // out while its lines were stored; failure() says which. Paths of any
  // length are read; `path` holds the first 259 characters.
  int read(BrailleDocument* target);
  DocumentFailure failure() const { return failure_; }

  char path[PATH_SIZE];
  BrailleDocument* document = nullptr;

 private:
  std::string full_path_;
  DocumentFailure failure_ = DocumentFailure::none;
};

}  // namespace tenji
