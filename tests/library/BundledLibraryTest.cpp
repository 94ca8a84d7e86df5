// The bundled section library: every row's area, mass and section properties agree with its
// dimensions and with each other, a sample agrees with the published tables, every type has its
// table and every section type its pictures.

#include "library/ProfSectionImages.h"
#include "library/Vor_ProfValuesTable.h"

#include <base/NumberText.h>
#include <host/DlgEditLibData.h>
#include <host/FileUtils.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFillet = 1 - kPi / 4;

class BundledLibrary : public testing::Test {
protected:
    void SetUp() override {
        m_saved = gSettings;
        gSettings.libDir = defaultLibDir();
        gSettings.vorDir = defaultInstallDir();
        gMacroLangs.reset();
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override {
        gSettings = m_saved;
        gMacroLangs.reset();
    }
    Vor_Settings m_saved;
};

double value(const Vor_StringArray& row, const Vor_ProfValuesTable& t, const char* header) {
    const int c = t.getColumnIdx(header);
    double v = std::nan("");
    if (c >= 0 && c < row.length()) base::parseNumber(row[c].str(), v);
    return v;
}

/// The cross-section area in mm2 from the dimensions, by the section type of the table.
double areaOf(const Vor_ProfValuesTable& t, const Vor_StringArray& row) {
    auto v = [&](const char* h) { return value(row, t, h); };
    const int code = t.typeCode.toInt();
    if (code == 1)
        return 2 * v("Width") * v("Flange thickness") +
               (v("Height") - 2 * v("Flange thickness")) * v("Web thickness") +
               4 * kFillet * v("Radius") * v("Radius");
    if (code == 2)
        return 2 * v("Width") * v("Flange thickness") +
               (v("Height") - 2 * v("Flange thickness")) * v("Web thickness") +
               2 * kFillet * v("Root radius") * v("Root radius");
    if (code == 3) {
        const double r1 = v("Root radius"), r2 = v("Toe radius"), tt = v("Web thickness");
        return tt * (v("Height") + v("Width") - tt) + kFillet * (r1 * r1 - 2 * r2 * r2);
    }
    if (code == 7) {
        // tapered flanges: the thickness is given at half the flange width; the sloping face meets
        // the web and the toe at more than a right angle, so both fillets are smaller than there
        const double b = v("Width"), tw = v("Web thickness"), slope = v("Flange slope") / 100;
        const double flange = (b - tw) * v("Flange thickness") - slope / 2 * (b - tw) * tw;
        const double corner = kPi / 2 + std::atan(slope);
        const double fillet = 1 / std::tan(corner / 2) - (kPi - corner) / 2;
        const double r1 = v("Root radius"), r2 = v("Toe radius");
        return v("Height") * tw + 2 * flange + 2 * fillet * (r1 * r1 - r2 * r2);
    }
    if (code == 6) {
        // tapered I-flanges, the thickness given at a quarter of the width from the web's centre line:
        // over an outstand the thickness averages the slope over a quarter of the web thickness less
        const double b = v("Width"), tw = v("Web thickness"), slope = v("Flange slope") / 100;
        const double corner = kPi / 2 + std::atan(slope);
        const double fillet = 1 / std::tan(corner / 2) - (kPi - corner) / 2;
        const double r1 = v("Root radius"), r2 = v("Toe radius");
        return v("Height") * tw + 2 * (b - tw) * (v("Flange thickness") - slope * tw / 4) +
               4 * fillet * (r1 * r1 - r2 * r2);
    }
    if (code == 8) return v("Width") * v("Thickness");
    if (code == 9) return kPi / 4 * v("Diameter") * v("Diameter");
    if (code == 10) {
        // hot-finished: the inner corner radius equals the wall thickness
        const double tt = v("Thickness"), ro = v("Radius"), ri = tt;
        return 2 * tt * (v("Height") + v("Width") - 2 * tt) - (4 - kPi) * (ro * ro - ri * ri);
    }
    if (code == 11) {
        const double d = v("Diameter"), tt = v("Thickness");
        return kPi / 4 * (d * d - (d - 2 * tt) * (d - 2 * tt));
    }
    return std::nan("");
}

struct Series {
    const char* table;
    int sizes; // the whole series as the producers roll it, or the sizes the library offers
};
const Series kTables[] = {{"IPE", 18}, {"IPEA", 18}, {"IPEO", 13}, {"HEA", 24}, {"HEAA", 24}, {"HEB", 24},
                          {"HEM", 24}, {"IPN", 21},  {"UPE", 14},  {"UPN", 18}, {"L", 44},    {"LU", 23},
                          {"SHS", 42}, {"RHS", 28},  {"CHS", 44},  {"FL", 76},  {"RD", 18}};

TEST_F(BundledLibrary, everyAreaAndMassFollowsFromTheDimensions) {
    int rows = 0;
    for (const auto [name, sizes] : kTables) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(name) + ".pr")) << name;
        EXPECT_TRUE(t.problems().isEmpty()) << name << ": " << t.problems()[0].str();
        EXPECT_EQ(t.rows.length(), sizes) << name << " is a whole series";
        for (const Vor_StringArray& row : t.rows) {
            const double area = areaOf(t, row);
            ASSERT_FALSE(std::isnan(area)) << name << " " << row[0].str() << ": a dimension is missing";
            // stored rounded to two decimals
            EXPECT_NEAR(value(row, t, "A [cm2]"), area / 100, 0.0051) << name << " " << row[0].str();
            EXPECT_NEAR(value(row, t, "G [kg/m]"), area * 7850e-6, 0.0051) << name << " " << row[0].str();
            EXPECT_EQ(row[1], Vor_String("1"));
            for (int lang = 2; lang <= 5; ++lang)
                EXPECT_TRUE(row[lang].contains(row[0])) << name << ": the descriptions name the key";
            ++rows;
        }
    }
    EXPECT_GT(rows, 390);
}

TEST_F(BundledLibrary, aSampleAgreesWithThePublishedTables) {
    struct Published {
        const char* table;
        const char* key;
        double h, b, area, mass; // mm, cm2, kg/m as the producers' tables give them
    };
    const Published sample[] = {
        {"IPE", "200", 200, 100, 28.5, 22.4},
        {"IPE", "300", 300, 150, 53.8, 42.2},
        {"IPE", "600", 600, 220, 156, 122},
        {"HEA", "200", 190, 200, 53.8, 42.3},
        {"HEA", "1000", 990, 300, 347, 272},
        {"HEB", "300", 300, 300, 149, 117},
        {"HEM", "200", 220, 206, 131, 103},
        {"UPE", "200", 200, 80, 29.0, 22.8},
        {"UPN", "200", 200, 75, 32.2, 25.3},
        {"UPN", "100", 100, 50, 13.5, 10.6},
        {"IPEA", "300", 297, 150, 46.5, 36.5},
        {"IPEA", "80", 78, 46, 6.38, 5.0},
        {"IPEO", "300", 304, 152, 62.8, 49.3},
        {"IPEO", "600", 610, 224, 197, 154},
        {"HEAA", "200", 186, 200, 44.1, 34.6},
        {"HEAA", "1000", 970, 300, 282, 222},
        {"L", "100x10", 100, 100, 19.2, 15.0},
        {"LU", "100x50x8", 100, 50, 11.4, 8.99},
        {"SHS", "200x200x10", 200, 200, 74.9, 58.8},
        {"RHS", "100x50x5", 100, 50, 13.7, 10.7},
        {"CHS", "168.3x6.3", 168.3, 168.3, 32.1, 25.2},
        // the sizes a detailer expects beside those: the heavy channels, the common angles, thin walls
        {"UPN", "320", 320, 100, 75.8, 59.5},
        {"UPN", "400", 400, 110, 91.5, 71.8},
        {"L", "50x4", 50, 50, 3.89, 3.06},
        {"L", "90x7", 90, 90, 12.2, 9.61},
        {"L", "160x15", 160, 160, 46.1, 36.2},
        {"L", "200x24", 200, 200, 90.6, 71.1},
        {"L", "250x35", 250, 250, 163, 128},
        {"SHS", "40x40x3", 40, 40, 4.34, 3.41},
        {"CHS", "88.9x3.2", 88.9, 88.9, 8.62, 6.76},
        {"CHS", "21.3x2.3", 21.3, 21.3, 1.37, 1.08},
        {"IPN", "80", 80, 42, 7.57, 5.94},
        {"IPN", "200", 200, 90, 33.4, 26.2},
        {"IPN", "400", 400, 155, 118, 92.4},
        {"IPN", "600", 600, 215, 254, 199},
    };
    for (const Published& p : sample) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(p.table) + ".pr"));
        int row = -1;
        ASSERT_TRUE(t.findSysName(p.key, row)) << p.table << " " << p.key;
        const Vor_StringArray& r = t.rows[row];
        const bool round = t.typeCode == Vor_String("11");
        EXPECT_DOUBLE_EQ(value(r, t, round ? "Diameter" : "Height"), p.h) << p.table << " " << p.key;
        if (!round) {
            EXPECT_DOUBLE_EQ(value(r, t, "Width"), p.b) << p.table << " " << p.key;
        }
        EXPECT_NEAR(value(r, t, "A [cm2]"), p.area, p.area * 0.01) << p.table << " " << p.key;
        EXPECT_NEAR(value(r, t, "G [kg/m]"), p.mass, p.mass * 0.01) << p.table << " " << p.key;
    }
}

TEST_F(BundledLibrary, sectionPropertiesOfTheIAndHSeries) {
    // Against the producers' tables: the second moments, moduli and radii a detailer checks a
    // beam with (cm4, cm3, cm). They are rounded to four figures in the tables.
    struct Published {
        const char* table;
        const char* key;
        double iy, wely, wply, ry, iz, welz, wplz, rz;
    };
    const Published sample[] = {
        {"IPE", "300", 8356, 557.1, 628.4, 12.46, 603.8, 80.5, 125.2, 3.35},
        {"IPE", "200", 1943, 194.3, 220.6, 8.26, 142.4, 28.47, 44.61, 2.24},
        {"HEA", "200", 3692, 388.6, 429.5, 8.28, 1336, 133.6, 203.8, 4.98},
        {"HEB", "200", 5696, 569.6, 642.5, 8.54, 2003, 200.3, 305.8, 5.07},
        {"HEM", "300", 59200, 3482, 4078, 13.98, 19400, 1252, 1913, 8.00},
        {"IPEA", "300", 7173, 483.1, 541.8, 12.42, 519.0, 69.2, 107.3, 3.34},
        {"HEAA", "100", 236.5, 51.98, 58.36, 3.89, 92.06, 18.41, 28.44, 2.43},
    };
    const char* const headers[] = {"Iy [cm4]", "Wel.y [cm3]", "Wpl.y [cm3]", "iy [cm]",
                                   "Iz [cm4]", "Wel.z [cm3]", "Wpl.z [cm3]", "iz [cm]"};
    for (const Published& p : sample) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(p.table) + ".pr"));
        int row = -1;
        ASSERT_TRUE(t.findSysName(p.key, row)) << p.table << " " << p.key;
        const double expected[] = {p.iy, p.wely, p.wply, p.ry, p.iz, p.welz, p.wplz, p.rz};
        for (int i = 0; i < 8; ++i)
            EXPECT_NEAR(value(t.rows[row], t, headers[i]), expected[i], expected[i] * 0.005)
                << p.table << " " << p.key << " " << headers[i];
    }
    // Every row: the moduli and radii agree with the second moments and the area.
    // I-sections with tapered flanges: the second moments and the straight web depth as DIN 1025-1
    // gives them, to three figures and to the millimetre
    const struct {
        const char* key;
        double iy, iz, d;
    } ipn[] = {{"200", 2140, 117, 159}, {"300", 9800, 451, 241}, {"400", 29210, 1160, 323}};
    for (const auto& p : ipn) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile("IPN.pr"));
        int row = -1;
        ASSERT_TRUE(t.findSysName(p.key, row)) << p.key;
        EXPECT_NEAR(value(t.rows[row], t, "Iy [cm4]"), p.iy, p.iy * 0.01) << "IPN " << p.key;
        EXPECT_NEAR(value(t.rows[row], t, "Iz [cm4]"), p.iz, p.iz * 0.01) << "IPN " << p.key;
        EXPECT_NEAR(value(t.rows[row], t, "Depth between fillets"), p.d, 1.0) << "IPN " << p.key;
    }
    for (const char* name : {"IPE", "IPEA", "IPEO", "HEA", "HEAA", "HEB", "HEM", "IPN"}) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(name) + ".pr"));
        for (const Vor_StringArray& r : t.rows) {
            const double h = value(r, t, "Height") / 10, b = value(r, t, "Width") / 10,
                         a = value(r, t, "A [cm2]");
            const double iy = value(r, t, "Iy [cm4]"), iz = value(r, t, "Iz [cm4]");
            EXPECT_NEAR(value(r, t, "Wel.y [cm3]"), 2 * iy / h, 2 * iy / h * 0.002)
                << name << " " << r[0].str();
            EXPECT_NEAR(value(r, t, "Wel.z [cm3]"), 2 * iz / b, 2 * iz / b * 0.002)
                << name << " " << r[0].str();
            EXPECT_NEAR(value(r, t, "iy [cm]"), std::sqrt(iy / a), 0.006) << name << " " << r[0].str();
            EXPECT_NEAR(value(r, t, "iz [cm]"), std::sqrt(iz / a), 0.006) << name << " " << r[0].str();
            EXPECT_GT(value(r, t, "Wpl.y [cm3]"), value(r, t, "Wel.y [cm3]")) << "plastic beyond elastic";
        }
    }
}

/// A stored value and half a unit of its last written digit: what rounding it may have lost.
struct Stored {
    double value = std::nan("");
    double slack = 0;
};

Stored stored(const Vor_StringArray& row, const Vor_ProfValuesTable& t, const char* header) {
    Stored s;
    const int c = t.getColumnIdx(header);
    if (c < 0 || c >= row.length() || !base::parseNumber(row[c].str(), s.value)) return s;
    const std::string text = row[c].str();
    const size_t point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : int(text.size() - point - 1);
    s.slack = 0.5 * std::pow(10.0, -decimals);
    return s;
}

TEST_F(BundledLibrary, sectionPropertiesOfChannelsAnglesAndHollowSections) {
    // Against the producers' tables (cm4, cm3, cm), to within 1 %.
    struct Published {
        const char* table;
        const char* key;
        std::vector<std::pair<const char*, double>> values;
    };
    const Published sample[] = {
        {"UPE",
         "200",
         {{"Iy [cm4]", 1910},
          {"Wel.y [cm3]", 191},
          {"Wpl.y [cm3]", 220},
          {"iy [cm]", 8.11},
          {"Iz [cm4]", 187},
          {"Wel.z [cm3]", 34.5},
          {"iz [cm]", 2.54},
          {"ys [cm]", 2.56}}},
        {"UPN",
         "200",
         {{"Iy [cm4]", 1910},
          {"Wel.y [cm3]", 191},
          {"Wpl.y [cm3]", 228},
          {"iy [cm]", 7.70},
          {"Iz [cm4]", 148},
          {"Wel.z [cm3]", 27.0},
          {"Wpl.z [cm3]", 51.8},
          {"iz [cm]", 2.14},
          {"ys [cm]", 2.01}}},
        {"UPN",
         "100",
         {{"Iy [cm4]", 206},
          {"Iz [cm4]", 29.3},
          {"Wel.y [cm3]", 41.2},
          {"Wel.z [cm3]", 8.5},
          {"ys [cm]", 1.55}}},
        {"L",
         "100x10",
         {{"Iy [cm4]", 176.7},
          {"Wel.y [cm3]", 24.62},
          {"iy [cm]", 3.04},
          {"zs [cm]", 2.82},
          {"Iz [cm4]", 176.7},
          {"ys [cm]", 2.82},
          {"Iu [cm4]", 280.7},
          {"iu [cm]", 3.83},
          {"Iv [cm4]", 72.65},
          {"iv [cm]", 1.95}}},
        {"LU",
         "150x100x10",
         {{"Iy [cm4]", 552.6},
          {"Wel.y [cm3]", 54.2},
          {"iy [cm]", 4.78},
          {"zs [cm]", 4.81},
          {"Iz [cm4]", 198.4},
          {"Wel.z [cm3]", 25.9},
          {"iz [cm]", 2.87},
          {"ys [cm]", 2.34},
          {"iu [cm]", 5.13},
          {"iv [cm]", 2.16}}},
        {"SHS",
         "50x50x4",
         {{"Iy [cm4]", 25.0},
          {"iy [cm]", 1.86},
          {"Wel.y [cm3]", 9.99},
          {"Wpl.y [cm3]", 12.3},
          {"It [cm4]", 40.4}}},
        {"SHS",
         "80x80x5",
         {{"Iy [cm4]", 137},
          {"iy [cm]", 3.05},
          {"Wel.y [cm3]", 34.2},
          {"Wpl.y [cm3]", 41.1},
          {"Iz [cm4]", 137},
          {"It [cm4]", 217}}},
        {"SHS",
         "100x100x5",
         {{"Iy [cm4]", 279}, {"iy [cm]", 3.86}, {"Wel.y [cm3]", 55.9}, {"Iz [cm4]", 279}}},
        {"RHS",
         "200x100x6.3",
         {{"Iy [cm4]", 1829},
          {"Wel.y [cm3]", 183},
          {"Wpl.y [cm3]", 228},
          {"iy [cm]", 7.15},
          {"Iz [cm4]", 613},
          {"Wel.z [cm3]", 123},
          {"Wpl.z [cm3]", 140},
          {"iz [cm]", 4.14},
          {"It [cm4]", 1475}}},
        {"CHS",
         "168.3x6.3",
         {{"I [cm4]", 1053}, {"Wel [cm3]", 125}, {"Wpl [cm3]", 165}, {"i [cm]", 5.73}, {"It [cm4]", 2107}}},
        {"CHS", "33.7x3.2", {{"I [cm4]", 3.60}, {"Wel [cm3]", 2.14}, {"Wpl [cm3]", 2.99}, {"i [cm]", 1.08}}},
    };
    for (const Published& p : sample) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(p.table) + ".pr"));
        int row = -1;
        ASSERT_TRUE(t.findSysName(p.key, row)) << p.table << " " << p.key;
        for (const auto& [header, expected] : p.values) {
            EXPECT_NEAR(value(t.rows[row], t, header), expected, expected * 0.01)
                << p.table << " " << p.key << " " << header;
        }
    }
}

TEST_F(BundledLibrary, sectionPropertiesAgreeWithEachOtherInEveryRow) {
    // What must hold whatever the rounding: a radius of gyration is sqrt(I / A), an elastic modulus
    // I over the distance to the farthest fibre, a plastic modulus exceeds the elastic one, and
    // turning the axes of an angle keeps Iy + Iz. Each check allows the rounding of the values.
    int checked = 0;
    for (const char* name : {"UPE", "UPN", "L", "LU", "SHS", "RHS", "CHS"}) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(name) + ".pr"));
        const int code = t.typeCode.toInt();
        for (const Vor_StringArray& r : t.rows) {
            const std::string what = std::string(name) + " " + r[0].str();
            auto get = [&](const char* h) {
                Stored s = stored(r, t, h);
                EXPECT_FALSE(std::isnan(s.value)) << what << ": " << h << " is filled in";
                return s;
            };
            const Stored a = get("A [cm2]");
            // radius of gyration, each second moment with its own radius
            const std::vector<std::pair<const char*, const char*>> radii =
                code == 11  ? std::vector<std::pair<const char*, const char*>>{{"I [cm4]", "i [cm]"}}
                : code == 3 ? std::vector<std::pair<const char*, const char*>>{{"Iy [cm4]", "iy [cm]"},
                                                                               {"Iz [cm4]", "iz [cm]"},
                                                                               {"Iu [cm4]", "iu [cm]"},
                                                                               {"Iv [cm4]", "iv [cm]"}}
                            : std::vector<std::pair<const char*, const char*>>{{"Iy [cm4]", "iy [cm]"},
                                                                               {"Iz [cm4]", "iz [cm]"}};
            for (const auto& [ih, rh] : radii) {
                const Stored i = get(ih), g = get(rh);
                const double expected = std::sqrt(i.value / a.value);
                const double slack = g.slack + expected / 2 * (i.slack / i.value + a.slack / a.value);
                EXPECT_NEAR(g.value, expected, slack * 1.01) << what << " " << rh << " = sqrt(I / A)";
            }
            // elastic moduli: to the farthest fibre, in cm
            auto modulus = [&](const char* ih, const char* wh, double distance, double distanceSlack) {
                const Stored i = get(ih), w = get(wh);
                const double expected = i.value / distance;
                const double slack =
                    w.slack + i.slack / distance + i.value * distanceSlack / (distance * distance);
                EXPECT_NEAR(w.value, expected, slack * 1.01) << what << " " << wh << " = I / c";
                EXPECT_GT(distance, 0) << what;
            };
            if (code == 11) {
                const double d = value(r, t, "Diameter") / 10;
                modulus("I [cm4]", "Wel [cm3]", d / 2, 0);
                EXPECT_GT(get("Wpl [cm3]").value, get("Wel [cm3]").value)
                    << what << " plastic beyond elastic";
                const Stored i = get("I [cm4]"), it = get("It [cm4]");
                EXPECT_NEAR(it.value, 2 * i.value, it.slack + 2 * i.slack)
                    << what << " a tube's It is its polar moment";
            } else if (code == 3) {
                const double h = value(r, t, "Height") / 10, b = value(r, t, "Width") / 10;
                const Stored zs = get("zs [cm]"), ys = get("ys [cm]");
                modulus("Iy [cm4]", "Wel.y [cm3]", h - zs.value, zs.slack);
                modulus("Iz [cm4]", "Wel.z [cm3]", b - ys.value, ys.slack);
                const Stored iy = get("Iy [cm4]"), iz = get("Iz [cm4]"), iu = get("Iu [cm4]"),
                             iv = get("Iv [cm4]");
                EXPECT_NEAR(iu.value + iv.value, iy.value + iz.value,
                            iu.slack + iv.slack + iy.slack + iz.slack)
                    << what << ": the principal axes keep the sum of the second moments";
                EXPECT_LE(iv.value, std::min(iy.value, iz.value)) << what << ": v is the weakest axis";
                EXPECT_GE(iu.value, std::max(iy.value, iz.value)) << what << ": u is the strongest axis";
                if (h == b) {
                    EXPECT_EQ(iy.value, iz.value) << what << ": equal legs bend alike both ways";
                    EXPECT_EQ(zs.value, ys.value) << what;
                }
            } else {
                const double h = value(r, t, "Height") / 10, b = value(r, t, "Width") / 10;
                modulus("Iy [cm4]", "Wel.y [cm3]", h / 2, 0);
                if (code == 10) {
                    modulus("Iz [cm4]", "Wel.z [cm3]", b / 2, 0);
                    const Stored it = get("It [cm4]");
                    EXPECT_LT(it.value, get("Iy [cm4]").value + get("Iz [cm4]").value)
                        << what << ": the torsion constant stays below the polar moment";
                    EXPECT_GT(it.value, get("Iz [cm4]").value) << what << ": a closed section resists twist";
                } else {
                    // channels: the centroid lies nearer the web, the farthest fibre at the toes
                    const Stored ys = get("ys [cm]");
                    EXPECT_GT(ys.value, 0) << what;
                    EXPECT_LT(ys.value, b / 2) << what;
                    modulus("Iz [cm4]", "Wel.z [cm3]", b - ys.value, ys.slack);
                }
                EXPECT_GT(get("Wpl.y [cm3]").value, get("Wel.y [cm3]").value)
                    << what << " plastic beyond elastic";
                EXPECT_GT(get("Wpl.z [cm3]").value, get("Wel.z [cm3]").value)
                    << what << " plastic beyond elastic";
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 14 + 18 + 44 + 23 + 42 + 28 + 44);
}

TEST_F(BundledLibrary, depthBetweenFilletsOfTaperedChannels) {
    // Published straight web depths d (mm); the tables round them to the millimetre, not always
    // the same way, so a computed depth may differ by one.
    const std::pair<const char*, double> published[] = {
        {"50", 21}, {"80", 47}, {"100", 64}, {"140", 98}, {"200", 151}, {"240", 184}, {"300", 232},
    };
    Vor_ProfValuesTable t;
    ASSERT_TRUE(t.readFromFile("UPN.pr"));
    for (const auto& [key, d] : published) {
        int row = -1;
        ASSERT_TRUE(t.findSysName(key, row)) << key;
        EXPECT_NEAR(value(t.rows[row], t, "Depth between fillets"), d, 1.0) << "UPN " << key;
    }
    for (const Vor_StringArray& r : t.rows) {
        auto v = [&](const char* h) { return value(r, t, h); };
        const double d = v("Depth between fillets");
        // the flanges and the fillets take their part of the height, the taper a little more
        EXPECT_LT(d, v("Height") - 2 * (v("Flange thickness") + v("Root radius"))) << r[0].str();
        EXPECT_GT(d, v("Height") - 2 * (v("Flange thickness") + v("Root radius")) - 0.1 * v("Width"))
            << r[0].str();
        EXPECT_EQ(d, std::round(d)) << r[0].str() << ": whole millimetres, as published";
    }
    // the areas: the fillets at the sloping flanges are smaller than at a square corner
    const std::pair<const char*, double> areas[] = {{"50", 7.12}, {"80", 11.0}, {"160", 24.0}, {"300", 58.8}};
    for (const auto& [key, area] : areas) {
        int row = -1;
        ASSERT_TRUE(t.findSysName(key, row)) << key;
        EXPECT_NEAR(value(t.rows[row], t, "A [cm2]"), area, area * 0.002) << "UPN " << key;
    }
}

TEST_F(BundledLibrary, groupsTypesAndPicturesAreComplete) {
    DlgEditLibData lib;
    std::string error;
    ASSERT_TRUE(lib.load(&error)) << error;
    EXPECT_TRUE(error.empty()) << error;
    lib.GetAvailableFiles();
    EXPECT_EQ(lib.m_tableNames.length(), int(std::size(kTables)));
    EXPECT_EQ(lib.m_groups.length(), 5);
    for (const SectionType& type : lib.m_types) {
        EXPECT_TRUE(lib.m_tableNames.contains(type.m_table)) << type.m_table.str() << " has its table";
        EXPECT_TRUE(std::any_of(std::begin(kTables), std::end(kTables),
                                [&](const Series& s) { return type.m_table == Vor_String(s.table); }))
            << type.m_table.str() << " is one of the bundled tables";
        EXPECT_GE(lib.m_groups.indexOfId(type.m_group), 0) << type.m_table.str() << " has its group";
        EXPECT_FALSE(type.getName().isEmpty());
    }
    for (int code = 1; code <= 17; ++code)
        for (bool large : {true, false})
            EXPECT_NE(profSectionImageName(Vor_String(code), "", large).left(7), Vor_String("Unknown"))
                << "code " << code << (large ? " large" : " small");
    EXPECT_TRUE(fileExists(profIconsFolder() + "Unknown-big.bmp"));
    EXPECT_TRUE(fileExists(profIconsFolder() + "Unknown-small.bmp"));
}

} // namespace
