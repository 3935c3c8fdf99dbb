#include "result_record.hpp"

#include <cmath>

namespace vapordex {

namespace {
// One record per thread: Excel 2007 and later call the worksheet functions
// on several threads at once, and read each result before the next call on
// the same thread.
thread_local XLOPER gResult;
}  // namespace

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
