#include "printer_app/server_system.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "config/settings_file.h"
#include "printer_app/embosser_driver.h"
#include "printer_app/server_config.h"
#include "printer_app/settings_web.h"

namespace tenji::server {

namespace {

std::string option(int n, cups_option_t* options, const char* name, const std::string& otherwise = "") {
  const char* v = cupsGetOption(name, n, options);
  return v ? v : otherwise;
}

bool whole_number(const std::string& text, long long max, long long& value) {
  if (text.empty() || text.size() > 12) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= max;
}

// Root keeps its state and spool under /var; a user under the XDG folders.
std::string default_state_file(const std::string& name) {
  if (getuid() == 0) return "/var/lib/" + name + "/" + name + ".state";
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  const std::string dir = state && *state ? std::string(state) : std::string(home ? home : "/tmp") + "/.local/state";
  return dir + "/" + name + ".state";
}

std::string default_spool_directory(const std::string& name) {
  if (getuid() == 0) return "/var/spool/" + name;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/" + name + ".d";
  return std::string(papplGetTempDir()) + "/" + name + std::to_string(getuid()) + ".d";
}

// mkdir -p, owner only.
void make_directories(const std::string& dir) {
  for (std::size_t slash = 1; slash != std::string::npos; slash = dir.find('/', slash + 1))
    ::mkdir(dir.substr(0, slash).c_str(), 0700);
  ::mkdir(dir.c_str(), 0700);
}

std::string parent_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

pappl_loglevel_t log_level(const std::string& name) {
  if (name == "debug") return PAPPL_LOGLEVEL_DEBUG;
  if (name == "info") return PAPPL_LOGLEVEL_INFO;
  if (name == "error") return PAPPL_LOGLEVEL_ERROR;
  if (name == "fatal") return PAPPL_LOGLEVEL_FATAL;
  return PAPPL_LOGLEVEL_WARN;
}

// PAPPL saves its state (printers and the queue) only when its main loop
// wakes, which may be 30 s away: waking it every second puts a new job in the
// state file within a second, so that a crash loses none.
bool wake_to_save_state(pappl_system_t*, void*) { return true; }

// PAPPL's control socket, where the subcommands find the server: a second
// server of the same name and user would silently take it over.
std::string control_socket_path(const std::string& name) {
  if (getuid() == 0) return "/run/" + name + ".sock";
  return std::string(papplGetTempDir()) + "/" + name + std::to_string(getuid()) + ".sock";
}

bool something_answers_at(const std::string& socket_path) {
  sockaddr_un address{};
  if (socket_path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socket_path.c_str(), socket_path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answered;
}

pappl_system_t* refuse_option(const char* what) {
  std::fprintf(stderr, "%s: %s\n", SERVER_NAME, what);
  return nullptr;
}

}  // namespace

ServerConfig& server_config() {
  static ServerConfig config;
  return config;
}

pappl_system_t* create_server_system(int n, cups_option_t* options, void*) {
  ServerConfig& config = server_config();
  const std::string& name = config.program_name;
  if (const std::string socket = control_socket_path(name); something_answers_at(socket))
    return refuse_option((name + " はもう動いています（" + socket + "）").c_str());
  long long port = 0, max_bytes = 0;
  if (!whole_number(option(n, options, "server-port", "0"), 65535, port))
    return refuse_option("server-port には 0〜65535 の整数を指定します");
  if (!whole_number(option(n, options, "max-document-size", std::to_string(config.max_document_bytes)), 1LL << 40,
                    max_bytes) || max_bytes == 0)
    return refuse_option("max-document-size には 1 以上のバイト数を指定します");
  config.max_document_bytes = static_cast<std::size_t>(max_bytes);
  const std::string fits = option(n, options, "print-what-fits", "no");
  if (fits != "yes" && fits != "no") return refuse_option("print-what-fits には yes か no を指定します");
  config.print_what_fits = fits == "yes";

  config.settings_path = option(n, options, "settings");
  if (config.settings_path.empty() && !ensure_settings_file(config.settings_path))
    std::fprintf(stderr, "%s: %s\n%s\n", SERVER_NAME, SETTINGS_WRITE_FAILED, config.settings_path.c_str());
  config.state_path = option(n, options, "state-file", default_state_file(name));
  make_directories(parent_of(config.state_path));
  const std::string spool = option(n, options, "spool-directory", default_spool_directory(name));
  make_directories(spool);
  const std::string log_file = option(n, options, "log-file", "syslog");
  const std::string listen = option(n, options, "listen", "localhost");
  const std::string host = option(n, options, "server-hostname", listen == "any" ? "" : "localhost");

  const std::string auth_service = option(n, options, "auth-service");
  // The Security page sets the administrator's password for changes made
  // from other hosts.
  pappl_system_t* system = papplSystemCreate(
      static_cast<pappl_soptions_t>(PAPPL_SOPTIONS_MULTI_QUEUE | PAPPL_SOPTIONS_WEB_INTERFACE |
                                    PAPPL_SOPTIONS_WEB_SECURITY),
      SERVER_NAME, static_cast<int>(port), "_print,_universal", spool.c_str(), log_file.c_str(),
      log_level(option(n, options, "log-level", "warn")), auth_service.empty() ? nullptr : auth_service.c_str(), false);
  if (!system) return refuse_option("サーバーを作れませんでした");
  if (!host.empty()) papplSystemSetHostName(system, host.c_str());
  // Only this machine reaches the server unless it was told otherwise.
  if (!papplSystemAddListeners(system, listen == "any" ? nullptr : listen.c_str())) {
    papplSystemDelete(system);
    return refuse_option(("待ち受けられませんでした: " + listen + " ポート " + std::to_string(port)).c_str());
  }
  papplSystemSetMaxDocumentSize(system, config.max_document_bytes);
  // Before the state is loaded: its printers are made with the driver.
  papplSystemSetPrinterDrivers(system, 1, embosser_drivers(), nullptr, nullptr, embosser_driver, nullptr);
  add_braille_printing(system);
  add_settings_page(system);
  papplSystemSetFooterHTML(system, "tenjiprint " TENJI_VERSION);
  pappl_version_t version{};
  std::strncpy(version.name, SERVER_NAME, sizeof version.name - 1);
  std::strncpy(version.sversion, TENJI_VERSION, sizeof version.sversion - 1);
  std::sscanf(TENJI_VERSION, "%hu.%hu.%hu", version.version + 0, version.version + 1, version.version + 2);
  papplSystemSetVersions(system, 1, &version);
  papplSystemLoadState(system, config.state_path.c_str());
  papplSystemAddTimerCallback(system, time(nullptr) + 1, 1, wake_to_save_state, nullptr);
  papplSystemSetSaveCallback(system, reinterpret_cast<pappl_save_cb_t>(papplSystemSaveState),
                             const_cast<char*>(config.state_path.c_str()));
  return system;
}

}  // namespace tenji::server
