#include "install.hpp"

#include <cstdio>

#include "fatal.hpp"

namespace vapordex::installer {

namespace {
constexpr const char* kTemporarySuffix = ".tmp";
}

void addinFilePath(Platform& platform, const Host& host, char* path, std::size_t size) {
  if (!host.complete || host.addinName == nullptr || host.addinName[0] == '\0' ||
      host.addinFolder[0] == '\0') {
    fatal(platform, 438, "no add-in file path before the host probe has completed");
  }
  const int n = std::snprintf(path, size, "%s%s", host.addinFolder, host.addinName);
  if (n < 0 || static_cast<std::size_t>(n) >= size) {
    fatal(platform, 440, "add-in file path too long\n%s", host.addinFolder);
  }
}

bool isInstalled(Platform& platform, const Host& host) {
  char path[kAddinPathSize];
  addinFilePath(platform, host, path, sizeof path);
  return platform.fileExists(path);
}

bool installAddin(Platform& platform, const Host& host, const void* data, std::size_t size) {
  if (!host.complete) return false;
  char path[kAddinPathSize];
  addinFilePath(platform, host, path, sizeof path);
  char temporary[kAddinPathSize + 8];
  std::snprintf(temporary, sizeof temporary, "%s%s", path, kTemporarySuffix);
  Platform::File file = platform.createFile(temporary);
  if (file == nullptr) fatal(platform, 445, "can't create Add-In file");
  const bool written = platform.writeFile(file, data, size) == size;
  const bool flushed = written && platform.flushFile(file);
  const bool closed = platform.closeFile(file);
  if (!written || !flushed || !closed) {
    platform.removeFile(temporary);
    fatal(platform, 447, "can't write Add-In file");
  }
  if (!platform.replaceFile(temporary, path)) {
    platform.removeFile(temporary);
    fatal(platform, 442, "can't remove old copy of Add-In");
  }
  return true;
}

}  // namespace vapordex::installer
