// The safety net of the fast paths (docs/fast-paths.md). Built with
// VDX_CHECK_FAST_PATHS (the sanitizer preset sets it, and make test runs the
// whole suite so once), every kept value found, every skipped term and every
// halving decided without evaluation is computed again the plain way and
// compared bit for bit; a difference aborts with a line naming the fast
// path. A coefficient edit that breaks a fast path's bound then fails
// loudly instead of moving a result in its last digits. In other builds
// the checks compile to nothing.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "same_double.hpp"

namespace vapordex {

#ifdef VDX_CHECK_FAST_PATHS
inline constexpr bool kCheckFastPaths = true;
#else
inline constexpr bool kCheckFastPaths = false;
#endif

[[noreturn]] inline void fastPathBroken(const char* what, double fast, double plain) {
  std::fprintf(stderr, "fast path broken: %s gives %a, the plain computation %a\n", what, fast,
               plain);
  std::abort();
}

inline void checkFastPath(const char* what, double fast, double plain) {
  if (!sameDouble(fast, plain)) fastPathBroken(what, fast, plain);
}

inline void checkFastPath(const char* what, bool fast, bool plain) {
  if (fast != plain) fastPathBroken(what, fast ? 1.0 : 0.0, plain ? 1.0 : 0.0);
}

inline void checkFastPath(const char* what, const double* fast, const double* plain, int n) {
  for (int k = 0; k < n; ++k) checkFastPath(what, fast[k], plain[k]);
}

}  // namespace vapordex
