// What the engines keep between calls (the last isotherm's powers, recent
// saturated densities, the last answers of the density and saturation
// searches): one block per thread, initialised at compile time, with a part
// for each engine and one for what they share. Each part's type is declared
// beside the engine that keeps it (with a declaration of its kept<T>()
// specialisation), and the engine reaches it through kept<T>() alone;
// addin/engines/kept_values.cpp holds the block and defines kept<T>() for
// every part, so that no engine knows another's.
#pragma once

namespace vapordex {

template <class T>
T& kept();

}  // namespace vapordex
