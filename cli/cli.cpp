#include "cli.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frontend/catalogue.hpp"
#include "frontend/worksheet.hpp"
#include "side_by_side.hpp"

namespace vapordex::cli {

namespace {

// A word of the input as it appears in a message: quoted, and shortened when
// it is long, so a runaway argument does not flood the terminal.
std::string shortened(const char* text) {
  constexpr std::size_t kShown = 64;
  const std::size_t n = std::strlen(text);
  if (n <= kShown) return text;
  return std::string(text, kShown) + "... (" + std::to_string(n) + " characters)";
}
std::string quoted(const char* text) {
  std::string out(1, '\'');
  out += shortened(text);
  out += '\'';
  return out;
}

// Runs of decimal digits at p; returns the count.
std::size_t digits(const char* p) {
  std::size_t n = 0;
  while (p[n] >= '0' && p[n] <= '9') ++n;
  return n;
}

// A plain decimal number as Excel can pass one: optional sign, digits with an
// optional point, optional exponent. No spaces, hex, inf or nan.
bool isDecimal(const char* text) {
  const char* p = text;
  if (*p == '+' || *p == '-') ++p;
  const std::size_t whole = digits(p);
  p += whole;
  std::size_t fraction = 0;
  if (*p == '.') {
    ++p;
    fraction = digits(p);
    p += fraction;
  }
  if (whole + fraction == 0) return false;
  if (*p == 'e' || *p == 'E') {
    ++p;
    if (*p == '+' || *p == '-') ++p;
    const std::size_t exponent = digits(p);
    if (exponent == 0) return false;
    p += exponent;
  }
  return *p == '\0';
}

// Whether the mantissa of a decimal number has a digit other than 0.
bool hasNonzeroDigit(const char* text) {
  for (const char* p = text; *p != '\0' && *p != 'e' && *p != 'E'; ++p) {
    if (*p >= '1' && *p <= '9') return true;
  }
  return false;
}

}  // namespace

// A finite decimal number; a nonzero number that overflows to infinity or
// underflows to zero is out of range.
bool parseDouble(const char* text, double* x, std::string* message) {
  if (!isDecimal(text)) {
    *message = "not a number: " + quoted(text);
    return false;
  }
  // from_chars rounds correctly, like strtod, without its locale and
  // allocation; it refuses a '+', which the grammar above allows.
  const char* begin = *text == '+' ? text + 1 : text;
  const auto [end, error] = std::from_chars(begin, begin + std::strlen(begin), *x);
  (void)end;
  if (error != std::errc() || !std::isfinite(*x) || (*x == 0.0 && hasNonzeroDigit(text))) {
    *message = "number out of range: " + quoted(text);
    return false;
  }
  return true;
}

// A decimal integer within the 32-bit range of Excel's formulation argument.
bool parseCode(const char* text, std::int32_t* code, std::string* message) {
  const char* p = text;
  if (*p == '+' || *p == '-') ++p;
  const std::size_t n = digits(p);
  if (n == 0 || p[n] != '\0') {
    *message = (isDecimal(text) ? "formulation code is not an integer: " : "not a number: ") +
               quoted(text);
    return false;
  }
  errno = 0;
  const long long value = std::strtoll(text, nullptr, 10);
  if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
    *message = "formulation code outside 32-bit range: " + quoted(text);
    return false;
  }
  *code = static_cast<std::int32_t>(value);
  return true;
}

namespace {

std::string formatResult(const XLOPER* r) {
  if (r->xltype == xltypeNum) {
    // to_chars with a precision is printf's %.17g, much faster.
    char buffer[40];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, r->val.num, std::chars_format::general, 17);
    (void)error;
    return std::string(buffer, end);
  }
  if (r->xltype == xltypeErr && r->val.err == xlerrNum) return "#NUM!";
  return "#VALUE!";
}

}  // namespace

bool evaluate(int argc, const char* const* argv, std::string* result) {
  if (argc < 1) {
    *result = "missing function name";
    return false;
  }
  const FunctionInfo* entry = findFunction(argv[0]);
  if (entry == nullptr) {
    *result = "unknown function: " + quoted(argv[0]);
    return false;
  }
  const std::string types = entry->typeText();
  const int expected = static_cast<int>(types.size()) - 1;
  if (argc - 1 != expected) {
    *result = std::string("wrong number of arguments: ") + argv[0] + " takes " +
              std::to_string(expected) + ", got " + std::to_string(argc - 1);
    return false;
  }
  double numbers[2] = {0.0, 0.0};
  std::int32_t codes[2] = {0, 0};
  int nNumbers = 0;
  int nCodes = 0;
  for (int k = 0; k < expected; ++k) {
    const char* text = argv[k + 1];
    if (types[static_cast<std::size_t>(k) + 1] == 'B') {
      if (nNumbers >= 2 || !parseDouble(text, &numbers[nNumbers], result)) return false;
      ++nNumbers;
    } else {
      if (nCodes >= 2 || !parseCode(text, &codes[nCodes], result)) return false;
      ++nCodes;
    }
  }
  *result = formatResult(callWorksheet(*entry, numbers, codes));
  return true;
}

bool evaluateLine(const char* line, std::string* result) {
  constexpr int kMaxWords = 8;
  std::string copy(line);
  const char* words[kMaxWords];
  int count = 0;
  char* save = nullptr;
  for (char* w = strtok_r(copy.data(), " \t\r\n", &save); w != nullptr;
       w = strtok_r(nullptr, " \t\r\n", &save)) {
    if (count == kMaxWords) {
      *result = "too many arguments: " + shortened(words[0]);
      return false;
    }
    words[count++] = w;
  }
  if (count == 0) {
    *result = "empty line";
    return false;
  }
  return evaluate(count, words, result);
}

namespace {

// A batch line that holds no call: blank, or a comment starting with '#'.
bool isBlankOrComment(const char* line) {
  while (*line == ' ' || *line == '\t' || *line == '\r' || *line == '\n') ++line;
  return *line == '\0' || *line == '#';
}

}  // namespace

int runBatch(std::FILE* in, std::FILE* out) {
  int status = 0;
  char* line = nullptr;
  std::size_t capacity = 0;
  std::string result;
  ssize_t length = 0;
  errno = 0;
  while ((length = getline(&line, &capacity, in)) >= 0) {
    bool ok = false;
    if (std::strlen(line) != static_cast<std::size_t>(length)) {
      result = "the line holds a NUL byte";
    } else if (isBlankOrComment(line)) {
      // Skipped, with an empty line in its place so that outputs stay
      // aligned with inputs.
      result.clear();
      ok = true;
    } else {
      ok = evaluateLine(line, &result);
    }
    if (!ok) {
      std::fputs("error: ", out);
      status = 1;
    }
    std::fputs(result.c_str(), out);
    std::fputc('\n', out);
    errno = 0;
  }
  // getline ends on the end of the input or on an error (a directory, a
  // failed read, no memory for the line); only the first is success.
  const int readError = errno;
  const bool readFailed = std::ferror(in) != 0 || std::feof(in) == 0;
  std::free(line);
  if (readFailed) {
    std::fflush(out);
    std::fprintf(stderr, "vapordex: cannot read input: %s\n",
                 std::strerror(readError != 0 ? readError : EIO));
    return 2;
  }
  return status;
}

// A write that failed before the end (its buffer already discarded) leaves
// only the stream's error flag; its reason is kept here.
namespace {
int firstWriteError = 0;
}  // namespace

void writeOutput(const std::string& text) {
  errno = 0;
  if (std::fputs(text.c_str(), stdout) == EOF && firstWriteError == 0) firstWriteError = errno;
}

// Flushes and closes standard output and reports a failed write (a full
// disk, a closed or broken stdout) as the I/O failure status 2.
int finishOutput(int status) {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || std::fclose(stdout) != 0) {
    const int error = errno != 0 ? errno : firstWriteError != 0 ? firstWriteError : EIO;
    std::fprintf(stderr, "vapordex: cannot write output: %s\n", std::strerror(error));
    return 2;
  }
  return status;
}

std::string listing() {
  std::string out;
  for (const FunctionInfo& fn : catalogue()) {
    std::string args;
    std::string helps;
    for (std::size_t k = 0; k < fn.arguments.size(); ++k) {
      const ArgumentInfo& a = fn.arguments[k];
      // HofTS's second code is taken and not used: shown as such.
      const bool unused = fn.twoCodes != nullptr && k + 1 == fn.arguments.size();
      const std::string name = unused ? "[" + std::string(a.name) + "]" : a.name;
      if (!args.empty()) args += ' ';
      args += name;
      helps += "    " + name + ": ";
      helps += unused ? "a second code, not used (any integer)" : toUtf8(a.help);
      helps += '\n';
    }
    out += fn.name;
    out += ' ';
    out += args;
    out += "\n    ";
    out += toUtf8(fn.help);
    out += '\n';
    out += helps;
  }
  return out;
}

int run(int argc, const char* const* argv) {
  const char* usage =
      "usage: vapordex FUNCTION ARG...\n"
      "       vapordex --batch [FILE]\n"
      "       vapordex --list\n"
      "       vapordex --version\n"
      "       vapordex compare FUNCTION ARG... [--si | --english] [--format text|csv|json]\n"
      "       vapordex table KIND ... (vapordex table --help)\n"
      "       vapordex chart KIND --out FILE.svg|.png|.pdf ... (vapordex chart --help)\n";
  if (argc < 2) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string first = argv[1];
  if (first == "compare" || first == "table" || first == "chart") {
    return runSubcommand(argc - 1, argv + 1);
  }
  if (first == "--help" || first == "-h" || first == "help") {
    std::fputs(usage, stdout);
    return finishOutput(0);
  }
  if ((first == "--version" || first == "--list") && argc > 2) {
    std::fprintf(stderr, "vapordex: %s takes no arguments\n", first.c_str());
    return 2;
  }
  if (first == "--version") {
    std::printf("vapordex %s\n", kCategory);
    return finishOutput(0);
  }
  if (first == "--list") {
    writeOutput(listing());
    return finishOutput(0);
  }
  if (first == "--batch") {
    if (argc > 3) {
      std::fputs(usage, stderr);
      return 2;
    }
    std::FILE* in = stdin;
    if (argc == 3) {
      in = std::fopen(argv[2], "r");
      if (in == nullptr) {
        std::fprintf(stderr, "vapordex: cannot open '%s': %s\n", argv[2], std::strerror(errno));
        return 2;
      }
    }
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    const int status = runBatch(in, stdout);
    if (in != stdin) std::fclose(in);
    // A read failure is already reported; a write failure still needs saying.
    return status == 2 ? (finishOutput(2), 2) : finishOutput(status);
  }
  std::string result;
  if (!evaluate(argc - 1, argv + 1, &result)) {
    std::fprintf(stderr, "vapordex: %s\n", result.c_str());
    return 2;
  }
  std::puts(result.c_str());
  return finishOutput(0);
}

}  // namespace vapordex::cli
