#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "resources/pixels.h"
#include "resources/resource_ids.h"
#include "support/temp_dir.h"
#include "resources/png_file.h"
#include "resources/sheet_picture.h"

#include <zlib.h>

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

// A picture for 96 DPI grows with the dialog: black to white across two
// pixels becomes a ramp across four at 200 % (in both rows), and the edges keep their
// colours; 150 % of the geometry picture is 336 pixels square.
TEST(ScaledPixels, GrowsSmoothlyAndKeepsTheEdges) {
  const Pixels two{2, 1, {0xFF000000u, 0xFFFFFFFFu}};
  const std::vector<std::uint32_t> ramp{0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu};
  const Pixels doubled = scaled(two, 2.0);
  EXPECT_EQ(std::pair(doubled.width, doubled.height), std::pair(4, 2));
  EXPECT_EQ(std::vector<std::uint32_t>(doubled.argb.begin(), doubled.argb.begin() + 4), ramp);
  EXPECT_EQ(std::vector<std::uint32_t>(doubled.argb.begin() + 4, doubled.argb.end()), ramp);
  const Pixels half_transparent{1, 1, {0x80FF0000u}};
  EXPECT_EQ(scaled(half_transparent, 2.0).argb, std::vector<std::uint32_t>(4, 0x80FF0000u));
  const Pixels big = scaled(geometry_picture(), 1.5);
  EXPECT_EQ(std::pair(big.width, big.height), std::pair(336, 336));
  EXPECT_EQ(big.at(60, 66), 0xFF000000u);  // the first dot's centre, at 40 x 1.5, 44 x 1.5
  EXPECT_EQ(scaled(two, 1.0).argb, two.argb);
}

// The rows a PNG's data unpacks to.
std::string unpacked_rows(const std::string& png, std::size_t size) {
  const std::uint32_t length = static_cast<std::uint32_t>(static_cast<unsigned char>(png[33]) << 24 |
                                                          static_cast<unsigned char>(png[34]) << 16 |
                                                          static_cast<unsigned char>(png[35]) << 8 |
                                                          static_cast<unsigned char>(png[36]));
  EXPECT_EQ(png.substr(37, 4), "IDAT");
  std::string rows(size, '\0');
  uLongf got = size;
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &got, reinterpret_cast<const Bytef*>(png.data() + 41),
                       length),
            Z_OK);
  rows.resize(got);
  return rows;
}

TEST(Png, HeaderAndRowsOfColourAndGreyPictures) {
  const Pixels red{1, 1, {0xFFFF0000}};
  const std::string png = png_bytes(red);
  EXPECT_EQ(png.substr(0, 33), std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89", 33));
  EXPECT_EQ(unpacked_rows(png, 16), std::string("\0\xFF\0\0\xFF", 5));  // filter none, R G B A
  EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
  const GreyPixels grey{2, 2, {0, 255, 128, 7}};
  const std::string g = png_bytes(grey);
  EXPECT_EQ(g.substr(24, 2), std::string("\x08\x00", 2));  // 8 bits of grey
  EXPECT_EQ(unpacked_rows(g, 16), std::string("\0\x00\xFF\0\x80\x07", 6));
  testing::TempDir dir;
  ASSERT_TRUE(write_png(dir.file("p.png"), red));
  EXPECT_EQ(testing::read_file(dir.file("p.png")), png);
  EXPECT_FALSE(write_png(dir.file("no-such-dir/p.png"), red));
}

TEST(SheetPicture, PaperScalesAreaAndDotsAtTheirPlaces) {
  SheetDrawing sheet;
  sheet.paper_down_mm = 40;
  sheet.paper_across_mm = 30;
  sheet.dots = {{10, 20, 0.7}};
  sheet.print_area = SheetDrawing::Area{5, 5, 35, 25};
  const GreyPixels p = sheet_picture(sheet, 4.0);  // 4 pixels a millimetre, 12 mm margins
  ASSERT_EQ(std::pair(p.width, p.height), std::pair((30 + 24) * 4, (40 + 24) * 4));
  auto at = [&](double across_mm, double down_mm) {
    return p.grey[static_cast<std::size_t>(std::lround((12 + down_mm) * 4)) * p.width +
                  static_cast<std::size_t>(std::lround((12 + across_mm) * 4))];
  };
  EXPECT_EQ(at(-6, -6), 232);   // margin
  EXPECT_EQ(at(3, 30), 255);    // paper
  EXPECT_LT(at(20, 10), 40);    // the dot's centre
  EXPECT_EQ(at(20.9, 10), 255); // beyond its radius
  EXPECT_EQ(at(10, -1), 0);     // the 10 mm tick of the top scale
  EXPECT_EQ(at(5, 13), 150);    // the print area's left edge, on a dash
  EXPECT_EQ(at(5, 12), 255);    // ...and between two dashes
  EXPECT_EQ(to_argb(p).at(0, 0), 0xFFE8E8E8u);
}

}  // namespace
}  // namespace tenji
