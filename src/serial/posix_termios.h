// The DCB as termios: baud, data bits, parity (mark and space through
// CMSPAR), stop bits, XON/XOFF with their characters, RTS/CTS. DSR flow has
// no termios switch and stays in the DCB only.
#pragma once

#include <termios.h>

#include "serial/comm_api.h"

namespace tenji {

DCB dcb_from_termios(const termios& t);

// Sets `t` to a raw line as the DCB says; false for values termios cannot
// take (a baud rate it has no constant for, a data-bit count outside 5-8,
// an unknown parity code).
bool termios_from_dcb(const DCB& dcb, termios& t);

}  // namespace tenji
