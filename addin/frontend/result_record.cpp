#include "result_record.hpp"

#include <cmath>

namespace vapordex {

namespace {
XLOPER gResult;
}

LPXLOPER storeResult(double x) {
  if (std::isfinite(x)) {
    gResult.val.num = x;
    gResult.xltype = xltypeNum;
  } else {
    gResult.val.err = xlerrNum;
    gResult.xltype = xltypeErr;
  }
  return &gResult;
}

}  // namespace vapordex
