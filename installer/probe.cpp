#include "probe.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fatal.hpp"

namespace vapordex::installer {

namespace {

constexpr const char* kNotRegistered = "Excel has not been properly registered";
constexpr const char* kVersionPrefix = "Excel.Application.";
constexpr std::size_t kVersionPrefixLength = 18;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (*text == '\0' || lower(*text) != lower(*prefix)) return false;
  }
  return true;
}

bool equalIgnoringCase(const char* a, const char* b) {
  return std::strlen(a) == std::strlen(b) && startsWithIgnoringCase(a, b);
}

bool endsWithBackslash(const char* text) {
  const std::size_t n = std::strlen(text);
  return n > 0 && text[n - 1] == '\\';
}

void setLine(Platform& platform, Line line, const char* format, const char* value) {
  char text[kAddinPathSize + 64];
  std::snprintf(text, sizeof text, format, value);
  platform.setLineText(line, text);
}

// A registry value read as text: the data ends at its size or its first zero.
void terminate(char* data, unsigned size) {
  data[size < kRegistryDataSize ? size : kRegistryDataSize] = '\0';
}

}  // namespace

void probeOperatingSystem(Platform& platform, Host& /*host*/) {
  unsigned major = 0;
  unsigned minor = 0;
  if (!platform.windowsVersion(&major, &minor)) {
    fatalWindowsError(platform, 184, "can't get windows version");
  }
  struct Version {
    unsigned major, minor;
    const char* text;
  };
  static constexpr Version kVersions[] = {
      {5, 0, "Operating System: Windows-2K"},    {5, 1, "Operating System: Windows-XP"},
      {6, 0, "Operating System: Windows-Vista"}, {6, 1, "Operating System: Windows-7"},
      {6, 2, "Operating System: Windows-8"},     {6, 3, "Operating System: Windows-9"},
      {6, 4, "Operating System: Windows-10"},
  };
  for (const Version& v : kVersions) {
    if (v.major == major && v.minor == minor) {
      platform.setLineText(Line::kOperatingSystem, v.text);
      return;
    }
  }
  fatal(platform, 200, "unsupported windows version");
}

void probeArchitecture(Platform& platform, Host& host) {
  unsigned type = 0;
  if (!platform.binaryType("C:\\Windows\\notepad.exe", &type)) {
    fatalWindowsError(platform, 207, "can't get architecture");
  }
  if (type == kScs64BitBinary) {
    platform.setLineText(Line::kArchitecture, "Architecture: 64-bit");
    host.windowsBits = 64;
  } else if (type == kScs32BitBinary) {
    platform.setLineText(Line::kArchitecture, "Architecture: 32-bit");
    host.windowsBits = 32;
  } else {
    fatal(platform, 219, "unsupported architecture");
  }
}

void probeOfficeVersion(Platform& platform, Host& /*host*/) {
  Platform::Key application = nullptr;
  Platform::Key curVer = nullptr;
  if (!platform.openRootKey(RootKey::kClassesRoot, "Excel.Application", RegistryView::kDefault,
                            &application)) {
    fatal(platform, 228, "%s", kNotRegistered);
  }
  if (!platform.openKey(application, "CurVer", RegistryView::kDefault, &curVer)) {
    fatal(platform, 230, "%s", kNotRegistered);
  }
  char name[kRegistryNameSize];
  char data[kRegistryDataSize + 1];
  for (unsigned index = 0;; ++index) {
    unsigned size = kRegistryDataSize;
    if (!platform.enumValue(curVer, index, name, kRegistryNameSize, data, &size)) {
      fatal(platform, 236, "%s", kNotRegistered);
    }
    terminate(data, size);
    if (startsWithIgnoringCase(data, kVersionPrefix)) break;
  }
  const int major = std::atoi(data + kVersionPrefixLength);
  platform.closeKey(curVer);
  platform.closeKey(application);
  struct Office {
    int major;
    const char* text;
  };
  static constexpr Office kOffices[] = {
      {7, "Microsoft Office Version: 97"},
      {8, "Microsoft Office Version: 98"},
      {9, "Microsoft Office Version: 2K"},
      {10, "Microsoft Office Version: XP"},
      {11, "Microsoft Office Version: 2003"},
      {12, "Microsoft Office Version: 2007"},
      {14, "Microsoft Office Version: 2010"},
      {15, "Microsoft Office Version: 2013"},
      // Excel 2016, 2019, 2021, 2024 and Microsoft 365 all register 16.
      {16, "Microsoft Office Version: 2016 or later"},
  };
  for (const Office& o : kOffices) {
    if (o.major == major) {
      platform.setLineText(Line::kOfficeVersion, o.text);
      return;
    }
  }
  fatal(platform, 293, "no supported Microsoft Office version found");
}

namespace {

constexpr int kAppPathsDepth = 6;

// Opens Excel's App Paths chain one level at a time in a registry view: the
// level that failed (its keys above closed again, innermost first), or -1
// with all six open.
int openAppPaths(Platform& platform, RegistryView view, Platform::Key (&keys)[kAppPathsDepth]) {
  static constexpr const char* kPath[] = {"SOFTWARE",       "Microsoft", "Windows",
                                          "CurrentVersion", "App Paths", "excel.exe"};
  for (int k = 0; k < kAppPathsDepth; ++k) {
    const bool opened = k == 0
                            ? platform.openRootKey(RootKey::kLocalMachine, kPath[0], view, &keys[0])
                            : platform.openKey(keys[k - 1], kPath[k], view, &keys[k]);
    if (!opened) {
      for (int j = k - 1; j >= 0; --j) platform.closeKey(keys[j]);
      return k;
    }
  }
  return -1;
}

}  // namespace

// A 32-bit installer on 64-bit Windows reads the 32-bit view of the
// registry, where 64-bit Office need not register excel.exe: there the
// chain is opened again in the 64-bit view. The first attempt's fatal code
// stands when both fail.
void probeOfficePath(Platform& platform, Host& host) {
  static constexpr int kCodes[] = {302, 304, 306, 308, 310, 312};
  Platform::Key keys[kAppPathsDepth] = {};
  const int failed = openAppPaths(platform, RegistryView::kDefault, keys);
  if (failed >= 0) {
    const bool retried = failed == kAppPathsDepth - 1 && host.windowsBits == 64 &&
                         openAppPaths(platform, RegistryView::k64Bit, keys) < 0;
    if (!retried) fatal(platform, kCodes[failed], "%s", kNotRegistered);
  }
  char name[kRegistryNameSize];
  char* data = host.excelFolder;  // the folder is the data of "Path"
  for (unsigned index = 0;; ++index) {
    unsigned size = kRegistryDataSize;
    if (!platform.enumValue(keys[5], index, name, kRegistryNameSize, data, &size)) {
      fatal(platform, 318, "%s", kNotRegistered);
    }
    terminate(data, size);
    if (equalIgnoringCase(name, "Path")) break;
    data[0] = '\0';
  }
  for (int k = 5; k >= 0; --k) platform.closeKey(keys[k]);
  if (data[0] == '\0') fatal(platform, 335, "can't get Microsoft Office path");
  setLine(platform, Line::kOfficePath, "Microsoft Office Path: %s", data);
}

void probeOfficeBitness(Platform& platform, Host& host) {
  if (host.windowsBits == 32) {
    platform.setLineText(Line::kOfficeBitness, "Microsoft Office Bitness: 32-bit");
    host.excelBits = 32;
    return;
  }
  char path[kExcelPathSize];
  const int n = std::snprintf(path, sizeof path, "%s%sEXCEL.EXE", host.excelFolder,
                              endsWithBackslash(host.excelFolder) ? "" : "\\");
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof path) {
    fatal(platform, 357, "path of EXCEL.EXE too long\n%s", host.excelFolder);
  }
  if (!platform.fileExists(path))
    fatal(platform, 353, "did not find EXCEL.EXE where expected\n%s", path);
  unsigned type = 0;
  if (!platform.binaryType(path, &type)) {
    fatalWindowsError(platform, 355, "can't get EXCEL.EXE bitness");
  }
  if (type == kScs64BitBinary) {
    platform.setLineText(Line::kOfficeBitness, "Microsoft Office Bitness: 64-bit");
    host.excelBits = 64;
  } else if (type == kScs32BitBinary) {
    platform.setLineText(Line::kOfficeBitness, "Microsoft Office Bitness: 32-bit");
    host.excelBits = 32;
  } else {
    fatal(platform, 368, "unsupported EXCEL.EXE bitness");
  }
}

void probeAddinName(Platform& platform, Host& host) {
  host.addinName = host.excelBits == 32 ? host.addinName32 : host.addinName64;
  setLine(platform, Line::kAddinName, "Add-In: %s", host.addinName);
}

void probeAddinFolder(Platform& platform, Host& host) {
  char profile[kProfileSize];
  const unsigned n = platform.environmentVariable("USERPROFILE", profile, kProfileSize);
  if (n == 0) fatalWindowsError(platform, 394, "can't get user profile");
  if (n >= kProfileSize) fatal(platform, 396, "user profile path too long");
  char* folder = host.addinFolder;
  const char* separator = endsWithBackslash(profile) ? "" : "\\";
  int written = std::snprintf(folder, kFolderSize, "%s%s", profile, separator);
  const char* tail = nullptr;
  if (startsWithIgnoringCase(folder, "C:\\Documents and Settings")) {
    tail = R"(Application Data\Microsoft\AddIns\)";
  } else if (startsWithIgnoringCase(folder, "C:\\Users")) {
    tail = R"(AppData\Roaming\Microsoft\AddIns\)";
  } else {
    fatal(platform, 402, "unexpected user profile\n%s", folder);
  }
  written = std::snprintf(folder, kFolderSize, "%s%s%s", profile, separator, tail);
  if (written < 0 || static_cast<std::size_t>(written) >= kFolderSize) {
    fatal(platform, 404, "add-in folder path too long\n%s", profile);
  }
  setLine(platform, Line::kAddinPath, "Add-In Path: %s", folder);
}

void runProbe(Platform& platform, Host& host) {
  probeOperatingSystem(platform, host);
  probeArchitecture(platform, host);
  probeOfficeVersion(platform, host);
  probeOfficePath(platform, host);
  probeOfficeBitness(platform, host);
  probeAddinName(platform, host);
  probeAddinFolder(platform, host);
  host.complete = true;
}

}  // namespace vapordex::installer
