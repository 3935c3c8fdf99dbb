// Charts of the formulations: T-s, h-s (Mollier), p-h and p-T diagrams with
// the saturation dome, isobars, isotherms and lines of constant quality, and
// a T-P map of one formulation's deviation from IAPWS-95. A chart is built as
// data in SI units (series of points in the axes' units) and then drawn with
// PLplot to SVG, PNG or PDF.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vapordex::cli {

enum class ChartKind { kTs, kHs, kPh, kPt, kDeviation };
bool parseChartKind(const std::string& text, ChartKind* kind);

struct Series {
  std::string label;  // for the legend; empty when the series has no entry
  int colour;         // index into the chart palette
  std::vector<double> x;
  std::vector<double> y;
  double width;  // line width
  int style;     // PLplot line style: 1 solid, 2 short dashes, 3 long dashes
  bool marker;   // draw points (the critical point), not a line
};

// A label of a line (isobar, isotherm, quality): the centre of its baseline,
// x in the axis unit and y as plotted (log10 of P on a logarithmic axis).
struct Annotation {
  double x;
  double yPlot;
  std::string text;
};

// The plot area as fractions of the page (left, right, bottom, top): room on
// the right for the legend, the key and a map's colour bar.
inline constexpr double kPlotLeft = 0.1;
inline constexpr double kPlotRight = 0.70;
inline constexpr double kPlotBottom = 0.1;
inline constexpr double kPlotTop = 0.92;
// The palette index of the line labels' grey.
inline constexpr int kLabelColour = 2;

struct Chart {
  std::string title;
  std::string xLabel;
  std::string yLabel;
  bool yLog = false;  // p axes are logarithmic
  double xMin = 0.0, xMax = 1.0, yMin = 0.0, yMax = 1.0;
  std::vector<Series> series;
  std::vector<Annotation> annotations;
  // The labels' boxes in plot fractions (x0, y0, x1, y1), kept while the
  // chart is built so that no label covers another.
  std::vector<std::array<double, 4>> labelBoxes;
  // The deviation map: values on a grid of x (nx) by y (ny), row-major in x;
  // NaN where a formulation has no value. colourLabel names the scale.
  int nx = 0;
  int ny = 0;
  std::vector<double> gridX;
  std::vector<double> gridY;
  std::vector<double> grid;
  double gridMin = 0.0, gridMax = 0.0;
  std::string colourLabel;
};

// The dome, isobars (ts, hs), isotherms (hs, ph) and quality lines of each
// formulation code given (magnitudes), overlaid in one chart.
Chart propertyChart(ChartKind kind, const std::vector<std::int32_t>& codes);

// The deviation of property 'h', 'v' or 's' of one formulation from
// IAPWS-95 over 275 K to 1000 K and 0.001 MPa to 100 MPa: relative (%) for v,
// absolute for h (kJ/kg) and s (kJ/(kg K)).
Chart deviationChart(std::int32_t code, char property);

// The PLplot device for a chart file by its extension (.svg, .png, .pdf),
// or null.
const char* chartDevice(const std::string& path);

// Draws the chart with the device to path. Width and height in pixels
// (points for SVG and PDF).
void renderChart(const Chart& chart, const std::string& path, const char* device, int width,
                 int height);

// Draws the chart into the file at path and checks that it is complete;
// false, with the reason, when the drawing or a write failed.
bool renderChartFile(const Chart& chart, const std::string& path, const char* device, int width,
                     int height, std::string* error);

}  // namespace vapordex::cli
