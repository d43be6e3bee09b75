#include "serial/serial_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_comm.h"

namespace tenji {
namespace {

using tenji::testing::FakeCommApi;

std::vector<std::string> dump(SerialPort* p, int* result = nullptr) {
  std::vector<std::string> lines;
  const int r = p->dump_port(p, [&](const char* line) { lines.emplace_back(line); });
  if (result) *result = r;
  return lines;
}

class DumpTest : public ::testing::Test {
 protected:
  void SetUp() override { fake.device(1); }
  void TearDown() override { close_all_ports(); }
  FakeCommApi fake;
};

TEST_F(DumpTest, AFreshPortDumpsTheExampleLines) {
  fake.device(1).modem_status = 0x30;
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  int result = -1;
  const auto lines = dump(p, &result);
  EXPECT_EQ(result, 0);
  const std::vector<std::string> expected = {
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
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(p->status, 0);
}

TEST_F(DumpTest, AFramingErrorShowsUntilTheLineStatusIsCleared) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  fake.device(1).next_errors = CE_FRAME;
  auto lines = dump(p);
  EXPECT_EQ(lines[6].substr(lines[6].size() - 4), "0100");
  EXPECT_EQ(lines[7], "CE_BREAK:0  CE_FRAME:1  CE_MODE:0 CE_OVERRUN:0");
  const auto again = dump(p);
  EXPECT_EQ(again[6], lines[6]);
  EXPECT_EQ(std::vector<std::string>(again.begin(), again.begin() + 6),
            std::vector<std::string>(lines.begin(), lines.begin() + 6));
  p->clear_line_status(p);
  EXPECT_EQ(dump(p)[7], "CE_BREAK:0  CE_FRAME:0  CE_MODE:0 CE_OVERRUN:0");
}

TEST_F(DumpTest, ErrorAndModemBitsStandInTheirOrder) {
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  const std::tuple<std::uint32_t, std::uint32_t, const char*, const char*> cases[] = {
      {CE_BREAK, 0, "1000", "CTS/DSR/RI/CD: 0000"},   {CE_OVERRUN, 0x10, "0010", "CTS/DSR/RI/CD: 1000"},
      {CE_RXPARITY, 0x20, "0001", "CTS/DSR/RI/CD: 0100"}, {0, 0x40, "0000", "CTS/DSR/RI/CD: 0010"},
      {0, 0x80, "0000", "CTS/DSR/RI/CD: 0001"}};
  for (auto [errors, modem, line_bits, modem_bits] : cases) {
    p->clear_line_status(p);
    fake.device(1).next_errors = errors;
    fake.device(1).modem_status = modem;
    const auto lines = dump(p);
    EXPECT_EQ(lines[6].substr(lines[6].size() - 4), line_bits) << errors;
    EXPECT_EQ(lines[8].substr(lines[8].size() - 19), modem_bits) << modem;
  }
  fake.device(1).next_errors = CE_RXOVER | CE_TXFULL | CE_MODE;
  const auto lines = dump(p);
  EXPECT_EQ(lines[7], "CE_BREAK:0  CE_FRAME:0  CE_MODE:1 CE_OVERRUN:0");
  EXPECT_EQ(lines[8].substr(0, 37), "CE_RXOVER:1 CE_RXPARITY:0 CE_TXFULL:1");
}

TEST_F(DumpTest, APortWithoutTheDriverSaysSo) {
  SerialPort* p = port_open(5, 9600, 'N', 8, 1);  // no such device
  int result = 0;
  EXPECT_EQ(dump(p, &result), (std::vector<std::string>{"Port dump not supported for this driver", ""}));
  EXPECT_EQ(result, ASUNSUPPORTED);
  EXPECT_EQ(p->status, ASUNSUPPORTED);
}

}  // namespace
}  // namespace tenji
