#include "serial/serial_internal.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/allocation_fault.h"
#include "support/fake_comm.h"

namespace tenji {
namespace {

class SerialPortTest : public ::testing::Test {
 protected:
  void TearDown() override { close_all_ports(); }
  tenji::testing::FakeCommApi fake;
};

int list_length() {
  int n = 0;
  for (SerialPort* p = open_ports; p && n < 100; p = p->next) ++n;
  return n;
}

TEST_F(SerialPortTest, OutOfMemoryGivesTheFallbackPortLinkedOnce) {
  for (int first_failing : {1, 2}) {  // the port itself, or the driver record after it
    int allocations = 0;
    platform::ScopedHook fault(platform::allocation_fault_hook, [&] { return ++allocations >= first_failing; });
    SerialPort* a = port_open(0, 9600, 'N', 8, 1);
    SerialPort* b = port_open(1, 9600, 'N', 8, 1);
    EXPECT_EQ(std::tuple(a, b, a->status, a->port_index, a->driver_kind, a->driver),
              std::tuple(&fallback_port, &fallback_port, ASOUTOFMEMORY, -1, -1, nullptr));
    EXPECT_EQ(list_length(), 1);  // a half-made port left the list
    EXPECT_EQ(a->write_byte(a, 0x41), ASUNSUPPORTED);
    EXPECT_EQ(a->close(a), 0);
    EXPECT_EQ(open_ports, nullptr);
  }
}

TEST_F(SerialPortTest, ARefusedPlatformGetsTheDefaultTableWithoutOpening) {
  fake.version = 0x80000003u;  // Win32s
  SerialPort* p = port_open(0, 9600, 'N', 8, 1);
  EXPECT_EQ(std::tuple(p->status, p->driver, p->driver_kind), std::tuple(ASUNSUPPORTED, nullptr, 0));
  tenji::testing::IdleHookOverride no_waiting([](SerialPort*) { return -77; });
  EXPECT_EQ(write_byte_timed(p, 0x41, -1), ASUNSUPPORTED);  // only a full queue is waited on
  EXPECT_EQ(p->close(p), 0);
  EXPECT_TRUE(fake.calls.empty());  // nothing was opened
}

TEST_F(SerialPortTest, AMissingOrBusyDeviceKeepsTheDefaultTable) {
  fake.device(1).busy = true;
  for (auto [index, status] : {std::pair{4, ASNODEVICE}, {0, ASPORTBUSY}}) {
    SerialPort* p = port_open(index, 9600, 'N', 8, 1);
    EXPECT_EQ(std::pair(p->status, p->driver_kind), std::pair(int{status}, 15));
    std::vector<std::string> lines;
    EXPECT_EQ(p->dump_port(p, [&](const char* l) { lines.emplace_back(l); }), ASUNSUPPORTED);
    EXPECT_EQ(lines, (std::vector<std::string>{"Port dump not supported for this driver", ""}));
    EXPECT_EQ(p->close(p), 0);
  }
  EXPECT_EQ(open_ports, nullptr);
}

TEST_F(SerialPortTest, CloseAllPortsClosesEveryPortAndListsTheNewestFirst) {
  for (int com : {1, 2}) fake.device(com);
  port_open(0, 9600, 'N', 8, 1);
  SerialPort* newest = port_open(1, 9600, 'N', 8, 1);
  EXPECT_EQ(std::pair(open_ports, list_length()), std::pair(newest, 2));
  close_all_ports();
  EXPECT_EQ(open_ports, nullptr);
  EXPECT_FALSE(fake.device(1).open || fake.device(2).open);
  EXPECT_EQ(exit_hook_registered, 1);
}

TEST_F(SerialPortTest, ErrorCodesHaveTheirNamesAndPlatformErrorsMapToThem) {
  using S = std::string_view;
  EXPECT_EQ(std::tuple(S(as_error_name(ASHANDSHAKEBLOCK)), S(as_error_meaning(ASPORTBUSY)), S(as_error_name(-99))),
            std::tuple("ASHANDSHAKEBLOCK", "the port is in use by another program", "AS?"));
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
