// A Braille document in memory: a 512-byte header block and numbered lines
// of cell bytes (0xA0-0xDF, dot pattern = byte - 0xA0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tenji {

inline constexpr std::size_t BRAILLE_LINE_MAX = 1520;  // bytes before the terminator

struct BrailleLine {
  char text[BRAILLE_LINE_MAX + 1];  // zero-terminated, zero after the terminator
  std::int32_t length;              // bytes before the terminator
  std::int32_t fd_flag;             // 1 when the file introduced the line with 0xFD
};

// A zero-filled line holding `text` (cut to BRAILLE_LINE_MAX bytes).
BrailleLine make_braille_line(std::string_view text, int fd_flag = 0);

class BrailleDocument {
 public:
  static constexpr std::size_t HEADER_SIZE = 512;

  BrailleDocument();

  // Copies the line to the end. Returns 1, or 0 when memory ran out: the
  // user is told, and the document stays as it was.
  int append_line(BrailleLine line);
  // The same for a line's cells (at most BRAILLE_LINE_MAX of them are kept),
  // without a record to fill first: the readers' way in.
  int append_cells(std::string_view cells, int fd_flag = 0);
  // Room for about this many cells and lines, so that a long book is not
  // copied as it grows.
  void reserve(std::size_t cells, std::size_t lines);
  // Drops the lines from line n (counting from 1) on, and the page breaks
  // that begin a page among them or after them.
  void truncate(int n);

  // Copies the text of line n (counting from 1) with its terminator into
  // `buffer`, which must hold BRAILLE_LINE_MAX + 1 bytes. Out of range, the
  // buffer is left as the empty string.
  void get_line(char* buffer, int n) const;

  int line_count() const { return static_cast<int>(entries_.size()); }

  // The cells of line n (counting from 1), without a copy; empty out of range.
  std::string_view cells(int n) const;

  // The whole record of line n, or nothing when out of range.
  std::optional<BrailleLine> line_record(int n) const;

  // Page breaks of the source (a form feed, a PEF page): the next line
  // appended begins a new page. Two breaks in a row leave an empty page, and
  // so does a break after the last line.
  void break_page() { page_breaks_.push_back(line_count() + 1); }
  void drop_last_page_break() { page_breaks_.pop_back(); }
  // Line numbers at which a source page begins after the first, in order;
  // an NRK document has none.
  const std::vector<int>& page_breaks() const { return page_breaks_; }

  unsigned char header[HEADER_SIZE];

 private:
  // Lines are kept compactly: all texts one after another in `cells_`, and
  // per line where its text starts, how long it is and its flag. A record of
  // 1529 bytes per line would make a long document cost ~50 times the memory.
  struct Entry {
    std::uint64_t offset : 48;
    std::uint64_t fd_flag : 1;
    std::uint64_t length : 15;  // at most BRAILLE_LINE_MAX
  };
  static_assert(BRAILLE_LINE_MAX < (1u << 15));
  std::string cells_;
  std::vector<Entry> entries_;
  std::vector<int> page_breaks_;
};

}  // namespace tenji
