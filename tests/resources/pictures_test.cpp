#include <gtest/gtest.h>

#include <string>

#include "resources/pixels.h"
#include "resources/resource_ids.h"
#include "support/temp_dir.h"
#include "ui/png_file.h"

namespace tenji {
namespace {

using namespace resources;

// The .ico files the Windows programs carry are the icons' data as it
// stands: after a change of the data, `make-icons src/app/windows` must run.
TEST(Icons, TheWindowsIconFilesAreTheIconsData) {
  for (int id : {IDI_BIG, IDI_SMALL}) {
    const std::string committed =
        testing::read_file(std::string(TENJI_SOURCE_DIR) + "/src/app/windows/icon-" + std::to_string(id) + ".ico");
    EXPECT_EQ(committed, ico_file(id)) << id;
    // One 32 x 32 image of 32 bits, right after the 22-byte directory.
    EXPECT_EQ(committed.substr(0, 8), std::string("\0\0\1\0\1\0\x20\x20", 8));
    EXPECT_EQ(committed.size(), 22u + 40 + 32 * 32 * 4 + 32 * 4);
  }
}

TEST(GeometryPicture, DotsOnWhiteWithBlueMeasures) {
  const Pixels p = geometry_picture();
  ASSERT_EQ(std::pair(p.width, p.height), std::pair(224, 224));
  EXPECT_EQ(p.at(0, 0), 0xFFFFFFFFu);    // background
  EXPECT_EQ(p.at(40, 44), 0xFF000000u);  // the first dot's centre
  EXPECT_EQ(p.at(98, 150), 0xFF000000u); // the next line's second cell, left column
  EXPECT_EQ(p.at(62, 44), 0xFF000000u);  // the first cell's right column
  // The arrows of 縦点間 and 横点間 are blue, smoothed into the white.
  for (auto [x, y] : {std::pair{138, 56}, std::pair{51, 28}}) {
    const std::uint32_t v = p.at(x, y), r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
    EXPECT_TRUE(r < 0x80 && r < g && g < b) << std::hex << v << " at " << std::dec << x << "," << y;
  }
}

TEST(Png, BytesOfOnePixelAndStoredBlocksOfAWholePicture) {
  const Pixels red{1, 1, {0xFFFF0000}};
  EXPECT_EQ(ui::png_bytes(red),
            std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89"
                        "\0\0\0\x10IDAT\x78\x01\x01\x05\0\xFA\xFF\0\xFF\0\0\xFF\x05\0\x01\xFF\xFA\x5C\x88\xD1"
                        "\0\0\0\0IEND\xAE\x42\x60\x82",
                        73));
  // 224 rows of a filter byte and 224 RGBA pixels: four stored blocks.
  const std::string png = ui::png_bytes(geometry_picture());
  const std::size_t raw = 224 * (224 * 4 + 1), idat = 2 + 4 * 5 + raw + 4;
  EXPECT_EQ(png.substr(33, 8), std::string("\0\x03\x10\xFAIDAT", 8));
  EXPECT_EQ(png.size(), 8 + 25 + 12 + idat + 12);
  testing::TempDir dir;
  ASSERT_TRUE(ui::write_png(dir.file("p.png"), red));
  EXPECT_EQ(testing::read_file(dir.file("p.png")), ui::png_bytes(red));
  EXPECT_FALSE(ui::write_png(dir.file("no-such-dir/p.png"), red));
}

}  // namespace
}  // namespace tenji
