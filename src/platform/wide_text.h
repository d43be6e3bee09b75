// The program's texts and paths are UTF-8; Windows' wide functions take
// UTF-16. They are converted here, where they cross into Windows.
#pragma once

#include <string>
#include <string_view>

namespace tenji::platform {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace tenji::platform
