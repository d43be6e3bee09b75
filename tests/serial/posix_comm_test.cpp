#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "serial/serial_driver.h"
#include "support/pty_pair.h"

namespace tenji {
namespace {

class PtyPort : public ::testing::Test {
 protected:
  void TearDown() override { close_all_ports(); }
  tenji::testing::PtyPair pty{1};
};

TEST_F(PtyPort, ASecondOpenIsBusyAndAMissingPortIsNoDevice) {
  SerialPort* first = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(first->status, 0);
  EXPECT_EQ(first->set_line(first, 128000, 'N', 8, 1), ASFAILURE);  // a speed termios does not have
  // A pseudo-terminal has no modem lines; its far end counts as present.
  EXPECT_EQ(cts_on(first), 16);
  SerialPort* second = port_open(0, 9600, 'N', 8, 1);
  EXPECT_EQ(second->status, ASPORTBUSY);
  EXPECT_EQ(port_open(150, 9600, 'N', 8, 1)->status, ASNODEVICE);  // no link, no /dev/ttyS150
  EXPECT_EQ(first->close(first), 0);
  EXPECT_EQ(port_open(0, 9600, 'N', 8, 1)->status, 0);
}

TEST_F(PtyPort, XoffFromTheOtherSideHoldsTheLineUntilXon) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  ASSERT_EQ(p->set_xon_xoff(p, 1), 0);  // IXON must reach the device for XOFF to hold the line
  pty.write_master("\x13");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the line discipline sees XOFF

  std::string sent;
  while (p->tx_free(p) > 0 && sent.size() < 200000) {
    sent += static_cast<char>('a' + sent.size() % 26);
    ASSERT_EQ(write_byte_timed(p, sent.back(), 1000), 0);
  }
  EXPECT_EQ(p->tx_used(p), 240);  // a quarter second at 9600 bit/s, kept while the line is held
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(p->tx_used(p), 240);
  EXPECT_EQ(write_byte_timed(p, 'z', 100), ASTXQUEUEFULL);

  pty.write_master("\x11");
  // The queue moves on as the port is looked at, like a waiting job does.
  std::string got;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (got.size() < sent.size() && std::chrono::steady_clock::now() < give_up) {
    p->tx_used(p);
    got += pty.read_master(1, 2);
  }
  EXPECT_TRUE(got == sent) << got.size() << " of " << sent.size() << " bytes";
}

TEST_F(PtyPort, AClosedFarEndShowsAsFailingWrites) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  pty.close_master();  // the adapter is unplugged
  int result = 0;  // the first bytes are only queued; the device finds the line gone when it passes them on
  for (int i = 0; i < 100 && result == 0; ++i) result = write_byte_timed(p, 'x', 50);
  EXPECT_EQ(result, ASTXQUEUEFULL);
}

}  // namespace
}  // namespace tenji
