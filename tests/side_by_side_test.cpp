// The formulations side by side: compare rows, steam tables, ranges, and
// charts checked as a person would look at them.
#include "side_by_side.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "charts.hpp"
#include "cli.hpp"
#include "frontend/catalogue.hpp"

namespace vapordex::cli {
namespace {

TEST(Compare, SixRowsWithDeviationsFromIapws95) {
  Table t;
  std::string error;
  ASSERT_TRUE(compareTable("HofTP", {500.0, 10.0}, false, &t, &error)) << error;
  ASSERT_EQ(t.rows.size(), 6u);
  const double h95 = callFunction("HofTP", 500.0, 10.0, -95);
  for (const auto& row : t.rows) {
    const double h = row[2].number;
    EXPECT_EQ(h, callFunction("HofTP", 500.0, 10.0, static_cast<std::int32_t>(row[1].number)));
    EXPECT_EQ(row[3].number, h - h95) << row[0].text;
    EXPECT_NEAR(row[4].number, (h - h95) / h95, 1e-15) << row[0].text;
  }
  EXPECT_EQ(t.units[2], "kJ/kg");
  // English units: positive codes and English values.
  ASSERT_TRUE(compareTable("HofTP", {500.0, 1000.0}, true, &t, &error));
  EXPECT_EQ(t.rows[4][1].number, 97.0);
  EXPECT_EQ(t.rows[4][2].number, callFunction("HofTP", 500.0, 1000.0, 97));
  EXPECT_EQ(t.units[2], "BTU/lbm");
}

TEST(Compare, UnitsOfEveryResult) {
  const struct {
    const char* function;
    std::vector<double> args;
    const char* si;
    const char* english;
  } cases[] = {
      {"VofTP", {500.0, 10.0}, "cm3/g", "ft3/lbm"},
      {"CpofTP", {500.0, 10.0}, "kJ/(kg K)", "BTU/(lbm R)"},
      {"CvofTP", {500.0, 10.0}, "kJ/(kg K)", "BTU/(lbm R)"},
      {"WofTP", {500.0, 10.0}, "m/s", "ft/s"},
      {"MuofTP", {500.0, 10.0}, "uPa s", "lbm/(ft h)"},
      {"KofTP", {500.0, 10.0}, "mW/(m K)", "BTU/(h ft F)"},
      {"XofPH", {1.0, 2000.0}, "", ""},
      {"SigmaofT", {373.15}, "mN/m", "lbf/ft"},
  };
  for (const auto& c : cases) {
    for (bool english : {false, true}) {
      Table t;
      std::string error;
      ASSERT_TRUE(compareTable(c.function, c.args, english, &t, &error)) << error;
      EXPECT_EQ(t.units[2], english ? c.english : c.si) << c.function;
    }
  }
}

TEST(Compare, AFailingFormulationShowsInItsRowOnly) {
  Table t;
  std::string error;
  // 0.5 cm3/g at 300 K: no pressure of 67 or 97 reaches it; the density-based
  // formulations answer with their equation of state.
  ASSERT_TRUE(compareTable("PofTV", {300.0, 0.5}, false, &t, &error));
  EXPECT_EQ(t.rows[0][2].number, -999.0);  // IFC-67
  EXPECT_TRUE(std::isnan(t.rows[0][3].number));
  EXPECT_TRUE(std::isfinite(t.rows[3][2].number));  // IAPWS-95
  EXPECT_EQ(t.rows[1][3].number, t.rows[1][2].number - t.rows[3][2].number);
  const std::string csv = formatTable(t, Format::kCsv);
  EXPECT_NE(csv.find("IFC-67,-67,-999,,\r\n"), std::string::npos) << csv;
}

TEST(Compare, BadCallsAreNamed) {
  Table t;
  std::string error;
  EXPECT_FALSE(compareTable("Hofx", {1.0}, false, &t, &error));
  EXPECT_EQ(error, "unknown function: 'Hofx'");
  EXPECT_FALSE(compareTable("HofTP", {1.0}, false, &t, &error));
  EXPECT_EQ(error, "wrong number of arguments: compare HofTP takes 2, got 1");
}

TEST(Tables, RangesAndLists) {
  std::vector<double> v;
  std::string error;
  ASSERT_TRUE(rangeValues(300.0, 400.0, 25.0, 100, &v, &error));
  EXPECT_EQ(v, (std::vector<double>{300, 325, 350, 375, 400}));
  ASSERT_TRUE(rangeValues(0.1, 0.3, 0.1, 100, &v, &error));  // 0.3 reached within rounding
  EXPECT_EQ(v.size(), 3u);
  ASSERT_TRUE(rangeValues(400.0, 300.0, -50.0, 100, &v, &error));
  EXPECT_EQ(v, (std::vector<double>{400, 350, 300}));
  struct Bad {
    double from, to, step;
    const char* message;
  };
  for (const Bad& b : {Bad{300, 400, 0, "the step is zero"},
                       Bad{300, 400, -1, "the step goes away from the end of the range"},
                       Bad{400, 300, 1, "the step goes away from the end of the range"},
                       Bad{0, 1e9, 1, "the range has more than 100 values"},
                       Bad{NAN, 1, 1, "the range needs finite numbers"}}) {
    EXPECT_FALSE(rangeValues(b.from, b.to, b.step, 100, &v, &error));
    EXPECT_EQ(error, b.message);
  }
  ASSERT_TRUE(parseValues("0.1,1,10", 100, &v, &error));
  EXPECT_EQ(v, (std::vector<double>{0.1, 1, 10}));
  ASSERT_TRUE(parseValues("1:3:1", 100, &v, &error));
  EXPECT_EQ(v, (std::vector<double>{1, 2, 3}));
  for (const char* bad : {"", "1,,2", "1,x", "1:2", "1:2:0", "inf", "nan", "0x10", "1e999"}) {
    EXPECT_FALSE(parseValues(bad, 100, &v, &error)) << bad;
  }
}

TEST(Tables, SaturationColumnsAreConsistent) {
  const Table t = saturationByTemperature({300.0, 450.0}, -97, nullptr);
  ASSERT_EQ(t.rows.size(), 2u);
  ASSERT_EQ(t.names.size(), 10u);
  for (const auto& row : t.rows) {
    const double T = row[0].number;
    EXPECT_EQ(row[1].number, callFunction("Psat", T, 0, -97));
    EXPECT_EQ(row[5].number, row[6].number - row[4].number);  // hfg = hg - hf
    EXPECT_EQ(row[8].number, row[9].number - row[7].number);  // sfg = sg - sf
  }
  const Table p = saturationByPressure({1.0}, 97, nullptr);
  EXPECT_EQ(p.rows[0][0].number, callFunction("Tsat", 1.0, 0, 97));
  EXPECT_EQ(p.units[0], "F");
  EXPECT_EQ(p.units[1], "psia");
}

// A saturation table runs from the triple point to the critical point:
// temperatures beyond either end become that end, once.
TEST(Tables, SaturationRowsStayOnTheLine) {
  const double tc = callFunction("Tsat", 1e30, 0, -97);
  const double tt = callFunction("Tsat", 1e-30, 0, -97);
  struct Case {
    std::vector<double> range;
    std::vector<double> rows;
  };
  const Case cases[] = {
      {{640, 645, 650, 655, 660}, {640, 645, tc}},
      {{250, 260, 270, 280}, {tt, 280}},
      {{400, 300, 200}, {400, 300, tt}},
      {{200, 700}, {tt, tc}},
      {{300, tc}, {300, tc}},
  };
  for (const Case& c : cases) {
    std::vector<double> rows;
    std::string error;
    ASSERT_TRUE(saturationTemperatures(c.range, -97, &rows, &error)) << error;
    EXPECT_EQ(rows, c.rows);
    const Table t = saturationByTemperature(rows, -97, nullptr);
    EXPECT_EQ(t.rows.back()[0].number, rows.back());
  }
  std::vector<double> rows;
  std::string error;
  EXPECT_FALSE(saturationTemperatures({650, 660}, -97, &rows, &error));
  EXPECT_NE(error.find("647.096 K"), std::string::npos) << error;
  EXPECT_FALSE(saturationTemperatures({-10, 20}, 97, &rows, &error));
  EXPECT_NE(error.find("32.018 F"), std::string::npos) << error;
}

// A difference of error values is an error value, never 0.
TEST(Tables, LatentHeatOfErrorValuesIsAnErrorValue) {
  const Table t = saturationByTemperature({300.0}, -50, nullptr);
  ASSERT_EQ(t.rows.size(), 1u);
  EXPECT_EQ(t.rows[0][4].number, -999.0);  // hf
  EXPECT_EQ(t.rows[0][5].number, -999.0);  // hfg
  EXPECT_EQ(t.rows[0][8].number, -999.0);  // sfg
}

TEST(Tables, SaturationPressuresAndGridsAreChecked) {
  std::string error;
  EXPECT_TRUE(checkSaturationPressures({0.000611657, 1.0, 22.064}, -97, &error)) << error;
  for (double P : {30.0, 22.07, 0.0001, -1.0, 0.0}) {
    EXPECT_FALSE(checkSaturationPressures({1.0, P}, -97, &error)) << P;
  }
  EXPECT_TRUE(checkSaturationPressures({3200.0}, 97, &error)) << error;
  EXPECT_FALSE(checkSaturationPressures({3300.0}, 97, &error));
  EXPECT_TRUE(checkGrid({0.001, 100.0}, {1.0, 2000.0}, -97, &error)) << error;
  EXPECT_TRUE(checkGrid({1.0}, {-400.0}, 97, &error)) << error;
  EXPECT_FALSE(checkGrid({1.0, -2.0}, {500.0}, -97, &error));
  EXPECT_FALSE(checkGrid({0.0}, {500.0}, -97, &error));
  EXPECT_FALSE(checkGrid({1.0}, {0.0}, -97, &error));
  EXPECT_FALSE(checkGrid({1.0}, {-459.67}, 97, &error));
}

TEST(Tables, SuperheatMarksPhases) {
  const double ps = callFunction("Psat", 450.0, 0, -97);
  const Table t = superheatTable({0.01, ps, 30.0}, {300.0, 450.0, 700.0}, -97, nullptr);
  ASSERT_EQ(t.rows.size(), 9u);
  EXPECT_EQ(t.rows[0][2].text, "liquid");         // 0.01 MPa, 300 K
  EXPECT_EQ(t.rows[1][2].text, "vapour");         // 0.01 MPa, 450 K
  EXPECT_EQ(t.rows[2][2].text, "vapour");         // 0.01 MPa, 700 K: above Tc, below Pc
  EXPECT_EQ(t.rows[8][2].text, "supercritical");  // 30 MPa, 700 K
  EXPECT_EQ(t.rows[4][2].text, "two-phase");      // Psat(450 K), 450 K
  EXPECT_TRUE(std::isnan(t.rows[4][3].number));   // left empty
  EXPECT_EQ(t.rows[7][2].text, "liquid");         // 30 MPa, 450 K
  EXPECT_EQ(t.rows[1][4].number, callFunction("HofTP", 450.0, 0.01, -97));
}

TEST(Tables, TextIsAlignedAndCsvHasUnits) {
  const Table t = saturationByTemperature({300.0, 647.0}, -95, nullptr);
  std::istringstream text(formatTable(t, Format::kText));
  std::string line;
  std::getline(text, line);  // title
  std::size_t width = 0;
  while (std::getline(text, line)) {
    if (width == 0) width = line.size();
    EXPECT_EQ(line.size(), width) << line;
  }
  const std::string csv = formatTable(t, Format::kCsv);
  EXPECT_EQ(csv.rfind("T [K],P [MPa],vf [cm3/g],vg [cm3/g],hf [kJ/kg],hfg [kJ/kg]", 0), 0u);
  const std::string json = formatTable(t, Format::kJson);
  EXPECT_NE(json.find("\"columns\": [{\"name\": \"T\", \"unit\": \"K\"}"), std::string::npos);
  EXPECT_NE(formatTable(t, Format::kMarkdown).find("|---|"), std::string::npos);
}

// The dome's top is the formulation's critical point, and an isobar crosses
// the dome at its saturation temperature, flat between sf and sg.
TEST(Charts, DomeTopAndIsobarCrossing) {
  for (std::int32_t code : {97, 67, 84}) {
    const Chart c = propertyChart(ChartKind::kTs, {code});
    const Series& dome = c.series[0];
    const std::size_t top =
        static_cast<std::size_t>(std::max_element(dome.y.begin(), dome.y.end()) - dome.y.begin());
    const double tc = callFunction("Tsat", 9999, 0, -code);
    EXPECT_NEAR(dome.y[top], tc, 1e-9) << code;
    EXPECT_NEAR(dome.x[top], callFunction("Sf", tc, 0, -code), 1e-12) << code;
    EXPECT_GT(dome.y[top], c.yMin);
    EXPECT_LT(dome.y[top], c.yMax);
    // The 1 MPa isobar: the series after the dome, the critical point and
    // nine quality lines is the first isobar (0.01 MPa); 1 MPa is the third.
    const Series& isobar = c.series[2 + 9 + 2];
    const double ts = callFunction("Tsat", 1.0, 0, -code);
    bool crossed = false;
    for (std::size_t k = 0; k + 1 < isobar.x.size(); ++k) {
      if (isobar.y[k] == ts && isobar.y[k + 1] == ts) {
        EXPECT_EQ(isobar.x[k], callFunction("Sf", ts, 0, -code));
        EXPECT_EQ(isobar.x[k + 1], callFunction("Sg", ts, 0, -code));
        crossed = true;
      }
    }
    EXPECT_TRUE(crossed) << code;
  }
}

TEST(Charts, DeviationMapHasAScaleAndTheSaturationLine) {
  const Chart c = deviationChart(67, 'h');
  EXPECT_EQ(c.grid.size(), static_cast<std::size_t>(c.nx * c.ny));
  EXPECT_LT(c.gridMin, 0.0);
  EXPECT_EQ(c.gridMax, -c.gridMin);
  EXPECT_EQ(c.colourLabel, "h - h95 [kJ/kg]");
  EXPECT_EQ(c.series[0].label, "saturation line (IAPWS-95)");
  // IFC-67 and IAPWS-95 agree within a few kJ/kg on most of the map.
  EXPECT_LT(c.gridMax, 20.0);
  EXPECT_GT(c.gridMax, 0.1);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::uint32_t bigEndian(const std::string& b, std::size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

// Every chart kind renders to each format as a valid file of the requested
// size.
TEST(Charts, RenderValidFilesOfTheRequestedSize) {
  char dir[] = "/tmp/vapordex-charts-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  int k = 0;
  for (ChartKind kind :
       {ChartKind::kTs, ChartKind::kHs, ChartKind::kPh, ChartKind::kPt, ChartKind::kDeviation}) {
    const Chart chart =
        kind == ChartKind::kDeviation ? deviationChart(84, 'v') : propertyChart(kind, {97, 67});
    for (const char* ext : {"png", "svg", "pdf"}) {
      const std::string path = std::string(dir) + "/c" + std::to_string(k++) + "." + ext;
      renderChart(chart, path, chartDevice(path), 640, 480);
      const std::string b = readFile(path);
      ASSERT_GT(b.size(), 1000u) << path;
      if (std::string(ext) == "png") {
        EXPECT_EQ(b.substr(1, 3), "PNG");
        EXPECT_EQ(b.substr(12, 4), "IHDR");
        EXPECT_EQ(bigEndian(b, 16), 640u);
        EXPECT_EQ(bigEndian(b, 20), 480u);
      } else if (std::string(ext) == "svg") {
        EXPECT_NE(b.find("<svg"), std::string::npos);
        EXPECT_NE(b.find("width=\"640pt\" height=\"480pt\""), std::string::npos);
        EXPECT_NE(b.find("</svg>"), std::string::npos);
      } else {
        EXPECT_EQ(b.substr(0, 5), "%PDF-");
        EXPECT_NE(b.find("/MediaBox [ 0 0 640 480 ]"), std::string::npos);
        EXPECT_NE(b.find("%%EOF"), std::string::npos);
      }
      std::remove(path.c_str());
    }
  }
  rmdir(dir);
}

}  // namespace
}  // namespace vapordex::cli
