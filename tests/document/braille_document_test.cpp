#include "document/braille_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/alert.h"
#include "platform/allocation_fault.h"

namespace tenji {
namespace {

std::string text_of(const BrailleDocument& doc, int n) {
  char buf[BRAILLE_LINE_MAX + 1];
  std::memset(buf, 'x', sizeof buf);
  doc.get_line(buf, n);
  return buf;
}

TEST(BrailleDocument, StartsEmptyWithAHeaderOfSpaces) {
  BrailleDocument doc;
  EXPECT_EQ(doc.line_count(), 0);
  for (unsigned char c : doc.header) ASSERT_EQ(c, ' ');
  EXPECT_EQ(text_of(doc, 1), "");
}

TEST(BrailleDocument, KeepsLinesInOrderAndOutOfRangeReadsEmpty) {
  BrailleDocument doc;
  EXPECT_EQ(doc.append_line(make_braille_line("\xA1")), 1);
  EXPECT_EQ(doc.append_line(make_braille_line("\xA2\xA3", 1)), 1);
  EXPECT_EQ(doc.append_line(make_braille_line("")), 1);
  ASSERT_EQ(doc.line_count(), 3);
  EXPECT_EQ(text_of(doc, 1), "\xA1");
  EXPECT_EQ(text_of(doc, 2), "\xA2\xA3");
  EXPECT_EQ(doc.line_record(2)->fd_flag, 1);
  EXPECT_EQ(text_of(doc, 3), "");
  for (int n : {0, -1, 4}) EXPECT_EQ(text_of(doc, n), "") << n;
  EXPECT_EQ(doc.line_count(), 3);
}

TEST(BrailleDocument, AFullLengthLineIsStoredWhole) {
  BrailleDocument doc;
  const std::string full(BRAILLE_LINE_MAX, '\xDF');
  doc.append_line(make_braille_line(full + "\xA1"));  // one byte too many is cut
  EXPECT_EQ(text_of(doc, 1), full);
  EXPECT_EQ(doc.line_record(1)->length, static_cast<int>(BRAILLE_LINE_MAX));
}

TEST(BrailleDocument, OutOfMemoryIsShownAndEarlierLinesStayReadable) {
  std::string alert_text, alert_caption;
  int alerts = 0;
  platform::set_alert_handler([&](std::string_view text, std::string_view caption) {
    alert_text = text;
    alert_caption = caption;
    ++alerts;
  });
  BrailleDocument doc;
  doc.append_line(make_braille_line("\xA1"));
  doc.append_line(make_braille_line("\xA2"));
  platform::set_allocation_fault([] { return true; });
  EXPECT_EQ(doc.append_line(make_braille_line("\xA3")), 0);
  EXPECT_EQ(doc.append_line(make_braille_line("\xA4")), 0);
  platform::set_allocation_fault({});
  platform::set_alert_handler({});

  EXPECT_EQ(alerts, 2);
  EXPECT_EQ(alert_text, "メモリ確保に失敗しました。\n非常に危険な状態です。");
  EXPECT_EQ(alert_caption, "メモリエラー");
  EXPECT_EQ(doc.line_count(), 2);
  EXPECT_EQ(text_of(doc, 1), "\xA1");
  EXPECT_EQ(text_of(doc, 2), "\xA2");
  EXPECT_EQ(doc.append_line(make_braille_line("\xA5")), 1);
  EXPECT_EQ(text_of(doc, 3), "\xA5");
}

}  // namespace
}  // namespace tenji
