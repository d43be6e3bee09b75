// A fresh directory per test, removed with everything in it afterwards.
#pragma once

#include <optional>
#include <string>

namespace tenji::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A fresh $XDG_CONFIG_HOME for the life of the object, where the COM links
// of pseudo-terminals and embossers go; the old value comes back after.
class ScopedConfigHome {
 public:
  ScopedConfigHome();
  ~ScopedConfigHome();  // not copied: its TempDir cannot be
  std::string file(const std::string& name) const { return dir_.file(name); }
  // <home>/tenjiprint/dosdevices/com<n>
  std::string com_link(int com_number) const;

 private:
  TempDir dir_;
  std::optional<std::string> saved_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);

}  // namespace tenji::testing
