#include "serial/posix_termios.h"

#include <gtest/gtest.h>

namespace tenji {
namespace {

DCB line(std::uint32_t baud, std::uint8_t bits, std::uint8_t parity, std::uint8_t stop, std::uint8_t rts, bool xon) {
  return {.BaudRate = baud, .fOutX = xon, .fInX = xon, .fRtsControl = rts, .ByteSize = bits, .Parity = parity,
          .StopBits = stop, .XonChar = 0x21, .XoffChar = 0x13};
}

// Every setting goes to its flags and comes back from them unchanged; what
// termios cannot take is refused (a speed it lacks: see posix_comm_test).
TEST(PosixTermios, LineAndFlowSettingsBecomeTheirFlagsAndReadBack) {
  const tcflag_t CFLAGS = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
  const std::tuple<DCB, speed_t, tcflag_t, tcflag_t> cases[] = {  // -> speed, control flags, input flow flags
      {line(2400, 7, EVENPARITY, TWOSTOPBITS, RTS_CONTROL_ENABLE, true), B2400, CS7 | PARENB | CSTOPB, IXON | IXOFF},
      {line(9600, 8, ODDPARITY, ONESTOPBIT, RTS_CONTROL_HANDSHAKE, false), B9600, CS8 | PARENB | PARODD | CRTSCTS, 0},
      {line(9600, 5, MARKPARITY, ONESTOPBIT, RTS_CONTROL_ENABLE, false), B9600, CS5 | PARENB | PARODD | CMSPAR, 0},
      {line(4800, 8, SPACEPARITY, ONESTOPBIT, RTS_CONTROL_ENABLE, false), B4800, CS8 | PARENB | CMSPAR, 0},
      {line(1200, 8, NOPARITY, ONESTOPBIT, RTS_CONTROL_ENABLE, false), B1200, CS8, 0}};
  for (const auto& [d, speed, cflags, iflags] : cases) {
    termios t{};
    ASSERT_TRUE(termios_from_dcb(d, t));
    EXPECT_EQ(std::tuple(cfgetospeed(&t), t.c_cflag & CFLAGS, t.c_iflag & (IXON | IXOFF)),
              std::tuple(speed, cflags, iflags));
    EXPECT_EQ(std::tuple(t.c_cc[VSTART], t.c_cc[VSTOP], t.c_cc[VMIN]), std::tuple(cc_t{0x21}, cc_t{0x13}, cc_t{0}));
    const DCB b = dcb_from_termios(t);
    EXPECT_EQ(std::tuple(b.BaudRate, b.ByteSize, b.Parity, b.StopBits, b.fRtsControl, b.fOutX, b.XonChar),
              std::tuple(d.BaudRate, d.ByteSize, d.Parity, d.StopBits, d.fRtsControl, d.fOutX, d.XonChar));
  }
  termios t{};
  EXPECT_FALSE(termios_from_dcb(line(9600, 9, NOPARITY, ONESTOPBIT, RTS_CONTROL_ENABLE, false), t));
  EXPECT_FALSE(termios_from_dcb(line(9600, 8, 7, ONESTOPBIT, RTS_CONTROL_ENABLE, false), t));
}

}  // namespace
}  // namespace tenji
