// The numeric result record of every worksheet function, one per thread.
#pragma once

#include "../xlcall/xlcall.hpp"

namespace vapordex {

// Stores x in the calling thread's record and returns its address. A value that is not
// finite becomes the Excel error #NUM!: Excel has no NaN or infinity.
LPXLOPER storeResult(double x);

}  // namespace vapordex
