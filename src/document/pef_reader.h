// PEF 1.0, the Portable Embosser Format of Braille translation tools: XML in
// the namespace http://www.daisy.org/ns/2008/pef, pef/body/volume/section/
// page/row, each row's text Unicode Braille. Only six-dot cells are taken.
// The file is read as it comes (the XML parser keeps no tree), so a book of
// any length costs only its cells.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/braille_document.h"
#include "document/braille_text.h"

namespace tenji {

inline constexpr const char* PEF_NAMESPACE = "http://www.daisy.org/ns/2008/pef";

// The layout one section of the file was made for (a section takes what its
// volume says unless it says otherwise).
struct PefSection {
  int volume = 0, section = 0;  // counting from 1
  int cols = 0, rows = 0, rowgap = 0;
  bool duplex = false;
  bool same_layout(const PefSection& o) const { return cols == o.cols && rows == o.rows && duplex == o.duplex; }
};

// What the file holds besides its cells that the user is told about.
struct PefInfo {
  std::vector<PefSection> sections;
  // Rows that ask for extra space below them (rowgap): printed at the
  // settings' line spacing all the same.
  int rows_with_rowgap = 0;
  // Rows that are not printed, with the element they stand in (tactile
  // graphics of another namespace, or a row out of its place).
  std::vector<std::pair<std::string, int>> rows_left_out;
};

class PefReader {
 public:
  PefReader(BrailleDocument& document, PefInfo& info);
  ~PefReader();
  PefReader(const PefReader&) = delete;
  PefReader& operator=(const PefReader&) = delete;

  // The file's bytes in order; `last` with the final piece. False at the
  // first fault: error() names the element or the line and column.
  bool feed(std::string_view bytes, bool last);
  // The same without a copy: room for `size` bytes of the file, then how
  // many were put there (0 and `last` at the end).
  char* room(std::size_t size);
  bool feed_room(std::size_t filled, bool last);
  const std::string& error() const;
  bool out_of_memory() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A whole file at once (tools and tests): every page of every section and
// volume, in order.
bool parse_pef(std::string_view xml, TextDocument& out, PefInfo& info, std::string& error);

}  // namespace tenji
