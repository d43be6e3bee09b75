// The settings page on the printer application's web server: /tenjiprint
// (the page; a save or a .brs upload posts to it), /tenjiprint/live (the
// whole-step values and the capacity while a field is typed in) and
// /tenjiprint/tenjiprint.brs (the settings as a .brs file). Reading needs
// nothing; a change from another host needs the administrator.
#pragma once

extern "C" {
#include <pappl/pappl.h>
}

namespace tenji::server {

void add_settings_page(pappl_system_t* system);

}  // namespace tenji::server
