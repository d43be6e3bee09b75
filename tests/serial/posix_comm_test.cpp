#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "serial/serial_driver.h"
#include "support/pty_pair.h"

namespace tenji {
namespace {

using tenji::testing::PtyPair;

class PtyPort : public ::testing::Test {
 protected:
  void TearDown() override { close_all_ports(); }
  termios slave_termios() {
    const int fd = ::open(pty.slave_path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::tcgetattr(fd, &t), 0);
    ::close(fd);
    return t;
  }
  PtyPair pty{1};
};

// A pseudo-terminal forces 8 data bits without parity whatever is asked;
// those settings are checked on the termios mapping itself.
TEST_F(PtyPort, OpensThroughTheLinkAndTheLineSettingsReachTermios) {
  SerialPort* p = port_open(0, 4800, 'E', 7, 2);
  ASSERT_EQ(p->status, 0);
  termios t = slave_termios();
  EXPECT_EQ(cfgetospeed(&t), B4800);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));

  EXPECT_EQ(p->set_xon_xoff(p, 1), 0);
  t = slave_termios();
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_EQ(t.c_cc[VSTART], 0x11);
  EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  EXPECT_EQ(p->set_rts_cts(p, 1), 0);
  EXPECT_TRUE(slave_termios().c_cflag & CRTSCTS);
  EXPECT_EQ(p->set_line(p, 1200, 'N', 8, 1), 0);
  t = slave_termios();
  EXPECT_EQ(cfgetospeed(&t), B1200);
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  // A speed termios does not have is refused by the device.
  EXPECT_EQ(p->set_line(p, 128000, 'N', 8, 1), ASFAILURE);
  // A pseudo-terminal has no modem lines; its far end counts as present.
  EXPECT_EQ(cts_on(p), 16);
}

TEST_F(PtyPort, BytesArriveAtTheOtherSideInOrder) {
  SerialPort* p = port_open(0, 57600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  std::string sent;
  for (int i = 0; i < 3000; ++i) sent += static_cast<char>(i * 7 + 3);
  for (unsigned char c : sent) ASSERT_EQ(write_byte_timed(p, c, 1000), 0);
  for (int i = 0; i < 1000 && p->tx_used(p) > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(p->tx_used(p), 0);
  const std::string got = pty.read_master(sent.size());
  EXPECT_TRUE(got == sent) << got.size() << " of " << sent.size() << " bytes";
  EXPECT_EQ(p->close(p), 0);
}

TEST_F(PtyPort, BytesFromTheOtherSideCanBeRead) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  pty.write_master("hi!");
  for (int i = 0; i < 1000 && p->rx_used(p) < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  unsigned char buf[8] = {};
  EXPECT_EQ(p->read_block(p, buf, 8), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), p->count), "hi!");
}

TEST_F(PtyPort, ASecondOpenIsBusyAndAMissingPortIsNoDevice) {
  SerialPort* first = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(first->status, 0);
  SerialPort* second = port_open(0, 9600, 'N', 8, 1);
  EXPECT_EQ(second->status, ASPORTBUSY);
  second->close(second);
  SerialPort* missing = port_open(150, 9600, 'N', 8, 1);  // no link, no /dev/ttyS150
  EXPECT_EQ(missing->status, ASNODEVICE);
  missing->close(missing);
  EXPECT_EQ(first->close(first), 0);
  SerialPort* again = port_open(0, 9600, 'N', 8, 1);
  EXPECT_EQ(again->status, 0);
}

TEST_F(PtyPort, XoffFromTheOtherSideHoldsTheLineUntilXon) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  ASSERT_EQ(p->set_xon_xoff(p, 1), 0);
  pty.write_master("\x13");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the line discipline sees XOFF

  int written = 0;
  while (p->tx_free(p) > 0 && written < 200000) {
    ASSERT_EQ(write_byte_timed(p, 'a' + written % 26, 1000), 0);
    ++written;
  }
  EXPECT_EQ(p->tx_free(p), 0);
  EXPECT_EQ(p->tx_used(p), 240);  // a quarter second at 9600 bit/s, kept while the line is held
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(p->tx_used(p), 240);
  EXPECT_EQ(write_byte_timed(p, 'z', 100), ASTXQUEUEFULL);

  pty.write_master("\x11");
  // The queue moves on as the port is looked at, like a waiting job does.
  std::string got;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (got.size() < static_cast<std::size_t>(written) && std::chrono::steady_clock::now() < give_up) {
    p->tx_used(p);
    got += pty.read_master(1, 2);
  }
  EXPECT_EQ(got.size(), static_cast<std::size_t>(written));
  EXPECT_EQ(got.substr(0, 3), "abc");
  for (int i = 0; i < 1000 && p->tx_used(p) > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(p->tx_used(p), 0);
}

TEST_F(PtyPort, AClosedFarEndShowsAsFailingWrites) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  pty.close_master();  // the adapter is unplugged
  int result = 0;
  for (int i = 0; i < 100 && result == 0; ++i) {
    result = write_byte_timed(p, 'x', 50);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(result, ASTXQUEUEFULL);
}

}  // namespace
}  // namespace tenji
