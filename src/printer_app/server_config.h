// What the printer application was started with, shared by its callbacks.
#pragma once

#include <cstddef>
#include <string>

namespace tenji::server {

struct ServerConfig {
  // The program's file name: PAPPL names its control socket after it (and
  // so does the server its default state and spool), so that a copy under
  // another name is a server of its own.
  std::string program_name = "tenjiprint-server";
  std::string settings_path;  // the desktop program's settings file (INI)
  std::string state_path;     // printers and queue, saved by PAPPL
  // A document that does not fit the print area prints what fits instead of
  // being refused.
  bool print_what_fits = false;
  std::size_t max_document_bytes = 50u * 1024 * 1024;
};

ServerConfig& server_config();

}  // namespace tenji::server
