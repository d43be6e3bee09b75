#include <cstdio>

#include "serial/serial_driver.h"

namespace tenji {

namespace {

int bit(std::uint32_t word, std::uint32_t mask) { return (word & mask) ? 1 : 0; }

}  // namespace

int default_dump(SerialPort* port, const LineSink& sink) {
  sink("Port dump not supported for this driver");
  sink("");
  port->status = ASUNSUPPORTED;
  return ASUNSUPPORTED;
}

int driver_dump(SerialPort* port, const LineSink& sink) {
  SerialDriverRecord& rec = *port->driver;
  const DCB& d = rec.dcb;
  char line[256];

  sink("");
  std::snprintf(line, sizeof line, "Port type:  MS Windows  DCB BaudRate: %-6d  ByteSize: %1d  Parity: %1d",
                static_cast<int>(d.BaudRate), d.ByteSize, d.Parity);
  sink(line);
  std::snprintf(line, sizeof line, "StopBits: %1d fBinary: %1d  fRtsControl: %1d", d.StopBits, bit(d.fBinary, 1),
                d.fRtsControl);
  sink(line);
  std::snprintf(line, sizeof line,
                "Parity: %1d  OutCtsFlow: %1d  OutDsrFlow: %1d  DtrControl: %1d  OutX: %1d  InX: %1d",
                bit(d.fParity, 1), bit(d.fOutxCtsFlow, 1), bit(d.fOutxDsrFlow, 1), d.fDtrControl, bit(d.fOutX, 1),
                bit(d.fInX, 1));
  sink(line);
  std::snprintf(line, sizeof line, "Null: %1d  DtrControl: %1d  RtsControl: %1d  XonChar: %02x  XoffChar: %02x",
                bit(d.fNull, 1), d.fDtrControl, d.fRtsControl, static_cast<unsigned char>(d.XonChar),
                static_cast<unsigned char>(d.XoffChar));
  sink(line);
  std::snprintf(line, sizeof line, "XonLim: %-5u XoffLim: %-5u EofChr: %02x  EvtChr: %02x", unsigned{d.XonLim},
                unsigned{d.XoffLim}, static_cast<unsigned char>(d.EofChar), static_cast<unsigned char>(d.EvtChar));
  sink(line);

  const std::uint32_t l = static_cast<std::uint32_t>(port->line_status(port));
  std::uint32_t errors = 0;
  ComStat stat;
  comm_api().clear_comm_error(rec.handle, &errors, &stat);
  rec.line_errors |= errors;
  std::snprintf(line, sizeof line, "RX count/free: %5d/%-5d  TX count/free: %5d/%-5d  BREAK/FE/OE/PE: %d%d%d%d",
                static_cast<int>(stat.cbInQue), static_cast<int>(static_cast<std::uint32_t>(rec.rx_queue_size) - stat.cbInQue),
                static_cast<int>(stat.cbOutQue), static_cast<int>(rec.tx_queue_size - stat.cbOutQue),
                bit(l, CE_BREAK), bit(l, CE_FRAME), bit(l, CE_OVERRUN), bit(l, CE_RXPARITY));
  sink(line);
  const std::uint32_t e = rec.line_errors;
  std::snprintf(line, sizeof line, "CE_BREAK:%d  CE_FRAME:%d  CE_MODE:%d CE_OVERRUN:%d", bit(e, CE_BREAK),
                bit(e, CE_FRAME), bit(e, CE_MODE), bit(e, CE_OVERRUN));
  sink(line);
  const int modem = port->modem_status(port);
  const std::uint32_t m = modem < 0 ? 0 : static_cast<std::uint32_t>(modem);
  std::snprintf(line, sizeof line, "CE_RXOVER:%d CE_RXPARITY:%d CE_TXFULL:%d  CTS/DSR/RI/CD: %d%d%d%d",
                bit(e, CE_RXOVER), bit(e, CE_RXPARITY), bit(e, CE_TXFULL), bit(m, 0x10), bit(m, 0x20), bit(m, 0x40),
                bit(m, 0x80));
  sink(line);
  std::snprintf(line, sizeof line, "8250:%.4x", rec.uart_word);
  sink(line);
  return 0;
}

}  // namespace tenji
