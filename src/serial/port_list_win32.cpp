// The COM ports Windows knows: every COMn name the system defines, with the
// friendly name Device Manager shows ("USB Serial Port (COM5)") where the
// port class has the device.
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>

#include <map>

#include "platform/wide_text.h"
#include "serial/com_device_name.h"
#include "serial/port_list.h"

namespace tenji {

namespace {

// n for "COMn", else 0: read as the device name "\\.\COMn" is.
int com_number_of(const std::wstring& name) {
  return com_number_from_device_name(("\\\\.\\" + platform::narrow(name)).c_str());
}

// The friendly names of the port class's devices, by COM number.
std::map<int, FoundPort> devices_of_port_class() {
  std::map<int, FoundPort> found;
  HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return found;
  SP_DEVINFO_DATA info{};
  info.cbSize = sizeof info;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
    HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) continue;
    wchar_t port_name[64] = {};
    DWORD size = sizeof port_name;
    const bool named = RegQueryValueExW(key, L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(port_name), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    const int n = named ? com_number_of(port_name) : 0;
    if (!n) continue;
    wchar_t friendly[256] = {};
    FoundPort p;
    if (SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_FRIENDLYNAME, nullptr, reinterpret_cast<BYTE*>(friendly),
                                          sizeof friendly, nullptr))
      p.description = platform::narrow(friendly);
    wchar_t enumerator[64] = {};
    if (SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_ENUMERATOR_NAME, nullptr, reinterpret_cast<BYTE*>(enumerator),
                                          sizeof enumerator, nullptr))
      p.usb = _wcsicmp(enumerator, L"USB") == 0 || _wcsicmp(enumerator, L"FTDIBUS") == 0;
    found[n] = p;
  }
  SetupDiDestroyDeviceInfoList(set);
  return found;
}

}  // namespace

std::vector<FoundPort> system_ports() {
  std::vector<FoundPort> ports;
  std::map<int, FoundPort> described = devices_of_port_class();
  // Every DOS device name, each ended by a zero; the list by a second one.
  std::wstring names(65536, L'\0');
  const DWORD length = QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size()));
  for (std::size_t at = 0; at < length && names[at];) {
    const std::wstring name(names.c_str() + at);
    at += name.size() + 1;
    const int n = com_number_of(name);
    if (!n) continue;
    FoundPort p = described.count(n) ? described[n] : FoundPort{};
    p.com_number = n;
    p.device = "\\\\.\\COM" + std::to_string(n);
    if (p.description.empty()) p.description = "シリアルポート";
    ports.push_back(p);
  }
  order_ports(ports);
  return ports;
}

bool ports_can_be_bound() { return false; }

std::string bind_com_port(int, const std::string&) { return "Windows の COM 番号は Windows のデバイス マネージャーで変えます。"; }

}  // namespace tenji
