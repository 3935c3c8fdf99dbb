// The numeric result record shared by every worksheet function, and the
// floating-point guard each of them holds while it computes.
#pragma once

#include <cfenv>

#include "../xlcall/xlcall.hpp"

namespace vapordex {

// Stores x in the shared record and returns its address. A value that is not
// finite becomes the Excel error #NUM!: Excel has no NaN or infinity.
LPXLOPER storeResult(double x);

// Masks every floating-point exception (so bad input yields NaN or inf rather
// than a trap inside the host) and on destruction restores the host's
// floating-point environment, which also drops the flags raised meanwhile.
class FloatingPointGuard {
 public:
  FloatingPointGuard() { feholdexcept(&saved_); }
  ~FloatingPointGuard() { fesetenv(&saved_); }
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

 private:
  fenv_t saved_;
};

}  // namespace vapordex
