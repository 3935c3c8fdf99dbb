// The vapordex command-line tool: calls the exported worksheet functions by
// name, one call per invocation or one per input line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vapordex::cli {

// Evaluates one call "FUNCTION ARG..." given as words. On success writes the
// result as Excel would show it (%.17g, or #NUM!) to *result and returns true;
// otherwise writes a one-line message to *result and returns false.
bool evaluate(int argc, const char* const* argv, std::string* result);

// The one reading of a number and of a formulation code, for the single
// call, --batch and every subcommand: a plain decimal number, finite and
// not overflowing or underflowing (no inf, nan, hex or spaces); a decimal
// integer within 32 bits. False with a one-line message otherwise.
bool parseDouble(const char* text, double* x, std::string* message);
bool parseCode(const char* text, std::int32_t* code, std::string* message);

// Splits a batch line into words and evaluates it; blank lines and lines
// starting with '#' hold no call and give an empty output line in --batch.
bool evaluateLine(const char* line, std::string* result);

// Runs --batch over a stream: one output line per input line. Returns the
// exit status: 0, 1 when any line was in error, 2 when the input could not be
// read (reported on stderr).
int runBatch(std::FILE* in, std::FILE* out);

// The --list text (UTF-8).
std::string listing();

// The whole program.
int run(int argc, const char* const* argv);

}  // namespace vapordex::cli
