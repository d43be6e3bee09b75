#include "document/braille_file_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_path.h"

namespace tenji {

namespace {

constexpr int END_OF_FILE = -1;

bool is_cell(int x) { return x >= 0xA0 && x <= 0xDF; }
bool in_text_run(int x) { return is_cell(x) || x == 0x18; }

// Bytes that end a run after 0x0C, 0x0D or 0xFE without ending the line.
bool keeps_line_open(int x) {
  return x == 0xF4 || x == 0xF5 || x == 0xF6 || x == 0xFC || x == 0xFE || x == 0xFF;
}

// The file's bytes through a buffer of its own: a book is millions of them.
class FileInput {
 public:
  explicit FileInput(std::FILE* f) : f_(f) {}

  int get() {
    if (pushed_ != NONE) {
      const int x = pushed_;
      pushed_ = NONE;
      return x;
    }
    if (pos_ == end_) {
      end_ = std::fread(buf_, 1, sizeof buf_, f_);
      pos_ = 0;
      if (end_ == 0) {
        eof_met_ = true;
        return END_OF_FILE;
      }
    }
    return buf_[pos_++];
  }

  // At the end of the file there is nothing to push back.
  void push_back(int x) {
    if (x != END_OF_FILE) pushed_ = x;
  }

  bool eof_met() const { return eof_met_; }

 private:
  static constexpr int NONE = -2;
  std::FILE* f_;
  unsigned char buf_[65536];
  std::size_t pos_ = 0, end_ = 0;
  int pushed_ = NONE;
  bool eof_met_ = false;
};

// The line being collected. Bytes beyond BRAILLE_LINE_MAX are dropped, so a
// run that would overfill it keeps its first 1520 bytes.
struct PendingLine {
  unsigned char bytes[BRAILLE_LINE_MAX + 1] = {};
  std::size_t pos = 0;

  void append(int x) {
    if (pos < BRAILLE_LINE_MAX) bytes[pos++] = static_cast<unsigned char>(x == END_OF_FILE ? 0xFF : x);
  }

  // The body ran out inside a run: trailing bytes that are neither cells nor
  // line ends nor 0x18 are not part of the line.
  void trim_tail() {
    while (pos > 0) {
      const int b = bytes[pos - 1];
      if (is_cell(b) || b == 0x0D || b == 0x0C || b == 0x18) break;
      --pos;
    }
  }

  // False when memory ran out (the user has been told).
  bool store(BrailleDocument& doc, int fd_flag) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < pos; ++i)
      if (bytes[i] != 0x18) bytes[n++] = bytes[i];
    pos = 0;
    return doc.append_cells(std::string_view(reinterpret_cast<const char*>(bytes), n), fd_flag) != 0;
  }
};

constexpr int OUT_OF_MEMORY = -2;

// Returns 0 at an end code or when the counted body ends after a line, -1
// for a malformed or truncated body, OUT_OF_MEMORY when a line could not be
// stored (the parse stops there: every later line would fail too). Lines
// stored before a fault stay.
int parse_body(FileInput& in, BrailleDocument& doc) {
  PendingLine line;
  auto read_or_ff = [&in] {
    const int x = in.get();
    return x == END_OF_FILE ? 0xFF : x;
  };

  // The count wraps like the 32-bit field it comes from; only zero matters.
  std::uint32_t remaining;
  const std::uint32_t lo = read_or_ff(), hi = read_or_ff();
  const std::uint32_t length16 = lo + 256u * hi;
  if (length16 != 0) {
    remaining = length16 - 2u;
  } else {
    const std::uint32_t b0 = read_or_ff(), b1 = read_or_ff(), b2 = read_or_ff(), b3 = read_or_ff();
    remaining = (b0 | (b1 << 8) | (b2 << 16) | (b3 << 24)) - 6u;
  }
  if (in.eof_met()) return -1;

  for (;;) {  // start of a record
    bool close = false;
    int fd_flag = 0;
    bool at_body_end = false;

    for (bool line_done = false; !line_done;) {  // one control byte after another
      --remaining;
      const int control = in.get();
      if (control == 0xF4) continue;
      if (control == 0xF5 || control == 0xF6) {
        in.get();
        --remaining;
        continue;
      }
      if (control == 0xFC || control == 0xFF) return 0;  // an open line is discarded

      if (control == 0x0C || control == 0x0D || control == 0xFE) {
        for (;;) {
          const int x = in.get();
          --remaining;
          if (remaining == 0) {
            line.append(x);
            close = true;
            at_body_end = true;
            break;
          }
          if (in_text_run(x)) {
            line.append(x);
            continue;
          }
          if (!keeps_line_open(x)) close = true;
          in.push_back(x);
          ++remaining;
          break;
        }
        if (at_body_end) {
          line.trim_tail();
          line_done = true;
        } else if (close) {
          line_done = true;
        }
        // otherwise the line stays open for the next run
      } else if (control == 0xFD) {
        int x;
        for (;;) {
          x = in.get();
          --remaining;
          if (!in_text_run(x)) break;
          line.append(x);
        }
        in.push_back(x);
        ++remaining;
        fd_flag = 1;
        line_done = true;
      } else {
        return -1;  // malformed, or the end of the file
      }
    }

    if (!line.store(doc, fd_flag)) return OUT_OF_MEMORY;
    if (remaining == 0) return 0;
    if (in.eof_met()) return -1;
  }
}

// Why a path cannot be read as a document before its bytes are looked at.
DocumentFailure check_path(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(platform::fs_path(path), ec);
  if (!fs::exists(st)) return DocumentFailure::missing;
  // Directories and devices are no documents (a device may never end).
  if (!fs::is_regular_file(st)) return DocumentFailure::not_a_file;
  return DocumentFailure::none;
}

}  // namespace

BrailleFileReader::BrailleFileReader(const char* file_path) : full_path_(file_path ? file_path : "") {
  std::memset(path, 0, sizeof path);
  std::memcpy(path, full_path_.data(), std::min(full_path_.size(), PATH_SIZE - 1));
}

int BrailleFileReader::read(BrailleDocument* target) {
  document = target;
  failure_ = DocumentFailure::not_a_document;
  if (full_path_.empty() || !target) return -1;
  if ((failure_ = check_path(full_path_)) != DocumentFailure::none) return -1;
  std::FILE* f = platform::open_file(full_path_, "rb");
  if (!f) {
    failure_ = DocumentFailure::unreadable;
    return -1;
  }

  auto reject = [this, f] {
    std::fclose(f);
    failure_ = DocumentFailure::not_a_document;
    return -1;
  };

  const std::size_t got = std::fread(document->header, 1, BrailleDocument::HEADER_SIZE, f);
  if (got < 4 || std::memcmp(document->header, "%NRQ", 4) != 0) return reject();
  unsigned char marker[3];
  if (std::fseek(f, 512, SEEK_SET) != 0 || std::fread(marker, 1, 3, f) != 3) return reject();
  if (marker[0] != 0xFF && marker[1] != 0xFF && marker[2] != 0xFF) return reject();

  // More of the file's first bytes over the header, from offset 515 on.
  (void)std::fread(document->header, 1, BrailleDocument::HEADER_SIZE, f);

  if (std::fseek(f, 1024, SEEK_SET) != 0) return reject();
  for (;;) {
    const int c = std::fgetc(f);
    if (c == EOF) return reject();  // no body marker: not a document
    if (c == 0xFF) break;
  }

  if (document->line_count() == 0) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(platform::fs_path(full_path_), ec);
    if (!ec) document->reserve(static_cast<std::size_t>(size), static_cast<std::size_t>(size / 16));
  }
  FileInput in(f);
  const int body = parse_body(in, *document);
  std::fclose(f);
  if (body == OUT_OF_MEMORY) {
    failure_ = DocumentFailure::out_of_memory;
    return -1;
  }
  failure_ = DocumentFailure::none;
  return 0;
}

std::string document_failure_message(DocumentFailure failure, const std::string& path) {
  const char* text = NOT_A_DOCUMENT_MESSAGE;
  switch (failure) {
    case DocumentFailure::missing: text = "点字ファイルが見つかりません。"; break;
    case DocumentFailure::unreadable: text = "点字ファイルを読む権限がありません。"; break;
    case DocumentFailure::not_a_file: text = "点字ファイルではありません（フォルダーか装置です）。"; break;
    case DocumentFailure::out_of_memory: text = "メモリが足りず、点字ファイルを読み終えられませんでした。"; break;
    case DocumentFailure::too_large: text = "点字ファイルが大きすぎます（256MBまで）。"; break;
    case DocumentFailure::none:
    case DocumentFailure::not_a_document: break;
  }
  return std::string(text) + "\n" + path;
}

}  // namespace tenji
