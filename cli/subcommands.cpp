// vapordex compare | table | chart, parsed with CLI11. Every check of the
// input happens before any computation, and a file is written through a
// temporary file and a rename.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "charts.hpp"
#include "cli.hpp"
#include "side_by_side.hpp"

namespace vapordex::cli {

namespace {

constexpr std::size_t kMaxStates = 10'000'000;
constexpr std::size_t kProgressFrom = 10'000;

// A progress bar on stderr for large grids, only when stderr is a terminal.
class Progress {
 public:
  explicit Progress(std::size_t total)
      : total_(total), shown_(total > kProgressFrom && isatty(fileno(stderr)) != 0) {}
  ~Progress() {
    if (shown_) std::fputs("\r\033[K", stderr);
  }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  void operator()(std::size_t done) {
    if (!shown_) return;
    const std::size_t percent = done * 100 / total_;
    if (percent == last_) return;
    last_ = percent;
    const std::size_t bar = percent * 40 / 100;
    std::fprintf(stderr, "\r[%s%s] %3zu%%", std::string(bar, '#').c_str(),
                 std::string(40 - bar, ' ').c_str(), percent);
  }

 private:
  std::size_t total_;
  bool shown_;
  std::size_t last_ = 1000;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "vapordex: %s\n", message.c_str());
  return 2;
}

// Draws a chart into the output's temporary file and puts it in place only
// when it is complete; otherwise the old file stays as it was.
int writeChart(const Chart& chart, const std::string& outPath, Output* out, const char* device,
               int width, int height) {
  std::fclose(out->file);
  out->file = nullptr;
  std::string error;
  if (!renderChartFile(chart, out->temporary, device, width, height, &error)) {
    abandonOutput(out);
    return fail("cannot write '" + outPath + "': " + error);
  }
  if (std::rename(out->temporary.c_str(), out->path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    abandonOutput(out);
    return fail("cannot write '" + outPath + "': " + reason);
  }
  return 0;
}

// Writes text to --out (through a temporary file) or to stdout.
int emit(const std::string& text, Output* out) {
  std::string error;
  if (out->file != nullptr) {
    std::fputs(text.c_str(), out->file);
    if (!commitOutput(out, &error)) return fail(error);
    return 0;
  }
  std::fputs(text.c_str(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    return fail("cannot write output: " + std::string(std::strerror(errno)));
  }
  return 0;
}

bool parseCodes(const std::string& text, std::vector<std::int32_t>* codes, std::string* error) {
  codes->clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string word = text.substr(start, comma - start);
    std::int32_t value = 0;
    std::string message;
    if (!parseCode(word.c_str(), &value, &message) || formulationName(value) == nullptr ||
        value < 0) {
      *error = "not a formulation code: '" + word + "' (67, 69, 84, 95, 97 or 20)";
      return false;
    }
    codes->push_back(value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace

int runSubcommand(int argc, const char* const* argv) {
  const std::string command = argv[0];
  CLI::App app{"vapordex " + command, "vapordex " + command};
  std::string formatText = "text";
  std::string outPath;
  Format format = Format::kText;
  auto checkFormat = [&](const std::string& text) {
    return parseFormat(text, &format) ? std::string() : "unknown format '" + text + "'";
  };

  // compare FUNCTION ARG... [--si | --english]
  std::string function;
  std::vector<std::string> argTexts;
  bool english = false;
  bool siUnits = false;
  // table KIND ...
  std::string kind;
  double from = NAN;
  double to = NAN;
  double step = NAN;
  std::string pressures;
  std::string temperatures;
  std::int32_t code = -97;
  // chart KIND ...
  std::string codesText = "97";
  CLI::Option* codesOption = nullptr;
  CLI::Option* codeOption = nullptr;
  std::string property = "h";
  int width = 1000;
  int height = 750;

  if (command == "compare") {
    app.description(
        "The call under all six formulations, with the difference of each from IAPWS-95.\n"
        "Example: vapordex compare HofTP 500 10");
    app.add_option("function", function, "worksheet function, e.g. HofTP")->required();
    app.add_option("args", argTexts, "its arguments without the formulation code")->required();
    auto* si = app.add_flag("--si", siUnits, "SI units (the default)");
    app.add_flag("--english", english, "English units")->excludes(si);
    app.add_option("--format", formatText, "text, csv or json")->check(checkFormat);
  } else if (command == "table") {
    app.description(
        "Steam tables: saturation-t (--from --to --step, K or F), saturation-p (--pressures),\n"
        "superheat (--pressures and --temperatures). Lists are a,b,c or FROM:TO:STEP.");
    app.add_option("kind", kind, "saturation-t, saturation-p or superheat")->required();
    app.add_option("--from", from, "first temperature (saturation-t)");
    app.add_option("--to", to, "last temperature (saturation-t)");
    app.add_option("--step", step, "temperature step (saturation-t)");
    app.add_option("--pressures", pressures, "pressures, a,b,c or FROM:TO:STEP");
    app.add_option("--temperatures", temperatures, "temperatures, a,b,c or FROM:TO:STEP");
    app.add_option("--code", code, "formulation code; its sign selects the units (default -97)");
    app.add_option("--format", formatText, "text, csv, markdown or json")->check(checkFormat);
    app.add_option("--out", outPath, "write to this file instead of stdout");
  } else {
    app.description(
        "Charts: ts, hs (Mollier), ph, pt for one or more formulations (--codes 97,67), or\n"
        "deviation --code N --property h|v|s, a T-P map of the deviation from IAPWS-95.");
    app.add_option("kind", kind, "ts, hs, ph, pt or deviation")->required();
    app.add_option("--out", outPath, "the chart file: .svg, .png or .pdf")->required();
    codesOption =
        app.add_option("--codes", codesText, "formulations to overlay, e.g. 97,67 (default 97)");
    codeOption = app.add_option("--code", code, "the formulation of a deviation map");
    app.add_option("--property", property, "h, v or s (deviation)");
    app.add_option("--width", width, "width in pixels (default 1000)")
        ->check(CLI::Range(200, 8000));
    app.add_option("--height", height, "height in pixels (default 750)")
        ->check(CLI::Range(150, 8000));
  }
  try {
    std::vector<std::string> words;
    for (int k = argc - 1; k >= 1; --k) words.emplace_back(argv[k]);
    app.parse(words);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
  } catch (const CLI::ParseError& e) {
    return fail(command + ": " + e.what());
  }

  std::string error;
  if (command == "compare") {
    Table table;
    std::vector<double> args;
    for (const std::string& text : argTexts) {
      double x = 0.0;
      if (!parseDouble(text.c_str(), &x, &error)) return fail("compare: " + error);
      args.push_back(x);
    }
    if (!compareTable(function, args, english, &table, &error)) return fail(error);
    if (format == Format::kMarkdown) return fail("compare: markdown is not a compare format");
    Output none;
    return emit(formatTable(table, format), &none);
  }

  if (command == "table") {
    std::vector<double> first;
    std::vector<double> second;
    if (formulationName(code) == nullptr) {
      return fail("table: not a formulation code: " + std::to_string(code));
    }
    if (kind == "saturation-t") {
      if (std::isnan(from) || std::isnan(to) || std::isnan(step)) {
        return fail("table saturation-t: needs --from, --to and --step");
      }
      std::vector<double> range;
      if (!rangeValues(from, to, step, kMaxStates, &range, &error) ||
          !saturationTemperatures(range, code, &first, &error)) {
        return fail("table: " + error);
      }
    } else if (kind == "saturation-p") {
      if (pressures.empty()) return fail("table saturation-p: needs --pressures");
      if (!parseValues(pressures, kMaxStates, &first, &error) ||
          !checkSaturationPressures(first, code, &error)) {
        return fail("table: " + error);
      }
    } else if (kind == "superheat") {
      if (pressures.empty() || temperatures.empty()) {
        return fail("table superheat: needs --pressures and --temperatures");
      }
      if (!parseValues(pressures, kMaxStates, &first, &error) ||
          !parseValues(temperatures, kMaxStates, &second, &error) ||
          !checkGrid(first, second, code, &error)) {
        return fail("table: " + error);
      }
      if (static_cast<double>(first.size()) * static_cast<double>(second.size()) >
          static_cast<double>(kMaxStates)) {
        return fail("table: more than 10000000 states");
      }
    } else {
      return fail("table: unknown kind '" + kind + "' (saturation-t, saturation-p, superheat)");
    }
    Output out;
    // "-" is standard output, as no --out is.
    if (!outPath.empty() && outPath != "-" && !openOutput(outPath, &out, &error)) {
      return fail(error);
    }
    const std::size_t total = kind == "superheat" ? first.size() * second.size() : first.size();
    Table table;
    {
      Progress progress(total);
      auto report = [&progress](std::size_t done) { progress(done); };
      if (kind == "saturation-t") table = saturationByTemperature(first, code, report);
      if (kind == "saturation-p") table = saturationByPressure(first, code, report);
      if (kind == "superheat") table = superheatTable(first, second, code, report);
    }
    return emit(formatTable(table, format), &out);
  }

  // chart
  ChartKind chartKind{};
  if (!parseChartKind(kind, &chartKind)) {
    return fail("chart: unknown kind '" + kind + "' (ts, hs, ph, pt, deviation)");
  }
  const char* device = chartDevice(outPath);
  if (device == nullptr)
    return fail("chart: the file must end in .svg, .png or .pdf: '" + outPath + "'");
  // An option the chart does not read is refused rather than ignored.
  if (chartKind == ChartKind::kDeviation && codesOption->count() > 0) {
    return fail("chart deviation: --codes is for the property charts; use --code");
  }
  if (chartKind != ChartKind::kDeviation && codeOption->count() > 0) {
    return fail("chart " + kind + ": --code is for deviation maps; use --codes");
  }
  if (chartKind == ChartKind::kDeviation) {
    const std::int32_t magnitude = code < 0 ? -code : code;
    if (formulationName(magnitude) == nullptr) {
      return fail("chart: not a formulation code: " + std::to_string(code));
    }
    if (magnitude == 95) {
      return fail(
          "chart deviation: IAPWS-95 against itself is 0 everywhere; choose another --code");
    }
    if (codeOption->count() == 0) {
      std::fprintf(stderr, "vapordex: chart deviation: no --code given, mapping %s (97)\n",
                   formulationName(97));
    }
    if (property != "h" && property != "v" && property != "s") {
      return fail("chart: --property must be h, v or s");
    }
    Output out;
    if (!openOutput(outPath, &out, &error)) return fail(error);
    return writeChart(deviationChart(magnitude, property[0]), outPath, &out, device, width, height);
  }
  std::vector<std::int32_t> codes;
  if (!parseCodes(codesText, &codes, &error)) return fail("chart: " + error);
  Output out;
  if (!openOutput(outPath, &out, &error)) return fail(error);
  return writeChart(propertyChart(chartKind, codes), outPath, &out, device, width, height);
}

}  // namespace vapordex::cli
