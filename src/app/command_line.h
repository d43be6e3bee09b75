// The tenjiprint command line: print, pitch-test and port-info.
#pragma once

#include <cstdio>

namespace tenji {

enum ExitCode : int {
  EXIT_DONE = 0,        // finished
  EXIT_JOB_FAILED = 1,  // the job or the port failed
  EXIT_BAD_INPUT = 2,   // not a document, or bad arguments
  EXIT_DOES_NOT_FIT = 3,
  EXIT_CANCELLED = 130,  // Ctrl-C: stopped after the cell in progress
};

// Runs the command in argv[1..]; returns the process exit code.
int run_command_line(int argc, char** argv, std::FILE* out, std::FILE* err);

}  // namespace tenji
