// The host probe: Windows version and bitness, the registered Excel, its
// folder and bitness, the matching add-in build and the add-in folder. Each
// step writes its window line; every failure is fatal.
#pragma once

#include <cstddef>

#include "platform.hpp"

namespace vapordex::installer {

// Buffer sizes. The profile folder is read with 260 bytes (259 characters);
// the add-in folder adds a backslash and at most 34 characters, the add-in
// file path a file name of up to 64 characters and the temporary suffix.
inline constexpr std::size_t kRegistryDataSize = 260;
inline constexpr std::size_t kRegistryNameSize = 32;
inline constexpr std::size_t kProfileSize = 260;
inline constexpr std::size_t kFolderSize = 320;
inline constexpr std::size_t kExcelPathSize = 300;
inline constexpr std::size_t kAddinPathSize = 400;
inline constexpr std::size_t kAddinNameSize = 65;

struct Host {
  int windowsBits = 0;
  int excelBits = 0;
  char excelFolder[kRegistryDataSize + 1] = {};
  char addinName32[kAddinNameSize] = {};
  char addinName64[kAddinNameSize] = {};
  const char* addinName = nullptr;
  char addinFolder[kFolderSize] = {};
  // Set when all seven steps have completed; the install action needs it.
  bool complete = false;
};

void probeOperatingSystem(Platform& platform, Host& host);
void probeArchitecture(Platform& platform, Host& host);
void probeOfficeVersion(Platform& platform, Host& host);
void probeOfficePath(Platform& platform, Host& host);
void probeOfficeBitness(Platform& platform, Host& host);
void probeAddinName(Platform& platform, Host& host);
void probeAddinFolder(Platform& platform, Host& host);

// The seven steps in order; host.complete after the last.
void runProbe(Platform& platform, Host& host);

}  // namespace vapordex::installer
