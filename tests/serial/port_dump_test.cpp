#include "serial/serial_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_comm.h"

namespace tenji {
namespace {

class DumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.device(1);
    p = port_open(0, 9600, 'N', 8, 1);
    ASSERT_EQ(p->status, 0);
  }
  void TearDown() override { close_all_ports(); }
  std::vector<std::string> dump() {
    std::vector<std::string> lines;
    EXPECT_EQ(p->dump_port(p, [&](const char* line) { lines.emplace_back(line); }), 0);
    return lines;
  }
  tenji::testing::FakeCommApi fake;
  SerialPort* p = nullptr;
};

TEST_F(DumpTest, AFreshPortDumpsTheExampleLines) {
  EXPECT_EQ(dump(), (std::vector<std::string>{
      "",
      "Port type:  MS Windows  DCB BaudRate: 9600    ByteSize: 8  Parity: 0",
      "StopBits: 0 fBinary: 1  fRtsControl: 1",
      "Parity: 0  OutCtsFlow: 0  OutDsrFlow: 0  DtrControl: 1  OutX: 0  InX: 0",
      "Null: 0  DtrControl: 1  RtsControl: 1  XonChar: 11  XoffChar: 13",
      "XonLim: 262   XoffLim: 262   EofChr: 00  EvtChr: 00",
      "RX count/free:     0/1050   TX count/free:     0/1050   BREAK/FE/OE/PE: 0000",
      "CE_BREAK:0  CE_FRAME:0  CE_MODE:0 CE_OVERRUN:0",
      "CE_RXOVER:0 CE_RXPARITY:0 CE_TXFULL:0  CTS/DSR/RI/CD: 1100",
      "8250:0000",
  }));
}

// Each dump collects the device's error word; the bits stay until the line
// status is cleared.
TEST_F(DumpTest, ErrorAndModemBitsStandInTheirOrder) {
  // error bit and modem line in the same place -> BREAK/FE/OE/PE and CTS/DSR/RI/CD
  const std::tuple<std::uint32_t, std::uint32_t, const char*> cases[] = {
      {CE_BREAK, 0x10, "1000"}, {CE_FRAME, 0x20, "0100"}, {CE_OVERRUN, 0x40, "0010"}, {CE_RXPARITY, 0x80, "0001"}};
  for (auto [errors, modem, bits] : cases) {
    p->clear_line_status(p);
    fake.device(1).next_errors = errors;
    fake.device(1).modem_status = modem;
    const auto lines = dump();
    EXPECT_EQ(lines[6].substr(lines[6].size() - 4), bits) << errors;
    EXPECT_EQ(lines[8].substr(lines[8].size() - 4), bits) << modem;
  }
  p->clear_line_status(p);
  fake.device(1).next_errors = CE_FRAME;
  EXPECT_EQ(dump()[7], "CE_BREAK:0  CE_FRAME:1  CE_MODE:0 CE_OVERRUN:0");
  fake.device(1).next_errors = CE_RXOVER | CE_TXFULL | CE_MODE;
  const auto lines = dump();
  EXPECT_EQ(lines[6].substr(lines[6].size() - 4), "0100");  // still there from the dump before
  EXPECT_EQ(lines[7], "CE_BREAK:0  CE_FRAME:1  CE_MODE:1 CE_OVERRUN:0");
  EXPECT_EQ(lines[8].substr(0, 37), "CE_RXOVER:1 CE_RXPARITY:0 CE_TXFULL:1");
}

}  // namespace
}  // namespace tenji
