// Text <-> number the way every settings reader and writer does it,
// independent of the process locale.
#pragma once

#include <string>
#include <string_view>

namespace tenji {

// Like atof/atoi: leading white space and one sign are allowed, conversion
// stops at the first character that does not fit, text that does not begin
// with a number gives 0. Integers beyond the int range saturate.
double text_to_real(std::string_view text);
int text_to_int(std::string_view text);

// What a user typed into a number field, with the full-width digits, point,
// minus and plus a Japanese input method gives in their ASCII forms; every
// other character stays as it is (so "１ａ" reads as 1, "ａ" as 0).
std::string ascii_number_text(std::string_view typed);
inline double typed_real(std::string_view typed) { return text_to_real(ascii_number_text(typed)); }
inline int typed_int(std::string_view typed) { return text_to_int(ascii_number_text(typed)); }

// "%.<decimals>f" and "%d" with '.' as the decimal point.
std::string format_real(double value, int decimals);
std::string format_int(int value);

}  // namespace tenji
