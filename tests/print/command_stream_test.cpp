#include "print/command_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "print/printing_flag.h"
#include "support/fake_comm.h"
#include "support/nrk_builder.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using tenji::testing::FakeCommApi;

int idle_polls = 0;

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

  FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  std::vector<std::string> debug;
  platform::ScopedHook<platform::DebugSink> debug_sink{platform::debug_output_hook,
                                                       [this](std::string_view t) { debug.emplace_back(t); }};
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
  // pattern, x, y, dx, dy, back pitch -> the bytes on the line
  const std::tuple<int, int, int, int, std::string> cases[] = {
      {0, 0, 0, 6, blank},
      {63, 0, 0, 6,
       bytes({0x1D, 0x20, 0x60, 0x20, 0x40, 0x20, 0x60, 0x20, 0x46, 0x20, 0x60, 0x20, 0x4D, 0x20, 0x60, 0x20, 0x54,
              0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x66, 0x20, 0x40, 0x20, 0x66, 0x20, 0x46, 0x20, 0x66, 0x20, 0x4D,
              0x20, 0x66, 0x20, 0x54})},
      {0xA9 - 0xA0, 33, 30, 6,  // the worked example: dots 1 and 4 at (33, 30)
       bytes({0x1D, 0x20, 0x7E, 0x21, 0x41, 0x20, 0x7E, 0x21, 0x47, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x21, 0x64, 0x21,
              0x41, 0x21, 0x64, 0x21, 0x47})},
      {-128, 0, 0, 6, blank},  // a space byte: only the low six bits count
      {64, 0, 0, 6, blank},
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

TEST_F(StreamTest, ARefusedByteIsReportedAndFails) {
  fake.device(1).hold = true;
  fake.tick_step = 50;
  std::vector<unsigned char> fill(239, 1);
  current_port->write_block(current_port, fill.data(), 239);
  EXPECT_EQ(send_byte(current_port, 1), SendResult::sent);  // the last free byte
  // Room appears but the byte is not taken: a dead device.
  fake.device(1).gone = true;
  EXPECT_EQ(send_byte(current_port, 2), SendResult::failed);
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.back(), "GL Error -9 ASTXQUEUEFULL");
}

TEST_F(StreamTest, CancelNeverCutsAWaitWhileTheLineMoves) {
  std::vector<unsigned char> fill(240, 1);  // a quarter second at 9600 bit/s
  current_port->write_block(current_port, fill.data(), 240);
  printing_flag = 0;
  EXPECT_EQ(send_byte(current_port, 7), SendResult::sent);  // the wait ends when the line has room
  EXPECT_TRUE(debug.empty());
}

TEST_F(StreamTest, AfterCancelALineHeldForTheStallLimitEndsTheWait) {
  fake.device(1).hold = true;
  fake.tick_step = 100;
  std::vector<unsigned char> fill(240, 1);
  current_port->write_block(current_port, fill.data(), 240);
  static std::uint32_t cancelled_at;
  static FakeCommApi* clock;
  clock = &fake;
  idle_polls = 0;
  tenji::testing::IdleHookOverride cancel_after_50([](SerialPort*) {
    if (++idle_polls == 50) {
      cancelled_at = clock->tick;
      printing_flag = 0;
    }
    return 0;
  });
  EXPECT_EQ(send_byte(current_port, 7), SendResult::stalled);
  EXPECT_GE(fake.tick - cancelled_at, static_cast<std::uint32_t>(STALL_LIMIT_MS));  // counted from the Cancel
  EXPECT_LT(fake.tick - cancelled_at, static_cast<std::uint32_t>(STALL_LIMIT_MS) + 1000);
  EXPECT_EQ(STALL_LIMIT_MS, 10000);
}

int handshake_blocks = 0;
int (*real_write_byte)(SerialPort*, int) = nullptr;
int blocked_write_byte(SerialPort* p, int value) {
  if (handshake_blocks > 0) {
    --handshake_blocks;
    return ASHANDSHAKEBLOCK;
  }
  return real_write_byte(p, value);
}

TEST_F(StreamTest, AHandshakeBlockIsRetriedAndReported) {
  real_write_byte = current_port->write_byte;
  current_port->write_byte = blocked_write_byte;
  handshake_blocks = 1000;  // more than one 100 ms write takes
  fake.tick_step = 20;
  // Clears the block after a few retries.
  tenji::testing::IdleHookOverride clear_the_block([](SerialPort*) {
    static int n = 0;
    if (++n % 64 == 0) handshake_blocks = 0;
    return 0;
  });
  EXPECT_EQ(send_byte(current_port, 0x42), SendResult::sent);
  EXPECT_EQ(sent(), "B");
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.front(), "ASHANDSHAKEBLOCK");
  current_port->write_byte = real_write_byte;
}

}  // namespace
}  // namespace tenji
