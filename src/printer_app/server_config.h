// What the printer application was started with, shared by its callbacks.
#pragma once

#include <cstddef>
#include <string>

namespace tenji::server {

struct ServerConfig {
  std::string settings_path;  // the desktop program's settings file (INI)
  std::string state_path;     // printers and queue, saved by PAPPL
  // A document that does not fit the print area prints what fits instead of
  // being refused.
  bool print_what_fits = false;
  std::size_t max_document_bytes = 50u * 1024 * 1024;
};

ServerConfig& server_config();

}  // namespace tenji::server
