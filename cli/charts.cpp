#include "charts.hpp"

#include <plplot.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "cli.hpp"
#include "frontend/catalogue.hpp"
#include "side_by_side.hpp"

namespace vapordex::cli {

namespace {

constexpr double kTriplePoint = 273.16;

// SI value of a worksheet function for a formulation (magnitude).
double si(const char* f, double a, double b, std::int32_t code) {
  return callFunction(f, a, b, -code);
}
double criticalTemperature(std::int32_t code) { return si("Tsat", 9999.0, 0.0, code); }
double criticalPressure(std::int32_t code) { return si("Psat", 9999.0, 0.0, code); }

// Palette: 0 background, 1 axes, 2 the labels' grey; then one colour per
// formulation in the order of kFormulations; last the grid's light grey.
struct Rgb {
  int r, g, b;
};
constexpr Rgb kPalette[] = {{255, 255, 255}, {0, 0, 0},      {110, 110, 110}, {200, 40, 40},
                            {230, 140, 0},   {130, 80, 30},  {30, 80, 200},   {20, 150, 60},
                            {140, 60, 170},  {225, 225, 225}};
constexpr int kGridColour = 9;  // the light grey of the grid
int colourOf(std::int32_t code) {
  int k = 0;
  for (const FormulationName& f : kFormulations) {
    if (f.code == code) return 3 + k;
    ++k;
  }
  return 1;
}

std::string legendName(std::int32_t code) {
  const char* name = formulationName(code);
  return std::string(name != nullptr ? name : "?") + " (" + std::to_string(code) + ")";
}

// Temperatures from the triple point to Tc, denser towards Tc.
std::vector<double> domeTemperatures(double tc) {
  constexpr int kPoints = 160;
  std::vector<double> t;
  for (int k = 0; k <= kPoints; ++k) {
    const double u = 1.0 - static_cast<double>(k) / kPoints;
    t.push_back(tc - (tc - kTriplePoint) * u * u);
  }
  return t;
}

// A saturated state at T: x and y of the chart for liquid or vapour.
struct Axes {
  ChartKind kind;
  // The chart coordinates of a state given (T, P, h, s).
  void point(double T, double P, double h, double s, double* x, double* y) const {
    switch (kind) {
      case ChartKind::kTs:
        *x = s;
        *y = T;
        break;
      case ChartKind::kHs:
        *x = s;
        *y = h;
        break;
      case ChartKind::kPh:
        *x = h;
        *y = P;
        break;
      default:
        *x = T;
        *y = P;
        break;
    }
  }
};

void add(Series* s, const Axes& axes, double T, double P, double h, double sv) {
  double x = 0.0;
  double y = 0.0;
  axes.point(T, P, h, sv, &x, &y);
  if (!std::isfinite(x) || !std::isfinite(y) || x == -999.0 || y == -999.0) return;
  s->x.push_back(x);
  s->y.push_back(y);
}

Series line(std::string label, int colour, double width, int style) {
  return Series{std::move(label), colour, {}, {}, width, style, false};
}

double plotY(const Chart& c, double y) { return c.yLog ? std::log10(y) : y; }

// Labels a line at the last of its points where the label lies inside the
// plot area and clear of every label placed before: its baseline a little
// above the point, centred on it. The box is the text's extent at the
// default page size (about 8 points a character, 12 high on a 1000 by 750
// page), with a margin. A line with no such point stays unlabelled.
void placeLabel(Chart* chart, const Series& s, const std::string& text) {
  constexpr double kCharWidth = 8.5 / (1000.0 * (kPlotRight - kPlotLeft));
  constexpr double kHeight = 14.0 / (750.0 * (kPlotTop - kPlotBottom));
  constexpr double kLift = 0.006;
  const double width = kCharWidth * static_cast<double>(text.size());
  const double y0 = plotY(*chart, chart->yMin);
  const double y1 = plotY(*chart, chart->yMax);
  for (std::size_t k = s.x.size(); k-- > 0;) {
    const double u = (s.x[k] - chart->xMin) / (chart->xMax - chart->xMin);
    const double v = (plotY(*chart, s.y[k]) - y0) / (y1 - y0);
    const std::array<double, 4> box{u - width / 2, v + kLift, u + width / 2, v + kLift + kHeight};
    if (!(box[0] > 0.01 && box[2] < 0.99 && box[1] > 0.01 && box[3] < 0.99)) continue;
    bool clear = true;
    for (const std::array<double, 4>& b : chart->labelBoxes) {
      if (box[0] < b[2] && b[0] < box[2] && box[1] < b[3] && b[1] < box[3]) clear = false;
    }
    if (!clear) continue;
    chart->labelBoxes.push_back(box);
    chart->annotations.push_back({s.x[k], y0 + (v + kLift) * (y1 - y0), text});
    return;
  }
}

void formulationSeries(Chart* chart, ChartKind kind, std::int32_t code, int index) {
  const bool annotate = index == 0;
  const Axes axes{kind};
  const int colour = colourOf(code);
  const double tc = criticalTemperature(code);
  const double pc = criticalPressure(code);
  const std::vector<double> temps = domeTemperatures(tc);

  // The saturation dome (the saturation line for p-T): liquid up to the
  // critical point, then vapour back down.
  // Each formulation's dome its own colour and dash (solid, long, short),
  // so that lines lying on each other stay told apart.
  Series dome = line(legendName(code), colour, 2.0, 1 + (2 * index) % 3);
  if (kind == ChartKind::kPt) {
    for (double T : temps) add(&dome, axes, T, si("Psat", T, 0, code), 0, 0);
  } else {
    for (double T : temps) {
      add(&dome, axes, T, si("Psat", T, 0, code), si("Hf", T, 0, code), si("Sf", T, 0, code));
    }
    for (std::size_t k = temps.size(); k-- > 0;) {
      const double T = temps[k];
      add(&dome, axes, T, si("Psat", T, 0, code), si("Hg", T, 0, code), si("Sg", T, 0, code));
    }
  }
  chart->series.push_back(dome);
  Series critical{"", colour, {}, {}, 1.0, 1, true};
  add(&critical, axes, tc, pc, si("Hf", tc, 0, code), si("Sf", tc, 0, code));
  chart->series.push_back(critical);
  if (kind == ChartKind::kPt) return;

  // Lines of constant quality inside the dome.
  for (double q : {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}) {
    Series s = line("", colour, 0.5, 2);
    for (double T : temps) {
      const double hf = si("Hf", T, 0, code);
      const double sf = si("Sf", T, 0, code);
      add(&s, axes, T, si("Psat", T, 0, code), hf + q * (si("Hg", T, 0, code) - hf),
          sf + q * (si("Sg", T, 0, code) - sf));
    }
    // The quality lines' labels low in the dome, where they spread out.
    if (annotate && (q == 0.1 || q == 0.5 || q == 0.9)) {
      Series low = s;
      const std::size_t keep = std::min<std::size_t>(low.x.size(), low.x.size() / 3);
      low.x.resize(keep);
      low.y.resize(keep);
      char text[16];
      std::snprintf(text, sizeof text, "x=%.1f", q);
      placeLabel(chart, low, text);
    }
    chart->series.push_back(s);
  }

  // Isobars (T-s and h-s): single-phase states in T with the two-phase
  // stretch at Tsat.
  if (kind == ChartKind::kTs || kind == ChartKind::kHs) {
    for (double P : {0.01, 0.1, 1.0, 10.0, 40.0, 100.0}) {
      Series s = line("", colour, 0.8, 1);
      const double ts = P < pc ? si("Tsat", P, 0, code) : 0.0;
      bool twoPhaseDone = ts == 0.0;
      for (int k = 0; k <= 120; ++k) {
        const double T = kTriplePoint + 0.01 + (1073.15 - kTriplePoint) * k / 120.0;
        if (!twoPhaseDone && T > ts) {
          add(&s, axes, ts, P, si("Hf", ts, 0, code), si("Sf", ts, 0, code));
          add(&s, axes, ts, P, si("Hg", ts, 0, code), si("Sg", ts, 0, code));
          twoPhaseDone = true;
        }
        add(&s, axes, T, P, si("HofTP", T, P, code), si("SofTP", T, P, code));
      }
      if (annotate) {
        char text[32];
        std::snprintf(text, sizeof text, "%g MPa", P);
        placeLabel(chart, s, text);
      }
      chart->series.push_back(s);
    }
  }

  // Isotherms (h-s and p-h): single-phase states in P with the two-phase
  // stretch at Psat.
  if (kind == ChartKind::kHs || kind == ChartKind::kPh) {
    for (double T : {300.0, 400.0, 500.0, 600.0, 700.0, 800.0, 1000.0}) {
      Series s = line("", colour, 0.8, kind == ChartKind::kHs ? 3 : 1);
      const double ps = T < tc ? si("Psat", T, 0, code) : 0.0;
      bool twoPhaseDone = ps == 0.0;
      for (int k = 0; k <= 100; ++k) {
        const double P = std::pow(10.0, -3.0 + 5.0 * k / 100.0);
        if (!twoPhaseDone && P > ps) {
          add(&s, axes, T, ps, si("Hg", T, 0, code), si("Sg", T, 0, code));
          add(&s, axes, T, ps, si("Hf", T, 0, code), si("Sf", T, 0, code));
          twoPhaseDone = true;
        }
        add(&s, axes, T, P, si("HofTP", T, P, code), si("SofTP", T, P, code));
      }
      if (annotate) {
        char text[32];
        std::snprintf(text, sizeof text, "%g K", T);
        placeLabel(chart, s, text);
      }
      chart->series.push_back(s);
    }
  }
}

}  // namespace

bool parseChartKind(const std::string& text, ChartKind* kind) {
  if (text == "ts")
    *kind = ChartKind::kTs;
  else if (text == "hs")
    *kind = ChartKind::kHs;
  else if (text == "ph")
    *kind = ChartKind::kPh;
  else if (text == "pt")
    *kind = ChartKind::kPt;
  else if (text == "deviation")
    *kind = ChartKind::kDeviation;
  else
    return false;
  return true;
}

Chart propertyChart(ChartKind kind, const std::vector<std::int32_t>& codes) {
  Chart chart;
  switch (kind) {
    case ChartKind::kTs:
      chart.title = "Temperature-entropy diagram";
      chart.xLabel = "s [kJ/(kg K)]";
      chart.yLabel = "T [K]";
      chart.xMin = 0.0, chart.xMax = 10.0, chart.yMin = 273.15, chart.yMax = 1100.0;
      break;
    case ChartKind::kHs:
      chart.title = "Enthalpy-entropy (Mollier) diagram";
      chart.xLabel = "s [kJ/(kg K)]";
      chart.yLabel = "h [kJ/kg]";
      chart.xMin = 0.0, chart.xMax = 10.0, chart.yMin = 0.0, chart.yMax = 4400.0;
      break;
    case ChartKind::kPh:
      chart.title = "Pressure-enthalpy diagram";
      chart.xLabel = "h [kJ/kg]";
      chart.yLabel = "P [MPa]";
      chart.yLog = true;
      chart.xMin = 0.0, chart.xMax = 4400.0, chart.yMin = 0.001, chart.yMax = 100.0;
      break;
    default:
      chart.title = "Pressure-temperature diagram (saturation line)";
      chart.xLabel = "T [K]";
      chart.yLabel = "P [MPa]";
      chart.yLog = true;
      chart.xMin = 273.15, chart.xMax = 700.0, chart.yMin = 0.0005, chart.yMax = 100.0;
      break;
  }
  int index = 0;
  for (std::int32_t code : codes) formulationSeries(&chart, kind, code, index++);
  // The key to the kinds of line (entries of the legend without points),
  // after the formulations' colours.
  if (kind == ChartKind::kTs || kind == ChartKind::kHs) {
    chart.series.push_back(line("isobars", 1, 0.8, 1));
  }
  if (kind == ChartKind::kHs || kind == ChartKind::kPh) {
    chart.series.push_back(line("isotherms", 1, 0.8, kind == ChartKind::kHs ? 3 : 1));
  }
  if (kind != ChartKind::kPt) chart.series.push_back(line("quality x", 1, 0.5, 2));
  return chart;
}

Chart deviationChart(std::int32_t code, char property) {
  Chart chart;
  const char* f = property == 'v' ? "VofTP" : property == 'h' ? "HofTP" : "SofTP";
  chart.title = "Deviation of " + legendName(code) + " from IAPWS-95";
  chart.xLabel = "T [K]";
  chart.yLabel = "P [MPa]";
  chart.yLog = true;
  chart.xMin = 275.0, chart.xMax = 1000.0, chart.yMin = 0.001, chart.yMax = 100.0;
  chart.colourLabel = property == 'v'   ? "v - v95 [%]"
                      : property == 'h' ? "h - h95 [kJ/kg]"
                                        : "s - s95 [kJ/(kg K)]";
  chart.nx = 146;
  chart.ny = 101;
  for (int i = 0; i < chart.nx; ++i) chart.gridX.push_back(275.0 + 5.0 * i);
  for (int j = 0; j < chart.ny; ++j) chart.gridY.push_back(std::pow(10.0, -3.0 + 0.05 * j));
  std::vector<double> magnitudes;
  for (double T : chart.gridX) {
    for (double P : chart.gridY) {
      const double a = si(f, T, P, code);
      const double b = si(f, T, P, 95);
      double d = NAN;
      if (std::isfinite(a) && std::isfinite(b) && a != -999.0 && b != -999.0) {
        d = property == 'v' ? 100.0 * (a / b - 1.0) : a - b;
        magnitudes.push_back(std::fabs(d));
      }
      chart.grid.push_back(d);
    }
  }
  // A symmetric scale to the 98th percentile of the magnitudes: states where
  // the two formulations put the line between phases differently would
  // otherwise wash out the rest.
  double scale = 1e-12;
  if (!magnitudes.empty()) {
    std::sort(magnitudes.begin(), magnitudes.end());
    scale = std::max(scale, magnitudes[magnitudes.size() * 98 / 100]);
  }
  chart.gridMin = -scale;
  chart.gridMax = scale;
  // The saturation line of IAPWS-95 and the critical point of both.
  Series line95{"saturation line (IAPWS-95)", 1, {}, {}, 1.5, 1, false};
  for (double T : domeTemperatures(criticalTemperature(95))) {
    line95.x.push_back(T);
    line95.y.push_back(si("Psat", T, 0, 95));
  }
  chart.series.push_back(line95);
  Series box{"critical region",
             1,
             {617.1, 677.1, 677.1, 617.1, 617.1},
             {15.0, 15.0, 35.0, 35.0, 15.0},
             1.0,
             2,
             false};
  chart.series.push_back(box);
  Series critical{"", 1, {criticalTemperature(95)}, {criticalPressure(95)}, 1.0, 1, true};
  chart.series.push_back(critical);
  return chart;
}

const char* chartDevice(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return nullptr;
  const std::string ext = path.substr(dot + 1);
  if (ext == "svg") return "svgcairo";
  if (ext == "png") return "pngcairo";
  if (ext == "pdf") return "pdfcairo";
  return nullptr;
}

namespace {

double toY(const Chart& c, double y) { return c.yLog ? std::log10(y) : y; }

void drawSeries(const Chart& chart, const Series& s) {
  if (s.x.empty()) return;
  std::vector<PLFLT> x(s.x.begin(), s.x.end());
  std::vector<PLFLT> y;
  for (double v : s.y) y.push_back(toY(chart, v));
  plcol0(s.colour);
  plwidth(s.width);
  pllsty(s.style);
  if (s.marker) {
    plssym(0.0, 1.2);
    plpoin(static_cast<PLINT>(x.size()), x.data(), y.data(), 4);
  } else {
    plline(static_cast<PLINT>(x.size()), x.data(), y.data());
  }
  pllsty(1);
}

void drawLegend(const Chart& chart) {
  std::vector<const Series*> entries;
  for (const Series& s : chart.series) {
    if (!s.label.empty()) entries.push_back(&s);
  }
  if (entries.empty()) return;
  const auto n = static_cast<PLINT>(entries.size());
  std::vector<PLINT> opts(entries.size(), PL_LEGEND_LINE);
  std::vector<PLINT> colours;
  std::vector<PLINT> styles;
  std::vector<PLFLT> widths;
  std::vector<const char*> texts;
  for (const Series* s : entries) {
    colours.push_back(s->colour);
    styles.push_back(s->style);
    widths.push_back(s->width);
    texts.push_back(s->label.c_str());
  }
  std::vector<PLINT> textColours(entries.size(), 1);
  PLFLT legendWidth = 0.0;
  PLFLT legendHeight = 0.0;
  plschr(0.0, 0.8);
  pllegend(&legendWidth, &legendHeight, PL_LEGEND_BACKGROUND | PL_LEGEND_BOUNDING_BOX,
           // Beside the plot; inside it, low on the right, for a map,
           // whose colour bar takes the side.
           chart.nx > 0 ? PL_POSITION_RIGHT | PL_POSITION_BOTTOM | PL_POSITION_INSIDE
                        : PL_POSITION_RIGHT | PL_POSITION_OUTSIDE,
           0.02, 0.02, 0.06, 0, 1, 1, 0, 0, n, opts.data(), 1.0, 0.9, 2.0, 0.0, textColours.data(),
           texts.data(), nullptr, nullptr, nullptr, nullptr, colours.data(), styles.data(),
           widths.data(), nullptr, nullptr, nullptr, nullptr);
  plschr(0.0, 1.0);
}

void drawMap(const Chart& chart) {
  constexpr int kLevels = 21;
  std::vector<PLFLT> levels;
  levels.reserve(kLevels);
  for (int k = 0; k < kLevels; ++k) {
    levels.push_back(chart.gridMin + (chart.gridMax - chart.gridMin) * k / (kLevels - 1));
  }
  std::vector<PLFLT> values(chart.grid.size());
  for (std::size_t k = 0; k < values.size(); ++k) {
    const double v = chart.grid[k];
    values[k] = std::isnan(v) ? chart.gridMax : std::clamp(v, chart.gridMin, chart.gridMax);
  }
  std::vector<PLFLT*> rows;
  rows.reserve(static_cast<std::size_t>(chart.nx));
  for (int i = 0; i < chart.nx; ++i) {
    rows.push_back(values.data() +
                   static_cast<std::size_t>(i) * static_cast<std::size_t>(chart.ny));
  }
  // Blue through white to red.
  PLFLT pos[] = {0.0, 0.5, 1.0};
  PLFLT r[] = {0.15, 1.0, 0.8};
  PLFLT g[] = {0.3, 1.0, 0.1};
  PLFLT b[] = {0.8, 1.0, 0.1};
  plscmap1l(1, 3, pos, r, g, b, nullptr);
  plshades(rows.data(), chart.nx, chart.ny, nullptr, chart.gridX.front(), chart.gridX.back(),
           std::log10(chart.gridY.front()), std::log10(chart.gridY.back()), levels.data(), kLevels,
           1.0, 0, 0.0, plfill, 1, nullptr, nullptr);
  PLFLT barWidth = 0.0;
  PLFLT barHeight = 0.0;
  PLINT labelOpts[] = {PL_COLORBAR_LABEL_RIGHT};
  const char* labels[] = {chart.colourLabel.c_str()};
  const char* axisOpts[] = {"bcvtm"};
  PLFLT ticks[] = {0.0};
  PLINT subTicks[] = {0};
  PLINT counts[] = {kLevels};
  const PLFLT* valueRows[] = {levels.data()};
  plschr(0.0, 0.75);
  plcolorbar(&barWidth, &barHeight, PL_COLORBAR_SHADE | PL_COLORBAR_SHADE_LABEL, PL_POSITION_RIGHT,
             0.02, 0.0, 0.03, 0.8, 0, 1, 1, 0.0, 0.0, 0, 0.0, 1, labelOpts, labels, 1, axisOpts,
             ticks, subTicks, counts, valueRows);
  plschr(0.0, 1.0);
}

}  // namespace

void renderChart(const Chart& chart, const std::string& path, const char* device, int width,
                 int height) {
  plsdev(device);
  plsfnam(path.c_str());
  plspage(0.0, 0.0, width, height, 0, 0);
  int k = 0;
  for (const Rgb& c : kPalette) plscol0(k++, c.r, c.g, c.b);
  plinit();
  pladv(0);
  const bool map = chart.nx > 0;
  plvpor(kPlotLeft, kPlotRight, kPlotBottom, kPlotTop);
  plwind(chart.xMin, chart.xMax, toY(chart, chart.yMin), toY(chart, chart.yMax));
  if (map) {
    drawMap(chart);
  } else {
    // A light grid at the major ticks, under the lines.
    plcol0(kGridColour);
    plwidth(0.5);
    plbox("g", 0.0, 0, chart.yLog ? "gl" : "g", 0.0, 0);
  }
  plcol0(1);
  plwidth(1.0);
  plbox("bcnst", 0.0, 0, chart.yLog ? "bcnstlv" : "bcnstv", 0.0, 0);
  pllab(chart.xLabel.c_str(), chart.yLabel.c_str(), chart.title.c_str());
  for (const Series& s : chart.series) drawSeries(chart, s);
  plcol0(kLabelColour);
  plschr(0.0, 0.65);
  for (const Annotation& a : chart.annotations) plptex(a.x, a.yPlot, 1.0, 0.0, 0.5, a.text.c_str());
  plschr(0.0, 1.0);
  drawLegend(chart);
  plend();
}

namespace {

// Whether a drawing's file is complete: PLplot reports no failed write, so
// the file's last bytes must be its format's end.
bool completeFile(const std::string& path, const char* device) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string_view device_(device);
  std::string_view end;
  if (device_ == "svgcairo") end = "</svg>\n";
  if (device_ == "pdfcairo") end = "%%EOF\n";
  if (device_ == "pngcairo") end = std::string_view("IEND\xae\x42\x60\x82", 8);
  return !end.empty() && bytes.size() > end.size() &&
         std::string_view(bytes).substr(bytes.size() - end.size()) == end;
}

}  // namespace

bool renderChartFile(const Chart& chart, const std::string& path, const char* device, int width,
                     int height, std::string* error) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr) {
      *error = std::strerror(errno);
      return false;
    }
    absolute = std::string(cwd) + "/" + path;
    std::free(cwd);
  }
  // PLplot draws in a child process: a failed write can crash it, and it
  // reads its fonts and palettes from the current folder before its own
  // data folder, so the child works in the data folder and is told where it is.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    *error = std::strerror(errno);
    return false;
  }
  if (child == 0) {
    if (setenv("PLPLOT_LIB", VDX_PLPLOT_DATA, 1) != 0 || chdir(VDX_PLPLOT_DATA) != 0) _exit(3);
    renderChart(chart, absolute, device, width, height);
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      *error = std::strerror(errno);
      return false;
    }
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    *error = WIFSIGNALED(status)
                 ? std::string("the drawing ended with signal ") + std::to_string(WTERMSIG(status))
                 : std::string("the drawing failed");
    return false;
  }
  if (!completeFile(absolute, device)) {
    *error = "the file was not written completely (a full disk or a file size limit?)";
    return false;
  }
  return true;
}

}  // namespace vapordex::cli
