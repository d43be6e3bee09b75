#include "serial/posix_termios.h"

namespace tenji {

namespace {

struct BaudEntry {
  std::uint32_t rate;
  speed_t speed;
};
constexpr BaudEntry BAUDS[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},     {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},
};

bool speed_for(std::uint32_t rate, speed_t& speed) {
  for (const auto& b : BAUDS)
    if (b.rate == rate) {
      speed = b.speed;
      return true;
    }
  return false;
}

std::uint32_t rate_for(speed_t speed) {
  for (const auto& b : BAUDS)
    if (b.speed == speed) return b.rate;
  return 9600;
}

}  // namespace

DCB dcb_from_termios(const termios& t) {
  DCB d;
  d.BaudRate = rate_for(cfgetospeed(&t));
  switch (t.c_cflag & CSIZE) {
    case CS5: d.ByteSize = 5; break;
    case CS6: d.ByteSize = 6; break;
    case CS7: d.ByteSize = 7; break;
    default: d.ByteSize = 8; break;
  }
  if (!(t.c_cflag & PARENB)) d.Parity = NOPARITY;
#if defined(CMSPAR)
  else if (t.c_cflag & CMSPAR) d.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
#endif
  else d.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
  d.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
  d.fBinary = 1;
  d.fParity = (t.c_iflag & INPCK) ? 1 : 0;
  d.fOutX = (t.c_iflag & IXON) ? 1 : 0;
  d.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
  d.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
  d.fRtsControl = (t.c_cflag & CRTSCTS) ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fTXContinueOnXoff = 1;
  d.XonChar = static_cast<char>(t.c_cc[VSTART]);
  d.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
  return d;
}

bool termios_from_dcb(const DCB& d, termios& t) {
  speed_t speed;
  if (!speed_for(d.BaudRate, speed)) return false;
  cfmakeraw(&t);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
#if defined(CMSPAR)
  t.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
  t.c_cflag |= CREAD | CLOCAL;
  switch (d.ByteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return false;
  }
  switch (d.Parity) {
    case NOPARITY: break;
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
#if defined(CMSPAR)
    case MARKPARITY: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
#endif
    default: return false;
  }
  if (d.StopBits != ONESTOPBIT) t.c_cflag |= CSTOPB;
  if (d.fParity) t.c_iflag |= INPCK;
  if (d.fOutX) t.c_iflag |= IXON;
  if (d.fInX) t.c_iflag |= IXOFF;
  if (d.fOutxCtsFlow || d.fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;
  // DSR flow control has no termios switch; it stays in the DCB only.
  t.c_cc[VSTART] = static_cast<cc_t>(d.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(d.XoffChar);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  return true;
}

}  // namespace tenji
