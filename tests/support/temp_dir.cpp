#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/file_path.h"

namespace tenji::testing {

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 rng(seed());
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() / ("tenji-test-" + std::to_string(rng()));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) path_ = platform::utf8_path(candidate.generic_u8string());
  }
  if (path_.empty()) throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

#ifndef _WIN32  // only the pseudo-terminal tests use it
ScopedConfigHome::ScopedConfigHome() {
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
  setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
}

ScopedConfigHome::~ScopedConfigHome() {
  if (saved_)
    setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}
#endif

std::string ScopedConfigHome::com_link(int com_number) const {
  return dir_.path() + "/tenjiprint/dosdevices/com" + std::to_string(com_number);
}

std::string read_file(const std::string& path) {
  std::ifstream in(platform::fs_path(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(platform::fs_path(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace tenji::testing
