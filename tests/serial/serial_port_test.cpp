#include "serial/serial_internal.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/allocation_fault.h"
#include "support/fake_comm.h"

namespace tenji {
namespace {

using tenji::testing::FakeCommApi;

class SerialPortTest : public ::testing::Test {
 protected:
  void TearDown() override { close_all_ports(); }
  FakeCommApi fake;
};

int list_length() {
  int n = 0;
  for (SerialPort* p = open_ports; p && n < 100; p = p->next) ++n;
  return n;
}

TEST_F(SerialPortTest, OutOfMemoryGivesTheFallbackPortLinkedOnce) {
  platform::ScopedHook fault(platform::allocation_fault_hook, [] { return true; });
  SerialPort* a = port_open(0, 9600, 'N', 8, 1);
  SerialPort* b = port_open(1, 9600, 'N', 8, 1);
  EXPECT_EQ(std::tuple(a, b, a->status, a->port_index, a->driver_kind, a->driver),
            std::tuple(&fallback_port, &fallback_port, ASOUTOFMEMORY, -1, -1, nullptr));
  EXPECT_EQ(list_length(), 1);
  EXPECT_EQ(a->write_byte(a, 0x41), ASUNSUPPORTED);
  EXPECT_EQ(a->close(a), 0);
  EXPECT_EQ(open_ports, nullptr);
}

TEST_F(SerialPortTest, OutOfMemoryForTheDriverRecordAlsoFallsBack) {
  int allocations = 0;
  platform::ScopedHook fault(platform::allocation_fault_hook, [&] { return ++allocations == 2; });
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  EXPECT_EQ(p, &fallback_port);
  EXPECT_EQ(list_length(), 1);  // the half-made port left the list
}

TEST_F(SerialPortTest, ARefusedPlatformAnswersEverythingWithUnsupported) {
  fake.version = 0x80000003u;  // Win32s
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  EXPECT_EQ(std::tuple(p->status, p->driver, p->driver_kind), std::tuple(ASUNSUPPORTED, nullptr, 0));
  unsigned char buf[4] = {};
  const std::vector<int> results = {
      p->read_byte(p),       p->reserved_op_1(p),       p->write_byte(p, 1),  p->set_line(p, 9600, 'N', 8, 1),
      p->set_xon_xoff(p, 1), p->set_rts_cts(p, 1),      p->set_dtr_dsr(p, 1), p->set_dtr(p, 1),
      p->set_rts(p, 1),      p->tx_free(p),             p->tx_used(p),        p->rx_free(p),
      p->rx_used(p),         p->clear_tx_buffer(p),     p->write_block(p, buf, 4),
      p->read_block(p, buf, 4), p->send_break(p, 10),   p->modem_status(p),   p->line_status(p),
      p->clear_line_status(p), p->reserved_op_2(p)};
  for (std::size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i], ASUNSUPPORTED) << "slot " << i;
  EXPECT_EQ(cts_on(p), ASUNSUPPORTED);
  std::vector<std::string> lines;
  p->clear_error(p);
  EXPECT_EQ(p->dump_port(p, [&](const char* l) { lines.emplace_back(l); }), ASUNSUPPORTED);
  EXPECT_EQ(lines, (std::vector<std::string>{"Port dump not supported for this driver", ""}));
  EXPECT_EQ(p->status, ASUNSUPPORTED);
  p->clear_error(p);
  EXPECT_EQ(p->status, 0);
  EXPECT_EQ(p->close(p), 0);
  EXPECT_EQ(open_ports, nullptr);
  EXPECT_TRUE(fake.calls.empty());  // nothing was opened
}

TEST_F(SerialPortTest, AMissingOrBusyDeviceKeepsTheDefaultTable) {
  fake.device(1).busy = true;
  for (auto [index, status] : {std::pair{4, ASNODEVICE}, {0, ASPORTBUSY}}) {
    SerialPort* p = port_open(index, 9600, 'N', 8, 1);
    EXPECT_EQ(std::pair(p->status, p->driver_kind), std::pair(int{status}, 15));
    EXPECT_EQ(p->tx_free(p), ASUNSUPPORTED);
    EXPECT_EQ(p->close(p), 0);
  }
  EXPECT_EQ(open_ports, nullptr);
}

TEST_F(SerialPortTest, CloseAllPortsClosesNewestFirst) {
  close_all_ports();  // with none it does nothing
  for (int com = 1; com <= 3; ++com) {
    fake.device(com);
    port_open(com - 1, 9600, 'N', 8, 1);
  }
  EXPECT_EQ(list_length(), 3);
  EXPECT_EQ(open_ports->port_index, 2);
  close_all_ports();
  EXPECT_EQ(open_ports, nullptr);
  EXPECT_FALSE(fake.device(1).open || fake.device(2).open || fake.device(3).open);
  EXPECT_EQ(exit_hook_registered, 1);
}

TEST_F(SerialPortTest, CtsOnReducesTheModemStatusToItsCtsBit) {
  fake.device(1).modem_status = 0xF0;
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  ASSERT_EQ(p->status, 0);
  EXPECT_EQ(cts_on(p), 16);
  fake.device(1).modem_status = 0xE0;
  EXPECT_EQ(cts_on(p), 0);
  // A device that cannot tell its lines is not refused as one without CTS.
  fake.device(1).modem_query_fails = true;
  EXPECT_EQ(cts_on(p), ASFAILURE);
  p->close(p);
}

TEST(ErrorNames, NameEveryCode) {
  EXPECT_STREQ(as_error_name(ASNODEVICE), "ASNODEVICE");
  EXPECT_STREQ(as_error_name(ASHANDSHAKEBLOCK), "ASHANDSHAKEBLOCK");
  EXPECT_STREQ(as_error_meaning(ASPORTBUSY), "the port is in use by another program");
  EXPECT_STREQ(as_error_name(-99), "AS?");
}

TEST_F(SerialPortTest, MapLastErrorTranslatesPlatformValues) {
  const std::vector<std::pair<int, int>> table = {
      {2, ASNODEVICE},    {3, ASNODEVICE},   {-10, ASNODEVICE}, {5, ASPORTBUSY}, {-2, ASPORTBUSY},
      {-12, ASBADBAUD},   {-11, ASBADDATABITS}, {-4, ASOUTOFMEMORY}, {-1, ASBADPORTID},
      {32, ASFAILURE},    {-3, ASFAILURE},   {-5, ASFAILURE},   {0, ASFAILURE}};
  for (const auto& [value, code] : table) {
    fake.set_last_error(value);
    EXPECT_EQ(map_last_error(), code) << value;
  }
}

}  // namespace
}  // namespace tenji
