#include "serial/posix_termios.h"

#include <gtest/gtest.h>

namespace tenji {
namespace {

DCB line(std::uint32_t baud, std::uint8_t bits, std::uint8_t parity, std::uint8_t stop) {
  DCB d;
  d.BaudRate = baud;
  d.ByteSize = bits;
  d.Parity = parity;
  d.StopBits = stop;
  d.XonChar = 0x11;
  d.XoffChar = 0x13;
  return d;
}

TEST(PosixTermios, LineValuesBecomeTheirFlags) {
  termios t{};
  ASSERT_TRUE(termios_from_dcb(line(2400, 7, EVENPARITY, TWOSTOPBITS), t));
  EXPECT_EQ(cfgetospeed(&t), B2400);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
  EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB));
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_EQ(t.c_cc[VMIN], 0);

  ASSERT_TRUE(termios_from_dcb(line(9600, 8, ODDPARITY, ONESTOPBIT), t));
  EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD));
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  ASSERT_TRUE(termios_from_dcb(line(9600, 5, MARKPARITY, ONESTOPBIT), t));
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS5));
  EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD | CMSPAR));
  ASSERT_TRUE(termios_from_dcb(line(9600, 8, SPACEPARITY, ONESTOPBIT), t));
  EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | CMSPAR));
  ASSERT_TRUE(termios_from_dcb(line(9600, 8, NOPARITY, ONESTOPBIT), t));
  EXPECT_FALSE(t.c_cflag & PARENB);
}

TEST(PosixTermios, FlowControlFlags) {
  termios t{};
  DCB d = line(1200, 8, NOPARITY, ONESTOPBIT);
  d.fOutX = 1;
  d.fInX = 1;
  d.XonChar = 0x21;
  ASSERT_TRUE(termios_from_dcb(d, t));
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_EQ(t.c_cc[VSTART], 0x21);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  d.fOutX = d.fInX = 0;
  d.fOutxCtsFlow = 1;
  d.fRtsControl = RTS_CONTROL_HANDSHAKE;
  ASSERT_TRUE(termios_from_dcb(d, t));
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
  EXPECT_TRUE(t.c_cflag & CRTSCTS);

  const DCB back = dcb_from_termios(t);
  EXPECT_EQ(back.BaudRate, 1200u);
  EXPECT_EQ(back.fOutxCtsFlow, 1);
  EXPECT_EQ(back.fRtsControl, RTS_CONTROL_HANDSHAKE);
  EXPECT_EQ(back.ByteSize, 8);
}

TEST(PosixTermios, RefusesWhatTermiosCannotTake) {
  termios t{};
  EXPECT_FALSE(termios_from_dcb(line(0x1FF00, 8, NOPARITY, ONESTOPBIT), t));
  EXPECT_FALSE(termios_from_dcb(line(9600, 9, NOPARITY, ONESTOPBIT), t));
  EXPECT_FALSE(termios_from_dcb(line(9600, 8, 7, ONESTOPBIT), t));
}

}  // namespace
}  // namespace tenji
