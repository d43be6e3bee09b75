#include "document/braille_source.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST(BrailleSources, TheNameSaysWhatAFileIsAndContentDecidesOnlyWhenItDoesNot) {
  testing::TempDir dir;
  // Past the first piece the file is looked at: 2,000 lines of 40 characters.
  std::string spaces, letters;
  for (int i = 0; i < 2000; ++i) {
    spaces += std::string(40, ' ') + "\n";
    letters += std::string(40, 'A') + "\r\n";
  }
  const std::string utf16le("\xFF\xFE\x01\x28\x03\x28", 6), utf16be("\xFE\xFF\x28\x01\x28\x03", 6);
  const struct {
    const char* name;
    std::string bytes;
    SourceKind kind;
    std::string first_line;
  } cases[] = {
      {"a.brf", "<A\r\n", SourceKind::brf, "\xC3\xA1"},  // '<' is dots 1-2-6, not a broken PEF
      {"a.txt", "<A\r\n", SourceKind::brf, "\xC3\xA1"},
      {"a.TXT", "\u2801\u2803", SourceKind::braille_text, "\xA1\xA3"},
      {"a", "\n <pef xmlns=\"http://www.daisy.org/ns/2008/pef\"><body><volume><section><page><row>⠁</row>"
            "</page></section></volume></body></pef>", SourceKind::pef, "\xA1"},
      {"a.dat", "\u2801\u2803", SourceKind::braille_text, "\xA1\xA3"},
      {"b", spaces + "\u2801", SourceKind::braille_text, std::string(40, '\xA0')},
      {"c.brf", letters, SourceKind::brf, std::string(40, '\xA1')},
      {"u.txt", utf16le, SourceKind::braille_text, "\xA1\xA3"},
      {"v", utf16be, SourceKind::braille_text, "\xA1\xA3"},
      {"w.brf", std::string("\xFF\xFE" "A\0B\0", 6), SourceKind::brf, "\xA1\xA3"},
  };
  for (const auto& k : cases) {
    testing::write_file(dir.file(k.name), k.bytes);
    BrailleDocument doc;
    const SourceRead r = read_braille_source(dir.file(k.name), doc);
    ASSERT_TRUE(r.ok) << k.name << ": " << r.message;
    EXPECT_EQ(r.kind, k.kind) << k.name;
    EXPECT_EQ(r.utf16, k.bytes.size() > 2 && (k.bytes[0] == '\xFF' || k.bytes[0] == '\xFE')) << k.name;
    ASSERT_GE(doc.line_count(), 1) << k.name;
    EXPECT_EQ(doc.cells(1), k.first_line) << k.name;
  }
}

TEST(BrailleSources, AFaultIsToldWithTheFileAndWhereItIs) {
  testing::TempDir dir;
  const char* pef_head = "<pef xmlns=\"http://www.daisy.org/ns/2008/pef\"><body><volume cols=\"2\" rows=\"2\">";
  const char* not_a_file = "点字ファイルではありません（フォルダーか装置です）。\n%";
  // A name in the folder (written when there are bytes) or a path; % stands for the path.
  std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"a.brf", "AB\r\nC\x80" "D\r\n", "BRFの点字ファイルとして読めません。\n%\n2行目 2文字目: BRFにない文字 0x80 です"},
      {"b.txt", "⠁⠃\n⠉A", "点字テキストの点字ファイルとして読めません。\n%\n2行目 2文字目: U+0041 は6点の点字でも空白でもありません"},
      {"g.txt", "⠁\n⠁⠃\xE2\xA0", "点字テキストの点字ファイルとして読めません。\n%\n2行目 3文字目: UTF-8として読めない文字です"},
      {"h.txt", std::string("\xFF\xFE\x01\x28\n\0A\0", 8),
       "点字テキスト（UTF-16）の点字ファイルとして読めません。\n%\n2行目 1文字目: U+0041 は6点の点字でも空白でもありません"},
      {"c.pef", std::string(pef_head) + "<section><page><row>⠁</row><row>⠁⡁</row></page></section></volume></body></pef>",
       "PEFの点字ファイルとして読めません。\n%\nvolume 1 / section 1 / page 1 / row 2, 2文字目: U+2841 は7の点か8の点を使っています"},
      {"d.pef", "<pef xmlns=\"urn:other\"/>",
       "PEFの点字ファイルとして読めません。\n%\nPEFの pef 要素（名前空間 http://www.daisy.org/ns/2008/pef）がありません"},
      {"e.pef", "<pef", "PEFの点字ファイルとして読めません。\n%\nXMLとして読めません（1行目 1文字目: 閉じていないタグがあります）"},
      {"f.nrk", "AB\r\n", "NRK形式のファイルではありません。\n%"},
      {"missing.NRK", "", "点字ファイルが見つかりません。\n%"},
      {"missing.brf", "", "点字ファイルが見つかりません。\n%"},
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
  // Beyond 256 MB (a file with a hole: no disk is used).
  const std::string big = dir.file("big.brf");
  testing::write_file(big, "A");
  std::filesystem::resize_file(big, 256u * 1024 * 1024 + 1);
  BrailleDocument doc;
  EXPECT_EQ(read_braille_source(big, doc).message, "点字ファイルが大きすぎます（256MBまで）。\n" + big);
}

}  // namespace
}  // namespace tenji
