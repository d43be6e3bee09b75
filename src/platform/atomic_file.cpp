#include "platform/atomic_file.h"

#include <fstream>
#include <sstream>

#include "platform/atomic_file_fault.h"

namespace tenji::platform {

Hook<std::function<bool(std::size_t)>> file_write_fault_hook;

bool file_write_allowed(std::size_t written) {
  if (!file_write_fault_hook.engaged()) return true;
  const auto fault = file_write_fault_hook.get();
  return !fault || fault(written);
}

std::optional<std::string> read_file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(out).str();
}

}  // namespace tenji::platform
