// File filters as the dialog classes give them, Windows-style
// "label|patterns|label|patterns||", taken apart for each window system.
#pragma once

#include <string>
#include <vector>

namespace tenji::ui {

// The filter's fields: label, patterns, label, patterns...
std::vector<std::string> filter_fields(const std::string& filter);

// "brs" from the first pattern "*.brs"; empty for "*.*".
std::string default_extension(const std::string& filter);

}  // namespace tenji::ui
