#include "document/pef_rows.h"

#include <cstdio>
#include <cstring>

#include "document/braille_text.h"

namespace tenji {

namespace {

constexpr std::size_t BATCH_BYTES = 256 * 1024;
constexpr std::size_t BATCHES_AHEAD = 4;  // what the parser may be ahead by

std::string where(const RowPlace& p) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "volume %d / section %d / page %d / row %d", p.volume, p.section, p.page, p.row);
  return buf;
}

}  // namespace

PefRowStore::PefRowStore(BrailleDocument& document) : doc_(document), worker_([this] { work(); }) {
  filling_.text.reserve(BATCH_BYTES + 4096);
}

PefRowStore::~PefRowStore() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void PefRowStore::row(std::string_view text, const RowPlace& place) {
  filling_.entries.push_back({static_cast<std::uint32_t>(filling_.text.size()),
                              static_cast<std::uint32_t>(text.size()), false, place});
  filling_.text.append(text);
  if (filling_.text.size() >= BATCH_BYTES) submit();
}

void PefRowStore::page_break() { filling_.entries.push_back({0, 0, true, {}}); }

void PefRowStore::submit() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < BATCHES_AHEAD || failed_; });
  if (!failed_) queue_.push_back(std::move(filling_));
  // The next batch reuses the memory of one taken in: fresh memory costs a
  // page fault every few kilobytes.
  if (!spare_.empty()) {
    filling_ = std::move(spare_.back());
    spare_.pop_back();
  } else {
    filling_ = Batch();
    filling_.text.reserve(BATCH_BYTES + 4096);
  }
  filling_.text.clear();
  filling_.entries.clear();
  lock.unlock();
  changed_.notify_all();
}

bool PefRowStore::ok() {
  std::lock_guard lock(mutex_);
  return !failed_;
}

bool PefRowStore::finish() {
  if (!filling_.entries.empty()) submit();
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
  return !failed_;
}

std::string PefRowStore::error() {
  std::lock_guard lock(mutex_);
  return error_;
}

bool PefRowStore::out_of_memory() {
  std::lock_guard lock(mutex_);
  return out_of_memory_;
}

void PefRowStore::work() {
  for (;;) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
    if (queue_.empty()) return;
    Batch batch = std::move(queue_.front());
    queue_.pop_front();
    const bool go_on = !failed_;
    lock.unlock();
    changed_.notify_all();
    if (go_on) take(batch);
    lock.lock();
    spare_.push_back(std::move(batch));
  }
}

bool PefRowStore::take(const Batch& batch) {
  for (const Entry& e : batch.entries) {
    if (e.page_break) {
      doc_.break_page();
    } else if (!take_row(std::string_view(batch.text).substr(e.offset, e.length), e.place)) {
      return false;
    }
  }
  return true;
}

// A row's text: Unicode Braille of six dots (U+2800-U+283F); white space
// around it is layout of the XML, not cells.
bool PefRowStore::take_row(std::string_view text, const RowPlace& place) {
  auto fail = [this](std::string why, bool memory = false) {
    std::lock_guard lock(mutex_);
    failed_ = true;
    out_of_memory_ = memory;
    error_ = std::move(why);
    return false;
  };
  while (!text.empty() && std::strchr(" \t\r\n", text.front())) text.remove_prefix(1);
  while (!text.empty() && std::strchr(" \t\r\n", text.back())) text.remove_suffix(1);
  // A cell is at least three bytes of text: room enough, written in place.
  cells_.resize(text.size());
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  char* out = cells_.data();
  std::size_t i = 0;
  // U+2800-U+283F, nearly every character of a book, without the general decoder.
  while (i + 2 < size && t[i] == 0xE2 && t[i + 1] == 0xA0 && (t[i + 2] & 0xC0) == 0x80) {
    *out++ = static_cast<char>(0xA0 + (t[i + 2] & 0x3F));
    i += 3;
  }
  for (std::size_t column = static_cast<std::size_t>(out - cells_.data()) + 1; i < size; ++column) {
    const long cp = next_code_point(text, i);
    if (cp >= 0x2800 && cp <= 0x283F) {
      *out++ = static_cast<char>(0xA0 + (cp - 0x2800));
      continue;
    }
    char what[256];
    if (cp >= 0x2840 && cp <= 0x28FF)
      std::snprintf(what, sizeof what, "%s, %zu文字目: U+%04lX は7の点か8の点を使っています", where(place).c_str(),
                    column, cp);
    else
      std::snprintf(what, sizeof what, "%s, %zu文字目: 点字ではない文字があります", where(place).c_str(), column);
    return fail(what);
  }
  cells_.resize(static_cast<std::size_t>(out - cells_.data()));
  if (cells_.size() > BRAILLE_LINE_MAX)
    return fail(where(place) + ": 行が長すぎます（" + std::to_string(cells_.size()) + "マス。1行は" +
                std::to_string(BRAILLE_LINE_MAX) + "マスまでです）");
  if (!doc_.append_cells(cells_)) return fail("メモリが足りません", true);
  return true;
}

}  // namespace tenji
