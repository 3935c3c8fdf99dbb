// The worksheet functions as exported to Excel. Each converts its
// arguments by the sign of the formulation code, calls its SI core, guards and
// converts the result and returns the address of the one shared result record.
#pragma once

#include <cstdint>

#include "../xlcall/xlcall.hpp"

#define VDX_WORKSHEET extern "C" VDX_EXPORT LPXLOPER VDX_EXCEL_API

VDX_WORKSHEET Psat(double T, std::int32_t code);
VDX_WORKSHEET Tsat(double P, std::int32_t code);
VDX_WORKSHEET Vf(double T, std::int32_t code);
VDX_WORKSHEET Vg(double T, std::int32_t code);
VDX_WORKSHEET Hf(double T, std::int32_t code);
VDX_WORKSHEET Hg(double T, std::int32_t code);
VDX_WORKSHEET Sf(double T, std::int32_t code);
VDX_WORKSHEET Sg(double T, std::int32_t code);
VDX_WORKSHEET VofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET HofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET SofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET PofTV(double T, double v, std::int32_t code);
VDX_WORKSHEET HofTV(double T, double v, std::int32_t code);
VDX_WORKSHEET SofTV(double T, double v, std::int32_t code);
VDX_WORKSHEET TofPH(double P, double h, std::int32_t code);
VDX_WORKSHEET TofPS(double P, double s, std::int32_t code);
VDX_WORKSHEET HofPS(double P, double s, std::int32_t code);
VDX_WORKSHEET SofPH(double P, double h, std::int32_t code);
// The fourth argument is registered (Excel passes it) and ignored.
VDX_WORKSHEET HofTS(double T, double s, std::int32_t code, std::int32_t ignored);
VDX_WORKSHEET CpofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET CvofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET WofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET XofPH(double P, double h, std::int32_t code);
VDX_WORKSHEET XofPS(double P, double s, std::int32_t code);
VDX_WORKSHEET MuofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET KofTP(double T, double P, std::int32_t code);
VDX_WORKSHEET SigmaofT(double T, std::int32_t code);
