// The thin layer between the installer's logic and Windows: registry,
// environment, executable types, files, resources, window texts and the
// error box. The Win32 implementation calls Windows; the tests drive the
// probe and the install action through a scripted stand-in.
#pragma once

#include <cstddef>

namespace vapordex::installer {

enum class RootKey { kClassesRoot, kLocalMachine };

// Which view of the registry a key is opened in: the program's own (a
// 32-bit program on 64-bit Windows sees the 32-bit view), or the 64-bit view
// whatever the program (KEY_WOW64_64KEY).
enum class RegistryView { kDefault, k64Bit };

// Binary types as GetBinaryTypeA reports them.
inline constexpr unsigned kScs32BitBinary = 0;
inline constexpr unsigned kScs64BitBinary = 6;

// The window lines the probe and the install action write.
enum class Line {
  kOperatingSystem,
  kArchitecture,
  kOfficeVersion,
  kOfficeBitness,
  kOfficePath,
  kAddinName,
  kAddinPath,
  kStatus,
  kMessage2,
  kMessage3,
  kNotice,
};

class Platform {
 public:
  // Opaque handles of two distinct types, so a file can never be passed
  // where a registry key is wanted; each implementation defines what they
  // point to.
  struct KeyHandle;
  struct FileHandle;
  using Key = KeyHandle*;
  using File = FileHandle*;

  virtual ~Platform() = default;

  virtual bool windowsVersion(unsigned* major, unsigned* minor) = 0;
  virtual bool binaryType(const char* path, unsigned* type) = 0;

  // Registry, read only: open a subkey of a root or of an open key, read the
  // value at an index (false when the call fails, the end of the list
  // included), close.
  virtual bool openRootKey(RootKey root, const char* subkey, RegistryView view, Key* key) = 0;
  virtual bool openKey(Key parent, const char* subkey, RegistryView view, Key* key) = 0;
  virtual bool enumValue(Key key, unsigned index, char* name, unsigned nameSize, char* data,
                         unsigned* dataSize) = 0;
  virtual void closeKey(Key key) = 0;

  // GetEnvironmentVariableA: the length copied, the size needed when the
  // buffer is too small, 0 on failure.
  virtual unsigned environmentVariable(const char* name, char* buffer, unsigned size) = 0;
  virtual bool fileExists(const char* path) = 0;
  virtual int lastError() = 0;

  // Files for the install action.
  virtual void makeDirectory(const char* path) = 0;
  virtual File createFile(const char* path) = 0;  // null on failure
  virtual std::size_t writeFile(File file, const void* data, std::size_t size) = 0;
  virtual bool flushFile(File file) = 0;
  virtual bool closeFile(File file) = 0;
  virtual bool removeFile(const char* path) = 0;
  // Replaces target by source in one step (MoveFileExA, replace existing).
  virtual bool replaceFile(const char* source, const char* target) = 0;

  virtual void setLineText(Line line, const char* text) = 0;

  // The fatal error box and the two ways the process ends. None returns
  // in the Windows implementation.
  virtual void showErrorBox(const char* text, const char* caption) = 0;
  virtual void exitProcess(int code) = 0;
  virtual void fatalAppExit(const char* text) = 0;
};

}  // namespace vapordex::installer
