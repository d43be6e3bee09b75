#include "document/braille_file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
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
using tenji::testing::nrk_uncounted;
using tenji::testing::nrk_with_length;
using tenji::testing::TempDir;
using tenji::testing::write_file;

struct Line {
  std::string text;
  int fd_flag;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l) {
  os << '[';
  for (unsigned char c : l.text) os << std::hex << int(c) << ' ';
  return os << "fd=" << l.fd_flag << ']';
}

struct ReadResult {
  int result;
  std::vector<Line> lines;
};

std::vector<Line> lines_of(const BrailleDocument& doc) {
  std::vector<Line> out;
  for (int n = 1; n <= doc.line_count(); ++n) {
    const auto l = doc.line_record(n);
    EXPECT_EQ(l->length, static_cast<int>(std::string(l->text).size()));
    out.push_back({l->text, l->fd_flag});
  }
  return out;
}

ReadResult read_file_bytes(const std::string& file) {
  TempDir dir;
  const auto path = dir.file("doc.NRK");
  write_file(path, file);
  BrailleDocument doc;
  BrailleFileReader reader(path.c_str());
  const int result = reader.read(&doc);
  return {result, lines_of(doc)};
}

TEST(NrkSignature, RejectsFilesThatAreNotDocuments) {
  const std::string good = tenji::encode_nrk({"\xA1"});
  EXPECT_EQ(read_file_bytes(good).result, 0);

  std::string wrong_first = good;
  wrong_first[0] = '#';
  EXPECT_EQ(read_file_bytes(wrong_first).result, -1);

  std::string no_marker = good;
  no_marker[512] = no_marker[513] = no_marker[514] = '\0';
  EXPECT_EQ(read_file_bytes(no_marker).result, -1);
  std::string marker_at_514 = no_marker;
  marker_at_514[514] = '\xFF';
  EXPECT_EQ(read_file_bytes(marker_at_514).result, 0);

  EXPECT_EQ(read_file_bytes("").result, -1);
  EXPECT_EQ(read_file_bytes("%NRQ").result, -1);
  EXPECT_EQ(read_file_bytes(good.substr(0, 514)).result, -1);  // shorter than 515
  // Everything up to the marker, but no 0xFF at or after offset 1024.
  EXPECT_EQ(read_file_bytes(good.substr(0, 1024)).result, -1);
}

TEST(NrkSignature, EachRefusalNamesItsCause) {
  TempDir dir;
  write_file(dir.file("text.NRK"), "hello");
  std::vector<std::tuple<std::string, DocumentFailure, const char*>> cases = {
      {dir.file("missing.NRK"), DocumentFailure::missing, "点字ファイルが見つかりません。"},
      {dir.path(), DocumentFailure::not_a_file, "点字ファイルではありません（フォルダーか装置です）。"},
      {dir.file("text.NRK"), DocumentFailure::not_a_document, "NRK形式のファイルではありません。"},
  };
#ifndef _WIN32
  cases.push_back({"/dev/zero", DocumentFailure::not_a_file, "点字ファイルではありません（フォルダーか装置です）。"});
#endif
  for (const auto& [path, failure, text] : cases) {
    BrailleDocument doc;
    BrailleFileReader reader(path.c_str());
    EXPECT_EQ(reader.read(&doc), -1) << path;
    EXPECT_EQ(reader.failure(), failure) << path;
    EXPECT_EQ(document_failure_message(reader.failure(), path), std::string(text) + "\n" + path);
  }
}

TEST(NrkSignature, PathsLongerThan260CharactersAreRead) {
  TempDir dir;
  const std::string folder = dir.path() + "/" + std::string(120, 'a') + "/" + std::string(120, 'b');
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/document.NRK";
  ASSERT_GT(path.size(), 260u);
  write_file(path, tenji::encode_nrk({"\xA1"}));
  BrailleDocument doc;
  EXPECT_EQ(BrailleFileReader(path.c_str()).read(&doc), 0);
  EXPECT_EQ(doc.line_count(), 1);
}

TEST(NrkSignature, HeaderReceivesTheFilesFirstBytes) {
  TempDir dir;
  const auto path = dir.file("h.NRK");
  write_file(path, tenji::encode_nrk({}));
  BrailleDocument doc;
  ASSERT_EQ(BrailleFileReader(path.c_str()).read(&doc), 0);
  // Bytes 515..1026 of the file are read over the first block's bytes.
  EXPECT_EQ(doc.header[0], 0);
  EXPECT_EQ(doc.header[509], 0xFF);  // the body marker at offset 1024
}

TEST(NrkLines, EndWhereTheRecordsSay) {
  using L = std::vector<Line>;
  const std::pair<std::string, L> cases[] = {
      {bytes({0x0D, 0xA1, 0xA2, 0x0D, 0x0D, 0xA3, 0x0D, 0xFF}), {{"\xA1\xA2", 0}, {"", 0}, {"\xA3", 0}}},
      {bytes({0x0D, 0xA1, 0xFF}), {}},  // still open at the end code
      {bytes({0x0D, 0xA1, 0x0D, 0xFC}), {{"\xA1", 0}}},
      {bytes({0xFE, 0xA1, 0xFE, 0xA2, 0xFE, 0xA3, 0x0D, 0xFF}), {{"\xA1\xA2\xA3", 0}}},
      {bytes({0x0D, 0xA1, 0xF5, 0x07, 0xFE, 0xA2, 0x0D, 0xFF}), {{"\xA1\xA2", 0}}},
      {bytes({0x0C, 0xA1, 0x0C, 0xA2, 0x0D, 0xFF}), {{"\xA1", 0}, {"\xA2", 0}}},
      {bytes({0xA1, 0x0D, 0xA2, 0x0D, 0xFF}), {}},           // a body that starts with a cell
      {bytes({0x0D, 0xA1, 0xF4, 0xA2, 0x0D, 0xFF}), {}},     // A2 is no control byte: the parse stops
      {bytes({0x0D, 0xA1, 0x0D, 0xA2, 0x0D, 0x42, 0xA3}), {{"\xA1", 0}, {"\xA2", 0}, {"", 0}}},
      {bytes({0x0D, 0xA1, 0x18, 0xA2, 0x18, 0x0D, 0xFF}), {{"\xA1\xA2", 0}}},  // cancel bytes go
      {bytes({0x0D, 0xA1, 0xFD, 0xA2, 0x0D, 0xFF}), {{"\xA1", 0}, {"\xA2", 1}}},
      {bytes({0xFD, 0xA1, 0xA2, 0xF4, 0x0D, 0xA3, 0x0D, 0xFF}), {{"\xA1\xA2", 1}, {"\xA3", 0}}},
      {bytes({0xFD, 0x0D, 0xFF}), {{"", 1}}},
      {bytes({0xFE, 0xA1, 0xF4, 0xFD, 0xA2, 0x0D, 0xFF}), {{"\xA1\xA2", 1}}},  // an open line takes FD's flag
      {bytes({0xFE, 0xA1, 0xFE, 0xFD, 0xA2, 0x0D, 0xFF}), {{"\xA1", 0}, {"\xA2", 1}}},
      {bytes({0x0D, 0xA1, 0x0D, 0xA2, 0xA3}), {{"\xA1", 0}, {"\xA2\xA3", 0}}},  // the file ends in a run
      {bytes({0x0D, 0xA1, 0x0D, 0xF5}), {{"\xA1", 0}}},
  };
  for (const auto& [records, lines] : cases) {
    const ReadResult r = read_file_bytes(nrk_uncounted(records));
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.lines, lines) << ::testing::PrintToString(Line{records, 0});
  }
}

TEST(NrkCount, TheLengthFieldDecidesTheLastLine) {
  using L = std::vector<Line>;
  const std::string seven = bytes({0x0D, 0xA1, 0xA2, 0x0D, 0xA3, 0x0D, 0xFF});
  EXPECT_EQ(read_file_bytes(nrk_with_length(10, seven)).lines, (L{{"\xA1\xA2", 0}, {"\xA3", 0}}));
  EXPECT_EQ(read_file_bytes(nrk_with_length(200, seven)).lines, (L{{"\xA1\xA2", 0}, {"\xA3", 0}}));
  EXPECT_EQ(read_file_bytes(nrk_with_length(9, seven)).lines,
            (L{{"\xA1\xA2", 0}, {"\xA3", 0}, {"", 0}}));
  EXPECT_EQ(read_file_bytes(nrk_with_length(8, seven)).lines, (L{{"\xA1\xA2", 0}, {"\xA3\x0D", 0}}));
  for (int len : {8, 9, 10}) EXPECT_EQ(read_file_bytes(nrk_with_length(len, seven)).result, 0);

  // Count runs out at a trailing FF, or at a line end kept in the text.
  EXPECT_EQ(read_file_bytes(nrk_with_length(6, bytes({0x0D, 0xA1, 0xA2, 0xFF}))).lines, (L{{"\xA1\xA2", 0}}));
  EXPECT_EQ(read_file_bytes(nrk_with_length(5, bytes({0x0D, 0xA1, 0x0D}))).lines, (L{{"\xA1\x0D", 0}}));
}

TEST(NrkCount, AZeroLengthIsFollowedByA32BitLength) {
  const std::string records = bytes({0x0D, 0xA1, 0x0D, 0xA2, 0x0D, 0xFF});
  // 32-bit count of 6 + 5: the count runs out at the second line's 0x0D.
  std::string file = tenji::nrk_prefix() + bytes({0, 0, 11, 0, 0, 0}) + records;
  EXPECT_EQ(read_file_bytes(file).lines, (std::vector<Line>{{"\xA1", 0}, {"\xA2\x0D", 0}}));
  // A long document gets the 32-bit field from the writer and reads back whole.
  std::vector<std::string> many(30000, "\xA1\xA2\xA3");
  const ReadResult r = read_file_bytes(tenji::encode_nrk(many));
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(r.lines.size(), many.size());
  EXPECT_EQ(r.lines.back().text, "\xA1\xA2\xA3");
}

TEST(NrkTruncated, EndsInsideTheLengthField) {
  EXPECT_EQ(read_file_bytes(tenji::nrk_prefix() + bytes({0x10})).result, 0);
  EXPECT_EQ(read_file_bytes(tenji::nrk_prefix()).lines, std::vector<Line>{});
}

TEST(NrkLongRuns, AreCutAt1520BytesAndParsingGoesOn) {
  const std::string full(BRAILLE_LINE_MAX, '\xA1');
  const std::string records = "\x0D" + full + "\x0D\xA2\x0D\xFF";
  auto r = read_file_bytes(nrk_uncounted(records));
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0].text, full);

  const std::string over = "\x0D" + full + std::string(700, '\xA3') + "\x0D\xA2\x0D\xFF";
  r = read_file_bytes(nrk_uncounted(over));
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0].text, full);
  EXPECT_EQ(r.lines[1].text, "\xA2");

  // 0x18 bytes count against the room until the line is stored.
  const std::string with_cancels = "\x0D" + std::string(BRAILLE_LINE_MAX, '\x18') + "\xA4\x0D\xFF";
  r = read_file_bytes(nrk_uncounted(with_cancels));
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_EQ(r.lines[0].text, "");
}

TEST(NrkMemory, OutOfMemoryIsToldOnceAndTheDocumentIsRefused) {
  int appends = 0, alerts = 0;
  platform::ScopedHook alert(platform::alert_hook, [&](std::string_view, std::string_view) { ++alerts; });
  platform::ScopedHook fault(platform::allocation_fault_hook, [&] { return ++appends >= 2; });
  const ReadResult r = read_file_bytes(tenji::encode_nrk(std::vector<std::string>(1000, "\xA1")));
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(alerts, 1);  // not once a line
  EXPECT_EQ(r.lines, (std::vector<Line>{{"\xA1", 0}}));
}

TEST(NrkDocument, LinesAreAppendedAfterThoseAlreadyHeld) {
  TempDir dir;
  const auto path = dir.file("d.NRK");
  write_file(path, tenji::encode_nrk({"\xB0", "", "\xDF\xA0"}));
  BrailleDocument doc;
  doc.append_line(make_braille_line("\xA1"));
  ASSERT_EQ(BrailleFileReader(path.c_str()).read(&doc), 0);
  EXPECT_EQ(lines_of(doc), (std::vector<Line>{{"\xA1", 0}, {"\xB0", 0}, {"", 0}, {"\xDF\xA0", 0}}));
}

}  // namespace
}  // namespace tenji
