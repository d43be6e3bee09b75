#include "document/pef_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/braille_source.h"
#include "print/page_plan.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

const std::string NS = "http://www.daisy.org/ns/2008/pef";

// A PEF whose body holds `volumes` (written out), with the usual head.
std::string pef(const std::string& volumes, const std::string& root_attrs = "xmlns=\"" + NS + "\"") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<pef version=\"2008-1\" " + root_attrs +
         "><head><meta xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:identifier>x</dc:identifier></meta></head>"
         "<body>" + volumes + "</body></pef>";
}

std::string one_page(const std::string& rows) {
  return "<volume cols=\"32\" rows=\"22\" rowgap=\"0\" duplex=\"false\"><section><page>" + rows +
         "</page></section></volume>";
}

TEST(PefReading, ARowIsItsWholeTextInAnyNamespaceSpelling) {
  const std::string cells = "\xA1\xA3\xA9";  // ⠁⠃⠉
  const std::vector<std::string> files = {
      pef(one_page("<row>⠁⠃⠉</row>")),
      pef(one_page("<row>⠁<!-- a comment -->⠃<?pi x?>⠉</row>")),
      pef(one_page("<row> ⠁<![CDATA[⠃]]>&#x2809;\n</row>")),
      // The namespace bound to a prefix, on the root and its children...
      "<p:pef version=\"2008-1\" xmlns:p=\"" + NS + "\"><p:head/><p:body><p:volume cols=\"32\" rows=\"22\">"
          "<p:section><p:page><p:row>⠁⠃⠉</p:row></p:page></p:section></p:volume></p:body></p:pef>",
      // ...or on the root only, the rest in the default namespace.
      "<p:pef version=\"2008-1\" xmlns:p=\"" + NS + "\"><body xmlns=\"" + NS + "\"><volume cols=\"32\" rows=\"22\">"
          "<section><page><row>⠁⠃⠉</row></page></section></volume></body></p:pef>",
  };
  for (const std::string& file : files) {
    TextDocument doc;
    PefInfo info;
    std::string error;
    ASSERT_TRUE(parse_pef(file, doc, info, error)) << error << "\n" << file;
    EXPECT_EQ(doc.lines, std::vector<std::string>{cells}) << file;
    ASSERT_EQ(info.sections.size(), 1u);
    EXPECT_EQ(info.sections[0].cols, 32);
  }
}

TEST(PefReading, AFaultIsNamedWithWhereItIs) {
  std::string row_text;
  for (std::size_t i = 0; i <= BRAILLE_LINE_MAX; ++i) row_text += "⠁";
  const struct {
    std::string file, error;
  } cases[] = {
      {pef(one_page("<row>⠁</row><row>⠁<em>⠃</em></row>")),
       "volume 1 / section 1 / page 1 / row 2: 行の中に要素 <em> があります（2行目 259文字目）"},
      {pef(one_page("<row>⠁⡁</row>")), "volume 1 / section 1 / page 1 / row 1, 2文字目: U+2841 は7の点か8の点を使っています"},
      {pef(one_page("<row>⠁ ⠁</row>")), "volume 1 / section 1 / page 1 / row 1, 2文字目: 点字ではない文字があります"},
      {pef(one_page("<row>" + row_text + "</row>")),
       "volume 1 / section 1 / page 1 / row 1: 行が長すぎます（1521マス。1行は1520マスまでです）"},
      {"<!DOCTYPE pef [<!ENTITY dots \"⠁⠃\">]>" + pef(one_page("<row>&dots;</row>")),
       "文書型宣言で実体 dots が定義されています。実体を使うPEFは読みません"},
      {"<?xml version=\"1.0\"?>\n<pef xmlns=\"" + NS + "\">\n  <body></pef>",
       "XMLとして読めません（3行目 11文字目: 終了タグが開始タグと合いません）"},
      {"<pef xmlns=\"" + NS + "\"><body><volume>", "XMLとして読めません（1行目 61文字目: 要素が閉じないまま終わっています）"},
      {"<pef xmlns=\"urn:other\"/>", "PEFの pef 要素（名前空間 " + NS + "）がありません"},
      {"<pef xmlns=\"" + NS + "\"><head/></pef>", "pef に body がありません"},
      {"<pef xmlns=\"" + NS + "\"><body/></pef>", "body に volume がありません"},
  };
  for (const auto& k : cases) {
    TextDocument doc;
    PefInfo info;
    std::string error;
    EXPECT_FALSE(parse_pef(k.file, doc, info, error)) << k.error;
    EXPECT_EQ(error, k.error);
    EXPECT_TRUE(doc.lines.empty());
  }
}

TEST(PefReading, EmptyPagesAreSheetsAtTheEndAsInTheMiddle) {
  // Pages: one row, empty, one row, empty, empty.
  testing::TempDir dir;
  testing::write_file(dir.file("book.pef"),
                      pef("<volume cols=\"32\" rows=\"22\"><section><page><row>⠁</row></page><page/>"
                          "<page><row>⠃</row></page><page></page><page/></section></volume>"));
  BrailleDocument doc;
  ASSERT_TRUE(read_braille_source(dir.file("book.pef"), doc).ok);
  EXPECT_EQ(doc.line_count(), 2);
  EXPECT_EQ(doc.page_breaks(), (std::vector<int>{2, 2, 3, 3}));
  const std::vector<PageSpan> pages = paginate(doc, 22);
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(pages[4], (PageSpan{3, 0, 0}));
  EXPECT_EQ(select_pages(pages, {4, 5, 1}).size(), 2u);  // the last two pages can be chosen
}

TEST(PefReading, WhatIsNotPrintedAsTheFileSaysIsTold) {
  const std::string file = pef(
      "<volume cols=\"40\" rows=\"25\" rowgap=\"0\" duplex=\"true\">"
      "<section><page><row>⠁</row><row rowgap=\"4\">⠁</row></page></section>"
      "<section duplex=\"false\"><page rowgap=\"2\"><row>⠁</row><row>⠁</row>"
      "<tg:graphic xmlns:tg=\"urn:tactile\"><row>⠿</row><row>⠿</row><tg:row/></tg:graphic></page></section>"
      "</volume><volume cols=\"40\" rows=\"25\" duplex=\"true\"><section cols=\"30\"><page><row>⠁</row></page>"
      "</section></volume>");
  TextDocument text;
  SourceRead read;
  read.ok = true;
  read.kind = SourceKind::pef;
  read.pef.emplace();
  std::string error;
  ASSERT_TRUE(parse_pef(file, text, *read.pef, error)) << error;
  EXPECT_EQ(text.lines.size(), 5u);  // the graphic's rows are not among them
  EXPECT_EQ(reading_notes(read, 32, 22),
            "このPEFは 40マス × 25行用です。設定の 32マス × 22行で印刷します。\n"
            "第1巻の第2セクションは 40マス × 25行（片面）用です。\n"
            "第2巻の第1セクションは 30マス × 25行（両面）用です。\n"
            "このPEFには両面用のセクションがあります。点字プリンターは片面なので、そのページも1枚ずつ順に印刷します。\n"
            "行間（rowgap）を指定した行が 3 行あります。行の間は設定の行間のままで印刷します。\n"
            "tg:graphic の中の 2 行は印刷しません。");
  read.pef = PefInfo{{{1, 1, 32, 22, 0, false}}, 0, {}};
  EXPECT_EQ(reading_notes(read, 32, 22), "");
  read.pef = PefInfo{{{1, 1, 32, 22, 0, true}, {1, 2, 32, 22, 0, true}}, 0, {}};
  EXPECT_EQ(reading_notes(read, 32, 22),
            "このPEFは両面用です。点字プリンターは片面なので、両面のページを1枚ずつ順に印刷します。");
}

}  // namespace
}  // namespace tenji
