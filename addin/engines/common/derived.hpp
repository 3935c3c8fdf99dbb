// The properties of a single-phase state that come from the second
// derivatives of a free energy: the heat capacities, the speed of sound and
// the isothermal slope of density in pressure (which the thermal
// conductivity's critical enhancement needs).
//
// Units: T in K, rho in g/cm3, v in cm3/g, P in MPa, cp and cv in kJ/(kg K),
// w in m/s. With these, MPa cm3/g is kJ/kg, and kJ/kg is 1000 m2/s2.
#pragma once

#include <cmath>

namespace vapordex {

struct Derived {
  double rho;     // g/cm3
  double cp;      // kJ/(kg K)
  double cv;      // kJ/(kg K)
  double w;       // m/s
  double drhodP;  // (d rho / d P) at constant T, g/cm3 per MPa
};

// From a Helmholtz function of (T, rho): the pressure's slopes in density
// (MPa per g/cm3) and in temperature (MPa/K), and cv. A state where the
// pressure does not rise with density (inside a loop of the equation) has
// no speed of sound and no cp: NaN.
inline Derived fromHelmholtz(double T, double rho, double pRho, double pT, double cv) {
  Derived d{rho, std::nan(""), cv, std::nan(""), std::nan("")};
  if (!(pRho > 0.0) || !(cv > 0.0)) return d;
  const double excess = T * pT * pT / (rho * rho);
  d.cp = cv + excess / pRho;
  d.w = std::sqrt(1000.0 * (pRho + excess / cv));
  d.drhodP = 1.0 / pRho;
  return d;
}

// From a Gibbs function of (T, P): the volume, its slopes in pressure
// (cm3/g per MPa) and in temperature (cm3/g per K), and cp.
inline Derived fromGibbs(double T, double v, double vP, double vT, double cp) {
  Derived d{1.0 / v, cp, std::nan(""), std::nan(""), std::nan("")};
  if (!(vP < 0.0) || !(cp > 0.0)) return d;
  const double excess = T * vT * vT;
  d.cv = cp + excess / vP;
  d.w = v * std::sqrt(1000.0 / -(vP + excess / cp));
  d.drhodP = -vP / (v * v);
  return d;
}

}  // namespace vapordex
