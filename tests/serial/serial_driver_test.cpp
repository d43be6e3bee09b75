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
  ASSERT_EQ(dev().applied.size(), 1u);
  const DCB& d = last_dcb();
  EXPECT_EQ(d.BaudRate, 9600u);
  EXPECT_EQ(d.ByteSize, 8);
  EXPECT_EQ(d.Parity, NOPARITY);
  EXPECT_EQ(d.StopBits, ONESTOPBIT);
  EXPECT_EQ(d.fBinary, 1);
  EXPECT_EQ(d.XonChar, 17);
  EXPECT_EQ(d.XoffChar, 19);
  EXPECT_EQ(d.XonLim, 262);
  EXPECT_EQ(d.XoffLim, 262);
  EXPECT_EQ(d.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(d.fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_EQ(d.fDsrSensitivity, 1);
  EXPECT_EQ(d.fOutX, 1);
  EXPECT_EQ(dev().timeouts.ReadIntervalTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(dev().timeouts.WriteTotalTimeoutConstant, 0u);
}

TEST_F(DriverTest, DeviceNamesCarryThePortNumberForAnyIndex) {
  fake.device(10);
  SerialPort* p = port_open(9, 9600, 'N', 8, 1);
  EXPECT_EQ(p->status, 0);
  EXPECT_EQ(fake.calls.front(), "create_file \\\\.\\COM10");
  fake.calls.clear();
  SerialPort* neg = port_open(-7, 9600, 'N', 8, 1);
  EXPECT_EQ(neg->status, ASNODEVICE);
  SerialPort* huge = port_open(2147483647, 9600, 'N', 8, 1);
  EXPECT_EQ(huge->status, ASNODEVICE);
  EXPECT_EQ(fake.calls[0], "create_file \\\\.\\COM-6");
  EXPECT_EQ(fake.calls[1], "create_file \\\\.\\COM2147483648");
}

TEST_F(DriverTest, SetLineMapsBaudParityAndStopBits) {
  SerialPort* p = open();
  EXPECT_EQ(p->set_line(p, 128000, 'e', 7, 2), 0);
  EXPECT_EQ(last_dcb().BaudRate, 0x1FF00u);
  EXPECT_EQ(last_dcb().Parity, EVENPARITY);
  EXPECT_EQ(last_dcb().ByteSize, 7);
  EXPECT_EQ(last_dcb().StopBits, TWOSTOPBITS);
  EXPECT_EQ(p->set_line(p, 256000, 'o', 8, 1), 0);
  EXPECT_EQ(last_dcb().BaudRate, 0x3FF00u);
  EXPECT_EQ(last_dcb().Parity, ODDPARITY);
  for (auto [letter, code] : {std::pair{'m', MARKPARITY}, {'S', SPACEPARITY}, {'n', NOPARITY}}) {
    EXPECT_EQ(p->set_line(p, 57600, letter, 8, 1), 0);
    EXPECT_EQ(last_dcb().Parity, code);
    EXPECT_EQ(last_dcb().BaudRate, 57600u);
  }
}

TEST_F(DriverTest, SetLineRefusalsSetStatusAndLeaveTheDeviceUnchanged) {
  SerialPort* p = open();
  const std::size_t applied = dev().applied.size();
  EXPECT_EQ(p->set_line(p, 115200, 'N', 8, 1), ASBADBAUD);
  EXPECT_EQ(p->status, ASBADBAUD);
  p->clear_error(p);
  EXPECT_EQ(p->set_line(p, 4800, 'X', 7, 1), ASBADPARITY);
  p->clear_error(p);
  for (int stop : {0, 3}) {
    EXPECT_EQ(p->set_line(p, 4800, 'N', 7, stop), ASBADSTOPBITS);
    EXPECT_EQ(p->status, ASBADSTOPBITS);
  }
  EXPECT_EQ(dev().applied.size(), applied);
  // A standing code is what a later successful set_line returns.
  EXPECT_EQ(p->set_line(p, 9600, 'N', 8, 1), ASBADSTOPBITS);
  EXPECT_EQ(dev().applied.size(), applied + 1);
}

TEST_F(DriverTest, UnappliedValuesReachTheDeviceWithTheNextSetter) {
  SerialPort* p = open();
  EXPECT_EQ(p->set_line(p, 2400, 'X', 7, 1), ASBADPARITY);
  EXPECT_EQ(p->set_xon_xoff(p, 1), 0);
  EXPECT_EQ(last_dcb().BaudRate, 2400u);
  EXPECT_EQ(last_dcb().ByteSize, 7);
  EXPECT_EQ(last_dcb().fOutX, 1);
  EXPECT_EQ(last_dcb().fInX, 1);
}

TEST_F(DriverTest, FlowControlSettersEditTheirFields) {
  SerialPort* p = open();
  EXPECT_EQ(p->set_rts_cts(p, 1), 0);
  EXPECT_EQ(last_dcb().fOutxCtsFlow, 1);
  EXPECT_EQ(last_dcb().fRtsControl, RTS_CONTROL_HANDSHAKE);
  EXPECT_EQ(p->set_rts_cts(p, 0), 0);
  EXPECT_EQ(last_dcb().fRtsControl, RTS_CONTROL_DISABLE);  // RTS stays low
  EXPECT_EQ(p->set_rts(p, 1), 0);
  EXPECT_EQ(last_dcb().fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_EQ(p->set_dtr_dsr(p, 1), 0);
  EXPECT_EQ(last_dcb().fOutxDsrFlow, 1);
  EXPECT_EQ(last_dcb().fDtrControl, DTR_CONTROL_HANDSHAKE);
  EXPECT_EQ(p->set_dtr(p, 0), 0);
  EXPECT_EQ(last_dcb().fDtrControl, DTR_CONTROL_DISABLE);
  EXPECT_EQ(last_dcb().fOutxDsrFlow, 1);  // set_dtr leaves the flow flag
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
  EXPECT_EQ(p->tx_free(p), 1050);  // the full table is in place
  EXPECT_TRUE(dev().open);
  EXPECT_EQ(p->close(p), 0);
  EXPECT_FALSE(dev().open);
}

TEST_F(DriverTest, WriteBlockIsCutToTheFreeRoom) {
  SerialPort* p = open();
  dev().hold = true;
  std::vector<unsigned char> bytes(2000, 0x55);
  EXPECT_EQ(p->write_block(p, bytes.data(), 2000), ASTXQUEUEFULL);
  EXPECT_EQ(p->count, 1050u);
  EXPECT_EQ(p->status, ASTXQUEUEFULL);
  EXPECT_EQ(p->tx_free(p), 0);
  EXPECT_EQ(p->tx_used(p), 1050);
  p->clear_error(p);
  dev().hold = false;
  EXPECT_EQ(p->write_block(p, bytes.data(), 950), 0);
  EXPECT_EQ(p->count, 950u);
  EXPECT_EQ(dev().line.size(), 1050u);
  EXPECT_EQ(p->status, 0);
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
  std::vector<unsigned char> fill(1050, 1);
  p->write_block(p, fill.data(), 1050);
  p->status = -3;

  EXPECT_EQ(write_byte_timed(p, 0x41, 0), ASTXQUEUEFULL);
  EXPECT_EQ(idle_calls, 0);  // exactly one try
  EXPECT_EQ(p->status, -3);

  fake.tick_step = 10;
  EXPECT_EQ(write_byte_timed(p, 0x41, 100), ASTXQUEUEFULL);
  EXPECT_GE(idle_calls, 4);
  EXPECT_LE(idle_calls, 10);
  EXPECT_EQ(p->status, -3);

  serial_driver_defaults.idle_hook = aborting_hook;
  EXPECT_EQ(write_byte_timed(p, 0x41, -1), -77);
  dev().hold = false;
  EXPECT_EQ(write_byte_timed(p, 0x41, 0), 0);
  EXPECT_EQ(p->status, -3);
  EXPECT_EQ(p->tx_used(p), 0);
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
  EXPECT_EQ(p->tx_free(p), 1050);  // counts gather the word too
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
