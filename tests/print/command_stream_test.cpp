#include "print/command_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "print/printing_flag.h"
#include "serial/serial_driver.h"
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
    platform::set_debug_output([this](std::string_view t) { debug.emplace_back(t); });
    printing_flag = 1;
    set_send_wait_mode(WaitMode::cancellable);
  }
  void TearDown() override {
    platform::set_debug_output({});
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
};

TEST_F(StreamTest, FixedSequences) {
  send_reset();
  send_dot_size(1);
  send_dot_size(5);
  send_dot_size(0);
  send_dot_size(2);
  send_cr();
  send_page_end();
  EXPECT_EQ(sent(), bytes({0x1B, 0x1B, 0x47, 0x1B, 0x1B, 0x44, 0x31, 0x1B, 0x1B, 0x44, 0x05, 0x1B, 0x1B,
                           0x44, 0x30, 0x1B, 0x1B, 0x44, 0x32, 0x0D, 0x0D, 0x0C, 0x1B, 0x1B, 0x47}));
}

TEST_F(StreamTest, BlankAndFullCells) {
  EXPECT_EQ(plot_cell(0, 0, 0, 7, 6, 6), SendResult::sent);
  EXPECT_EQ(sent(), bytes({0x1D, 0x20, 0x60, 0x20, 0x40, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x66, 0x20, 0x40}));
  fake.device(1).line.clear();
  plot_cell(63, 0, 0, 7, 6, 6);
  EXPECT_EQ(sent(), bytes({0x1D, 0x20, 0x60, 0x20, 0x40, 0x20, 0x60, 0x20, 0x46, 0x20, 0x60, 0x20, 0x4D,
                           0x20, 0x60, 0x20, 0x54, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x66, 0x20, 0x40,
                           0x20, 0x66, 0x20, 0x46, 0x20, 0x66, 0x20, 0x4D, 0x20, 0x66, 0x20, 0x54}));
  EXPECT_EQ(cell_byte_count(63), 38);
}

TEST_F(StreamTest, TheWorkedExampleCell) {
  plot_cell(0xA9 - 0xA0, 33, 30, 7, 6, 6);
  EXPECT_EQ(sent(), bytes({0x1D, 0x20, 0x7E, 0x21, 0x41, 0x20, 0x7E, 0x21, 0x47, 0x0D, 0x1B, 0x1B, 0x47,
                           0x1D, 0x21, 0x64, 0x21, 0x41, 0x21, 0x64, 0x21, 0x47}));
}

TEST_F(StreamTest, OnlyTheLowSixBitsOfAPatternCount) {
  const std::string blank = bytes({0x1D, 0x20, 0x60, 0x20, 0x40, 0x0D, 0x1B, 0x1B, 0x47, 0x1D, 0x20, 0x66, 0x20, 0x40});
  plot_cell(-128, 0, 0, 7, 6, 6);
  EXPECT_EQ(sent(), blank);
  fake.device(1).line.clear();
  plot_cell(64, 0, 0, 7, 6, 6);
  EXPECT_EQ(sent(), blank);
  fake.device(1).line.clear();
  plot_cell(-32, 0, 0, 7, 6, 6);  // dot 6 only
  EXPECT_EQ(sent(), blank + bytes({0x20, 0x66, 0x20, 0x54}));
}

TEST_F(StreamTest, AddressEncoding) {
  const Address a = encode_address(1024, 0);
  EXPECT_EQ(a.bytes[2], 0x40);
  EXPECT_EQ(a.bytes[3], 0x40);
  const Address b = encode_address(9999, 9999);
  EXPECT_EQ(b.bytes[0], 0x58);
  EXPECT_EQ(b.bytes[1], 0x6F);
  EXPECT_EQ(b.bytes[2], 0x58);
  EXPECT_EQ(b.bytes[3], 0x4F);
  const Address n = encode_address(-1, -33);
  EXPECT_EQ(n.bytes[0], 0x1E);  // (-33 >> 5) + 0x20 = -2 + 32
  EXPECT_EQ(n.bytes[2], 0x1F);
  EXPECT_EQ(n.bytes[3], 0x5F);
}

TEST_F(StreamTest, GroupsWithAZeroByteAreSentWhole) {
  // 224 * 32 steps gives a high byte of 0x100, that is 0x00.
  plot_cell(1, 224 * 32, 0, 7, 6, 0);
  const std::string s = sent();
  ASSERT_EQ(s.size(), 18u);
  EXPECT_EQ(s.substr(0, 5), bytes({0x1D, 0x20, 0x60, 0x00, 0x40}));
  EXPECT_EQ(s.substr(5, 4), bytes({0x20, 0x60, 0x00, 0x40}));
}

TEST_F(StreamTest, HugeCoordinatesDoNotOverflow) {
  plot_cell(63, 2147483647, 2147483647, 2147483647, 2147483647, 2147483647);
  EXPECT_EQ(sent().size(), 38u);
}

TEST_F(StreamTest, ARefusedByteIsReportedAndFails) {
  fake.device(1).hold = true;
  fake.tick_step = 50;
  std::vector<unsigned char> fill(1049, 1);
  current_port->write_block(current_port, fill.data(), 1049);
  EXPECT_EQ(send_byte(current_port, 1), SendResult::sent);  // the last free byte
  // Room appears but the byte is not taken: a dead device.
  fake.device(1).gone = true;
  EXPECT_EQ(send_byte(current_port, 2), SendResult::failed);
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.back(), "GL Error -9");
}

TEST_F(StreamTest, AFullQueueWaitsUntilCancel) {
  fake.device(1).hold = true;
  std::vector<unsigned char> fill(1050, 1);
  current_port->write_block(current_port, fill.data(), 1050);
  idle_polls = 0;
  serial_driver_defaults.idle_hook = [](SerialPort*) {
    if (++idle_polls == 50) printing_flag = 0;
    return 0;
  };
  EXPECT_EQ(send_byte(current_port, 7), SendResult::cancelled);
  EXPECT_TRUE(debug.empty());  // waiting for a held line is no error
}

TEST_F(StreamTest, AfterCancelAHeldLineEndsTheWaitAtTheStallLimit) {
  fake.device(1).hold = true;
  fake.tick_step = 100;
  std::vector<unsigned char> fill(1050, 1);
  current_port->write_block(current_port, fill.data(), 1050);
  printing_flag = 0;
  set_send_wait_mode(WaitMode::bounded);
  EXPECT_EQ(send_byte(current_port, 7), SendResult::stalled);
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
  serial_driver_defaults.idle_hook = [](SerialPort*) {
    static int n = 0;
    if (++n % 64 == 0) handshake_blocks = 0;
    return 0;
  };
  EXPECT_EQ(send_byte(current_port, 0x42), SendResult::sent);
  EXPECT_EQ(sent(), "B");
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.front(), "ASHANDSHAKEBLOCK");
  current_port->write_byte = real_write_byte;
}

}  // namespace
}  // namespace tenji
