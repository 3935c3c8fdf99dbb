// Regula falsi with the Illinois modification on a bracketed root: f rises
// from f(lo) < 0 to f(hi) > 0 across [lo, hi]. Every new point stays inside
// the bracket (a midpoint where the secant would leave it), and the end that
// stays twice running has its value halved, so the bracket closes from both
// sides. Stops when the bracket is narrower than resolution * hi or after
// maxSteps; returns the point where f is 0, else the bracket's middle, or
// NaN when f is NaN inside the bracket.
#pragma once

#include <cmath>

namespace vapordex {

template <class F>
double regulaFalsi(F f, double lo, double hi, double fLo, double fHi, int maxSteps,
                   double resolution) {
  int side = 0;
  for (int k = 0; k < maxSteps && hi - lo > resolution * hi; ++k) {
    double x = (lo * fHi - hi * fLo) / (fHi - fLo);
    if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
    const double fx = f(x);
    if (fx == 0.0) return x;
    if (fx < 0.0) {
      lo = x;
      fLo = fx;
      if (side == -1) fHi *= 0.5;
      side = -1;
    } else if (fx > 0.0) {
      hi = x;
      fHi = fx;
      if (side == 1) fLo *= 0.5;
      side = 1;
    } else {
      return std::nan("");
    }
  }
  return 0.5 * (lo + hi);
}

}  // namespace vapordex
