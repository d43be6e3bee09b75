// The printer application's system: its address, folders, state file and
// limits from the `server` subcommand's -o options.
#pragma once

extern "C" {
#include <pappl/pappl.h>
}

namespace tenji::server {

inline constexpr const char* SERVER_NAME = "tenjiprint-server";

// -o options: listen=localhost|any|HOST, server-port=N, spool-directory=DIR,
// state-file=FILE, log-file=FILE, log-level=LEVEL, settings=INI,
// max-document-size=BYTES, print-what-fits=yes|no. Nothing on a bad value,
// after saying why.
pappl_system_t* create_server_system(int num_options, cups_option_t* options, void* unused);

}  // namespace tenji::server
