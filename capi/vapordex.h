/* libvapordex: the worksheet functions of the Vapordex add-in for C and any
 * language that calls C (Python's ctypes, Julia's ccall, MATLAB's loadlibrary).
 *
 * Each function is the worksheet function of the same name (without the
 * vdx_ prefix): the same arguments in the same order, the formulation code
 * last, and the same numbers. The magnitude of the code selects the
 * formulation (67 IFC-67, 69 KKHM 1969, 84 NBS/NRC 1984, 95 IAPWS-95,
 * 97 IAPWS-IF97, 20 the compact 2020 formulation); a code greater than 0
 * selects English units (F, psia, ft3/lbm, BTU/lbm, BTU/(lbm R)), 0 or less
 * SI units (K, MPa, cm3/g, kJ/kg, kJ/(kg K)). A result of -999 is the error
 * value the worksheet shows as -999 (an unknown code, an argument or result
 * no state has); where the worksheet shows #NUM!, the function returns NaN.
 *
 * The functions are pure and may be called from any number of threads at
 * once. */
#ifndef VAPORDEX_H
#define VAPORDEX_H

#include <stdint.h>

#if defined(_WIN32)
#define VDX_API __declspec(dllimport)
#else
#define VDX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The library's version, "MAJOR.MINOR". */
VDX_API const char* vdx_version(void);

VDX_API double vdx_Psat(double T, int32_t code);
VDX_API double vdx_Tsat(double P, int32_t code);
VDX_API double vdx_Vf(double T, int32_t code);
VDX_API double vdx_Vg(double T, int32_t code);
VDX_API double vdx_Hf(double T, int32_t code);
VDX_API double vdx_Hg(double T, int32_t code);
VDX_API double vdx_Sf(double T, int32_t code);
VDX_API double vdx_Sg(double T, int32_t code);
VDX_API double vdx_VofTP(double T, double P, int32_t code);
VDX_API double vdx_HofTP(double T, double P, int32_t code);
VDX_API double vdx_SofTP(double T, double P, int32_t code);
VDX_API double vdx_PofTV(double T, double v, int32_t code);
VDX_API double vdx_HofTV(double T, double v, int32_t code);
VDX_API double vdx_SofTV(double T, double v, int32_t code);
VDX_API double vdx_TofPH(double P, double h, int32_t code);
VDX_API double vdx_TofPS(double P, double s, int32_t code);
VDX_API double vdx_HofPS(double P, double s, int32_t code);
VDX_API double vdx_SofPH(double P, double h, int32_t code);
/* The worksheet's HofTS takes a second, ignored code; this one does not. */
VDX_API double vdx_HofTS(double T, double s, int32_t code);
VDX_API double vdx_CpofTP(double T, double P, int32_t code);
VDX_API double vdx_CvofTP(double T, double P, int32_t code);
VDX_API double vdx_WofTP(double T, double P, int32_t code);
VDX_API double vdx_XofPH(double P, double h, int32_t code);
VDX_API double vdx_XofPS(double P, double s, int32_t code);
VDX_API double vdx_MuofTP(double T, double P, int32_t code);
VDX_API double vdx_KofTP(double T, double P, int32_t code);
VDX_API double vdx_SigmaofT(double T, int32_t code);

#ifdef __cplusplus
}
#endif

#endif /* VAPORDEX_H */
