// A real pseudo-terminal linked as a COM port: "\\.\COM<n>" opens its slave
// through the dosdevices link in a temporary config home. The test holds the
// master side, as the embosser would hold the far end of the cable.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace tenji::testing {

class PtyPair {
 public:
  explicit PtyPair(int com_number = 1);
  ~PtyPair();

  // Reads what has arrived, waiting up to `ms` for at least `want` bytes.
  std::string read_master(std::size_t want, int ms = 2000);
  void write_master(const std::string& bytes);
  void close_master();

 private:
  ScopedConfigHome home_;
  int master_ = -1;
};

}  // namespace tenji::testing
