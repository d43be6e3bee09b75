#include <cstdio>

#include "app/command_line.h"

int main(int argc, char** argv) { return tenji::run_command_line(argc, argv, stdout, stderr); }
