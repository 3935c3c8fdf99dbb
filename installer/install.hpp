// The already-installed test and the install action.
#pragma once

#include <cstddef>

#include "platform.hpp"
#include "probe.hpp"

namespace vapordex::installer {

// The add-in file: the add-in folder followed by the add-in file name (fatal
// 440 before a complete probe has found both).
void addinFilePath(Platform& platform, const Host& host, char* path, std::size_t size);

bool isInstalled(Platform& platform, const Host& host);

// Writes the add-in bytes beside the installed file under a temporary name,
// checks the write, the flush and the close, then replaces the old file in
// one step. On any failure the old file is untouched, the temporary file is
// removed and the failure is fatal: 445 create, 447 write, flush or close,
// 442 replace. Without a complete probe (no add-in name or folder to build
// a path from) it touches nothing and returns false.
bool installAddin(Platform& platform, const Host& host, const void* data, std::size_t size);

}  // namespace vapordex::installer
