// The cubic spline of Forsythe, Malcolm and Moler: on [x_i, x_(i+1)] the
// value is q_i + b_i D + c_i D^2 + d_i D^3 with D = x - x_i; the end
// conditions match the third derivative of the cubic through the four end
// nodes. Everything is constexpr so that the spline set of the bridging
// cubic is built at compile time.
#pragma once

namespace vapordex::fit2020 {

inline constexpr int kMaxSplineNodes = 100;

struct Spline {
  int n = 0;  // 0: no spline
  double x[kMaxSplineNodes] = {};
  double q[kMaxSplineNodes] = {};
  double b[kMaxSplineNodes] = {};
  double c[kMaxSplineNodes] = {};
  double d[kMaxSplineNodes] = {};
};

// Builds the spline through (x_i, q_i); refuses (n = 0) fewer than two nodes,
// more than the capacity, or abscissae that are not strictly increasing.
constexpr Spline buildSpline(const double* x, const double* q, int n) {
  Spline s;
  if (n < 2 || n > kMaxSplineNodes) return s;
  for (int i = 0; i + 1 < n; ++i) {
    if (!(x[i + 1] > x[i])) return s;
  }
  s.n = n;
  for (int i = 0; i < n; ++i) {
    s.x[i] = x[i];
    s.q[i] = q[i];
  }
  if (n == 2) {
    s.b[0] = s.b[1] = (q[1] - q[0]) / (x[1] - x[0]);
    return s;
  }
  double h[kMaxSplineNodes] = {};
  double diag[kMaxSplineNodes] = {};
  double r[kMaxSplineNodes] = {};
  double sigma[kMaxSplineNodes] = {};
  for (int i = 0; i + 1 < n; ++i) h[i] = x[i + 1] - x[i];
  for (int i = 1; i + 1 < n; ++i) {
    diag[i] = 2.0 * (h[i - 1] + h[i]);
    r[i] = (q[i + 1] - q[i]) / h[i] - (q[i] - q[i - 1]) / h[i - 1];
  }
  diag[0] = -h[0];
  diag[n - 1] = -h[n - 2];
  r[0] = 0.0;
  r[n - 1] = 0.0;
  if (n > 3) {
    r[0] = (r[2] / (x[3] - x[1]) - r[1] / (x[2] - x[0])) * h[0] * h[0] / (x[3] - x[0]);
    r[n - 1] = -(r[n - 2] / (x[n - 1] - x[n - 3]) - r[n - 3] / (x[n - 2] - x[n - 4])) * h[n - 2] *
               h[n - 2] / (x[n - 1] - x[n - 4]);
  }
  for (int i = 1; i < n; ++i) {
    const double t = h[i - 1] / diag[i - 1];
    diag[i] -= t * h[i - 1];
    r[i] -= t * r[i - 1];
  }
  sigma[n - 1] = r[n - 1] / diag[n - 1];
  for (int i = n - 2; i >= 0; --i) sigma[i] = (r[i] - h[i] * sigma[i + 1]) / diag[i];
  for (int i = 0; i + 1 < n; ++i) {
    s.b[i] = (q[i + 1] - q[i]) / h[i] - h[i] * (sigma[i + 1] + 2.0 * sigma[i]);
    s.d[i] = (sigma[i + 1] - sigma[i]) / h[i];
    s.c[i] = 3.0 * sigma[i];
  }
  s.b[n - 1] = (q[n - 1] - q[n - 2]) / h[n - 2] + h[n - 2] * (sigma[n - 2] + 2.0 * sigma[n - 1]);
  s.c[n - 1] = 3.0 * sigma[n - 1];
  s.d[n - 1] = s.d[n - 2];
  return s;
}

// The interval of x: 0 at or below the first node, the last node (its own
// coefficients extrapolate) at or above the last, otherwise a bisection that
// stops at the first midpoint m with x_m <= x <= x_(m+1).
constexpr int splineInterval(const Spline& s, double x) {
  if (x <= s.x[0]) return 0;
  if (x >= s.x[s.n - 1]) return s.n - 1;
  int lo = 0;
  int hi = s.n - 1;
  int m = 0;
  for (int k = 0; k < 32; ++k) {
    m = (lo + hi) / 2;
    if (s.x[m] <= x && x <= s.x[m + 1]) break;
    if (x < s.x[m] || m == s.n - 1) {
      hi = m;
    } else {
      lo = m;
    }
  }
  return m;
}

// Value (derivative 0) or derivative 1, 2 or 3 at x; 0 without a spline.
constexpr double splineEvaluate(const Spline& s, double x, int derivative = 0) {
  if (s.n < 2) return 0.0;
  const int i = splineInterval(s, x);
  const double dx = x - s.x[i];
  switch (derivative) {
    case 0:
      return s.q[i] + dx * (s.b[i] + dx * (s.c[i] + dx * s.d[i]));
    case 1:
      return s.b[i] + dx * (2.0 * s.c[i] + 3.0 * s.d[i] * dx);
    case 2:
      return 2.0 * s.c[i] + 6.0 * s.d[i] * dx;
    default:
      return 6.0 * s.d[i];
  }
}

}  // namespace vapordex::fit2020
