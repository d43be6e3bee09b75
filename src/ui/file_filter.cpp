#include "ui/file_filter.h"

namespace tenji::ui {

std::vector<std::string> filter_fields(const std::string& filter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t bar; (bar = filter.find('|', start)) != std::string::npos; start = bar + 1)
    parts.push_back(filter.substr(start, bar - start));
  if (start < filter.size()) parts.push_back(filter.substr(start));
  return parts;
}

std::string default_extension(const std::string& filter) {
  const std::vector<std::string> parts = filter_fields(filter);
  if (parts.size() < 2) return {};
  const std::string pattern = parts[1].substr(0, parts[1].find(';'));
  if (pattern.rfind("*.", 0) != 0 || pattern == "*.*") return {};
  return pattern.substr(2);
}

}  // namespace tenji::ui
