// The fatal error reporter: one system-modal error box captioned
// "Fatal Error Code %i", then the process ends with exit code 1.
#pragma once

#include "platform.hpp"

namespace vapordex::installer {

[[noreturn]] void fatal(Platform& platform, int code, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// The same for a failed Windows call: the formatted message, then
// "\nWin Err Code %i: %s" with the last error and its text.
[[noreturn]] void fatalWindowsError(Platform& platform, int code, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

}  // namespace vapordex::installer
