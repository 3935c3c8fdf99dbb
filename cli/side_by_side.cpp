#include "side_by_side.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cli.hpp"
#include "frontend/catalogue.hpp"
#include "frontend/units.hpp"

namespace vapordex::cli {

namespace {

// The shortest text that reads back as the same double: an input prints
// as the user typed it (0.1, not 0.10000000000000001), a result with every
// digit it needs.
std::string formatExact(double x) {
  char buffer[40];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x);
  return {buffer, r.ptr};
}

std::string format6(double x) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.6g", x);
  return buffer;
}

// The text of a cell for the given format; empty for an empty number.
std::string cellText(const Cell& c, Format format) {
  if (c.isText) return c.text;
  if (std::isnan(c.number)) return "";
  return format == Format::kText || format == Format::kMarkdown ? format6(c.number)
                                                                : formatExact(c.number);
}

std::string jsonString(const std::string& s) {
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"";
}

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"") == std::string::npos) return s;
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

// The quantity a worksheet function returns, as units::name takes it: the
// first letter of its name (CpofTP and CvofTP 'c', MuofTP 'm', KofTP 'k',
// WofTP 'w', the quality 'x', which has no unit) but for these.
char resultQuantity(const std::string& f) {
  if (f == "Psat" || f == "PofTV") return 'P';
  if (f == "Tsat" || f == "TofPH" || f == "TofPS") return 'T';
  if (f == "SigmaofT") return 'g';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(f[0])));
}

int numericArguments(const std::string& function) {
  const FunctionInfo* f = findFunction(function);
  if (f == nullptr) return -1;
  int count = 0;
  for (const ArgumentInfo& a : f->arguments) count += a.type == 'B' ? 1 : 0;
  return count;
}

}  // namespace

const char* formulationName(std::int32_t code) {
  const std::int32_t magnitude = code < 0 ? -code : code;
  for (const FormulationName& f : kFormulations) {
    if (f.code == magnitude) return f.name;
  }
  return nullptr;
}

bool parseFormat(const std::string& text, Format* format) {
  if (text == "text")
    *format = Format::kText;
  else if (text == "csv")
    *format = Format::kCsv;
  else if (text == "markdown")
    *format = Format::kMarkdown;
  else if (text == "json")
    *format = Format::kJson;
  else
    return false;
  return true;
}

std::string formatTable(const Table& table, Format format) {
  const std::size_t n = table.names.size();
  std::string out;
  if (format == Format::kJson) {
    out = "{\"title\": " + jsonString(table.title) + ", \"columns\": [";
    for (std::size_t c = 0; c < n; ++c) {
      out += std::string(c ? ", " : "") + "{\"name\": " + jsonString(table.names[c]) +
             ", \"unit\": " + jsonString(table.units[c]) + "}";
    }
    out += "], \"rows\": [";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      out += r ? ",\n  [" : "\n  [";
      for (std::size_t c = 0; c < n; ++c) {
        const Cell& cell = table.rows[r][c];
        std::string v = cell.isText ? jsonString(cell.text) : cellText(cell, format);
        if (v.empty()) v = "null";
        out += (c ? ", " : "") + v;
      }
      out += "]";
    }
    return out + "\n]}\n";
  }
  auto header = [&](std::size_t c) {
    return table.units[c].empty() ? table.names[c] : table.names[c] + " [" + table.units[c] + "]";
  };
  if (format == Format::kCsv) {
    for (std::size_t c = 0; c < n; ++c) out += (c ? "," : "") + csvField(header(c));
    out += "\r\n";
    for (const auto& row : table.rows) {
      for (std::size_t c = 0; c < n; ++c)
        out += (c ? "," : "") + csvField(cellText(row[c], format));
      out += "\r\n";
    }
    return out;
  }
  if (format == Format::kMarkdown) {
    if (!table.title.empty()) out += "**" + table.title + "**\n\n";
    for (std::size_t c = 0; c < n; ++c) out += "| " + header(c) + " ";
    out += "|\n";
    for (std::size_t c = 0; c < n; ++c) out += "|---";
    out += "|\n";
    for (const auto& row : table.rows) {
      for (std::size_t c = 0; c < n; ++c) out += "| " + cellText(row[c], format) + " ";
      out += "|\n";
    }
    return out;
  }
  // Text: right-aligned columns, names over units.
  std::vector<std::size_t> width(n, 0);
  std::vector<std::vector<std::string>> texts;
  for (std::size_t c = 0; c < n; ++c) {
    width[c] = std::max(table.names[c].size(), table.units[c].size());
  }
  for (const auto& row : table.rows) {
    std::vector<std::string> line;
    for (std::size_t c = 0; c < n; ++c) {
      line.push_back(cellText(row[c], format));
      width[c] = std::max(width[c], line.back().size());
    }
    texts.push_back(std::move(line));
  }
  auto pad = [](const std::string& s, std::size_t w) { return std::string(w - s.size(), ' ') + s; };
  if (!table.title.empty()) out += table.title + "\n";
  for (std::size_t c = 0; c < n; ++c) out += (c ? "  " : "") + pad(table.names[c], width[c]);
  out += "\n";
  for (std::size_t c = 0; c < n; ++c) out += (c ? "  " : "") + pad(table.units[c], width[c]);
  out += "\n";
  for (const auto& line : texts) {
    for (std::size_t c = 0; c < n; ++c) out += (c ? "  " : "") + pad(line[c], width[c]);
    out += "\n";
  }
  return out;
}

bool compareTable(const std::string& function, const std::vector<double>& args, bool english,
                  Table* table, std::string* error) {
  const int expected = numericArguments(function);
  if (expected < 0) {
    *error = "unknown function: '" + function + "'";
    return false;
  }
  if (static_cast<int>(args.size()) != expected) {
    *error = "wrong number of arguments: compare " + function + " takes " +
             std::to_string(expected) + ", got " + std::to_string(args.size());
    return false;
  }
  const char q = resultQuantity(function);
  const std::string u = units::name(q, english);
  *table = Table{};
  table->title = function + " under all six formulations";
  table->names = {"formulation", "code", function, "minus IAPWS-95", "relative"};
  table->units = {"", "", u, u, ""};
  const double a = args[0];
  const double b = args.size() > 1 ? args[1] : 0.0;
  auto value = [&](std::int32_t magnitude) {
    return callFunction(function.c_str(), a, b, english ? magnitude : -magnitude);
  };
  const double reference = value(95);
  const bool referenceOk = std::isfinite(reference) && reference != -999.0;
  for (const FormulationName& f : kFormulations) {
    const double v = value(f.code);
    const std::int32_t code = english ? f.code : -f.code;
    std::vector<Cell> row{textCell(f.name), numberCell(code)};
    if (std::isnan(v)) {
      row.push_back(textCell("#NUM!"));
    } else {
      row.push_back(numberCell(v));
    }
    if (referenceOk && std::isfinite(v) && v != -999.0) {
      row.push_back(numberCell(v - reference));
      row.push_back(numberCell(reference != 0.0 ? (v - reference) / std::fabs(reference) : NAN));
    } else {
      row.push_back(numberCell(NAN));
      row.push_back(numberCell(NAN));
    }
    table->rows.push_back(std::move(row));
  }
  return true;
}

bool rangeValues(double from, double to, double step, std::size_t limit,
                 std::vector<double>* values, std::string* error) {
  if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step)) {
    *error = "the range needs finite numbers";
    return false;
  }
  if (step == 0.0) {
    *error = "the step is zero";
    return false;
  }
  if ((to - from) * step < 0.0) {
    *error = "the step goes away from the end of the range";
    return false;
  }
  const double count = std::floor((to - from) / step * (1.0 + 1e-12) + 1e-9) + 1.0;
  if (count > static_cast<double>(limit)) {
    *error = "the range has more than " + std::to_string(limit) + " values";
    return false;
  }
  values->clear();
  for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
    values->push_back(from + static_cast<double>(k) * step);
  }
  if (values->empty()) {
    *error = "the range is empty";
    return false;
  }
  return true;
}

bool parseValues(const std::string& text, std::size_t limit, std::vector<double>* values,
                 std::string* error) {
  auto number = [&](const std::string& word, double* x) {
    std::string message;
    if (!parseDouble(word.c_str(), x, &message)) {
      *error = "not a number: '" + word + "'";
      return false;
    }
    return true;
  };
  if (text.find(':') != std::string::npos) {
    const std::size_t a = text.find(':');
    const std::size_t b = text.find(':', a + 1);
    if (b == std::string::npos) {
      *error = "a range is FROM:TO:STEP: '" + text + "'";
      return false;
    }
    double from = 0.0;
    double to = 0.0;
    double step = 0.0;
    if (!number(text.substr(0, a), &from) || !number(text.substr(a + 1, b - a - 1), &to) ||
        !number(text.substr(b + 1), &step)) {
      return false;
    }
    return rangeValues(from, to, step, limit, values, error);
  }
  values->clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    double x = 0.0;
    if (!number(text.substr(start, comma - start), &x)) return false;
    values->push_back(x);
    if (values->size() > limit) {
      *error = "more than " + std::to_string(limit) + " values";
      return false;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

namespace {

// The triple-point and critical temperatures and pressures in the code's
// units: where the saturation functions clamp.
struct SaturationEnds {
  double tTriple, tCritical, pTriple, pCritical;
};
SaturationEnds saturationEnds(std::int32_t code) {
  const double tTriple = callFunction("Tsat", 1e-30, 0.0, code);
  return {tTriple, callFunction("Tsat", 1e30, 0.0, code), callFunction("Psat", tTriple, 0.0, code),
          callFunction("Psat", 1e30, 0.0, code)};
}

std::string shortest(double x) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.10g", x);
  return buffer;
}

}  // namespace

bool saturationTemperatures(const std::vector<double>& range, std::int32_t code,
                            std::vector<double>* rows, std::string* error) {
  const SaturationEnds ends = saturationEnds(code);
  const char* unitName = code > 0 ? " F" : " K";
  rows->clear();
  bool inside = false;
  bool below = false;
  bool above = false;
  for (double T : range) {
    double row = T;
    if (T < ends.tTriple) {
      row = ends.tTriple;
      below = true;
    } else if (T >= ends.tCritical) {
      row = ends.tCritical;
      above = true;
    } else {
      inside = true;
    }
    if (rows->empty() || rows->back() != row) rows->push_back(row);
  }
  if (!inside && !(below && above)) {
    *error = "no temperature of the range lies on the saturation line (" + shortest(ends.tTriple) +
             unitName + " to " + shortest(ends.tCritical) + unitName + ")";
    return false;
  }
  return true;
}

bool checkSaturationPressures(const std::vector<double>& pressures, std::int32_t code,
                              std::string* error) {
  const SaturationEnds ends = saturationEnds(code);
  const char* unitName = code > 0 ? " psia" : " MPa";
  for (double P : pressures) {
    if (!(P >= ends.pTriple && P <= ends.pCritical)) {
      *error = "no saturation at " + shortest(P) + unitName + " (the line runs from " +
               shortest(ends.pTriple) + unitName + " to the critical pressure " +
               shortest(ends.pCritical) + unitName + ")";
      return false;
    }
  }
  return true;
}

bool checkGrid(const std::vector<double>& pressures, const std::vector<double>& temperatures,
               std::int32_t code, std::string* error) {
  for (double P : pressures) {
    if (!(P > 0.0)) {
      *error = "a pressure must be above zero: " + shortest(P);
      return false;
    }
  }
  const double absoluteZero = code > 0 ? -459.67 : 0.0;
  for (double T : temperatures) {
    if (!(T > absoluteZero)) {
      *error = "a temperature must be above absolute zero: " + shortest(T);
      return false;
    }
  }
  return true;
}

namespace {

// Columns of the saturation tables.
Table saturationColumns(std::int32_t code, const char* kind) {
  const bool english = code > 0;
  Table t;
  const char* name = formulationName(code);
  t.title = std::string("Saturation table by ") + kind + ", " + (name ? name : "?") + " (code " +
            std::to_string(code) + ")";
  t.names = {"T", "P", "vf", "vg", "hf", "hfg", "hg", "sf", "sfg", "sg"};
  const char q[] = {'T', 'P', 'v', 'v', 'h', 'h', 'h', 's', 's', 's'};
  for (char c : q) t.units.emplace_back(units::name(c, english));
  return t;
}

// hg - hf or sg - sf: a difference of an error value (-999) is an error
// value, never a number made of it.
double latent(double g, double f) {
  constexpr double kError = -999.0;
  return g == kError || f == kError ? kError : g - f;
}

std::vector<Cell> saturationRow(double T, double P, std::int32_t code) {
  auto at = [&](const char* f) { return callFunction(f, T, 0.0, code); };
  const double vf = at("Vf");
  const double vg = at("Vg");
  const double hf = at("Hf");
  const double hg = at("Hg");
  const double sf = at("Sf");
  const double sg = at("Sg");
  return {numberCell(T),  numberCell(P),  numberCell(vf),
          numberCell(vg), numberCell(hf), numberCell(latent(hg, hf)),
          numberCell(hg), numberCell(sf), numberCell(latent(sg, sf)),
          numberCell(sg)};
}

}  // namespace

Table saturationByTemperature(const std::vector<double>& temperatures, std::int32_t code,
                              const std::function<void(std::size_t)>& progress) {
  Table t = saturationColumns(code, "temperature");
  for (std::size_t k = 0; k < temperatures.size(); ++k) {
    const double T = temperatures[k];
    t.rows.push_back(saturationRow(T, callFunction("Psat", T, 0.0, code), code));
    if (progress) progress(k + 1);
  }
  return t;
}

Table saturationByPressure(const std::vector<double>& pressures, std::int32_t code,
                           const std::function<void(std::size_t)>& progress) {
  Table t = saturationColumns(code, "pressure");
  for (std::size_t k = 0; k < pressures.size(); ++k) {
    const double P = pressures[k];
    t.rows.push_back(saturationRow(callFunction("Tsat", P, 0.0, code), P, code));
    if (progress) progress(k + 1);
  }
  return t;
}

Table superheatTable(const std::vector<double>& pressures, const std::vector<double>& temperatures,
                     std::int32_t code, const std::function<void(std::size_t)>& progress) {
  const bool english = code > 0;
  Table t;
  const char* name = formulationName(code);
  t.title = std::string("Single-phase states, ") + (name ? name : "?") + " (code " +
            std::to_string(code) + ")";
  t.names = {"P", "T", "phase", "v", "h", "s"};
  t.units = {units::name('P', english), units::name('T', english), "",
             units::name('v', english), units::name('h', english), units::name('s', english)};
  const SaturationEnds ends = saturationEnds(code);
  const double tc = ends.tCritical;
  std::size_t done = 0;
  for (double P : pressures) {
    for (double T : temperatures) {
      const double ps = callFunction("Psat", T, 0.0, code);
      std::string phase;
      bool onLine = false;
      if (T >= tc) {
        phase = P >= ends.pCritical ? "supercritical" : "vapour";
      } else if (std::fabs(P - ps) <= 1e-12 * ps) {
        phase = "two-phase";
        onLine = true;
      } else {
        phase = P > ps ? "liquid" : "vapour";
      }
      std::vector<Cell> row{numberCell(P), numberCell(T), textCell(phase)};
      for (const char* f : {"VofTP", "HofTP", "SofTP"}) {
        row.push_back(numberCell(onLine ? NAN : callFunction(f, T, P, code)));
      }
      t.rows.push_back(std::move(row));
      if (progress) progress(++done);
    }
  }
  return t;
}

namespace {

// The file --out finally writes: the path itself, or the file a symbolic
// link leads to (the link stays a link). Empty, with the reason, for a
// target that is no regular file or that the user may not write.
std::string outputTarget(const std::string& path, mode_t* mode, bool* exists, std::string* error) {
  std::string target = path;
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
      *error = "cannot write '" + path + "': a symbolic link to a missing file";
      return "";
    }
    target = resolved;
    std::free(resolved);
  }
  *exists = stat(target.c_str(), &st) == 0;
  if (!*exists) return target;
  if (S_ISDIR(st.st_mode)) {
    *error = "cannot write '" + path + "': a directory";
    return "";
  }
  if (!S_ISREG(st.st_mode)) {
    *error = "cannot write '" + path + "': not a regular file (a device, pipe or socket)";
    return "";
  }
  if (access(target.c_str(), W_OK) != 0) {
    *error = "cannot write '" + path + "': " + std::strerror(errno);
    return "";
  }
  *mode = st.st_mode & 07777;
  return target;
}

}  // namespace

// A regular file (or a new one) is replaced atomically through a temporary
// file beside it, keeping its permissions; a symbolic link's target is
// replaced the same way; anything else is refused before any work.
bool openOutput(const std::string& path, Output* out, std::string* error) {
  mode_t mode = 0;
  bool exists = false;
  const std::string target = outputTarget(path, &mode, &exists, error);
  if (target.empty()) return false;
  if (!exists) {
    // The permissions an ordinary new file gets, not mkstemp's private ones.
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  out->path = target;
  out->temporary = target + ".tmpXXXXXX";
  std::vector<char> name(out->temporary.begin(), out->temporary.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot write '" + path + "': " + std::strerror(errno);
    return false;
  }
  out->temporary = name.data();
  fchmod(fd, mode);
  out->file = fdopen(fd, "w");
  if (out->file == nullptr) {
    *error = "cannot write '" + path + "': " + std::strerror(errno);
    close(fd);
    std::remove(out->temporary.c_str());
    return false;
  }
  return true;
}

bool commitOutput(Output* out, std::string* error) {
  errno = 0;
  const bool written = std::fflush(out->file) == 0 && std::ferror(out->file) == 0;
  const bool closed = std::fclose(out->file) == 0;
  out->file = nullptr;
  if (!written || !closed || std::rename(out->temporary.c_str(), out->path.c_str()) != 0) {
    *error = "cannot write '" + out->path + "': " + std::strerror(errno != 0 ? errno : EIO);
    std::remove(out->temporary.c_str());
    return false;
  }
  return true;
}

void abandonOutput(Output* out) {
  if (out->file != nullptr) std::fclose(out->file);
  out->file = nullptr;
  if (!out->temporary.empty()) std::remove(out->temporary.c_str());
}

}  // namespace vapordex::cli
