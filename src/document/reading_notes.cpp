#include <algorithm>

#include "document/braille_source.h"

namespace tenji {

namespace {

std::string layout_text(const PefSection& s) {
  return std::to_string(s.cols) + "マス × " + std::to_string(s.rows) + "行";
}

std::string section_name(const PefSection& s) {
  return "第" + std::to_string(s.volume) + "巻の第" + std::to_string(s.section) + "セクション";
}

// Sections whose layout differs from the first's, a few of them by name.
std::string other_layouts(const std::vector<PefSection>& sections) {
  constexpr std::size_t NAMED = 5;
  std::string out;
  std::size_t differ = 0;
  for (const PefSection& s : sections) {
    if (s.same_layout(sections.front())) continue;
    if (++differ <= NAMED)
      out += "\n" + section_name(s) + "は " + layout_text(s) + "（" + (s.duplex ? "両面" : "片面") + "）用です。";
  }
  if (differ > NAMED) out += "\nほかに " + std::to_string(differ - NAMED) + " のセクションも書式が違います。";
  return out;
}

}  // namespace

std::string reading_notes(const SourceRead& read, int cpl, int lpp) {
  if (!read.pef || read.pef->sections.empty()) return {};
  const PefInfo& pef = *read.pef;
  const PefSection& first = pef.sections.front();
  std::string note;
  auto line = [&note](const std::string& text) { note += (note.empty() ? "" : "\n") + text; };
  if (first.cols != cpl || first.rows != lpp)
    line("このPEFは " + layout_text(first) + "用です。設定の " + std::to_string(cpl) + "マス × " + std::to_string(lpp) +
         "行で印刷します。");
  const std::string others = other_layouts(pef.sections);
  if (!others.empty()) note += (note.empty() ? others.substr(1) : others);
  const auto duplex = std::count_if(pef.sections.begin(), pef.sections.end(), [](const PefSection& s) { return s.duplex; });
  if (duplex == static_cast<long>(pef.sections.size()))
    line("このPEFは両面用です。点字プリンターは片面なので、両面のページを1枚ずつ順に印刷します。");
  else if (duplex > 0)
    line("このPEFには両面用のセクションがあります。点字プリンターは片面なので、そのページも1枚ずつ順に印刷します。");
  if (pef.rows_with_rowgap > 0)
    line("行間（rowgap）を指定した行が " + std::to_string(pef.rows_with_rowgap) +
         " 行あります。行の間は設定の行間のままで印刷します。");
  for (const auto& [container, rows] : pef.rows_left_out)
    if (rows > 0) line(container + " の中の " + std::to_string(rows) + " 行は印刷しません。");
  return note;
}

}  // namespace tenji
