#include "document/braille_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "document/braille_file_reader.h"
#include "document/nrk_writer.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

std::string text_of(const BrailleDocument& doc, int n) {
  char buf[BRAILLE_LINE_MAX + 1];
  std::memset(buf, 'x', sizeof buf);
  doc.get_line(buf, n);
  return buf;
}

TEST(BrailleDocument, AFileIsReadAfterTheLinesHeldAndOutOfRangeReadsEmpty) {
  testing::TempDir dir;  // a path longer than 260 characters is read too
  const std::string folder = dir.path() + "/" + std::string(120, 'a') + "/" + std::string(120, 'b');
  std::filesystem::create_directories(folder);
  testing::write_file(folder + "/document.NRK", encode_nrk({"\xB0", "", "\xDF\xA0"}));
  BrailleDocument doc;
  const std::string full(BRAILLE_LINE_MAX, '\xDF');
  ASSERT_EQ(doc.append_line(make_braille_line(full + "\xA1", 1)), 1);  // one byte too many is cut
  ASSERT_EQ(BrailleFileReader((folder + "/document.NRK").c_str()).read(&doc), 0);
  ASSERT_EQ(doc.line_count(), 4);
  EXPECT_EQ(doc.line_record(1)->length, static_cast<int>(BRAILLE_LINE_MAX));
  EXPECT_EQ(doc.line_record(1)->fd_flag, 1);
  for (auto [n, text] : {std::pair{1, full}, {2, "\xB0"}, {3, ""}, {4, "\xDF\xA0"}, {0, ""}, {-1, ""}, {5, ""}})
    EXPECT_EQ(text_of(doc, n), text) << n;
}

}  // namespace
}  // namespace tenji
