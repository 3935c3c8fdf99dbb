// The transport properties and the surface tension of water, by the IAPWS
// releases that define them as functions of temperature and density (the
// density from whichever formulation the caller chose):
// - viscosity: IAPWS 2008, without the critical enhancement (mu2 = 1, as the
//   release allows for industrial use);
// - thermal conductivity: IAPWS 2011, with its critical enhancement;
// - surface tension: the IAPWS 2014 revised release.
//
// Units: T in K, rho in kg/m3, P in MPa, cp and cv in kJ/(kg K),
// (d rho/d P)_T in kg/m3 per MPa; viscosity in uPa s, conductivity in
// mW/(m K), surface tension in mN/m.
#pragma once

namespace vapordex::transport {

// The reducing constants of the releases.
inline constexpr double kReferenceTemperature = 647.096;  // K
inline constexpr double kReferenceDensity = 322.0;        // kg/m3
inline constexpr double kReferencePressure = 22.064;      // MPa
// The reference temperature of the conductivity's critical enhancement,
// 1.5 times the critical temperature.
inline constexpr double kEnhancementReferenceTemperature = 1.5 * kReferenceTemperature;

double viscosity(double T, double rho);

// The critical region's measure shared by both enhancements:
// Delta chi = rhor [zeta(T) - zeta(T_R) T_R / T] with zeta = (d rhor/d pr)_T,
// 0 where negative; and the correlation length xi (nm) it gives.
double criticalExcess(double T, double rho, double drhodP, double drhodPReference);
double correlationLength(double deltaChi);
// The viscosity's critical enhancement factor mu2 of the 2008 release at
// correlation length xi (the scientific use; MuofTP leaves it at 1).
double viscosityEnhancement(double xi);

// The state's part of the conductivity's critical enhancement: cp, cv,
// (d rho/d P)_T at T and at the enhancement's reference temperature (both
// at rho), and the viscosity (the release's check values take it with its
// own critical enhancement).
struct EnhancementInputs {
  double cp;
  double cv;
  double drhodP;
  double drhodPReference;
  double viscosity;
};
double thermalConductivity(double T, double rho, const EnhancementInputs& in);
// Without the critical enhancement (lambda0 lambda1 alone).
double thermalConductivityBackground(double T, double rho);

// (d rho/d P)_T at the enhancement's reference temperature by the release's
// polynomial in density for industrial use, for formulations that do not
// reach that temperature at every density (IAPWS-IF97, IFC-67).
double industrialReferenceSlope(double rho);

// Surface tension of the saturated liquid; NaN outside 248.15 K to the
// critical temperature (0 there).
double surfaceTension(double T);
inline constexpr double kSurfaceTensionLowest = 248.15;

}  // namespace vapordex::transport
