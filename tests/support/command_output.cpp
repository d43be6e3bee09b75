#include "support/command_output.h"

namespace tenji::testing {

std::string read_to_end(std::FILE* pipe) {
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return out;
}

std::string output_of(const std::string& command, int* status) {
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    if (status) *status = -1;
    return {};
  }
  std::string out = read_to_end(pipe);
  const int ended = ::pclose(pipe);
  if (status) *status = ended;
  return out;
}

}  // namespace tenji::testing
