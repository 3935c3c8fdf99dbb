#include "cli.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frontend/worksheet.hpp"
#include "shell/registration_table.hpp"

namespace vapordex::cli {

namespace {

using OneArg = LPXLOPER (*)(double, std::int32_t);
using TwoArgs = LPXLOPER (*)(double, double, std::int32_t);
using TwoArgsTwoCodes = LPXLOPER (*)(double, double, std::int32_t, std::int32_t);

struct Entry {
  const char* name;
  OneArg one;
  TwoArgs two;
  TwoArgsTwoCodes twoCodes;
};

constexpr Entry kEntries[] = {
    {"Psat", Psat, nullptr, nullptr},   {"Tsat", Tsat, nullptr, nullptr},
    {"Vf", Vf, nullptr, nullptr},       {"Vg", Vg, nullptr, nullptr},
    {"Hf", Hf, nullptr, nullptr},       {"Hg", Hg, nullptr, nullptr},
    {"Sf", Sf, nullptr, nullptr},       {"Sg", Sg, nullptr, nullptr},
    {"VofTP", nullptr, VofTP, nullptr}, {"HofTP", nullptr, HofTP, nullptr},
    {"SofTP", nullptr, SofTP, nullptr}, {"TofPH", nullptr, TofPH, nullptr},
    {"TofPS", nullptr, TofPS, nullptr}, {"HofPS", nullptr, HofPS, nullptr},
    {"SofPH", nullptr, SofPH, nullptr}, {"HofTS", nullptr, nullptr, HofTS},
    {"PofTV", nullptr, PofTV, nullptr}, {"HofTV", nullptr, HofTV, nullptr},
    {"SofTV", nullptr, SofTV, nullptr},
};

const Entry* findEntry(const char* name) {
  for (const Entry& e : kEntries) {
    if (std::strcmp(e.name, name) == 0) return &e;
  }
  return nullptr;
}

// The registration row of a function and its type text ("RBJ" ...).
const shell::RegistrationRow* findRow(const char* name, std::string* typeText) {
  const shell::RegistrationRow* row = shell::kRegistrationTable;
  while (row->type != 0) {
    const shell::RegistrationRow* fn = row;
    std::string types(1, fn->type);
    for (++row; row->type != 0; ++row) types += row->type;
    ++row;  // the function's end row
    if (std::strcmp(fn->name, name) == 0) {
      *typeText = types;
      return fn;
    }
  }
  return nullptr;
}

bool parseDouble(const char* text, double* x) {
  if (*text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  *x = std::strtod(text, &end);
  return *end == '\0';
}

bool parseCode(const char* text, std::int32_t* code, std::string* message) {
  double x = 0.0;
  if (!parseDouble(text, &x)) {
    *message = std::string("not a number: '") + text + "'";
    return false;
  }
  if (!(x >= -2147483648.0 && x <= 2147483647.0)) {
    *message = std::string("formulation code outside 32-bit range: '") + text + "'";
    return false;
  }
  if (x != std::trunc(x)) {
    *message = std::string("formulation code is not an integer: '") + text + "'";
    return false;
  }
  *code = static_cast<std::int32_t>(x);
  return true;
}

std::string formatResult(const XLOPER* r) {
  if (r->xltype == xltypeNum) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", r->val.num);
    return buffer;
  }
  if (r->xltype == xltypeErr && r->val.err == xlerrNum) return "#NUM!";
  return "#VALUE!";
}

// Code page 1252 to UTF-8 for the two non-ASCII characters of the help texts.
std::string toUtf8(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte < 0x80) {
      out += *c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

}  // namespace

bool evaluate(int argc, const char* const* argv, std::string* result) {
  if (argc < 1) {
    *result = "missing function name";
    return false;
  }
  const Entry* entry = findEntry(argv[0]);
  std::string types;
  if (entry == nullptr || findRow(argv[0], &types) == nullptr) {
    *result = std::string("unknown function: '") + argv[0] + "'";
    return false;
  }
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
      if (nNumbers >= 2 || !parseDouble(text, &numbers[nNumbers])) {
        *result = std::string("not a number: '") + text + "'";
        return false;
      }
      ++nNumbers;
    } else {
      if (nCodes >= 2 || !parseCode(text, &codes[nCodes], result)) return false;
      ++nCodes;
    }
  }
  const XLOPER* r = nullptr;
  if (entry->one != nullptr) {
    r = entry->one(numbers[0], codes[0]);
  } else if (entry->two != nullptr) {
    r = entry->two(numbers[0], numbers[1], codes[0]);
  } else {
    r = entry->twoCodes(numbers[0], numbers[1], codes[0], codes[1]);
  }
  *result = formatResult(r);
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
      *result = std::string("too many arguments: ") + words[0];
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

int runBatch(std::FILE* in, std::FILE* out) {
  int status = 0;
  char* line = nullptr;
  std::size_t capacity = 0;
  std::string result;
  while (getline(&line, &capacity, in) >= 0) {
    if (evaluateLine(line, &result)) {
      std::fputs(result.c_str(), out);
    } else {
      std::fputs("error: ", out);
      std::fputs(result.c_str(), out);
      status = 1;
    }
    std::fputc('\n', out);
  }
  std::free(line);
  return status;
}

std::string listing() {
  std::string out;
  const shell::RegistrationRow* row = shell::kRegistrationTable;
  while (row->type != 0) {
    const shell::RegistrationRow* fn = row;
    std::string args;
    std::string helps;
    for (++row; row->type != 0; ++row) {
      if (!args.empty()) args += ' ';
      args += row->name;
      helps += std::string("    ") + row->name + ": " + toUtf8(row->help) + "\n";
    }
    ++row;
    out += std::string(fn->name) + " " + args + "\n    " + toUtf8(fn->help) + "\n" + helps;
  }
  return out;
}

int run(int argc, const char* const* argv) {
  const char* usage =
      "usage: vapordex FUNCTION ARG...\n"
      "       vapordex --batch [FILE]\n"
      "       vapordex --list\n"
      "       vapordex --version\n";
  if (argc < 2) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string first = argv[1];
  if (first == "--version") {
    std::printf("vapordex %s\n", shell::kAddinTitle);
    return 0;
  }
  if (first == "--list") {
    std::fputs(listing().c_str(), stdout);
    return 0;
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
    return status;
  }
  std::string result;
  if (!evaluate(argc - 1, argv + 1, &result)) {
    std::fprintf(stderr, "vapordex: %s\n", result.c_str());
    return 2;
  }
  std::puts(result.c_str());
  return 0;
}

}  // namespace vapordex::cli
