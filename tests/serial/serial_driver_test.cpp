#include "serial/serial_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_comm.h"

namespace tenji {
namespace {

int idle_calls = 0;
int counting_hook(SerialPort*) { return ++idle_calls, 0; }

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    idle_calls = 0;
    dev().initial_dcb.fDsrSensitivity = 1;  // kept as the device reported it
  }
  void TearDown() override { close_all_ports(); }
  tenji::testing::FakeDevice& dev() { return fake.device(1); }
  SerialPort* open(int baud = 9600) { return port_open(0, baud, 'N', 8, 1); }
  const DCB& last_dcb() { return dev().applied.back(); }

  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook{counting_hook};
};

// The values the driver sets at open are pinned by the dump test; here the
// device's own values stay, and any index makes a well-formed name.
TEST_F(DriverTest, OpenPreparesTheDeviceAndAppliesTheLineOnce) {
  ASSERT_EQ(open()->status, 0);
  ASSERT_EQ(dev().applied.size(), 1u);
  EXPECT_EQ(std::pair(dev().out_queue_size, int{last_dcb().fDsrSensitivity}), std::pair(1050u, 1));
  EXPECT_EQ(std::pair(dev().timeouts.ReadIntervalTimeout, dev().timeouts.WriteTotalTimeoutConstant),
            std::pair(0xFFFFFFFFu, 0u));
  fake.device(10).refuse_set_state = 1;  // a line refused at open leaves the port open, with its code
  SerialPort* refused = port_open(9, 9600, 'N', 8, 1);
  EXPECT_EQ(std::tuple(refused->status, refused->tx_free(refused) > 0, fake.device(10).open),
            std::tuple(int{ASFAILURE}, true, true));
  for (int index : {-7, 2147483647}) port_open(index, 9600, 'N', 8, 1);
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"create_file \\\\.\\COM1", "create_file \\\\.\\COM10",
                                                  "create_file \\\\.\\COM-6", "create_file \\\\.\\COM2147483648"}));
}

TEST_F(DriverTest, SetLineMapsBaudParityAndStopBitsOrRefusesThem) {
  SerialPort* p = open();
  // baud, parity, data bits, stop bits -> result, and on success the DCB's values
  const std::tuple<int, int, int, int, int, std::uint32_t, std::uint8_t, std::uint8_t> cases[] = {
      {128000, 'e', 7, 2, 0, 0x1FF00, EVENPARITY, TWOSTOPBITS}, {256000, 'o', 8, 1, 0, 0x3FF00, ODDPARITY, ONESTOPBIT},
      {57600, 'm', 8, 1, 0, 57600, MARKPARITY, ONESTOPBIT},     {2400, 'S', 8, 1, 0, 2400, SPACEPARITY, ONESTOPBIT},
      {1200, 'n', 8, 1, 0, 1200, NOPARITY, ONESTOPBIT},         {115200, 'N', 8, 1, ASBADBAUD, 0, 0, 0},
      {4800, 'X', 7, 1, ASBADPARITY, 0, 0, 0},                  {4800, 'N', 7, 0, ASBADSTOPBITS, 0, 0, 0},
      {4800, 'N', 7, 3, ASBADSTOPBITS, 0, 0, 0}};
  for (auto [baud, parity, bits, stop, result, rate, parity_code, stop_code] : cases) {
    const std::size_t applied = dev().applied.size();
    p->clear_error(p);
    EXPECT_EQ(p->set_line(p, baud, parity, bits, stop), result) << baud << " " << char(parity) << " " << stop;
    EXPECT_EQ(std::pair(p->status, dev().applied.size()), std::pair(result, applied + (result == 0)));
    if (result != 0) continue;
    EXPECT_EQ(std::tuple(last_dcb().BaudRate, last_dcb().Parity, last_dcb().StopBits, int{last_dcb().ByteSize}),
              std::tuple(rate, parity_code, stop_code, bits));
  }
}

TEST_F(DriverTest, FlowControlSettersEditTheirFields) {
  SerialPort* p = open();
  using F = std::tuple<std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t>;  // CTS flow, RTS, DSR flow, DTR
  using Setter = int (*SerialPort::*)(SerialPort*, int);
  const std::tuple<Setter, int, F> steps[] = {
      {&SerialPort::set_rts_cts, 1, F(1, RTS_CONTROL_HANDSHAKE, 0, DTR_CONTROL_ENABLE)},
      {&SerialPort::set_rts_cts, 0, F(0, RTS_CONTROL_DISABLE, 0, DTR_CONTROL_ENABLE)},  // RTS stays low
      {&SerialPort::set_rts, 1, F(0, RTS_CONTROL_ENABLE, 0, DTR_CONTROL_ENABLE)},
      {&SerialPort::set_dtr_dsr, 1, F(0, RTS_CONTROL_ENABLE, 1, DTR_CONTROL_HANDSHAKE)},
      {&SerialPort::set_dtr, 0, F(0, RTS_CONTROL_ENABLE, 1, DTR_CONTROL_DISABLE)}};  // the flow flag stays
  for (auto [setter, on, lines] : steps) {
    EXPECT_EQ((p->*setter)(p, on), 0);
    const DCB& d = last_dcb();
    EXPECT_EQ(F(d.fOutxCtsFlow, d.fRtsControl, d.fOutxDsrFlow, d.fDtrControl), lines);
  }
}

// At 1200 bit/s the line carries 0.12 bytes a millisecond: at most 30 bytes
// (a quarter second) may be on their way beyond what it has carried.
TEST_F(DriverTest, TheLineModelBoundsWhatIsOnItsWayByTime) {
  fake.tick_step = 0;  // the clock moves only when told
  SerialPort* p = open(57600);
  EXPECT_EQ(p->tx_free(p), 1050);  // a quarter second would be 1440 bytes; the transmit queue holds 1050
  p->set_line(p, 1200, 'N', 8, 1);
  std::vector<unsigned char> bytes(100, 0x55);
  EXPECT_EQ(p->write_block(p, bytes.data(), 100), ASTXQUEUEFULL);
  EXPECT_EQ(std::pair(p->tx_used(p), p->tx_free(p)), std::pair(30, 0));
  EXPECT_EQ(dev().line.size(), 30u);  // the device let them go at once; the model still counts them
  EXPECT_EQ(port_ms_until_room(p, 0.5), 125);  // 15 bytes of line time
  fake.tick += 100;  // 12 bytes carried
  EXPECT_EQ(std::pair(p->tx_used(p), p->tx_free(p)), std::pair(18, 12));
  EXPECT_EQ(port_ms_until_room(p, 1.0), 150);
  // A held line keeps its bytes in the device: they count however long it waits.
  dev().hold = true;
  p->clear_error(p);
  EXPECT_EQ(p->write_block(p, bytes.data(), 12), 0);
  fake.tick += 100000;
  EXPECT_EQ(p->tx_used(p), 12);
  dev().hold = false;
  EXPECT_EQ(p->tx_used(p), 12);  // they leave the device, and the line still has to carry them
  fake.tick += 100;
  EXPECT_EQ(p->tx_used(p), 0);
}

TEST_F(DriverTest, WriteByteTimedRetriesUntilTheTimeOutAndKeepsStatus) {
  SerialPort* p = open();
  dev().hold = true;
  std::vector<unsigned char> fill(240, 1);  // a quarter second at 9600 bit/s
  p->write_block(p, fill.data(), 240);
  p->status = -3;
  EXPECT_EQ(write_byte_timed(p, 0x41, 0), ASTXQUEUEFULL);
  EXPECT_EQ(idle_calls, 0);  // exactly one try
  fake.tick_step = 10;
  EXPECT_EQ(write_byte_timed(p, 0x41, 100), ASTXQUEUEFULL);
  EXPECT_TRUE(idle_calls >= 4 && idle_calls <= 10) << idle_calls;
  dev().hold = false;
  EXPECT_EQ(write_byte_timed(p, 0x41, 0), 0);
  EXPECT_EQ(p->status, -3);
  p->tx_used(p);  // the fake line takes what is queued when asked
  EXPECT_EQ(dev().line.back(), 'A');
}

TEST_F(DriverTest, PurgeModemLinesAndAFailingClose) {
  SerialPort* p = open();
  dev().hold = true;
  EXPECT_EQ(p->write_byte(p, 1), 0);
  EXPECT_EQ(p->clear_tx_buffer(p), 0);
  EXPECT_EQ(p->tx_used(p), 0);
  dev().modem_status = 0x1F0;
  EXPECT_EQ(std::pair(p->modem_status(p), cts_on(p)), std::pair(0xF0, 16));
  dev().modem_status = 0xE0;
  EXPECT_EQ(cts_on(p), 0);
  // A device that cannot tell its lines is not refused as one without CTS.
  dev().modem_query_fails = true;
  EXPECT_EQ(cts_on(p), ASFAILURE);
  dev().close_fails = true;
  EXPECT_EQ(p->close(p), ASFAILURE);
  EXPECT_EQ(dev().escapes, (std::vector<std::uint32_t>{CLRDTR, CLRRTS}));
  EXPECT_EQ(open_ports, nullptr);  // disposed of either way
}

}  // namespace
}  // namespace tenji
