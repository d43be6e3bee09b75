#include "platform/atomic_file.h"

#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/atomic_file_fault.h"

namespace tenji::platform {

namespace {
std::mutex fault_mutex;
std::function<bool(std::size_t)> write_fault;
}  // namespace

bool file_write_allowed(std::size_t written) {
  std::lock_guard lock(fault_mutex);
  return !write_fault || write_fault(written);
}

void set_file_write_fault(std::function<bool(std::size_t)> fault) {
  std::lock_guard lock(fault_mutex);
  write_fault = std::move(fault);
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
