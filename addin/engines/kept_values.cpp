// The kept values of every engine: one block per thread, initialised at
// compile time (no constructor runs when a thread first calls), with a part
// for what the engines share and one for each engine. Each part is reached
// through kept<T>() (common/kept.hpp); only this file knows them all.
#include "common/density_solver.hpp"
#include "common/kept.hpp"
#include "common/saturation.hpp"
#include "fit2020/fit2020_kept.hpp"
#include "helmholtz/iapws95_kept.hpp"
#include "helmholtz/kkhm69_kept.hpp"
#include "helmholtz/nbs84_kept.hpp"
#include "if97/if97_kept.hpp"
#include "ifc67/ifc67_kept.hpp"

namespace vapordex {

namespace {

struct KeptValues {
  struct Shared {
    LastSaturationTemperature saturationTemperature;
    density::LastDensity density;
  } shared;
  struct Iapws95 {
    iapws95::TauPart tau;
    density::SchemeDensities<iapws95::pressureFromTD> saturated;
  } iapws95;
  struct Nbs84 {
    nbs84::TemperaturePart temperature;
    ExponentialSlot<nbs84::kMinusOne> exponential;
    density::SchemeDensities<nbs84::pressureFromTD> saturated;
  } nbs84;
  struct Kkhm69 {
    kkhm69::SaturatedDensities saturated;
    ExponentialSlot<kkhm69::kMinusE> exponential;
    kkhm69::IdealPart ideal;
  } kkhm69;
  struct If97 {
    if97::Region3TauPowers region3;
  } if97;
  struct Ifc67 {
    ifc67::Subregion2Part subregion2;
  } ifc67;
  struct Fit2020 {
    fit2020::SaturatedDensities saturated;
  } fit2020;
};

constinit thread_local KeptValues gKept{};

}  // namespace

template <>
LastSaturationTemperature& kept<LastSaturationTemperature>() {
  return gKept.shared.saturationTemperature;
}
template <>
density::LastDensity& kept<density::LastDensity>() {
  return gKept.shared.density;
}
template <>
iapws95::TauPart& kept<iapws95::TauPart>() {
  return gKept.iapws95.tau;
}
template <>
density::SchemeDensities<iapws95::pressureFromTD>&
kept<density::SchemeDensities<iapws95::pressureFromTD>>() {
  return gKept.iapws95.saturated;
}
template <>
nbs84::TemperaturePart& kept<nbs84::TemperaturePart>() {
  return gKept.nbs84.temperature;
}
template <>
ExponentialSlot<nbs84::kMinusOne>& kept<ExponentialSlot<nbs84::kMinusOne>>() {
  return gKept.nbs84.exponential;
}
template <>
density::SchemeDensities<nbs84::pressureFromTD>&
kept<density::SchemeDensities<nbs84::pressureFromTD>>() {
  return gKept.nbs84.saturated;
}
template <>
kkhm69::SaturatedDensities& kept<kkhm69::SaturatedDensities>() {
  return gKept.kkhm69.saturated;
}
template <>
ExponentialSlot<kkhm69::kMinusE>& kept<ExponentialSlot<kkhm69::kMinusE>>() {
  return gKept.kkhm69.exponential;
}
template <>
kkhm69::IdealPart& kept<kkhm69::IdealPart>() {
  return gKept.kkhm69.ideal;
}
template <>
if97::Region3TauPowers& kept<if97::Region3TauPowers>() {
  return gKept.if97.region3;
}
template <>
ifc67::Subregion2Part& kept<ifc67::Subregion2Part>() {
  return gKept.ifc67.subregion2;
}
template <>
fit2020::SaturatedDensities& kept<fit2020::SaturatedDensities>() {
  return gKept.fit2020.saturated;
}

}  // namespace vapordex
