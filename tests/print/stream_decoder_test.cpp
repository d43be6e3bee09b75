#include "print/stream_decoder.h"

#include <gtest/gtest.h>

#include "print/page_output.h"
#include "support/nrk_builder.h"

namespace tenji {
namespace {

using tenji::testing::bytes;

TEST(StreamDecoder, DecodesTheCommandsOfAJobAndWrapsFarCoordinates) {
  // Reset, dot size 2, one cell with dots 1 and 4 at (33, 30), a far dot, page end, CR. The far dot is at
  // 1200 steps across (high byte 0x45) and 9999 down, whose high byte 0x58 reads as 1807.
  const std::string stream = bytes({0x1B, 0x1B, 0x47, 0x1B, 0x1B, 0x44, 0x32, 0x1D, 0x20, 0x7E, 0x21, 0x41, 0x20,
                                    0x7E, 0x21, 0x47, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x21, 0x64, 0x21, 0x41, 0x21,
                                    0x64, 0x21, 0x47, 0x45, 0x70, 0x58, 0x4F, 0x0D, 0x0C, 0x1B, 0x1B, 0x47, 0x0D});
  const DecodedJob job = decode_stream(stream);
  EXPECT_TRUE(job.errors.empty());
  EXPECT_EQ(std::pair(job.resets, job.carriage_returns), std::pair(3, 3));
  ASSERT_EQ(job.pages.size(), 1u);
  EXPECT_EQ(job.pages[0].moves, 2);
  ASSERT_EQ(job.pages[0].dots.size(), 3u);
  const auto& dots = job.pages[0].dots;
  EXPECT_EQ(std::tuple(dots[0].x, dots[0].y, dots[1].x, dots[1].y, dots[1].size), std::tuple(39, 30, 39, 36, 2));
  EXPECT_EQ(std::tuple(dots[2].y, dots[2].x), std::tuple(1200, 1807));
}

TEST(StreamDecoder, ACommandCutShortIsOneErrorAndDecodingResumesAtTheReset) {
  // A stray byte, then a move group cut inside its address and followed by
  // a reset, then a whole dot.
  const DecodedJob job = decode_stream(bytes({0x1B, 0x1B, 0x47, 0x41, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x60,
                                              0x1B, 0x1B, 0x47, 0x20, 0x60, 0x20, 0x46, 0x0C}));
  ASSERT_EQ(job.errors.size(), 2u);
  EXPECT_EQ(std::pair(job.errors[0].offset, job.errors[0].byte), std::pair(std::size_t{3}, 0x41));
  EXPECT_EQ(std::pair(job.errors[1].offset, job.errors[1].byte), std::pair(std::size_t{8}, 0x1D));
  // The CR after the stray byte went with it.
  EXPECT_EQ(std::pair(job.resets, job.carriage_returns), std::pair(3, 0));
  ASSERT_EQ(job.pages.size(), 1u);
  ASSERT_EQ(job.pages[0].dots.size(), 1u);
  EXPECT_EQ(job.pages[0].dots[0].x, 6);
}

TEST(PageOutput, JsonAndSvgPlaceDotsInMillimetres) {
  DecodedJob job;
  job.pages.push_back(RaisedPage{{RaisedDot{6, 0, 1}, RaisedDot{39, 6, 1}}, 2});
  const std::string json = job_json(1, 53, job);
  EXPECT_NE(json.find("{\"x\": 6, \"y\": 0, \"x_mm\": 1.905, \"y_mm\": 0, \"size\": 1}"), std::string::npos);
  EXPECT_NE(json.find("\"y_mm\": 2.0724"), std::string::npos);
  EXPECT_NE(json.find("\"bytes\": 53"), std::string::npos);
  const std::string svg = page_svg(job.pages[0], paper_size(1));
  // Dot at 12.3825 mm down and 2.0724 mm across, inside a 12 mm margin.
  EXPECT_NE(svg.find("<circle cx=\"14.0724\" cy=\"24.3825\" r=\"0.7\"/>"), std::string::npos);
}

}  // namespace
}  // namespace tenji
