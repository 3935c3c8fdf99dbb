// libvapordex: each C function calls the worksheet function of its name and
// hands back its number, NaN for an error record (#NUM! in a cell).
#include <cmath>

#include "frontend/worksheet.hpp"
#include "vapordex.h"
#include "version.hpp"

namespace {

double number(const XLOPER* r) { return r->xltype == xltypeNum ? r->val.num : std::nan(""); }

}  // namespace

#define VDX_DEFINE __attribute__((visibility("default")))

extern "C" {

VDX_DEFINE const char* vdx_version(void) { return VDX_VERSION; }

VDX_DEFINE double vdx_Psat(double T, int32_t code) { return number(Psat(T, code)); }
VDX_DEFINE double vdx_Tsat(double P, int32_t code) { return number(Tsat(P, code)); }
VDX_DEFINE double vdx_Vf(double T, int32_t code) { return number(Vf(T, code)); }
VDX_DEFINE double vdx_Vg(double T, int32_t code) { return number(Vg(T, code)); }
VDX_DEFINE double vdx_Hf(double T, int32_t code) { return number(Hf(T, code)); }
VDX_DEFINE double vdx_Hg(double T, int32_t code) { return number(Hg(T, code)); }
VDX_DEFINE double vdx_Sf(double T, int32_t code) { return number(Sf(T, code)); }
VDX_DEFINE double vdx_Sg(double T, int32_t code) { return number(Sg(T, code)); }
VDX_DEFINE double vdx_VofTP(double T, double P, int32_t code) { return number(VofTP(T, P, code)); }
VDX_DEFINE double vdx_HofTP(double T, double P, int32_t code) { return number(HofTP(T, P, code)); }
VDX_DEFINE double vdx_SofTP(double T, double P, int32_t code) { return number(SofTP(T, P, code)); }
VDX_DEFINE double vdx_PofTV(double T, double v, int32_t code) { return number(PofTV(T, v, code)); }
VDX_DEFINE double vdx_HofTV(double T, double v, int32_t code) { return number(HofTV(T, v, code)); }
VDX_DEFINE double vdx_SofTV(double T, double v, int32_t code) { return number(SofTV(T, v, code)); }
VDX_DEFINE double vdx_TofPH(double P, double h, int32_t code) { return number(TofPH(P, h, code)); }
VDX_DEFINE double vdx_TofPS(double P, double s, int32_t code) { return number(TofPS(P, s, code)); }
VDX_DEFINE double vdx_HofPS(double P, double s, int32_t code) { return number(HofPS(P, s, code)); }
VDX_DEFINE double vdx_SofPH(double P, double h, int32_t code) { return number(SofPH(P, h, code)); }
VDX_DEFINE double vdx_HofTS(double T, double s, int32_t code) {
  return number(HofTS(T, s, code, 0));
}
VDX_DEFINE double vdx_CpofTP(double T, double P, int32_t code) {
  return number(CpofTP(T, P, code));
}
VDX_DEFINE double vdx_CvofTP(double T, double P, int32_t code) {
  return number(CvofTP(T, P, code));
}
VDX_DEFINE double vdx_WofTP(double T, double P, int32_t code) { return number(WofTP(T, P, code)); }
VDX_DEFINE double vdx_XofPH(double P, double h, int32_t code) { return number(XofPH(P, h, code)); }
VDX_DEFINE double vdx_XofPS(double P, double s, int32_t code) { return number(XofPS(P, s, code)); }
VDX_DEFINE double vdx_MuofTP(double T, double P, int32_t code) {
  return number(MuofTP(T, P, code));
}
VDX_DEFINE double vdx_KofTP(double T, double P, int32_t code) { return number(KofTP(T, P, code)); }
VDX_DEFINE double vdx_SigmaofT(double T, int32_t code) { return number(SigmaofT(T, code)); }

}  // extern "C"
