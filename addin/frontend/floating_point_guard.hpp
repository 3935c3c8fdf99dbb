// The floating-point guard every worksheet function holds while it computes.
#pragma once

#include <cfenv>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace vapordex {

// While it lives, every floating-point exception is masked (so bad input
// yields NaN or inf rather than a trap inside the host) and arithmetic rounds
// to nearest with denormals kept (flush-to-zero and denormals-are-zero off),
// whatever the host or another add-in left set. On destruction the host's
// floating-point environment is restored exactly, which also drops the flags
// raised meanwhile.
//
// On Windows the x87 unit computes with 53-bit significands (double
// precision) while the guard lives: mingw-w64's exp, log and pow compute
// there, and their results must not depend on the precision the host or
// Wine left set (Wine starts threads at 64 bits, Windows at 53, some
// graphics libraries leave 24). Elsewhere the C library computes in SSE2
// and the precision is left as it is.
//
// On x86 both units are handled directly. The SSE control/status register is
// saved whole, rewritten on entry only where it differs from ours, and
// restored on exit. Of the x87 unit only the control and status words are
// read on entry; the control word is rewritten only when it differs from
// ours, and the whole x87 environment is rewritten on exit only when the
// status word shows that the computation changed more than its exception
// flags (rare: the engines compute in SSE registers, though a C runtime's exp
// or pow may raise x87 flags, which are cleared again when the caller had
// none). Not every C runtime's feholdexcept masks the SSE exceptions or
// resets the rounding mode.
class FloatingPointGuard {
 public:
#if defined(__x86_64__) || defined(__i386__)
  FloatingPointGuard() {
    __asm__ __volatile__("fnstcw %0" : "=m"(x87Control_) : : "memory");
    __asm__ __volatile__("fnstsw %0" : "=m"(x87Status_) : : "memory");
    const unsigned short ours = oursFor(x87Control_);
    if (ours != x87Control_) __asm__ __volatile__("fldcw %0" : : "m"(ours) : "memory");
    mxcsr_ = _mm_getcsr();
    // Writing MXCSR is slow; the flags need no clearing (they do not affect
    // results and the exit restores the caller's), so it is written only
    // when a mask, the rounding mode or a flush mode differs from ours.
    const unsigned sse =
        (mxcsr_ | kSseMasks) & ~(kSseFlags | kSseRounding | kSseFlushToZero | kSseDenormalsAreZero);
    if ((mxcsr_ & ~kSseFlags) != sse) _mm_setcsr(sse);
  }
  ~FloatingPointGuard() {
    // Writing MXCSR back costs less than reading it to see whether it changed.
    _mm_setcsr(mxcsr_);
    unsigned short status = 0;
    __asm__ __volatile__("fnstsw %0" : "=m"(status) : : "memory");
    if (status != x87Status_ && (x87Status_ & kX87ClearedByFnclex) == 0 &&
        ((status ^ x87Status_) & ~kX87ClearedByFnclex) == 0) {
      // Only exception flags were raised (as a C runtime's x87 exp or pow
      // raises them) on a status that had none: clearing them restores it,
      // far cheaper than reloading the environment.
      __asm__ __volatile__("fnclex" : : : "memory");
      if (oursFor(x87Control_) != x87Control_) {
        __asm__ __volatile__("fldcw %0" : : "m"(x87Control_) : "memory");
      }
    } else if (status != x87Status_) {
      // fnstenv stores the 28-byte environment: control word at byte 0,
      // status word at byte 4.
      X87Environment env;
      __asm__ __volatile__("fnstenv %0" : "=m"(env) : : "memory");
      env.control = x87Control_;
      env.status = x87Status_;
      __asm__ __volatile__("fldenv %0" : : "m"(env) : "memory");
    } else if (oursFor(x87Control_) != x87Control_) {
      __asm__ __volatile__("fldcw %0" : : "m"(x87Control_) : "memory");
    }
  }
#else
  FloatingPointGuard() {
    feholdexcept(&saved_);
    std::fesetround(FE_TONEAREST);
  }
  ~FloatingPointGuard() { fesetenv(&saved_); }
#endif
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

 private:
#if defined(__x86_64__) || defined(__i386__)
  static constexpr unsigned kSseMasks = 0x1F80u;
  static constexpr unsigned kSseFlags = 0x003Fu;
  static constexpr unsigned kSseRounding = 0x6000u;
  static constexpr unsigned kSseFlushToZero = 0x8000u;
  static constexpr unsigned kSseDenormalsAreZero = 0x0040u;
  static constexpr unsigned short kX87Masks = 0x003F;
  static constexpr unsigned short kX87Rounding = 0x0C00;
#if defined(_WIN32)
  static constexpr unsigned short kX87Precision = 0x0300;
  static constexpr unsigned short kX87Double = 0x0200;  // 53-bit significands
#else
  static constexpr unsigned short kX87Precision = 0;
  static constexpr unsigned short kX87Double = 0;
#endif
  // The control word the guard computes with: every exception masked,
  // round to nearest, double precision on Windows; the rest as the host set
  // it.
  static unsigned short oursFor(unsigned short host) {
    return static_cast<unsigned short>(((host | kX87Masks) & ~(kX87Rounding | kX87Precision)) |
                                       kX87Double);
  }
  // What fnclex clears: the exception flags, stack fault, error summary and
  // busy bits.
  static constexpr unsigned short kX87ClearedByFnclex = 0x80FF;
  struct X87Environment {
    unsigned short control;
    unsigned short unused0;
    unsigned short status;
    unsigned short unused1;
    unsigned char rest[20];
  };
  static_assert(sizeof(X87Environment) == 28);
  unsigned short x87Control_;
  unsigned short x87Status_;
  unsigned mxcsr_;
#else
  fenv_t saved_;
#endif
};

}  // namespace vapordex
