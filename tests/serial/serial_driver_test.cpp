#include "serial/serial_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_comm.h"

namespace tenji {
namespace {

using tenji::testing::FakeCommApi;
using tenji::testing::FakeDevice;

int idle_calls = 0;
int counting_hook(SerialPort*) {
  ++idle_calls;
  return 0;
}
int aborting_hook(SerialPort*) { return -77; }

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    idle_calls = 0;
    dev().initial_dcb.fDsrSensitivity = 1;  // kept as the device reported it
    dev().initial_dcb.fOutX = 1;
  }
  void TearDown() override {
    close_all_ports();
  }
  FakeDevice& dev() { return fake.device(1); }
  SerialPort* open(int baud = 9600, int parity = 'N', int bits = 8, int stop = 1) {
    return port_open(0, baud, parity, bits, stop);
  }
  const DCB& last_dcb() { return dev().applied.back(); }

  FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook{counting_hook};
};

TEST_F(DriverTest, OpenPreparesTheDeviceAndAppliesTheLineOnce) {
  SerialPort* p = open();
  ASSERT_EQ(p->status, 0);
  EXPECT_EQ(fake.calls.front(), "create_file \\\\.\\COM1");
  EXPECT_EQ(dev().out_queue_size, 1050u);
  DCB expected = dev().initial_dcb;  // fields the driver does not set keep the device's values
  expected.BaudRate = 9600;
  expected.ByteSize = 8;
  expected.fBinary = 1;
  expected.XonChar = 17;
  expected.XoffChar = 19;
  expected.XonLim = expected.XoffLim = 262;
  expected.fDtrControl = DTR_CONTROL_ENABLE;
  expected.fRtsControl = RTS_CONTROL_ENABLE;
  EXPECT_EQ(dev().applied, std::vector<DCB>{expected});
  EXPECT_EQ(dev().timeouts.ReadIntervalTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(dev().timeouts.WriteTotalTimeoutConstant, 0u);
}

TEST_F(DriverTest, DeviceNamesCarryThePortNumberForAnyIndex) {
  fake.device(10);
  for (int index : {9, -7, 2147483647}) port_open(index, 9600, 'N', 8, 1);
  EXPECT_EQ(fake.calls[0], "create_file \\\\.\\COM10");
  EXPECT_EQ(fake.calls[fake.calls.size() - 2], "create_file \\\\.\\COM-6");
  EXPECT_EQ(fake.calls.back(), "create_file \\\\.\\COM2147483648");
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
    EXPECT_EQ(p->status, result);
    if (result != 0) {
      EXPECT_EQ(dev().applied.size(), applied);  // the device is left as it was
      continue;
    }
    EXPECT_EQ(std::tuple(last_dcb().BaudRate, last_dcb().Parity, last_dcb().StopBits, int{last_dcb().ByteSize}),
              std::tuple(rate, parity_code, stop_code, bits));
  }
  // A standing code is what a later successful set_line returns; the values
  // a refusal left in the DCB reach the device with the next setter.
  EXPECT_EQ(p->set_line(p, 9600, 'N', 8, 1), ASBADSTOPBITS);
  p->clear_error(p);
  EXPECT_EQ(p->set_line(p, 2400, 'X', 7, 1), ASBADPARITY);
  EXPECT_EQ(p->set_xon_xoff(p, 1), 0);
  EXPECT_EQ(std::tuple(last_dcb().BaudRate, int{last_dcb().ByteSize}, last_dcb().fOutX, last_dcb().fInX),
            std::tuple(2400u, 7, std::uint8_t{1}, std::uint8_t{1}));
}

TEST_F(DriverTest, FlowControlSettersEditTheirFields) {
  SerialPort* p = open();
  using F = std::tuple<std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t>;  // CTS flow, RTS, DSR flow, DTR
  auto lines = [this] {
    return F{last_dcb().fOutxCtsFlow, last_dcb().fRtsControl, last_dcb().fOutxDsrFlow, last_dcb().fDtrControl};
  };
  p->set_rts_cts(p, 1);
  EXPECT_EQ(lines(), F(1, RTS_CONTROL_HANDSHAKE, 0, DTR_CONTROL_ENABLE));
  p->set_rts_cts(p, 0);
  EXPECT_EQ(lines(), F(0, RTS_CONTROL_DISABLE, 0, DTR_CONTROL_ENABLE));  // RTS stays low
  p->set_rts(p, 1);
  EXPECT_EQ(lines(), F(0, RTS_CONTROL_ENABLE, 0, DTR_CONTROL_ENABLE));
  p->set_dtr_dsr(p, 1);
  EXPECT_EQ(lines(), F(0, RTS_CONTROL_ENABLE, 1, DTR_CONTROL_HANDSHAKE));
  p->set_dtr(p, 0);
  EXPECT_EQ(lines(), F(0, RTS_CONTROL_ENABLE, 1, DTR_CONTROL_DISABLE));  // set_dtr leaves the flow flag
}

TEST_F(DriverTest, RefusedSettersReportOnlyWhereTheTableSaysSo) {
  SerialPort* p = open();
  dev().refuse_set_state = 5;
  fake.set_last_error(0);
  EXPECT_EQ(p->set_xon_xoff(p, 1), ASFAILURE);
  EXPECT_EQ(p->status, ASFAILURE);
  p->clear_error(p);
  EXPECT_EQ(p->set_dtr(p, 1), 0);
  EXPECT_EQ(p->set_rts(p, 1), 0);
  EXPECT_EQ(p->status, 0);
  EXPECT_EQ(p->set_rts_cts(p, 1), ASFAILURE);
  EXPECT_EQ(p->set_dtr_dsr(p, 1), ASFAILURE);
}

TEST_F(DriverTest, ALineRejectedAtOpenLeavesThePortOpenWithItsCode) {
  dev().refuse_set_state = 1;
  SerialPort* p = open();
  EXPECT_EQ(p->status, ASFAILURE);
  EXPECT_GT(p->tx_free(p), 0);  // the full table is in place
  EXPECT_TRUE(dev().open);
  EXPECT_EQ(p->close(p), 0);
  EXPECT_FALSE(dev().open);
}

TEST_F(DriverTest, WriteBlockIsCutToTheFreeRoom) {
  SerialPort* p = open(57600);  // a quarter second of line time exceeds the queue
  dev().hold = true;
  std::vector<unsigned char> bytes(2000, 0x55);
  EXPECT_EQ(p->write_block(p, bytes.data(), 2000), ASTXQUEUEFULL);
  EXPECT_EQ(p->count, 1050u);
  EXPECT_EQ(p->status, ASTXQUEUEFULL);
  EXPECT_EQ(p->tx_free(p), 0);
  EXPECT_EQ(p->tx_used(p), 1050);
  p->clear_error(p);
  dev().hold = false;
  fake.tick += 200;  // the line carries them
  EXPECT_EQ(p->write_block(p, bytes.data(), 950), 0);
  EXPECT_EQ(p->count, 950u);
  EXPECT_EQ(dev().line.size(), 1050u);
  EXPECT_EQ(p->status, 0);
}

// At 1200 bit/s the line carries 0.12 bytes a millisecond: at most 30 bytes
// (a quarter second) may be on their way beyond what it has carried.
TEST_F(DriverTest, TheLineModelBoundsWhatIsOnItsWayByTime) {
  fake.tick_step = 0;  // the clock moves only when told
  SerialPort* p = open(1200);
  std::vector<unsigned char> bytes(100, 0x55);
  EXPECT_EQ(p->write_block(p, bytes.data(), 100), ASTXQUEUEFULL);
  EXPECT_EQ(p->count, 30u);
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

TEST_F(DriverTest, ReadBlockTakesOnlyWhatHasArrived) {
  SerialPort* p = open();
  p->status = -5;
  unsigned char buf[10] = {};
  EXPECT_EQ(p->read_block(p, buf, 10), ASNORXDATA);
  EXPECT_EQ(p->count, 0u);
  EXPECT_EQ(p->status, -5);
  dev().received = "abc";
  EXPECT_EQ(p->rx_used(p), 3);
  EXPECT_EQ(p->rx_free(p), 1047);
  EXPECT_EQ(p->read_block(p, buf, 10), 0);
  EXPECT_EQ(p->count, 3u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 3), "abc");
  dev().received = "z";
  EXPECT_EQ(p->read_byte(p), 'z');
  EXPECT_EQ(p->read_byte(p), ASNORXDATA);
}

TEST_F(DriverTest, WriteByteTimedRetriesUntilTheTimeOutAndKeepsStatus) {
  SerialPort* p = open();
  dev().hold = true;
  std::vector<unsigned char> fill(240, 1);  // a quarter second at 9600 bit/s
  p->write_block(p, fill.data(), 240);
  p->status = -3;

  EXPECT_EQ(write_byte_timed(p, 0x41, 0), ASTXQUEUEFULL);
  EXPECT_EQ(idle_calls, 0);  // exactly one try
  EXPECT_EQ(p->status, -3);

  fake.tick_step = 10;
  EXPECT_EQ(write_byte_timed(p, 0x41, 100), ASTXQUEUEFULL);
  EXPECT_GE(idle_calls, 4);
  EXPECT_LE(idle_calls, 10);
  EXPECT_EQ(p->status, -3);

  {
    tenji::testing::IdleHookOverride aborting(aborting_hook);
    EXPECT_EQ(write_byte_timed(p, 0x41, -1), -77);
  }
  dev().hold = false;
  EXPECT_EQ(write_byte_timed(p, 0x41, 0), 0);
  EXPECT_EQ(p->status, -3);
  p->tx_used(p);  // the fake line takes what is queued when asked
  EXPECT_EQ(dev().line.back(), 'A');
}

TEST_F(DriverTest, WriteByteTimedOnTheDefaultTableFailsAtOnce) {
  fake.version = 0x80000003u;
  SerialPort* p = open();
  p->status = 7;
  EXPECT_EQ(write_byte_timed(p, 0x41, 100), ASUNSUPPORTED);
  EXPECT_EQ(idle_calls, 0);
  EXPECT_EQ(p->status, 7);
}

TEST_F(DriverTest, LineErrorsCollectUntilCleared) {
  SerialPort* p = open();
  dev().next_errors = CE_FRAME | CE_RXOVER;
  EXPECT_EQ(p->tx_free(p), 240);  // counts gather the word too
  EXPECT_EQ(p->line_status(p), CE_FRAME);
  dev().next_errors = CE_BREAK | CE_MODE;
  EXPECT_EQ(p->line_status(p), CE_FRAME | CE_BREAK);
  EXPECT_EQ(p->clear_line_status(p), 0);
  EXPECT_EQ(p->line_status(p), 0);
  EXPECT_EQ(p->status, 0);
}

TEST_F(DriverTest, BreakPurgeModemAndClose) {
  SerialPort* p = open();
  EXPECT_EQ(p->send_break(p, 0), 0);
  EXPECT_EQ(idle_calls, 0);
  EXPECT_EQ(dev().breaks_set, 1);
  EXPECT_EQ(dev().breaks_cleared, 1);
  fake.tick_step = 1;
  EXPECT_EQ(p->send_break(p, 5), 0);
  EXPECT_GT(idle_calls, 0);

  dev().hold = true;
  EXPECT_EQ(p->write_byte(p, 1), 0);
  EXPECT_EQ(p->clear_tx_buffer(p), 0);
  EXPECT_EQ(p->tx_used(p), 0);
  dev().modem_status = 0x1F0;
  EXPECT_EQ(p->modem_status(p), 0xF0);

  dev().close_fails = true;
  fake.set_last_error(0);
  EXPECT_EQ(p->close(p), ASFAILURE);
  EXPECT_EQ(dev().escapes, (std::vector<std::uint32_t>{CLRDTR, CLRRTS}));
  EXPECT_EQ(open_ports, nullptr);  // disposed of either way
}

}  // namespace
}  // namespace tenji
