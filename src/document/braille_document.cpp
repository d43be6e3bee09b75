#include "document/braille_document.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/alert.h"
#include "platform/allocation_fault.h"
#include "platform/large_pages.h"

namespace tenji {

BrailleLine make_braille_line(std::string_view text, int fd_flag) {
  BrailleLine line{};
  const std::size_t n = std::min(text.size(), BRAILLE_LINE_MAX);
  if (n > 0) std::memcpy(line.text, text.data(), n);
  line.length = static_cast<std::int32_t>(std::strlen(line.text));
  line.fd_flag = fd_flag;
  return line;
}

BrailleDocument::BrailleDocument() { std::memset(header, ' ', sizeof header); }

int BrailleDocument::append_line(BrailleLine line) {
  const char* end = static_cast<const char*>(std::memchr(line.text, '\0', BRAILLE_LINE_MAX));
  const std::size_t len = end ? static_cast<std::size_t>(end - line.text) : BRAILLE_LINE_MAX;
  return append_cells(std::string_view(line.text, len), line.fd_flag);
}

int BrailleDocument::append_cells(std::string_view text, int fd_flag) {
  // A line ends at its first zero byte, as a record's text does.
  const std::size_t len = std::min({text.size(), BRAILLE_LINE_MAX, text.find('\0')});
  const std::size_t old_size = cells_.size();
  try {
    if (platform::allocation_should_fail()) throw std::bad_alloc();
    cells_.append(text.data(), len);
    entries_.push_back({old_size, fd_flag ? 1u : 0u, len});
  } catch (const std::bad_alloc&) {
    cells_.resize(old_size);  // shrinking never allocates
    platform::show_alert("メモリ確保に失敗しました。\n非常に危険な状態です。", "メモリエラー");
    return 0;
  }
  return 1;
}

void BrailleDocument::reserve(std::size_t cells, std::size_t lines) {
  try {
    cells_.reserve(cells);
    entries_.reserve(lines);
    platform::prefer_large_pages(cells_.data(), cells_.capacity());
    platform::prefer_large_pages(entries_.data(), entries_.capacity() * sizeof(Entry));
  } catch (const std::bad_alloc&) {
    // A guess too large: the document grows as it is read instead.
  }
}

void BrailleDocument::truncate(int n) {
  if (n < 1 || n > line_count()) return;
  cells_.resize(entries_[static_cast<std::size_t>(n - 1)].offset);
  entries_.resize(static_cast<std::size_t>(n - 1));
  while (!page_breaks_.empty() && page_breaks_.back() >= n) page_breaks_.pop_back();
}

std::string_view BrailleDocument::cells(int n) const {
  if (n < 1 || n > line_count()) return {};
  const Entry& e = entries_[static_cast<std::size_t>(n - 1)];
  return std::string_view(cells_.data() + e.offset, e.length);
}

void BrailleDocument::get_line(char* buffer, int n) const {
  const std::string_view text = cells(n);
  if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
}

std::optional<BrailleLine> BrailleDocument::line_record(int n) const {
  if (n < 1 || n > line_count()) return std::nullopt;
  const Entry& e = entries_[static_cast<std::size_t>(n - 1)];
  BrailleLine line{};
  std::memcpy(line.text, cells_.data() + e.offset, e.length);
  line.length = static_cast<std::int32_t>(e.length);
  line.fd_flag = static_cast<std::int32_t>(e.fd_flag);
  return line;
}

}  // namespace tenji
