// The program's texts are UTF-8; Windows' wide functions take UTF-16. Texts
// are converted here, where they cross into Windows, and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace tenji::ui {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace tenji::ui
