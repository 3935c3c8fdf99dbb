// The registration table of the worksheet functions: for each function one
// function row, one row per argument and an end row (type 0); a further end
// row ends the table. Texts are code page 1252 bytes (\xB0 is the degree
// sign, \xB3 the superscript three).
#pragma once

#include "version.hpp"

namespace vapordex::shell {

struct RegistrationRow {
  char type;  // return type in a function row, argument type in an argument row
  const char* name;
  const char* help;
};

extern const RegistrationRow kRegistrationTable[];

// The add-in title: category of every function and name in the add-in manager.
inline constexpr const char* kAddinTitle = VDX_ADDIN_TITLE;

}  // namespace vapordex::shell
