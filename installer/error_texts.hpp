// Short texts for Windows system error codes and LZ error codes.
#pragma once

namespace vapordex::installer {

// The text of a code. Unknown codes are formatted as "unknown error code %i"
// into one shared buffer, valid until the next unknown code is looked up.
const char* errorText(int code);

}  // namespace vapordex::installer
