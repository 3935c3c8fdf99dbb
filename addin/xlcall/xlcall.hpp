// Our own declarations of the Excel 97-2003 C API: the XLOPER record, the
// constants we use and the two callbacks of Excel's callback library
// (XLCALL32.DLL). Values and layout follow Microsoft's published SDK header.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define VDX_EXCEL_API __stdcall  // WINAPI: how Excel calls every export
#define VDX_EXCEL_CDECL __cdecl
#else
#define VDX_EXCEL_API
#define VDX_EXCEL_CDECL
#endif

#if defined(_WIN32)
#define VDX_EXPORT
#else
#define VDX_EXPORT __attribute__((visibility("default")))
#endif

using XLWORD = std::uint16_t;
using XLBYTE = std::uint8_t;
using IDSHEET = std::uintptr_t;  // DWORD_PTR: pointer-sized unsigned

struct XLREF {
  XLWORD rwFirst;
  XLWORD rwLast;
  XLBYTE colFirst;
  XLBYTE colLast;
};

struct XLMREF {
  XLWORD count;
  XLREF reftbl[1];
};

struct xloper {
  union {
    double num;
    char* str;  // counted string: byte 0 is the length
    XLWORD xbool;
    XLWORD err;
    std::int16_t w;
    struct {
      XLWORD count;
      XLREF ref;
    } sref;
    struct {
      XLMREF* lpmref;
      IDSHEET idSheet;
    } mref;
    struct {
      xloper* lparray;
      XLWORD rows;
      XLWORD columns;
    } array;
    struct {
      union {
        std::int16_t level;
        std::int16_t tbctrl;
        IDSHEET idSheet;
      } valflow;
      XLWORD rw;
      XLBYTE col;
      XLBYTE xlflow;
    } flow;
    struct {
      union {
        XLBYTE* lpbData;
        void* hdata;
      } h;
      std::int32_t cbData;
    } bigdata;
  } val;
  XLWORD xltype;
};

using XLOPER = xloper;
using LPXLOPER = xloper*;

// A wrong layout would pass every test built with this header and fail only
// inside Excel, so pin it to the measured Windows layout. Native Linux builds
// use the same LP64 layout as Win64.
static_assert(sizeof(XLOPER) == (sizeof(void*) == 8 ? 24 : 16), "XLOPER size");
static_assert(offsetof(XLOPER, xltype) == (sizeof(void*) == 8 ? 16 : 8), "XLOPER xltype offset");
static_assert(offsetof(XLOPER, val) == 0, "XLOPER val offset");

// XLOPER types.
inline constexpr XLWORD xltypeNum = 0x0001;
inline constexpr XLWORD xltypeStr = 0x0002;
inline constexpr XLWORD xltypeBool = 0x0004;
inline constexpr XLWORD xltypeRef = 0x0008;
inline constexpr XLWORD xltypeErr = 0x0010;
inline constexpr XLWORD xltypeFlow = 0x0020;
inline constexpr XLWORD xltypeMulti = 0x0040;
inline constexpr XLWORD xltypeMissing = 0x0080;
inline constexpr XLWORD xltypeNil = 0x0100;
inline constexpr XLWORD xltypeSRef = 0x0400;
inline constexpr XLWORD xltypeInt = 0x0800;
inline constexpr XLWORD xlbitXLFree = 0x1000;
inline constexpr XLWORD xlbitDLLFree = 0x4000;

// Error codes.
inline constexpr XLWORD xlerrNull = 0;
inline constexpr XLWORD xlerrDiv0 = 7;
inline constexpr XLWORD xlerrValue = 15;
inline constexpr XLWORD xlerrRef = 23;
inline constexpr XLWORD xlerrName = 29;
inline constexpr XLWORD xlerrNum = 36;
inline constexpr XLWORD xlerrNA = 42;

// Return codes of Excel4 / Excel4v.
inline constexpr int xlretSuccess = 0;
inline constexpr int xlretAbort = 1;
inline constexpr int xlretInvXlfn = 2;
inline constexpr int xlretInvCount = 4;
inline constexpr int xlretInvXloper = 8;
inline constexpr int xlretStackOvfl = 16;
inline constexpr int xlretFailed = 32;

// Function numbers.
inline constexpr int xlCommand = 0x8000;
inline constexpr int xlSpecial = 0x4000;
inline constexpr int xlFree = 0 | xlSpecial;
inline constexpr int xlCoerce = 2 | xlSpecial;
inline constexpr int xlGetName = 9 | xlSpecial;
inline constexpr int xlfRegister = 149;
inline constexpr int xlfGetWorkspace = 186;
inline constexpr int xlcAlert = 118 | xlCommand;

extern "C" {
int VDX_EXCEL_CDECL Excel4(int xlfn, LPXLOPER operRes, int count, ...);
int VDX_EXCEL_API Excel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);
}
