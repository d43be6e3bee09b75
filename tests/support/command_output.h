// What a program run through the shell writes, for the tests that run the
// real tenjiprint as a user would. POSIX only.
#pragma once

#include <cstdio>
#include <string>

namespace tenji::testing {

// Everything `pipe` (from popen) gives until the program closes it.
std::string read_to_end(std::FILE* pipe);

// Runs `command` through the shell; its output, and its wait status in
// `status` when given.
std::string output_of(const std::string& command, int* status = nullptr);

}  // namespace tenji::testing
