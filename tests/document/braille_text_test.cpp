#include "document/text_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document/braille_writers.h"

namespace tenji {
namespace {

// "1256" -> the cell byte of dots 1, 2, 5 and 6.
char cell(const char* dots) {
  int pattern = 0;
  for (const char* d = dots; *d; ++d) pattern |= 1 << (*d - '1');
  return static_cast<char>(0xA0 + pattern);
}

TEST(Brf, EveryCharacterAndItsLowerCaseFormIsTheCellOfTheChart) {
  // North American Braille ASCII, as the chart gives it.
  const std::map<char, const char*> chart = {
      {' ', ""},      {'!', "2346"},   {'"', "5"},     {'#', "3456"},   {'$', "1246"},  {'%', "146"},
      {'&', "12346"}, {'\'', "3"},     {'(', "12356"}, {')', "23456"},  {'*', "16"},    {'+', "346"},
      {',', "6"},     {'-', "36"},     {'.', "46"},    {'/', "34"},     {'0', "356"},   {'1', "2"},
      {'2', "23"},    {'3', "25"},     {'4', "256"},   {'5', "26"},     {'6', "235"},   {'7', "2356"},
      {'8', "236"},   {'9', "35"},     {':', "156"},   {';', "56"},     {'<', "126"},   {'=', "123456"},
      {'>', "345"},   {'?', "1456"},   {'@', "4"},     {'A', "1"},      {'B', "12"},    {'C', "14"},
      {'D', "145"},   {'E', "15"},     {'F', "124"},   {'G', "1245"},   {'H', "125"},   {'I', "24"},
      {'J', "245"},   {'K', "13"},     {'L', "123"},   {'M', "134"},    {'N', "1345"},  {'O', "135"},
      {'P', "1234"},  {'Q', "12345"},  {'R', "1235"},  {'S', "234"},    {'T', "2345"},  {'U', "136"},
      {'V', "1236"},  {'W', "2456"},   {'X', "1346"},  {'Y', "13456"},  {'Z', "1356"},  {'[', "246"},
      {'\\', "1256"}, {']', "12456"},  {'^', "45"},    {'_', "456"}};
  ASSERT_EQ(chart.size(), 64u);
  std::string upper, lower, upper_cells, lower_cells;
  for (const auto& [c, dots] : chart) {
    upper += c;
    upper_cells += cell(dots);
    // ` a-z { | } ~ are written by many producers for @ A-Z [ \ ] ^.
    if (c >= '@' && c <= '^') {
      lower += static_cast<char>(c + 0x20);
      lower_cells += cell(dots);
    }
  }
  TextDocument doc;
  BrailleTextError error;
  ASSERT_TRUE(parse_brf(upper + "\r\n" + lower + "\r\n", doc, error)) << error.message;
  EXPECT_EQ(doc.lines, (std::vector<std::string>{upper_cells, lower_cells}));
}

// BRF as written below, and the same in Unicode Braille text: A B C D are
// four different cells.
struct PageCase {
  const char* text;
  std::vector<std::string> lines;
  std::vector<int> breaks;  // 0-based line index each later page begins with
};

std::string as_unicode(const std::string& brf) {
  std::string out;
  for (char c : brf) {
    if (c >= 'A' && c <= 'D')
      out += std::string_view("\u2801\u2803\u2809\u2819").substr(static_cast<std::size_t>(c - 'A') * 3, 3);
    else
      out += c;
  }
  return out;
}

TEST(TextReading, LineEndsFormFeedsAndTheEndOfTheFile) {
  const std::string a(1, cell("1")), b(1, cell("12")), c(1, cell("14")), d(1, cell("145"));
  const std::vector<PageCase> cases = {
      {"A\r\nB\nC\rD", {a, b, c, d}, {}},                      // CR LF, LF and CR end lines
      {"A\r\n\f\r\nB\r\n", {a, b}, {1}},                      // a form feed on a line of its own
      {"A\r\n\fB\r\n", {a, b}, {1}},                          // right after the line end
      {"A\fB\r\n", {a, b}, {1}},                              // in a line: it ends the line too
      {"A\r\n\f\r\n\r\nB", {a, "", b}, {1}},                  // a page that begins with an empty line
      {"A\r\n\r\n\f\r\nB", {a, "", b}, {2}},                  // a page padded with empty lines
      {"A\n\f\rB\r", {a, b}, {1}},                            // the lone-CR form
      {"A\r\n\f\r\n", {a}, {}},                               // the last form feed ends the last page
      {"A\r\n\f", {a}, {}},
      {"A\r\n\f\r\n\r\n\r\n", {a}, {}},                       // empty lines after it make no page
      {"A\r\n\f\r\n\f\r\n", {a}, {1}},                        // but an empty page does
      {"A\r\n\f\r\n\f\r\nB\r\n", {a, b}, {1, 1}},             // as it does in the middle
      {"\f\r\nA", {a}, {0}},                                  // a blank first page
      {"A\r\nB\r\n\x1A", {a, b}, {}},                         // a final Ctrl-Z
      {"", {}, {}},
  };
  for (const PageCase& k : cases) {
    for (const bool brf : {true, false}) {
      const std::string text = brf ? k.text : as_unicode(k.text);
      // Whole, and a byte at a time: a piece may end anywhere.
      for (const bool bytewise : {false, true}) {
        BrailleDocument doc;
        TextReader reader(brf ? TextForm::brf : TextForm::unicode, doc);
        bool ok = true;
        if (bytewise)
          for (char ch : text) ok = ok && reader.feed(std::string_view(&ch, 1));
        else
          ok = reader.feed(text);
        ASSERT_TRUE(ok && reader.finish()) << k.text << ": " << reader.error().message;
        const TextDocument got = text_document_of(doc);
        EXPECT_EQ(got.lines, k.lines) << (brf ? "BRF " : "text ") << ::testing::PrintToString(std::string(k.text));
        EXPECT_EQ(got.page_breaks, k.breaks) << (brf ? "BRF " : "text ") << ::testing::PrintToString(std::string(k.text));
        // What is read writes back to the same lines and pages.
        TextDocument again;
        BrailleTextError error;
        ASSERT_TRUE(brf ? parse_brf(encode_brf(got), again, error) : parse_braille_text(encode_braille_text(got), again, error));
        EXPECT_EQ(again.lines, got.lines);
        EXPECT_EQ(again.page_breaks, got.page_breaks);
      }
    }
  }
}

TEST(TextReading, AFaultIsToldWithItsLineAndColumn) {
  const std::string too_long(BRAILLE_LINE_MAX + 1, 'A');
  const struct {
    TextForm form;
    std::string text;
    int line, column;
    const char* message;
  } cases[] = {
      {TextForm::brf, "AB\r\nC\tD", 2, 2, "BRFにない文字 0x09 です"},
      {TextForm::brf, "AB\r\nC\x7F", 2, 2, "BRFにない文字 0x7F です"},
      {TextForm::brf, "A\r\n\xE2\xA0\x81", 2, 1, "BRFにない文字 0xE2 です"},
      {TextForm::brf, "A\x1A\r\n", 1, 2, "制御文字 0x1A は使えません（Ctrl-Z はファイルの最後にだけ置けます）"},
      {TextForm::brf, "A\r\n" + too_long, 2, 1521, "行が長すぎます（1行は1520マスまでです）"},
      {TextForm::unicode, "\u2801\u2803\n\u2809A", 2, 2, "U+0041 は6点の点字でも空白でもありません"},
      {TextForm::unicode, "\u2801\u2841", 1, 2, "U+2841 は7の点か8の点を使っています"},
      {TextForm::unicode, "\u2801\n\u2801\u2803\xE2\xA0", 2, 3, "UTF-8として読めない文字です"},
      {TextForm::unicode, "\u2801\xC0\x81", 1, 2, "UTF-8として読めない文字です"},
      {TextForm::unicode, "\u2801\t", 1, 2, "制御文字 0x09 は使えません"},
      {TextForm::unicode, "\u3000", 1, 1, "U+3000 は6点の点字でも空白でもありません"},
  };
  for (const auto& k : cases) {
    BrailleDocument doc;
    TextReader reader(k.form, doc);
    EXPECT_FALSE(reader.feed(k.text) && reader.finish()) << k.message;
    EXPECT_EQ(reader.error().line, k.line) << k.message;
    EXPECT_EQ(reader.error().column, k.column) << k.message;
    EXPECT_EQ(reader.error().message, k.message);
    EXPECT_FALSE(reader.error().out_of_memory);
  }
  // A line of exactly the limit is read.
  TextDocument doc;
  BrailleTextError error;
  EXPECT_TRUE(parse_brf(too_long.substr(1), doc, error));
}

TEST(TextReading, PatternsAndSpacesBecomeCellsAndBackAgain) {
  TextDocument doc;
  BrailleTextError error;
  // ⠁ (dot 1), ⠿ (all six), space, ⠠ (dot 6), after a byte-order mark.
  const std::string text = "\xEF\xBB\xBF\u2801\u283F \u2820\r\n\n\u2800\n";
  ASSERT_TRUE(parse_braille_text(text, doc, error));
  EXPECT_EQ(doc.lines, (std::vector<std::string>{"\xA1\xDF\xA0\xC0", "", "\xA0"}));
  // The same a byte at a time: the mark, too, may come in pieces.
  BrailleDocument bytewise;
  TextReader reader(TextForm::unicode, bytewise);
  for (const char c : text) ASSERT_TRUE(reader.feed(std::string_view(&c, 1))) << reader.error().message;
  ASSERT_TRUE(reader.finish());
  EXPECT_EQ(text_document_of(bytewise).lines, doc.lines);
  EXPECT_EQ(braille_text_from_cells(doc.lines[0] + "\x41"), "\u2801\u283F\u2800\u2820\uFFFD");
}

}  // namespace
}  // namespace tenji
