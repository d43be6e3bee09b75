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
  const tcflag_t PARITY = PARENB | PARODD | CMSPAR;
  // DCB line values -> termios speed, size, parity flags, two stop bits
  const std::tuple<DCB, speed_t, tcflag_t, tcflag_t, bool> cases[] = {
      {line(2400, 7, EVENPARITY, TWOSTOPBITS), B2400, CS7, PARENB, true},
      {line(9600, 8, ODDPARITY, ONESTOPBIT), B9600, CS8, PARENB | PARODD, false},
      {line(9600, 5, MARKPARITY, ONESTOPBIT), B9600, CS5, PARENB | PARODD | CMSPAR, false},
      {line(4800, 8, SPACEPARITY, ONESTOPBIT), B4800, CS8, PARENB | CMSPAR, false},
      {line(1200, 8, NOPARITY, ONESTOPBIT), B1200, CS8, 0, false}};
  for (const auto& [dcb, speed, size, parity, two_stop] : cases) {
    termios t{};
    ASSERT_TRUE(termios_from_dcb(dcb, t));
    EXPECT_EQ(std::tuple(cfgetospeed(&t), t.c_cflag & CSIZE, t.c_cflag & PARITY, (t.c_cflag & CSTOPB) != 0),
              std::tuple(speed, size, parity, two_stop))
        << dcb.BaudRate;
    EXPECT_EQ(t.c_cc[VMIN], 0);
  }
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
