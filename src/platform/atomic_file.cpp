#include "platform/atomic_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/atomic_file_fault.h"
#include "platform/file_path.h"

namespace tenji::platform {

Hook<std::function<bool(std::size_t)>> file_write_fault_hook;

bool file_write_allowed(std::size_t written) {
  if (!file_write_fault_hook.engaged()) return true;
  const auto fault = file_write_fault_hook.get();
  return !fault || fault(written);
}

std::string temporary_name_for(const std::string& path) {
  static thread_local std::mt19937 rng{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".tmp%08x", static_cast<unsigned>(rng()));
  return path + suffix;
}

void remove_stale_temporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path p = fs_path(path);
  const std::string prefix = utf8_path(p.filename()) + ".tmp";
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(p.has_parent_path() ? p.parent_path() : fs::path("."), ec)) {
    const std::string name = utf8_path(entry.path().filename());
    if (name.size() != prefix.size() + 8 || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.find_first_not_of("0123456789abcdef", prefix.size()) != std::string::npos) continue;
    fs::remove(entry.path(), ec);
  }
}

std::optional<std::string> read_file_bytes(const std::string& path) {
  std::ifstream in(fs_path(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(out).str();
}

}  // namespace tenji::platform
