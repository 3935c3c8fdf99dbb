#include "win32_platform.hpp"

#include <direct.h>
#include <io.h>

#include <cstdio>

namespace vapordex::installer {

namespace {
constexpr REGSAM kReadAccess = KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE;

REGSAM access(RegistryView view) {
  return view == RegistryView::k64Bit ? kReadAccess | KEY_WOW64_64KEY : kReadAccess;
}

// Registry calls return their error instead of setting the last error.
bool succeeded(LONG result) {
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}
}  // namespace

bool Win32Platform::windowsVersion(unsigned* major, unsigned* minor) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = 148;
  static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA size");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
  *major = info.dwMajorVersion;
  *minor = info.dwMinorVersion;
  return true;
}

bool Win32Platform::binaryType(const char* path, unsigned* type) {
  DWORD t = 0;
  if (!GetBinaryTypeA(path, &t)) return false;
  *type = t;
  return true;
}

bool Win32Platform::openRootKey(RootKey root, const char* subkey, RegistryView view, Key* key) {
  HKEY parent = root == RootKey::kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
  HKEY opened = nullptr;
  if (!succeeded(RegOpenKeyExA(parent, subkey, 0, access(view), &opened))) return false;
  *key = reinterpret_cast<Key>(opened);
  return true;
}

bool Win32Platform::openKey(Key parent, const char* subkey, RegistryView view, Key* key) {
  HKEY opened = nullptr;
  if (!succeeded(RegOpenKeyExA(reinterpret_cast<HKEY>(parent), subkey, 0, access(view), &opened))) {
    return false;
  }
  *key = reinterpret_cast<Key>(opened);
  return true;
}

bool Win32Platform::enumValue(Key key, unsigned index, char* name, unsigned nameSize, char* data,
                              unsigned* dataSize) {
  DWORD nameLength = nameSize;
  DWORD dataLength = *dataSize;
  if (!succeeded(RegEnumValueA(reinterpret_cast<HKEY>(key), index, name, &nameLength, nullptr,
                               nullptr, reinterpret_cast<BYTE*>(data), &dataLength))) {
    return false;
  }
  *dataSize = dataLength;
  return true;
}

void Win32Platform::closeKey(Key key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

unsigned Win32Platform::environmentVariable(const char* name, char* buffer, unsigned size) {
  return GetEnvironmentVariableA(name, buffer, size);
}

bool Win32Platform::fileExists(const char* path) { return _access(path, 0) == 0; }

int Win32Platform::lastError() { return static_cast<int>(GetLastError()); }

void Win32Platform::makeDirectory(const char* path) { _mkdir(path); }

Platform::File Win32Platform::createFile(const char* path) {
  return reinterpret_cast<File>(std::fopen(path, "wb"));
}

std::size_t Win32Platform::writeFile(File file, const void* data, std::size_t size) {
  return std::fwrite(data, 1, size, reinterpret_cast<std::FILE*>(file));
}

bool Win32Platform::flushFile(File file) {
  return std::fflush(reinterpret_cast<std::FILE*>(file)) == 0;
}

bool Win32Platform::closeFile(File file) {
  return std::fclose(reinterpret_cast<std::FILE*>(file)) == 0;
}

bool Win32Platform::removeFile(const char* path) { return std::remove(path) == 0; }

bool Win32Platform::replaceFile(const char* source, const char* target) {
  return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32Platform::setLineText(Line line, const char* text) {
  SetWindowTextA(lines[static_cast<int>(line)], text);
}

void Win32Platform::showErrorBox(const char* text, const char* caption) {
  MessageBoxA(owner, text, caption, MB_SYSTEMMODAL | MB_ICONERROR);
}

void Win32Platform::exitProcess(int code) { ExitProcess(static_cast<UINT>(code)); }

void Win32Platform::fatalAppExit(const char* text) { FatalAppExitA(0, text); }

}  // namespace vapordex::installer
