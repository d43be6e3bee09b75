#include "document/braille_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tenji {
namespace {

std::vector<std::string> lines_of(const BrailleDocument& doc) {
  std::vector<std::string> out;
  for (int n = 1; n <= doc.line_count(); ++n) out.emplace_back(doc.line_record(n)->text);
  return out;
}

const std::string SAMPLES = std::string(TENJI_SOURCE_DIR) + "/samples/";

TEST(BrailleSources, EachKindReadsToTheCellsOfItsNrk) {
  const std::tuple<const char*, const char*, SourceKind> cases[] = {
      {"aiueo", ".brf", SourceKind::brf},
      {"aiueo", ".pef", SourceKind::pef},
      {"aiueo", ".txt", SourceKind::braille_text},
      {"all-patterns", ".txt", SourceKind::braille_text},
      {"full-page", ".txt", SourceKind::braille_text}};
  for (const auto& [base, ext, kind] : cases) {
    BrailleDocument nrk, doc;
    ASSERT_TRUE(read_braille_source(SAMPLES + base + ".NRK", nrk).ok) << base;
    const SourceRead r = read_braille_source(SAMPLES + base + ext, doc);
    ASSERT_TRUE(r.ok) << base << ext << ": " << r.message;
    EXPECT_EQ(r.kind, kind) << base << ext;
    EXPECT_GT(nrk.line_count(), 1) << base;
    EXPECT_EQ(lines_of(doc), lines_of(nrk)) << base << ext;
  }
}

TEST(BrailleSources, FormFeedsAndPefPagesBeginPages) {
  for (const char* file : {"three-pages.brf", "three-pages.pef", "three-pages.txt"}) {
    BrailleDocument doc;
    ASSERT_TRUE(read_braille_source(SAMPLES + file, doc).ok) << file;
    EXPECT_EQ(doc.line_count(), 7) << file;
    EXPECT_EQ(doc.page_breaks(), (std::vector<int>{4, 6})) << file;
  }
}

TEST(BrailleSources, AFaultIsToldWithTheFileAndWhereItIs) {
  testing::TempDir dir;
  const char* pef_head = "<pef xmlns=\"http://www.daisy.org/ns/2008/pef\"><body><volume cols=\"2\" rows=\"2\">";
  const char* not_a_file = "点字ファイルではありません（フォルダーか装置です）。\n%";
  // A name in the folder (written when there are bytes) or a path; % stands for the path.
  std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"a.brf", "AB\r\nC{D\r\n", "BRFの点字ファイルとして読めません。\n%\n2行目 2文字目: BRFにない文字 0x7B です"},
      {"b.txt", "⠁⠃\n⠉A", "点字テキストの点字ファイルとして読めません。\n%\n2行目 2文字目: U+0041 は6点の点字でも空白でもありません"},
      {"g.txt", "⠁\n⠁⠃\xE2\xA0", "点字テキストの点字ファイルとして読めません。\n%\n2行目 3文字目: UTF-8として読めない文字です"},
      {"c.pef", std::string(pef_head) + "<section><page><row>⠁</row><row>⠁⡁</row></page></section></volume></body></pef>",
       "PEFの点字ファイルとして読めません。\n%\nvolume 1 / section 1 / page 1 / row 2, 2文字目: U+2841 は7の点か8の点を使っています"},
      {"d.pef", "<pef xmlns=\"urn:other\"/>",
       "PEFの点字ファイルとして読めません。\n%\nPEFの pef 要素（名前空間 http://www.daisy.org/ns/2008/pef）がありません"},
      {"e.pef", "<pef", "PEFの点字ファイルとして読めません。\n%\nXMLとして読めません（4 バイト目: Error parsing start element tag）"},
      {"f.nrk", "AB\r\n", "NRK形式のファイルではありません。\n%"},
      {"missing.NRK", "", "点字ファイルが見つかりません。\n%"},
      {dir.path(), "", not_a_file},
  };
#ifndef _WIN32
  cases.emplace_back("/dev/zero", "", not_a_file);  // a device that never ends
#endif
  for (const auto& [name, bytes, message] : cases) {
    const std::string path = name.find('/') == std::string::npos ? dir.file(name) : name;
    if (!bytes.empty()) testing::write_file(path, bytes);
    BrailleDocument doc;
    const SourceRead r = read_braille_source(path, doc);
    std::string expected = message;
    expected.replace(expected.find('%'), 1, path);
    EXPECT_FALSE(r.ok) << name;
    EXPECT_EQ(r.message, expected) << name;
    EXPECT_EQ(doc.line_count(), 0) << name;
  }
}

TEST(BrailleSources, APefMadeForAnotherLayoutOrBothSidesIsToldSo) {
  EXPECT_EQ(pef_layout_note({32, 22, 0, false}, 32, 22), "");
  EXPECT_EQ(pef_layout_note({40, 25, 0, true}, 32, 22),
            "このPEFは 40マス × 25行（rowgap 0）用です。設定の 32マス × 22行で印刷します。\n"
            "このPEFは両面用です。点字プリンターは片面なので、両面のページを1枚ずつ順に印刷します。");
}

}  // namespace
}  // namespace tenji
