#include "fatal.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "error_texts.hpp"

namespace vapordex::installer {

namespace {

constexpr int kMessageSize = 1024;
constexpr int kHeaderSize = 32;

[[noreturn]] void report(Platform& platform, int code, const char* format, va_list args) {
  char message[kMessageSize];
  const int n = std::vsnprintf(message, sizeof message, format, args);
  if (n < 0 || n >= kMessageSize) {
    platform.fatalAppExit("Abort(): buffer overflow");
    std::abort();
  }
  char header[kHeaderSize];
  const int m = std::snprintf(header, sizeof header, "Fatal Error Code %i", code);
  if (m < 0 || m >= kHeaderSize) {
    platform.fatalAppExit("Abort(): header overflow");
    std::abort();
  }
  platform.showErrorBox(message, header);
  platform.exitProcess(1);
  std::abort();  // exitProcess does not return
}

}  // namespace

void fatal(Platform& platform, int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  report(platform, code, format, args);
}

void fatalWindowsError(Platform& platform, int code, const char* format, ...) {
  // The last error is read before anything else can change it.
  const int error = platform.lastError();
  char message[kMessageSize];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  if (n < 0 || n >= kMessageSize) {
    platform.fatalAppExit("Abort(): buffer overflow");
    std::abort();
  }
  fatal(platform, code, "%s\nWin Err Code %i: %s", message, error, errorText(error));
}

}  // namespace vapordex::installer
