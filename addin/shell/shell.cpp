#include "shell.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vapordex::shell {

namespace {

// The add-in title as a counted string (length byte 23 in front), also
// zero-terminated so that title + 1 is an ordinary string.
char gTitle[] = "\x17" VDX_ADDIN_TITLE;
static_assert(sizeof gTitle == 1 + 0x17 + 1, "length byte must match the title");

// Alert texts: the leading space becomes the length byte before each call.
char gCantBuild[] = " Error: can't build function params!";
char gFailedRegister[] = " Error: Failed to register the XLL!";

// The list of the add-in's own table, built once and kept while loaded.
char** gList = nullptr;

char* copyText(const char* text) {
  const std::size_t n = std::strlen(text);
  char* copy = static_cast<char*>(std::malloc(n + 1));
  if (copy != nullptr) std::memcpy(copy, text, n + 1);
  return copy;
}

// A counted string with a terminating zero after its characters. Texts
// longer than 255 characters cannot be counted and are refused.
char* countedCopy(const char* text) {
  const std::size_t n = std::strlen(text);
  if (n > 255) return nullptr;
  char* copy = static_cast<char*>(std::malloc(n + 2));
  if (copy == nullptr) return nullptr;
  copy[0] = static_cast<char>(n);
  std::memcpy(copy + 1, text, n + 1);
  return copy;
}

void alert(char* textWithLeadingSpace) {
  textWithLeadingSpace[0] = static_cast<char>(std::strlen(textWithLeadingSpace + 1));
  XLOPER text;
  text.val.str = textWithLeadingSpace;
  text.xltype = xltypeStr;
  XLOPER type;
  type.val.w = 2;  // information alert with an OK button
  type.xltype = xltypeInt;
  Excel4(xlcAlert, nullptr, 2, &text, &type);
}

void alertEvent(const char* event) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, " %s %s!\nbuilt on %s at %s", gTitle + 1, event, __DATE__,
                __TIME__);
  alert(buffer);
}

// Entries of one function in the list, up to its null entry.
int entryCount(char** entry) {
  int n = 0;
  while (entry[n] != nullptr) ++n;
  return n;
}

}  // namespace

void freeRegistrationList(char** list) {
  if (list == nullptr) return;
  // Each function's entries end with a null; a null where a function
  // should start ends the list.
  char** entry = list;
  while (*entry != nullptr) {
    while (*entry != nullptr) std::free(*entry++);
    ++entry;
  }
  std::free(list);
}

char** buildRegistrationList(std::span<const FunctionInfo> functions, bool threadSafe) {
  std::size_t total = 0;
  for (const FunctionInfo& fn : functions) total += fn.arguments.size() + 5;
  char** list = static_cast<char**>(std::calloc(total + 1, sizeof(char*)));
  if (list == nullptr) return nullptr;
  std::size_t at = 0;
  bool ok = true;
  for (const FunctionInfo& fn : functions) {
    const auto nArgs = static_cast<int>(fn.arguments.size());
    if (nArgs > kMaxArguments) {
      ok = false;
      break;
    }
    char typeText[kMaxArguments + 3];
    char argumentText[kArgumentTextCapacity + 1];
    std::size_t typeLength = 0;
    std::size_t argumentLength = 0;
    typeText[typeLength++] = 'R';  // the result record
    for (int k = 1; k <= nArgs; ++k) {
      const ArgumentInfo& argument = fn.arguments[static_cast<std::size_t>(k - 1)];
      typeText[typeLength++] = argument.type;
      const std::size_t nameLength = std::strlen(argument.name);
      const std::size_t needed = argumentLength + (k > 1 ? 1 : 0) + nameLength;
      if (needed > kArgumentTextCapacity) {
        ok = false;
        break;
      }
      if (k > 1) argumentText[argumentLength++] = ',';
      std::memcpy(argumentText + argumentLength, argument.name, nameLength);
      argumentLength += nameLength;
    }
    if (!ok) break;
    if (threadSafe) typeText[typeLength++] = '$';
    typeText[typeLength] = '\0';
    argumentText[argumentLength] = '\0';
    const char* texts[4] = {fn.name, typeText, argumentText, fn.help};
    for (const char* t : texts) {
      if ((list[at++] = copyText(t)) == nullptr) ok = false;
    }
    for (const ArgumentInfo& argument : fn.arguments) {
      if ((list[at++] = copyText(argument.help)) == nullptr) ok = false;
    }
    if (!ok) break;
    ++at;  // the function's null entry
  }
  if (!ok) {
    // Free what was copied: every non-null entry up to the failure point.
    for (std::size_t k = 0; k < total; ++k) std::free(list[k]);
    std::free(list);
    return nullptr;
  }
  return list;
}

namespace {

// Registers every function of a built list with Excel; the caller keeps the
// list.
int registerList(char** list) {
  int largest = 0;
  for (char** fn = list; *fn != nullptr; fn += entryCount(fn) + 1) {
    if (entryCount(fn) > largest) largest = entryCount(fn);
  }
  // Per function: module, the name twice, the type and argument texts,
  // macro type, category, shortcut, help topic, function help, argument
  // helps. k + 5 strings are built for a function with k list entries.
  const std::size_t nStrings = static_cast<std::size_t>(largest) + 5;
  XLOPER* strings = static_cast<XLOPER*>(std::calloc(nStrings, sizeof(XLOPER)));
  // An array of pointers to the strings, the module name in front.
  auto* args = static_cast<LPXLOPER*>(
      std::calloc(nStrings + 1, sizeof(XLOPER*)));  // NOLINT(bugprone-sizeof-expression)

  int result = 0;
  XLOPER module;
  module.xltype = xltypeNil;
  const bool named = strings != nullptr && args != nullptr &&
                     Excel4(xlGetName, &module, 0) == xlretSuccess && module.xltype == xltypeStr;
  if (named) {
    result = 1;
    for (char** fn = list; *fn != nullptr; fn += entryCount(fn) + 1) {
      const int entries = entryCount(fn);
      const int nArgs = entries - 4;
      const char* texts[kMaxArguments + 10];
      int n = 0;
      texts[n++] = fn[0];  // procedure
      texts[n++] = fn[1];  // type text
      texts[n++] = fn[0];  // function text
      texts[n++] = fn[2];  // argument text
      texts[n++] = "1";    // macro type: worksheet function
      texts[n++] = gTitle + 1;
      texts[n++] = "";  // shortcut
      texts[n++] = "";  // help topic
      for (int k = 3; k < entries; ++k) texts[n++] = fn[k];
      args[0] = &module;
      bool built = true;
      for (int k = 0; k < n; ++k) {
        strings[k].val.str = countedCopy(texts[k]);
        strings[k].xltype = xltypeStr;
        if (strings[k].val.str == nullptr) built = false;
        args[k + 1] = &strings[k];
      }
      XLOPER id;
      id.xltype = xltypeNil;
      const int ret = built ? Excel4v(xlfRegister, &id, 10 + nArgs, args) : xlretFailed;
      for (int k = 0; k < n; ++k) std::free(strings[k].val.str);
      if (ret != xlretSuccess) {
        alert(gFailedRegister);
        result = 0;
        break;
      }
    }
  } else {
    alert(gFailedRegister);
  }
  if (module.xltype == xltypeStr) Excel4(xlFree, nullptr, 1, &module);
  std::free(strings);
  std::free(args);
  return result;
}

}  // namespace

int registerFunctions(std::span<const FunctionInfo> functions) {
  char** list = buildRegistrationList(functions);
  if (list == nullptr) {
    alert(gCantBuild);
    return 0;
  }
  const int result = registerList(list);
  freeRegistrationList(list);
  return result;
}

int excelMajorVersion() {
  XLOPER which;
  which.val.num = 2;  // GET.WORKSPACE(2): the version number, as text
  which.xltype = xltypeNum;
  XLOPER version;
  version.xltype = xltypeNil;
  if (Excel4(xlfGetWorkspace, &version, 1, &which) != xlretSuccess) return 0;
  int major = 0;
  if (version.xltype == xltypeStr && version.val.str != nullptr) {
    const auto length = static_cast<unsigned char>(version.val.str[0]);
    for (int k = 1; k <= length && major < 1000; ++k) {
      const char c = version.val.str[k];
      if (c < '0' || c > '9') break;
      major = major * 10 + (c - '0');
    }
    Excel4(xlFree, nullptr, 1, &version);
  }
  return major;
}

// The add-in's own list stays allocated while the add-in is loaded: it
// belongs to xlAutoOpen, which frees the one of an earlier opening, and
// xlAutoClose frees it.
//
// From Excel 2007 on every worksheet function is registered thread-safe
// (type text ending in '$'): Excel may then call them on all its
// calculation threads at once. What makes them so: each returns its number
// in a result record of its own thread; every value the engines keep
// between calls is kept per thread; everything else they read is constant
// data; and they call nothing of Excel's. A global written on the call path
// would break this: keep any new state per thread.
int openAddin() {
  const bool threadSafe = excelMajorVersion() >= kThreadSafeFromVersion;
  char** list = buildRegistrationList(catalogue(), threadSafe);
  if (list == nullptr) {
    alert(gCantBuild);
    return 0;
  }
  freeRegistrationList(gList);
  gList = list;
  return registerList(list);
}

void closeAddin() {
  freeRegistrationList(gList);
  gList = nullptr;
}

}  // namespace vapordex::shell

using namespace vapordex::shell;

VDX_ENTRY int VDX_EXCEL_API xlAutoOpen(void) { return openAddin(); }

VDX_ENTRY int VDX_EXCEL_API xlAutoClose(void) {
  closeAddin();
  return 1;
}

// Excel calls the xlAuto functions on its main thread only: their reply
// records may be shared.
VDX_ENTRY LPXLOPER VDX_EXCEL_API xlAutoRegister(LPXLOPER /*name*/) {
  static XLOPER reply;
  reply.val.err = xlerrValue;
  reply.xltype = xltypeErr;
  return &reply;
}

VDX_ENTRY int VDX_EXCEL_API xlAutoAdd(void) {
  alertEvent("Loaded");
  return 1;
}

VDX_ENTRY int VDX_EXCEL_API xlAutoRemove(void) {
  alertEvent("Removed");
  return 1;
}

VDX_ENTRY LPXLOPER VDX_EXCEL_API xlAddInManagerInfo(LPXLOPER action) {
  static XLOPER reply;
  static XLOPER coerced;
  XLOPER destination;
  destination.val.w = static_cast<std::int16_t>(xltypeInt);
  destination.xltype = xltypeInt;
  coerced.xltype = xltypeNil;
  const int ret = Excel4(xlCoerce, &coerced, 2, action, &destination);
  if (ret == xlretSuccess && coerced.xltype == xltypeInt && coerced.val.w == 1) {
    reply.val.str = gTitle;
    reply.xltype = xltypeStr;
  } else {
    reply.val.err = xlerrValue;
    reply.xltype = xltypeErr;
  }
  return &reply;
}
