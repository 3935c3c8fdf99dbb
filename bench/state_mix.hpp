// The fixed state mixes of the cost-per-call measurements: liquid, vapour
// and supercritical states from 300 K to 900 K and 0.01 MPa to 50 MPa (the
// saturation functions over 280 K to 640 K), 64 per function and code. Both
// the native benchmarks and the Windows timing host build them, each with
// its own way of calling a worksheet function.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace vapordex::bench {

inline constexpr int kStates = 64;
inline constexpr std::int32_t kCodes[] = {97, 95, 84, 69, 67, 20};

struct Call {
  double a;
  double b;
};

// A worksheet function by name, SI code.
using CallFunction = double (*)(const char* name, double a, double b, std::int32_t code);

// A fixed pseudo-random sequence (no library generator, so the mix is the
// same everywhere).
inline double unit(std::uint64_t* s) {
  *s = *s * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<double>(*s >> 11) * 0x1.0p-53;
}

struct State {
  double T;
  double P;
};

inline std::vector<State> singlePhaseStates(CallFunction call) {
  std::vector<State> states;
  std::uint64_t sequence = 1997;
  while (static_cast<int>(states.size()) < kStates) {
    const double T = 300.0 + 600.0 * unit(&sequence);
    const double P = std::exp(std::log(0.01) + std::log(5000.0) * unit(&sequence));
    // Keep clear of the saturation line, where a state's phase is a matter
    // of formulation.
    const double ps = call("Psat", T, 0.0, -95);
    if (T < 647.0 && std::fabs(P / ps - 1.0) < 0.05) continue;
    states.push_back({T, P});
  }
  return states;
}

// The calls of function f under formulation code (its magnitude), in SI.
inline std::vector<Call> callsFor(CallFunction call, const std::string& f, std::int32_t code) {
  std::vector<Call> calls;
  const std::int32_t si = -code;
  if (f == "Psat" || f == "SigmaofT" || f[1] == 'f' || f[1] == 'g') {
    for (int k = 0; k < kStates; ++k) calls.push_back({280.0 + 360.0 * k / (kStates - 1), 0.0});
    return calls;
  }
  if (f == "Tsat") {
    for (int k = 0; k < kStates; ++k) {
      calls.push_back({call("Psat", 280.0 + 360.0 * k / (kStates - 1), 0.0, si), 0.0});
    }
    return calls;
  }
  for (const State& s : singlePhaseStates(call)) {
    if (f.ends_with("ofTP")) {  // VofTP, HofTP, SofTP, CpofTP, ..., KofTP
      calls.push_back({s.T, s.P});
    } else if (f == "PofTV" || f == "HofTV" || f == "SofTV") {
      calls.push_back({s.T, call("VofTP", s.T, s.P, si)});
    } else if (f == "TofPH" || f == "SofPH" || f == "XofPH") {
      calls.push_back({s.P, call("HofTP", s.T, s.P, si)});
    } else if (f == "TofPS" || f == "HofPS" || f == "XofPS") {
      calls.push_back({s.P, call("SofTP", s.T, s.P, si)});
    } else {  // HofTS
      calls.push_back({s.T, call("SofTP", s.T, s.P, si)});
    }
  }
  return calls;
}

}  // namespace vapordex::bench
