// The numeric result record shared by every worksheet function, and the
// floating-point guard each of them holds while it computes.
#pragma once

#include <cfenv>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

#include "../xlcall/xlcall.hpp"

namespace vapordex {

// Stores x in the shared record and returns its address. A value that is not
// finite becomes the Excel error #NUM!: Excel has no NaN or infinity.
LPXLOPER storeResult(double x);

// Masks every floating-point exception (so bad input yields NaN or inf rather
// than a trap inside the host) and on destruction restores the host's
// floating-point environment exactly, which also drops the flags raised
// meanwhile. On x86 both units are handled directly: the x87 environment
// (control and status word) and the SSE control/status register. Not every
// C runtime's feholdexcept masks the SSE exceptions.
class FloatingPointGuard {
 public:
#if defined(__x86_64__) || defined(__i386__)
  FloatingPointGuard() {
    // fnstenv stores the environment and then masks every x87 exception.
    __asm__ __volatile__("fnstenv %0" : "=m"(x87_));
    mxcsr_ = _mm_getcsr();
    _mm_setcsr((mxcsr_ | kSseMasks) & ~kSseFlags);
  }
  ~FloatingPointGuard() {
    _mm_setcsr(mxcsr_);
    __asm__ __volatile__("fldenv %0" : : "m"(x87_));
  }
#else
  FloatingPointGuard() { feholdexcept(&saved_); }
  ~FloatingPointGuard() { fesetenv(&saved_); }
#endif
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

 private:
#if defined(__x86_64__) || defined(__i386__)
  static constexpr unsigned kSseMasks = 0x1F80u;
  static constexpr unsigned kSseFlags = 0x003Fu;
  struct {
    unsigned char bytes[28];
  } x87_;
  unsigned mxcsr_;
#else
  fenv_t saved_;
#endif
};

}  // namespace vapordex
