#include "platform/console_text.h"

namespace tenji::platform {

// A terminal here takes UTF-8 and the escape as they are.
void write_text(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

}  // namespace tenji::platform
