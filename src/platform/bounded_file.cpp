#include "platform/bounded_file.h"

#include <filesystem>

#include "platform/bounded_file_io.h"
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

std::size_t BoundedFile::read(char* buffer, std::size_t capacity) {
  if (check_ != FileCheck::ok) return 0;
  const std::size_t n = read_some(handle_, buffer, capacity);
  if (n == READ_FAILED) {
    check_ = FileCheck::unreadable;
    return 0;
  }
  read_ += n;
  if (read_ > max_) {  // it grew while being read
    check_ = FileCheck::too_large;
    return 0;
  }
  return n;
}

BoundedRead read_bounded_file(const std::string& path, std::uintmax_t max_bytes) {
  BoundedRead r;
  BoundedFile file(path, max_bytes);
  if (file.check() == FileCheck::ok) r.bytes.reserve(static_cast<std::size_t>(file.size()));
  char piece[65536];
  while (const std::size_t n = file.read(piece, sizeof piece)) r.bytes.append(piece, n);
  r.check = file.check();
  if (r.check != FileCheck::ok) r.bytes.clear();
  return r;
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
