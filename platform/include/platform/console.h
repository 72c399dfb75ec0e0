// console.h - text for whoever started the program: its help, its version,
// what was wrong with its command line.
#pragma once

#include <string>

namespace platform {

// Writes the text to standard output, or to standard error for an error. On
// Windows, where a windowed program has no console of its own, it goes to
// the console the program was started from, or into a message box captioned
// `caption` where there is none.
void ShowText(const std::string& text, bool isError, const char* caption);

} // namespace platform
