// Our own XLCALL32.DLL for the Excel stand-in: answers the callbacks an
// add-in makes as Excel would and checks every registration as strictly.
#include "standin.hpp"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "xlcall/xlcall.hpp"

namespace {

StandinLog gLog;

void problem(const std::string& text) { gLog.problems.push_back(text); }

// A counted string's text, checked: non-null, length byte equal to the
// characters before the terminating zero the add-in keeps after them.
std::string countedText(const XLOPER* x, const char* what) {
  if (x == nullptr || (x->xltype & 0x0FFF) != xltypeStr) {
    problem(std::string(what) + ": not a string");
    return "";
  }
  const char* s = x->val.str;
  if (s == nullptr) {
    problem(std::string(what) + ": null string");
    return "";
  }
  const auto length = static_cast<unsigned char>(s[0]);
  const std::size_t actual = strnlen(s + 1, 256);
  if (actual != length) {
    problem(std::string(what) + ": length byte " + std::to_string(length) + " but " +
            std::to_string(actual) + " characters");
  }
  return std::string(s + 1, length);
}

HMODULE callerModule(void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<LPCSTR>(address), &module);
  return module;
}

int registerFunction(int count, LPXLOPER* opers) {
  ++gLog.registerCalls;
  Registration r;
  r.count = count;
  if (count < 11 || count > 30) {
    problem("xlfRegister: argument count " + std::to_string(count));
    return xlretInvCount;
  }
  const std::string module = countedText(opers[0], "module text");
  if (module != gLog.moduleName)
    problem("module text '" + module + "' is not the xlGetName answer");
  for (int k = 1; k < count; ++k) {
    r.texts.push_back(countedText(opers[k], ("xlfRegister argument " + std::to_string(k)).c_str()));
  }
  const std::string& procedure = r.texts[0];
  std::string type = r.texts[1];
  const bool threadSafeExcel = std::atoi(gLog.excelVersion.c_str()) >= 12;
  const bool marked = !type.empty() && type.back() == '$';
  if (marked != threadSafeExcel) {
    problem(procedure + ": type text '" + type + "' under Excel " + gLog.excelVersion +
            (threadSafeExcel ? " lacks the thread-safe mark" : " carries a mark it does not know"));
  }
  if (marked) type.pop_back();
  if (type.size() != static_cast<std::size_t>(count - 10 + 1)) {
    problem(procedure + ": type text '" + type + "' for " + std::to_string(count) + " arguments");
  }
  for (char c : type) {
    if (std::strchr("ABCDEFGHIJKLMNOPQRU", c) == nullptr || c == '\0') {
      problem(procedure + ": invalid type letter in '" + type + "'");
    }
  }
  HMODULE addin = GetModuleHandleA(module.c_str());
  if (addin == nullptr || GetProcAddress(addin, procedure.c_str()) == nullptr) {
    problem(procedure + ": not exported by " + module);
  }
  gLog.registrations.push_back(r);
  if (gLog.registerCalls == gLog.failRegisterAt) return xlretFailed;
  return xlretSuccess;
}

int dispatch(int xlfn, LPXLOPER result, int count, LPXLOPER* opers, void* caller) {
  switch (xlfn) {
    case xlGetName: {
      char path[MAX_PATH];
      const DWORD n = GetModuleFileNameA(callerModule(caller), path, MAX_PATH);
      if (n == 0 || n > 255 || result == nullptr) return xlretFailed;
      char* s = static_cast<char*>(std::malloc(n + 2));
      s[0] = static_cast<char>(n);
      std::memcpy(s + 1, path, n + 1);
      gLog.moduleName.assign(path, n);
      result->val.str = s;
      result->xltype = xltypeStr;
      ++gLog.outstandingNames;
      return xlretSuccess;
    }
    case xlfGetWorkspace: {
      if (count != 1 || opers[0]->xltype != xltypeNum || opers[0]->val.num != 2.0 ||
          result == nullptr) {
        problem("xlfGetWorkspace: expected the one argument 2");
        return xlretFailed;
      }
      const std::size_t n = gLog.excelVersion.size();
      char* s = static_cast<char*>(std::malloc(n + 2));
      s[0] = static_cast<char>(n);
      std::memcpy(s + 1, gLog.excelVersion.c_str(), n + 1);
      result->val.str = s;
      result->xltype = xltypeStr;
      ++gLog.outstandingNames;
      return xlretSuccess;
    }
    case xlFree:
      for (int k = 0; k < count; ++k) {
        if (opers[k] != nullptr && opers[k]->xltype == xltypeStr) {
          std::free(opers[k]->val.str);
          opers[k]->val.str = nullptr;
          --gLog.outstandingNames;
        }
      }
      return xlretSuccess;
    case xlcAlert: {
      if (count != 2 || opers[1]->xltype != xltypeInt || opers[1]->val.w != 2) {
        problem("xlcAlert: expected a text and the alert type 2");
      }
      if (count >= 1) gLog.alerts.push_back(countedText(opers[0], "alert text"));
      return xlretSuccess;
    }
    case xlCoerce: {
      if (count != 2 || result == nullptr || opers[1]->xltype != xltypeInt ||
          opers[1]->val.w != static_cast<short>(xltypeInt)) {
        problem("xlCoerce: expected an argument and the type xltypeInt");
        return xlretFailed;
      }
      const XLOPER* x = opers[0];
      double value = 0.0;
      if (x->xltype == xltypeNum) {
        value = x->val.num;
      } else if (x->xltype == xltypeInt) {
        value = x->val.w;
      } else if (x->xltype == xltypeStr) {
        const std::string text(x->val.str + 1, static_cast<unsigned char>(x->val.str[0]));
        char* end = nullptr;
        value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') {
          result->val.err = xlerrValue;
          result->xltype = xltypeErr;
          return xlretFailed;
        }
      } else {
        result->val.err = xlerrValue;
        result->xltype = xltypeErr;
        return xlretFailed;
      }
      result->val.w = static_cast<short>(value);
      result->xltype = xltypeInt;
      return xlretSuccess;
    }
    case xlfRegister:
      if (result != nullptr) {
        result->val.num = gLog.registerCalls + 1;
        result->xltype = xltypeNum;
      }
      return registerFunction(count, opers);
    default:
      problem("unexpected function number " + std::to_string(xlfn));
      return xlretInvXlfn;
  }
}

}  // namespace

extern "C" __declspec(dllexport) StandinLog* xlhostLog() { return &gLog; }

extern "C" __declspec(dllexport) int __cdecl Excel4(int xlfn, LPXLOPER result, int count, ...) {
  LPXLOPER opers[30];
  if (count < 0 || count > 30) return xlretInvCount;
  va_list ap;
  va_start(ap, count);
  for (int k = 0; k < count; ++k) opers[k] = va_arg(ap, LPXLOPER);
  va_end(ap);
  return dispatch(xlfn, result, count, opers, __builtin_return_address(0));
}

extern "C" __declspec(dllexport) int __stdcall Excel4v(int xlfn, LPXLOPER result, int count,
                                                       LPXLOPER opers[]) {
  if (count < 0 || count > 30) return xlretInvCount;
  return dispatch(xlfn, result, count, opers, __builtin_return_address(0));
}

extern "C" __declspec(dllexport) int __stdcall XLCallVer(void) { return 0x0500; }
