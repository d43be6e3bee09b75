#include "serial/port_access.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tenji {

std::optional<std::string> permission_problem(const std::string& path) {
  if (::access(path.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return std::nullopt;
  // The rights are the device's own, not those of a link to it.
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  const std::string device = ec ? path : real.string();
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return std::nullopt;
  if ((st.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
    return "を開く権限がありません（" + device + " は所有者だけが使えます）。管理者に使えるようにしてもらってください。";
  const group* g = ::getgrgid(st.st_gid);
  const std::string group = g ? g->gr_name : std::to_string(st.st_gid);
  const passwd* pw = ::getpwuid(::getuid());
  const char* env_user = std::getenv("USER");
  const std::string user = pw ? pw->pw_name : env_user ? env_user : "$USER";
  return "を開く権限がありません（" + device + " はグループ " + group +
         " のものです）。次のコマンドでグループに加わり、ログインし直してください：\nsudo usermod -aG " + group + " " +
         user;
}

}  // namespace tenji
