#include "platform/bounded_file.h"

#include <filesystem>

#include "platform/file_path.h"

namespace tenji::platform {

const char* file_check_text(FileCheck check) {
  switch (check) {
    case FileCheck::ok: return "";
    case FileCheck::missing: return "ファイルがありません";
    case FileCheck::not_a_file: return "普通のファイルではありません";
    case FileCheck::too_large: return "大きすぎます（1MBまで）";
    case FileCheck::unreadable: return "読む権限がありません";
  }
  return "";
}

std::string write_target(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p = fs_path(path);
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
    const fs::path target = fs::read_symlink(p, ec);
    if (ec) break;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return utf8_path(p);
}

}  // namespace tenji::platform
