// The installer's logic through a scripted stand-in for Windows: every fatal
// code of the host probe, the install action and its failure paths, the
// error texts and the fatal reporter's bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "error_texts.hpp"
#include "error_texts_table.hpp"
#include "fatal.hpp"
#include "install.hpp"
#include "probe.hpp"

namespace vapordex::installer {
namespace {

struct Exit {
  int code;
};
struct AppExit {
  std::string text;
};

// A registry value and the keys, addressed by their full path.
struct Value {
  std::string name;
  std::string data;
};

class ScriptedPlatform : public Platform {
 public:
  // Script.
  bool versionOk = true;
  unsigned major = 6;
  unsigned minor = 1;
  std::map<std::string, unsigned> binaryTypes;
  std::map<std::string, std::vector<Value>> registry;  // "HKCR\\Excel.Application\\CurVer"
  // What an open with the 64-bit view flag sees (a 32-bit program on 64-bit
  // Windows sees registry without it).
  std::map<std::string, std::vector<Value>> registry64;
  std::map<std::string, std::string> environment;
  std::set<std::string> existing;
  std::map<std::string, std::string> files;  // contents of files on disk
  int error = 5;
  bool failCreate = false, failWrite = false, failFlush = false, failClose = false,
       failReplace = false;

  // Record.
  std::string lines[11];
  std::string boxText, boxCaption;
  std::vector<std::string> opened;
  int openKeys = 0;

  bool windowsVersion(unsigned* ma, unsigned* mi) override {
    *ma = major;
    *mi = minor;
    return versionOk;
  }
  bool binaryType(const char* path, unsigned* type) override {
    const auto it = binaryTypes.find(path);
    if (it == binaryTypes.end()) return false;
    *type = it->second;
    return true;
  }
  // A key handle is its view ("64:" for the 64-bit view) and full path.
  bool openRootKey(RootKey root, const char* subkey, RegistryView view, Key* key) override {
    return open(prefix(view) + (root == RootKey::kClassesRoot ? "HKCR" : "HKLM") + "\\" + subkey,
                key);
  }
  bool openKey(Key parent, const char* subkey, RegistryView view, Key* key) override {
    const std::string& path = *reinterpret_cast<std::string*>(parent);
    if (path.rfind(prefix(view), 0) != 0 || (view == RegistryView::kDefault && isView64(path))) {
      return false;  // a chain opened in one view stays in it
    }
    return open(path + "\\" + subkey, key);
  }
  bool enumValue(Key key, unsigned index, char* name, unsigned nameSize, char* data,
                 unsigned* dataSize) override {
    const std::string& path = *reinterpret_cast<std::string*>(key);
    const auto& view = isView64(path) ? registry64 : registry;
    const auto it = view.find(isView64(path) ? path.substr(3) : path);
    if (it == view.end() || index >= it->second.size()) return false;
    const Value& v = it->second[index];
    if (v.name.size() + 1 > nameSize || v.data.size() + 1 > *dataSize) return false;
    std::memcpy(name, v.name.c_str(), v.name.size() + 1);
    std::memcpy(data, v.data.c_str(), v.data.size() + 1);
    *dataSize = static_cast<unsigned>(v.data.size() + 1);
    return true;
  }
  void closeKey(Key /*key*/) override { --openKeys; }
  unsigned environmentVariable(const char* name, char* buffer, unsigned size) override {
    const auto it = environment.find(name);
    if (it == environment.end()) return 0;
    if (it->second.size() + 1 > size) return static_cast<unsigned>(it->second.size() + 1);
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    return static_cast<unsigned>(it->second.size());
  }
  bool fileExists(const char* path) override {
    return existing.count(path) != 0 || files.count(path) != 0;
  }
  int lastError() override { return error; }
  void makeDirectory(const char* /*path*/) override {}
  File createFile(const char* path) override {
    if (failCreate) return nullptr;
    files[path].clear();
    handles_.push_back(path);
    return reinterpret_cast<File>(&handles_.back());
  }
  std::size_t writeFile(File file, const void* data, std::size_t size) override {
    const std::size_t n = failWrite ? size / 2 : size;
    files[*reinterpret_cast<std::string*>(file)].append(static_cast<const char*>(data), n);
    return n;
  }
  bool flushFile(File /*file*/) override { return !failFlush; }
  bool closeFile(File /*file*/) override { return !failClose; }
  bool removeFile(const char* path) override {
    return files.erase(path) + existing.erase(path) > 0;
  }
  bool replaceFile(const char* source, const char* target) override {
    if (failReplace || files.count(source) == 0) return false;
    files[target] = files[source];
    files.erase(source);
    return true;
  }
  void setLineText(Line line, const char* text) override { lines[static_cast<int>(line)] = text; }
  void showErrorBox(const char* text, const char* caption) override {
    boxText = text;
    boxCaption = caption;
  }
  void exitProcess(int code) override { throw Exit{code}; }
  void fatalAppExit(const char* text) override { throw AppExit{text}; }

  std::string line(Line l) const { return lines[static_cast<int>(l)]; }

 private:
  std::deque<std::string> handles_;  // keys and files, stable addresses

  static std::string prefix(RegistryView view) { return view == RegistryView::k64Bit ? "64:" : ""; }
  static bool isView64(const std::string& path) { return path.rfind("64:", 0) == 0; }

  bool open(const std::string& key, Key* handle) {
    opened.push_back(key);
    const std::string path = isView64(key) ? key.substr(3) : key;
    // A key exists when it or a key below it holds values.
    for (const auto& entry : isView64(key) ? registry64 : registry) {
      if (entry.first == path || entry.first.rfind(path + "\\", 0) == 0) {
        handles_.push_back(key);
        *handle = reinterpret_cast<Key>(&handles_.back());
        ++openKeys;
        return true;
      }
    }
    return false;
  }
};

constexpr const char* kAppPaths =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe";

// A 64-bit Windows 7 with a 64-bit Excel 2013.
void standardHost(ScriptedPlatform& p) {
  p.binaryTypes["C:\\Windows\\notepad.exe"] = kScs64BitBinary;
  p.registry["HKCR\\Excel.Application\\CurVer"] = {{"", "Excel.Application.15"}};
  p.registry[kAppPaths] = {{"", "C:\\Office\\EXCEL.EXE"}, {"Path", "C:\\Office\\"}};
  p.existing.insert("C:\\Office\\EXCEL.EXE");
  p.binaryTypes["C:\\Office\\EXCEL.EXE"] = kScs64BitBinary;
  p.environment["USERPROFILE"] = "C:\\Users\\ann";
}

Host newHost() {
  Host h;
  std::strcpy(h.addinName32, "Vapordex32.xll");
  std::strcpy(h.addinName64, "Vapordex64.xll");
  return h;
}

// Runs the probe; returns the fatal code (0 when the probe completed).
int probe(ScriptedPlatform& p, Host& h) {
  try {
    runProbe(p, h);
  } catch (const Exit& e) {
    EXPECT_EQ(e.code, 1);
    return std::atoi(p.boxCaption.c_str() + std::strlen("Fatal Error Code "));
  }
  return 0;
}

TEST(InstallerProbe, StandardHost) {
  ScriptedPlatform p;
  standardHost(p);
  Host h = newHost();
  ASSERT_EQ(probe(p, h), 0) << p.boxText;
  EXPECT_EQ(p.line(Line::kOperatingSystem), "Operating System: Windows-7");
  EXPECT_EQ(p.line(Line::kArchitecture), "Architecture: 64-bit");
  EXPECT_EQ(p.line(Line::kOfficeVersion), "Microsoft Office Version: 2013");
  EXPECT_EQ(p.line(Line::kOfficePath), "Microsoft Office Path: C:\\Office\\");
  EXPECT_EQ(p.line(Line::kOfficeBitness), "Microsoft Office Bitness: 64-bit");
  EXPECT_EQ(p.line(Line::kAddinName), "Add-In: Vapordex64.xll");
  EXPECT_EQ(p.line(Line::kAddinPath),
            "Add-In Path: C:\\Users\\ann\\AppData\\Roaming\\Microsoft\\AddIns\\");
  EXPECT_EQ(h.windowsBits, 64);
  EXPECT_EQ(h.excelBits, 64);
  EXPECT_EQ(p.openKeys, 0);  // every key closed
}

struct FatalCase {
  const char* what;
  std::function<void(ScriptedPlatform&)> script;
  int code;
  const char* message;
};

// Excel's App Paths key gone, only a sibling left at some level of its path.
std::function<void(ScriptedPlatform&)> onlySibling(const char* key) {
  return [key](ScriptedPlatform& p) {
    p.registry.erase(kAppPaths);
    p.registry[key] = {{"", ""}};
  };
}

const FatalCase kFatalCases[] = {
    {"version call fails", [](ScriptedPlatform& p) { p.versionOk = false; }, 184,
     "can't get windows version\nWin Err Code 5: access denied"},
    {"Windows 10.0", [](ScriptedPlatform& p) { p.major = 10, p.minor = 0; }, 200,
     "unsupported windows version"},
    {"Windows 5.2", [](ScriptedPlatform& p) { p.major = 5, p.minor = 2; }, 200,
     "unsupported windows version"},
    {"notepad unreadable",
     [](ScriptedPlatform& p) { p.binaryTypes.erase("C:\\Windows\\notepad.exe"); }, 207,
     "can't get architecture\nWin Err Code 5: access denied"},
    {"notepad 16-bit", [](ScriptedPlatform& p) { p.binaryTypes["C:\\Windows\\notepad.exe"] = 5; },
     219, "unsupported architecture"},
    {"no Excel.Application",
     [](ScriptedPlatform& p) { p.registry.erase("HKCR\\Excel.Application\\CurVer"); }, 228,
     "Excel has not been properly registered"},
    {"no CurVer",
     [](ScriptedPlatform& p) {
       p.registry.erase("HKCR\\Excel.Application\\CurVer");
       p.registry["HKCR\\Excel.Application\\CLSID"] = {{"", "x"}};
     },
     230, "Excel has not been properly registered"},
    {"no Excel.Application. value",
     [](ScriptedPlatform& p) {
       p.registry["HKCR\\Excel.Application\\CurVer"] = {{"", "Word.Application.15"}, {"a", "15"}};
     },
     236, "Excel has not been properly registered"},
    {"Office 17",
     [](ScriptedPlatform& p) {
       p.registry["HKCR\\Excel.Application\\CurVer"] = {{"", "Excel.Application.17"}};
     },
     293, "no supported Microsoft Office version found"},
    {"Office 13",
     [](ScriptedPlatform& p) {
       p.registry["HKCR\\Excel.Application\\CurVer"] = {{"", "Excel.Application.13"}};
     },
     293, "no supported Microsoft Office version found"},
    {"no SOFTWARE", [](ScriptedPlatform& p) { p.registry.erase(kAppPaths); }, 302,
     "Excel has not been properly registered"},
    {"no Microsoft", onlySibling("HKLM\\SOFTWARE\\Other"), 304,
     "Excel has not been properly registered"},
    {"no Windows", onlySibling("HKLM\\SOFTWARE\\Microsoft\\Office"), 306,
     "Excel has not been properly registered"},
    {"no CurrentVersion", onlySibling("HKLM\\SOFTWARE\\Microsoft\\Windows\\Shell"), 308,
     "Excel has not been properly registered"},
    {"no App Paths", onlySibling("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"), 310,
     "Excel has not been properly registered"},
    {"no excel.exe",
     [](ScriptedPlatform& p) {
       p.registry.erase(kAppPaths);
       p.registry["HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\word.exe"] = {
           {"Path", "C:\\Office\\"}};
     },
     312, "Excel has not been properly registered"},
    {"no Path value",
     [](ScriptedPlatform& p) {
       p.registry[kAppPaths] = {{"", "C:\\Office\\EXCEL.EXE"}};
     },
     318, "Excel has not been properly registered"},
    {"Path longer than the buffer",
     [](ScriptedPlatform& p) {
       p.registry[kAppPaths] = {{"Path", std::string(300, 'x')}};
     },
     318, "Excel has not been properly registered"},
    {"empty Path",
     [](ScriptedPlatform& p) {
       p.registry[kAppPaths] = {{"Path", ""}};
     },
     335, "can't get Microsoft Office path"},
    {"EXCEL.EXE missing", [](ScriptedPlatform& p) { p.existing.erase("C:\\Office\\EXCEL.EXE"); },
     353, "did not find EXCEL.EXE where expected\nC:\\Office\\EXCEL.EXE"},
    {"EXCEL.EXE unreadable",
     [](ScriptedPlatform& p) { p.binaryTypes.erase("C:\\Office\\EXCEL.EXE"); }, 355,
     "can't get EXCEL.EXE bitness\nWin Err Code 5: access denied"},
    {"EXCEL.EXE odd type", [](ScriptedPlatform& p) { p.binaryTypes["C:\\Office\\EXCEL.EXE"] = 2; },
     368, "unsupported EXCEL.EXE bitness"},
    {"no USERPROFILE", [](ScriptedPlatform& p) { p.environment.clear(); }, 394,
     "can't get user profile\nWin Err Code 5: access denied"},
    {"profile on D:", [](ScriptedPlatform& p) { p.environment["USERPROFILE"] = "D:\\Users\\ann"; },
     402, "unexpected user profile\nD:\\Users\\ann\\"},
    {"profile of 260 characters",
     [](ScriptedPlatform& p) {
       p.environment["USERPROFILE"] = "C:\\Users\\" + std::string(251, 'a');
     },
     396, "user profile path too long"},
};

TEST(InstallerProbe, EveryFatalCode) {
  for (const FatalCase& c : kFatalCases) {
    ScriptedPlatform p;
    standardHost(p);
    c.script(p);
    Host h = newHost();
    EXPECT_EQ(probe(p, h), c.code) << c.what;
    EXPECT_EQ(p.boxText, c.message) << c.what;
    EXPECT_EQ(p.boxCaption, "Fatal Error Code " + std::to_string(c.code)) << c.what;
  }
}

TEST(InstallerProbe, VersionTable) {
  struct V {
    unsigned major, minor;
    const char* text;
  };
  for (const V& v : {V{5, 0, "Windows-2K"}, V{5, 1, "Windows-XP"}, V{6, 0, "Windows-Vista"},
                     V{6, 2, "Windows-8"}, V{6, 3, "Windows-9"}, V{6, 4, "Windows-10"}}) {
    ScriptedPlatform p;
    standardHost(p);
    p.major = v.major;
    p.minor = v.minor;
    Host h = newHost();
    ASSERT_EQ(probe(p, h), 0);
    EXPECT_EQ(p.line(Line::kOperatingSystem), std::string("Operating System: ") + v.text);
  }
}

TEST(InstallerProbe, RegistryValuesInAnyOrderAndCase) {
  ScriptedPlatform p;
  standardHost(p);
  p.registry["HKCR\\Excel.Application\\CurVer"] = {{"a", "Word.Application.9"},
                                                   {"", "excel.application.14"}};
  p.registry[kAppPaths] = {{"", "C:\\Office\\EXCEL.EXE"}, {"UseURL", "1"}, {"PATH", "C:\\Office"}};
  Host h = newHost();
  ASSERT_EQ(probe(p, h), 0) << p.boxText;
  EXPECT_EQ(p.line(Line::kOfficeVersion), "Microsoft Office Version: 2010");
  // No trailing backslash: the same executable path.
  EXPECT_EQ(p.line(Line::kOfficePath), "Microsoft Office Path: C:\\Office");
  EXPECT_EQ(h.excelBits, 64);
}

TEST(InstallerProbe, ThirtyTwoBitWindowsTrustsExcel) {
  ScriptedPlatform p;
  standardHost(p);
  p.binaryTypes["C:\\Windows\\notepad.exe"] = kScs32BitBinary;
  p.registry[kAppPaths] = {{"Path", "C:\\Nowhere\\"}};  // never looked at
  Host h = newHost();
  ASSERT_EQ(probe(p, h), 0) << p.boxText;
  EXPECT_EQ(h.excelBits, 32);
  EXPECT_EQ(p.line(Line::kOfficeBitness), "Microsoft Office Bitness: 32-bit");
  EXPECT_EQ(p.line(Line::kAddinName), "Add-In: Vapordex32.xll");
}

TEST(InstallerProbe, ProfileRoots) {
  struct Case {
    const char* profile;
    const char* folder;
  };
  for (const Case& c :
       {Case{"C:\\Users\\ann", "C:\\Users\\ann\\AppData\\Roaming\\Microsoft\\AddIns\\"},
        Case{"c:\\users\\ann\\", "c:\\users\\ann\\AppData\\Roaming\\Microsoft\\AddIns\\"},
        Case{"c:\\documents and settings\\ann\\",
             "c:\\documents and settings\\ann\\Application Data\\Microsoft\\AddIns\\"}}) {
    ScriptedPlatform p;
    standardHost(p);
    p.environment["USERPROFILE"] = c.profile;
    Host h = newHost();
    ASSERT_EQ(probe(p, h), 0) << c.profile;
    EXPECT_STREQ(h.addinFolder, c.folder);
  }
}

// A profile folder of the longest length Windows allows still yields a
// complete add-in path, and the install writes there.
// Excel 2016 to Microsoft 365 register 16.
TEST(InstallerProbe, Office16IsTodaysOffice) {
  ScriptedPlatform p;
  standardHost(p);
  p.registry["HKCR\\Excel.Application\\CurVer"] = {{"", "Excel.Application.16"}};
  Host h = newHost();
  ASSERT_EQ(probe(p, h), 0) << p.boxText;
  EXPECT_EQ(p.line(Line::kOfficeVersion), "Microsoft Office Version: 2016 or later");
  EXPECT_TRUE(h.complete);
}

// The App Paths entry of 64-bit Office may be only in the 64-bit view, which
// the 32-bit installer reaches only with the view flag: the chain is opened
// again in that view where the first attempt fails at excel.exe on 64-bit
// Windows, and only there.
TEST(InstallerProbe, AppPathsInEitherRegistryView) {
  struct Case {
    const char* what;
    bool inDefault, in64;
    int windowsBits;
    int code;  // 0: found
    const char* folder;
  };
  const Case cases[] = {
      {"only in the 64-bit view", false, true, 64, 0, "C:\\Office64\\"},
      {"only in the 32-bit view", true, false, 64, 0, "C:\\Office32\\"},
      {"in both: the first wins", true, true, 64, 0, "C:\\Office32\\"},
      {"in neither", false, false, 64, 312, nullptr},
      {"32-bit Windows reads no other view", false, true, 32, 312, nullptr},
  };
  for (const Case& c : cases) {
    ScriptedPlatform p;
    standardHost(p);
    p.registry.erase(kAppPaths);
    // The views share the keys above excel.exe.
    p.registry["HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\word.exe"] = {
        {"Path", "C:\\Word\\"}};
    p.registry64 = p.registry;
    if (c.inDefault) p.registry[kAppPaths] = {{"Path", "C:\\Office32\\"}};
    if (c.in64) p.registry64[kAppPaths] = {{"Path", "C:\\Office64\\"}};
    if (c.windowsBits == 32) p.binaryTypes["C:\\Windows\\notepad.exe"] = kScs32BitBinary;
    for (const char* exe : {"C:\\Office32\\EXCEL.EXE", "C:\\Office64\\EXCEL.EXE"}) {
      p.existing.insert(exe);
      p.binaryTypes[exe] = kScs64BitBinary;
    }
    Host h = newHost();
    EXPECT_EQ(probe(p, h), c.code) << c.what;
    if (c.code == 0) {
      EXPECT_EQ(std::string(h.excelFolder), c.folder) << c.what;
    } else {
      EXPECT_EQ(p.boxText, "Excel has not been properly registered") << c.what;
    }
    EXPECT_EQ(p.openKeys, 0) << c.what;  // every key closed
    const bool retried =
        std::find(p.opened.begin(), p.opened.end(), "64:HKLM\\SOFTWARE") != p.opened.end();
    EXPECT_EQ(retried, c.windowsBits == 64 && !c.inDefault) << c.what;
  }
}

// A failure further up the chain than excel.exe keeps its own code; the
// 64-bit view is not tried.
TEST(InstallerProbe, OnlyAMissingExcelEntryTriesThe64BitView) {
  ScriptedPlatform p;
  standardHost(p);
  p.registry64 = p.registry;
  p.registry.erase(kAppPaths);
  p.registry["HKLM\\SOFTWARE\\Other"] = {{"", ""}};
  Host h = newHost();
  EXPECT_EQ(probe(p, h), 304);
  EXPECT_EQ(std::find(p.opened.begin(), p.opened.end(), "64:HKLM\\SOFTWARE"), p.opened.end());
}

// Without a complete probe the install action writes nothing: no path is
// built from a missing add-in name or folder.
TEST(InstallerInstall, RefusesWithoutACompleteProbe) {
  ScriptedPlatform p;
  standardHost(p);
  p.registry["HKCR\\Excel.Application\\CurVer"] = {{"", "Excel.Application.13"}};
  Host h = newHost();
  EXPECT_EQ(probe(p, h), 293);
  EXPECT_FALSE(h.complete);
  EXPECT_FALSE(installAddin(p, h, "abc", 3));
  EXPECT_TRUE(p.files.empty());
  EXPECT_EQ(p.line(Line::kStatus), "");
  // A path asked for all the same is fatal, never "(null)".
  try {
    isInstalled(p, h);
    ADD_FAILURE() << "no fatal error";
  } catch (const Exit& e) {
    EXPECT_EQ(e.code, 1);
  }
  EXPECT_EQ(p.boxCaption, "Fatal Error Code 438");
  EXPECT_TRUE(p.files.empty());
}

TEST(InstallerInstall, LongestProfileFolder) {
  ScriptedPlatform p;
  standardHost(p);
  const std::string profile = "C:\\Documents and Settings\\" + std::string(259 - 26, 'p');
  ASSERT_EQ(profile.size(), 259u);
  p.environment["USERPROFILE"] = profile;
  Host h = newHost();
  ASSERT_EQ(probe(p, h), 0) << p.boxText;
  const std::string path = profile + "\\Application Data\\Microsoft\\AddIns\\Vapordex64.xll";
  EXPECT_FALSE(isInstalled(p, h));
  EXPECT_TRUE(installAddin(p, h, "abc", 3));
  EXPECT_EQ(p.files.at(path), "abc");
  EXPECT_TRUE(isInstalled(p, h));
}

TEST(InstallerInstall, ReplacesTheOldFileInOneStep) {
  ScriptedPlatform p;
  standardHost(p);
  Host h = newHost();
  ASSERT_EQ(probe(p, h), 0);
  const std::string path = std::string(h.addinFolder) + "Vapordex64.xll";
  p.files[path] = "old add-in";
  EXPECT_TRUE(isInstalled(p, h));
  const std::string data("new\0add-in", 10);
  installAddin(p, h, data.data(), data.size());
  EXPECT_EQ(p.files.at(path), data);
  EXPECT_EQ(p.files.size(), 1u);  // no temporary file left
}

TEST(InstallerInstall, FailuresLeaveTheOldFile) {
  struct Case {
    const char* what;
    void (*script)(ScriptedPlatform&);
    int code;
    const char* message;
  };
  const Case cases[] = {
      {"create", [](ScriptedPlatform& p) { p.failCreate = true; }, 445, "can't create Add-In file"},
      {"write", [](ScriptedPlatform& p) { p.failWrite = true; }, 447, "can't write Add-In file"},
      {"flush", [](ScriptedPlatform& p) { p.failFlush = true; }, 447, "can't write Add-In file"},
      {"close", [](ScriptedPlatform& p) { p.failClose = true; }, 447, "can't write Add-In file"},
      {"replace", [](ScriptedPlatform& p) { p.failReplace = true; }, 442,
       "can't remove old copy of Add-In"},
  };
  for (const Case& c : cases) {
    ScriptedPlatform p;
    standardHost(p);
    Host h = newHost();
    ASSERT_EQ(probe(p, h), 0);
    const std::string path = std::string(h.addinFolder) + "Vapordex64.xll";
    p.files[path] = "old add-in";
    c.script(p);
    try {
      installAddin(p, h, "new add-in bytes", 16);
      ADD_FAILURE() << c.what << ": no fatal error";
    } catch (const Exit& e) {
      EXPECT_EQ(e.code, 1);
    }
    EXPECT_EQ(p.boxCaption, "Fatal Error Code " + std::to_string(c.code)) << c.what;
    EXPECT_EQ(p.boxText, c.message) << c.what;
    EXPECT_EQ(p.files.at(path), "old add-in") << c.what;
    EXPECT_EQ(p.files.size(), 1u) << c.what;  // the temporary file is gone
  }
}

TEST(InstallerErrorTexts, Table) {
  for (const ErrorText& e : kErrorTexts) EXPECT_LE(std::strlen(e.text), 33u) << e.code;
  EXPECT_STREQ(errorText(0), "no error or error success");
  EXPECT_STREQ(errorText(5), "access denied");
  EXPECT_STREQ(errorText(183), "already exists");
  EXPECT_STREQ(errorText(197), "IOPL  not enabled");
  EXPECT_STREQ(errorText(-8), "LZ unknown alg");
  EXPECT_STREQ(errorText(1702), "RPC S invalid binding");
  EXPECT_STREQ(errorText(6118), kErrorTexts[kErrorTextCount - 1].text);
  EXPECT_STREQ(errorText(-9), "unknown error code -9");
  EXPECT_STREQ(errorText(35), "unknown error code 35");
  const char* shared = errorText(7000);
  EXPECT_STREQ(shared, "unknown error code 7000");
  EXPECT_EQ(errorText(-2147483647 - 1), shared);  // one buffer for every unknown code
  EXPECT_STREQ(shared, "unknown error code -2147483648");
}

TEST(InstallerFatal, MessageBounds) {
  ScriptedPlatform p;
  const std::string fits(1023, 'm');
  try {
    fatal(p, 402, "%s", fits.c_str());
  } catch (const Exit& e) {
    EXPECT_EQ(e.code, 1);
  }
  EXPECT_EQ(p.boxText, fits);
  EXPECT_EQ(p.boxCaption, "Fatal Error Code 402");
  const std::string tooLong(1024, 'm');
  try {
    fatal(p, 402, "%s", tooLong.c_str());
    ADD_FAILURE();
  } catch (const AppExit& e) {
    EXPECT_EQ(e.text, "Abort(): buffer overflow");
  }
}

}  // namespace
}  // namespace vapordex::installer
