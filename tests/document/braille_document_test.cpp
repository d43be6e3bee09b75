#include "document/braille_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

TEST(BrailleDocument, KeepsLinesInOrderAndOutOfRangeReadsEmpty) {
  BrailleDocument doc;
  EXPECT_EQ(std::string(reinterpret_cast<char*>(doc.header), sizeof doc.header), std::string(512, ' '));
  EXPECT_EQ(text_of(doc, 1), "");
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
  std::vector<std::string> alerts;
  platform::ScopedHook alert(platform::alert_hook, [&](std::string_view text, std::string_view caption) {
    alerts.push_back(std::string(caption) + "|" + std::string(text));
  });
  BrailleDocument doc;
  doc.append_line(make_braille_line("\xA1"));
  doc.append_line(make_braille_line("\xA2"));
  {
    platform::ScopedHook fault(platform::allocation_fault_hook, [] { return true; });
    EXPECT_EQ(doc.append_line(make_braille_line("\xA3")), 0);
    EXPECT_EQ(doc.append_line(make_braille_line("\xA4")), 0);
  }
  EXPECT_EQ(alerts, std::vector<std::string>(2, "メモリエラー|メモリ確保に失敗しました。\n非常に危険な状態です。"));
  EXPECT_EQ(doc.line_count(), 2);
  EXPECT_EQ(text_of(doc, 1), "\xA1");
  EXPECT_EQ(text_of(doc, 2), "\xA2");
  EXPECT_EQ(doc.append_line(make_braille_line("\xA5")), 1);
  EXPECT_EQ(text_of(doc, 3), "\xA5");
}

}  // namespace
}  // namespace tenji
