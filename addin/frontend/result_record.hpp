// The numeric result record shared by every worksheet function.
#pragma once

#include "../xlcall/xlcall.hpp"

namespace vapordex {

// Stores x in the shared record and returns its address. A value that is not
// finite becomes the Excel error #NUM!: Excel has no NaN or infinity.
LPXLOPER storeResult(double x);

}  // namespace vapordex
