#include "error_texts.hpp"

#include <cstdio>

#include "error_texts_table.hpp"

namespace vapordex::installer {

namespace {
char gUnknown[40];
}

const char* errorText(int code) {
  // The table is sorted by code: bisect.
  int lo = 0;
  int hi = kErrorTextCount;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (kErrorTexts[mid].code < code) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  if (lo < kErrorTextCount && kErrorTexts[lo].code == code) return kErrorTexts[lo].text;
  std::snprintf(gUnknown, sizeof gUnknown, "unknown error code %i", code);
  return gUnknown;
}

}  // namespace vapordex::installer
