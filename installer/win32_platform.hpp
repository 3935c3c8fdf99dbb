// The Windows implementation of the installer's platform layer.
#pragma once

#include <windows.h>

#include "platform.hpp"

namespace vapordex::installer {

class Win32Platform : public Platform {
 public:
  // The window of each line, in the order of Line.
  HWND lines[11] = {};
  // The installer window, which owns the fatal error box once it exists: the
  // window takes no input while the box is up.
  HWND owner = nullptr;

  bool windowsVersion(unsigned* major, unsigned* minor) override;
  bool binaryType(const char* path, unsigned* type) override;
  bool openRootKey(RootKey root, const char* subkey, RegistryView view, Key* key) override;
  bool openKey(Key parent, const char* subkey, RegistryView view, Key* key) override;
  bool enumValue(Key key, unsigned index, char* name, unsigned nameSize, char* data,
                 unsigned* dataSize) override;
  void closeKey(Key key) override;
  unsigned environmentVariable(const char* name, char* buffer, unsigned size) override;
  bool fileExists(const char* path) override;
  int lastError() override;
  void makeDirectory(const char* path) override;
  File createFile(const char* path) override;
  std::size_t writeFile(File file, const void* data, std::size_t size) override;
  bool flushFile(File file) override;
  bool closeFile(File file) override;
  bool removeFile(const char* path) override;
  bool replaceFile(const char* source, const char* target) override;
  void setLineText(Line line, const char* text) override;
  void showErrorBox(const char* text, const char* caption) override;
  void exitProcess(int code) override;
  void fatalAppExit(const char* text) override;
};

}  // namespace vapordex::installer
