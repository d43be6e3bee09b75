#include "document/braille_file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/alert.h"
#include "platform/allocation_fault.h"
#include "support/nrk_builder.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using tenji::testing::nrk_with_length;
using tenji::testing::TempDir;
using tenji::testing::write_file;
using Line = std::pair<std::string, int>;  // text and fd flag
using L = std::vector<Line>;

L lines_of(const BrailleDocument& doc) {
  L out;
  for (int n = 1; n <= doc.line_count(); ++n) {
    const auto l = doc.line_record(n);
    EXPECT_EQ(l->length, static_cast<int>(std::string(l->text).size()));
    out.emplace_back(l->text, l->fd_flag);
  }
  return out;
}

std::pair<int, L> read_file_bytes(const std::string& file) {
  TempDir dir;
  write_file(dir.file("doc.NRK"), file);
  BrailleDocument doc;
  const int result = BrailleFileReader(dir.file("doc.NRK").c_str()).read(&doc);
  return {result, lines_of(doc)};
}

TEST(NrkSignature, RejectsFilesThatAreNotDocuments) {
  const std::string good = tenji::encode_nrk({"\xA1"});
  std::string no_marker = good;
  no_marker.replace(512, 3, 3, '\0');
  std::string marker_at_514 = no_marker;
  marker_at_514[514] = '\xFF';
  const std::pair<std::string, int> cases[] = {
      {good, 0}, {"#" + good.substr(1), -1}, {no_marker, -1}, {marker_at_514, 0}, {"", -1}, {"%NRQ", -1},
      {good.substr(0, 514), -1},                // shorter than 515
      {good.substr(0, 1024), -1},               // no body marker at or after offset 1024
      {tenji::nrk_prefix() + "\x10", 0},        // a body cut inside its length field is still a document
  };
  for (const auto& [file, result] : cases) EXPECT_EQ(read_file_bytes(file).first, result) << file.size();
}

TEST(NrkBody, LinesEndWhereTheRecordsAndTheCountSay) {
  // U: a length field comfortably larger than the records, so the count never runs out inside them.
  const auto U = [](const std::string& r) { return nrk_with_length(static_cast<std::uint16_t>(r.size() + 100), r); };
  const std::string seven = bytes({0x0D, 0xA1, 0xA2, 0x0D, 0xA3, 0x0D, 0xFF});
  const std::pair<std::string, L> cases[] = {
      {U(bytes({0x0D, 0xA1, 0xA2, 0x0D, 0x0D, 0xA3, 0x0D, 0xFF})), {{"\xA1\xA2", 0}, {"", 0}, {"\xA3", 0}}},
      {U(bytes({0x0D, 0xA1, 0xFF})), {}},  // still open at the end code
      {U(bytes({0x0D, 0xA1, 0x0D, 0xFC})), {{"\xA1", 0}}},
      {U(bytes({0xFE, 0xA1, 0xFE, 0xA2, 0xFE, 0xA3, 0x0D, 0xFF})), {{"\xA1\xA2\xA3", 0}}},
      {U(bytes({0x0D, 0xA1, 0xF5, 0x07, 0xFE, 0xA2, 0x0D, 0xFF})), {{"\xA1\xA2", 0}}},
      {U(bytes({0x0C, 0xA1, 0x0C, 0xA2, 0x0D, 0xFF})), {{"\xA1", 0}, {"\xA2", 0}}},
      {U(bytes({0xA1, 0x0D, 0xA2, 0x0D, 0xFF})), {}},           // a body that starts with a cell
      {U(bytes({0x0D, 0xA1, 0xF4, 0xA2, 0x0D, 0xFF})), {}},     // A2 is no control byte: the parse stops
      {U(bytes({0x0D, 0xA1, 0x0D, 0xA2, 0x0D, 0x42, 0xA3})), {{"\xA1", 0}, {"\xA2", 0}, {"", 0}}},
      {U(bytes({0x0D, 0xA1, 0x18, 0xA2, 0x18, 0x0D, 0xFF})), {{"\xA1\xA2", 0}}},  // cancel bytes go
      {U(bytes({0x0D, 0xA1, 0xFD, 0xA2, 0x0D, 0xFF})), {{"\xA1", 0}, {"\xA2", 1}}},
      {U(bytes({0xFD, 0xA1, 0xA2, 0xF4, 0x0D, 0xA3, 0x0D, 0xFF})), {{"\xA1\xA2", 1}, {"\xA3", 0}}},
      {U(bytes({0xFD, 0x0D, 0xFF})), {{"", 1}}},
      {U(bytes({0xFE, 0xA1, 0xF4, 0xFD, 0xA2, 0x0D, 0xFF})), {{"\xA1\xA2", 1}}},  // an open line takes FD's flag
      {U(bytes({0xFE, 0xA1, 0xFE, 0xFD, 0xA2, 0x0D, 0xFF})), {{"\xA1", 0}, {"\xA2", 1}}},
      {U(bytes({0x0D, 0xA1, 0x0D, 0xA2, 0xA3})), {{"\xA1", 0}, {"\xA2\xA3", 0}}},  // the file ends in a run
      {U(bytes({0x0D, 0xA1, 0x0D, 0xF5})), {{"\xA1", 0}}},
      // Runs are cut at 1520 bytes and the parse goes on; 0x18 bytes take room until the line is stored.
      {U("\x0D" + std::string(BRAILLE_LINE_MAX + 700, '\xA1') + "\x0D\xA2\x0D\xFF"),
       {{std::string(BRAILLE_LINE_MAX, '\xA1'), 0}, {"\xA2", 0}}},
      {U("\x0D" + std::string(BRAILLE_LINE_MAX, '\x18') + "\xA4\x0D\xFF"), {{"", 0}}},
      {nrk_with_length(10, seven), {{"\xA1\xA2", 0}, {"\xA3", 0}}},
      {nrk_with_length(9, seven), {{"\xA1\xA2", 0}, {"\xA3", 0}, {"", 0}}},
      {nrk_with_length(8, seven), {{"\xA1\xA2", 0}, {"\xA3\x0D", 0}}},
      // The count runs out at a trailing FF, or at a line end kept in the text.
      {nrk_with_length(6, bytes({0x0D, 0xA1, 0xA2, 0xFF})), {{"\xA1\xA2", 0}}},
      {nrk_with_length(5, bytes({0x0D, 0xA1, 0x0D})), {{"\xA1\x0D", 0}}},
      // A zero length is followed by a 32-bit one: 6 + 5 runs out at the second line's 0x0D.
      {tenji::nrk_prefix() + bytes({0, 0, 11, 0, 0, 0, 0x0D, 0xA1, 0x0D, 0xA2, 0x0D, 0xFF}),
       {{"\xA1", 0}, {"\xA2\x0D", 0}}},
  };
  for (const auto& [file, lines] : cases) {
    const auto [result, read] = read_file_bytes(file);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read, lines) << ::testing::PrintToString(file.substr(1025, 16));
  }
  // A long document gets the 32-bit field from the writer and reads back whole.
  const L lines = read_file_bytes(tenji::encode_nrk(std::vector<std::string>(30000, "\xA1\xA2\xA3"))).second;
  ASSERT_EQ(lines.size(), 30000u);
  EXPECT_EQ(lines.back(), Line("\xA1\xA2\xA3", 0));
}

TEST(NrkMemory, OutOfMemoryIsToldOnceAndTheDocumentIsRefused) {
  int appends = 0;
  std::vector<std::string> alerts;
  platform::ScopedHook alert(platform::alert_hook, [&](std::string_view text, std::string_view caption) {
    alerts.push_back(std::string(caption) + "|" + std::string(text));
  });
  platform::ScopedHook fault(platform::allocation_fault_hook, [&] { return ++appends >= 2; });
  TempDir dir;
  write_file(dir.file("d.NRK"), tenji::encode_nrk(std::vector<std::string>(1000, "\xA1")));
  BrailleDocument doc;
  BrailleFileReader reader(dir.file("d.NRK").c_str());
  EXPECT_EQ(reader.read(&doc), -1);
  EXPECT_EQ(document_failure_message(reader.failure(), "d"),
            "メモリが足りず、点字ファイルを読み終えられませんでした。\nd");
  EXPECT_EQ(alerts, std::vector<std::string>{"メモリエラー|メモリ確保に失敗しました。\n非常に危険な状態です。"});
  EXPECT_EQ(lines_of(doc), (L{{"\xA1", 0}}));  // not once a line; earlier lines stay
}

}  // namespace
}  // namespace tenji
