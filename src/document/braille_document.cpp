#include "document/braille_document.h"

#include <cstring>
#include <new>

#include "platform/alert.h"
#include "platform/allocation_fault.h"

namespace tenji {

BrailleLine make_braille_line(std::string_view text, int fd_flag) {
  BrailleLine line{};
  const std::size_t n = std::min(text.size(), BRAILLE_LINE_MAX);
  std::memcpy(line.text, text.data(), n);
  line.length = static_cast<std::int32_t>(std::strlen(line.text));
  line.fd_flag = fd_flag;
  return line;
}

BrailleDocument::BrailleDocument() { std::memset(header, ' ', sizeof header); }

int BrailleDocument::append_line(BrailleLine line) {
  const char* end = static_cast<const char*>(std::memchr(line.text, '\0', BRAILLE_LINE_MAX));
  const std::size_t len = end ? static_cast<std::size_t>(end - line.text) : BRAILLE_LINE_MAX;
  const std::size_t old_size = cells_.size();
  try {
    if (platform::allocation_should_fail()) throw std::bad_alloc();
    cells_.append(line.text, len);
    entries_.push_back({old_size, static_cast<std::int32_t>(len), line.fd_flag});
  } catch (const std::bad_alloc&) {
    cells_.resize(old_size);  // shrinking never allocates
    platform::show_alert("メモリ確保に失敗しました。\n非常に危険な状態です。", "メモリエラー");
    return 0;
  }
  return 1;
}

void BrailleDocument::get_line(char* buffer, int n) const {
  buffer[0] = '\0';
  if (n < 1 || n > line_count()) return;
  const Entry& e = entries_[static_cast<std::size_t>(n - 1)];
  std::memcpy(buffer, cells_.data() + e.offset, static_cast<std::size_t>(e.length));
  buffer[e.length] = '\0';
}

std::optional<BrailleLine> BrailleDocument::line_record(int n) const {
  if (n < 1 || n > line_count()) return std::nullopt;
  const Entry& e = entries_[static_cast<std::size_t>(n - 1)];
  BrailleLine line{};
  std::memcpy(line.text, cells_.data() + e.offset, static_cast<std::size_t>(e.length));
  line.length = e.length;
  line.fd_flag = e.fd_flag;
  return line;
}

}  // namespace tenji
