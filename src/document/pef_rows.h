// The rows of a PEF taken into the document on a thread of their own, while
// the XML parser goes on: a long book is read on two processors. Rows and
// page breaks arrive in the file's order and go into the document in it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "document/braille_document.h"

namespace tenji {

// Where a row stands, for a message about it.
struct RowPlace {
  int volume = 0, section = 0, page = 0, row = 0;
};

class PefRowStore {
 public:
  explicit PefRowStore(BrailleDocument& document);
  ~PefRowStore();
  PefRowStore(const PefRowStore&) = delete;
  PefRowStore& operator=(const PefRowStore&) = delete;

  // A row's text as the file has it (Unicode Braille, white space around it).
  void row(std::string_view text, const RowPlace& place);
  void page_break();

  // False once a row was refused: error() says why (the first fault in the
  // file's order among the rows given so far).
  bool ok();
  // Waits until every row given is in the document; false as ok().
  bool finish();
  std::string error();
  bool out_of_memory();

 private:
  struct Entry {
    std::uint32_t offset = 0, length = 0;  // of its text in the batch; a page break has none
    bool page_break = false;
    RowPlace place;
  };
  struct Batch {
    std::string text;
    std::vector<Entry> entries;
  };
  void submit();
  void work();
  bool take(const Batch& batch);
  bool take_row(std::string_view text, const RowPlace& place);

  BrailleDocument& doc_;
  Batch filling_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Batch> queue_;
  std::vector<Batch> spare_;  // taken in, kept for their memory
  bool closing_ = false, failed_ = false, out_of_memory_ = false;
  std::string error_;
  std::string cells_;  // the worker's
  std::thread worker_;
};

}  // namespace tenji
