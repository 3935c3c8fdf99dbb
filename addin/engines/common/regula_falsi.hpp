// Regula falsi with the Illinois modification, the root finder of the
// engines and the front end. IllinoisBracket is the method itself: the
// secant's zero between the bracket's ends (in whatever coordinate the
// caller interpolates: T, 1/T, ln v, ln P or P) and the replacement of one
// end by a new point, halving the other end's value when the same end is
// replaced twice running, so that the bracket closes from both sides. Its
// users differ in the coordinate, in which end a point replaces (by the
// sign of its value: the function may rise or fall) and in when they stop;
// regulaFalsi is the plain form.
#pragma once

#include <cmath>

namespace vapordex {

struct IllinoisBracket {
  double lo, hi;    // the ends, in the caller's coordinate
  double fLo, fHi;  // the function's values there, of opposite signs
  int side = 0;     // the end replaced last: -1 lo, 1 hi

  // The secant's zero between the ends at coordinates uLo and uHi (lo and hi
  // themselves, or another coordinate of the same points).
  double secant(double uLo, double uHi) const { return (uLo * fHi - uHi * fLo) / (fHi - fLo); }
  double secant() const { return secant(lo, hi); }

  // x with value fx replaces the low end (lowEnd) or the high end.
  void replace(bool lowEnd, double x, double fx) {
    if (lowEnd) {
      lo = x;
      fLo = fx;
      if (side == -1) fHi *= 0.5;
      side = -1;
    } else {
      hi = x;
      fHi = fx;
      if (side == 1) fLo *= 0.5;
      side = 1;
    }
  }
};

// The plain form on a bracketed root: f rises from f(lo) < 0 to f(hi) > 0
// across [lo, hi]. Every new point stays inside the bracket (a midpoint
// where the secant would leave it). Stops when the bracket is narrower than
// resolution * hi or after maxSteps; returns the point where f is 0, else
// the bracket's middle, or NaN when f is NaN inside the bracket.
template <class F>
double regulaFalsi(F f, double lo, double hi, double fLo, double fHi, int maxSteps,
                   double resolution) {
  IllinoisBracket b{lo, hi, fLo, fHi};
  for (int k = 0; k < maxSteps && b.hi - b.lo > resolution * b.hi; ++k) {
    double x = b.secant();
    if (!(x > b.lo && x < b.hi)) x = 0.5 * (b.lo + b.hi);
    const double fx = f(x);
    if (fx == 0.0) return x;
    if (std::isnan(fx)) return std::nan("");
    b.replace(fx < 0.0, x, fx);
  }
  return 0.5 * (b.lo + b.hi);
}

// Golden-section search for the least value of f on [a, b] (f unimodal
// there): maxSteps narrowings, or fewer once the interval is narrower than
// resolution * |b| (0: never); returns the last interval's middle.
template <class F>
double goldenSectionMinimum(F f, double a, double b, int maxSteps, double resolution) {
  constexpr double kGolden = 0.6180339887498949;
  double x1 = b - kGolden * (b - a);
  double x2 = a + kGolden * (b - a);
  double f1 = f(x1);
  double f2 = f(x2);
  for (int k = 0; k < maxSteps && std::fabs(b - a) > resolution * std::fabs(b); ++k) {
    if (f1 < f2) {
      b = x2;
      x2 = x1;
      f2 = f1;
      x1 = b - kGolden * (b - a);
      f1 = f(x1);
    } else {
      a = x1;
      x1 = x2;
      f1 = f2;
      x2 = a + kGolden * (b - a);
      f2 = f(x2);
    }
  }
  return 0.5 * (a + b);
}

}  // namespace vapordex
