#include "print/command_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "print/printing_flag.h"
#include "support/fake_comm.h"
#include "support/nrk_builder.h"

namespace tenji {
namespace {

using tenji::testing::bytes;

class StreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.device(1);
    current_port = port_open(0, 9600, 'N', 8, 1);
    ASSERT_EQ(current_port->status, 0);
    printing_flag = 1;
  }
  void TearDown() override {
    close_all_ports();
    current_port = nullptr;
  }
  std::string sent() {
    current_port->tx_used(current_port);  // lets the fake line take what is queued
    return fake.device(1).line;
  }

  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
};

TEST_F(StreamTest, FixedSequences) {
  send_reset();
  for (int kind : {1, 5, 0, 2}) send_dot_size(kind);
  send_cr();
  send_page_end();
  EXPECT_EQ(sent(), bytes({0x1B, 0x1B, 0x47, 0x1B, 0x1B, 0x44, 0x31, 0x1B, 0x1B, 0x44, 0x05, 0x1B, 0x1B,
                           0x44, 0x30, 0x1B, 0x1B, 0x44, 0x32, 0x0D, 0x0D, 0x0C, 0x1B, 0x1B, 0x47}));
}

TEST_F(StreamTest, CellsSendAMoveForEachColumnAndAGroupForEachDot) {
  const std::string blank = bytes({0x1D, 0x20, 0x60, 0x20, 0x40, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x66, 0x20, 0x40});
  // pattern, x, y, back pitch -> the bytes on the line (dx 7, dy 6)
  const std::tuple<int, int, int, int, std::string> cases[] = {
      {0, 0, 0, 6, blank},
      {0xA9 - 0xA0, 33, 30, 6,  // the worked example: dots 1 and 4 at (33, 30)
       bytes({0x1D, 0x20, 0x7E, 0x21, 0x41, 0x20, 0x7E, 0x21, 0x47, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x21, 0x64, 0x21,
              0x41, 0x21, 0x64, 0x21, 0x47})},
      {64, 0, 0, 6, blank},                                     // only the low six bits count
      {-32, 0, 0, 6, blank + bytes({0x20, 0x66, 0x20, 0x54})},  // dot 6 only
      // 224 * 32 steps gives a high byte of 0x100, that is 0x00: the groups go out whole.
      {1, 224 * 32, 0, 0,
       bytes({0x1D, 0x20, 0x60, 0x00, 0x40, 0x20, 0x60, 0x00, 0x40, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x66, 0x00, 0x40})},
  };
  for (const auto& [pattern, x, y, back_pitch, stream] : cases) {
    fake.device(1).line.clear();
    EXPECT_EQ(plot_cell(pattern, x, y, 7, 6, back_pitch), SendResult::sent);
    EXPECT_EQ(sent(), stream) << pattern << " at " << x << "," << y;
    EXPECT_EQ(cell_byte_count(pattern), stream.size()) << pattern;
  }
  EXPECT_EQ(cell_byte_count(63), 38u);
}

TEST_F(StreamTest, AddressesAreHighAndLowYThenHighAndLowX) {
  const std::tuple<std::int64_t, std::int64_t, std::array<int, 4>> cases[] = {
      {1024, 0, {0x20, 0x60, 0x40, 0x40}},
      {9999, 9999, {0x58, 0x6F, 0x58, 0x4F}},
      {-1, -33, {0x1E, 0x7F, 0x1F, 0x5F}},  // (-33 >> 5) + 0x20 = 0x1E
  };
  for (const auto& [x, y, expected] : cases) {
    const Address a = encode_address(x, y);
    EXPECT_EQ((std::array<int, 4>{a.bytes[0], a.bytes[1], a.bytes[2], a.bytes[3]}), expected) << x << "," << y;
  }
  plot_cell(63, 2147483647, 2147483647, 2147483647, 2147483647, 2147483647);  // no overflow
  EXPECT_EQ(sent().size(), 38u);
}

}  // namespace
}  // namespace tenji
