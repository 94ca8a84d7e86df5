// The bundled section library: every row's area and mass agree with its dimensions, a sample agrees
// with the published tables, every type has its table and every section type its pictures.

#include "library/ProfSectionImages.h"
#include "library/Vor_ProfValuesTable.h"

#include <base/NumberText.h>
#include <host/DlgEditLibData.h>
#include <host/FileUtils.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>

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
        // tapered flanges: the thickness is given at half the flange width
        const double b = v("Width"), tw = v("Web thickness"), slope = v("Flange slope") / 100;
        const double flange = (b - tw) * v("Flange thickness") - slope / 2 * (b - tw) * tw;
        const double r1 = v("Root radius"), r2 = v("Toe radius");
        return v("Height") * tw + 2 * flange + 2 * kFillet * (r1 * r1 - r2 * r2);
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

const char* const kTables[] = {"IPE", "HEA", "HEB", "HEM", "UPE", "UPN", "L",
                               "LU",  "SHS", "RHS", "CHS", "FL",  "RD"};

TEST_F(BundledLibrary, everyAreaAndMassFollowsFromTheDimensions) {
    int rows = 0;
    for (const char* name : kTables) {
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile(Vor_String(name) + ".pr")) << name;
        EXPECT_TRUE(t.problems().isEmpty()) << name << ": " << t.problems()[0].str();
        EXPECT_GE(t.rows.length(), 14) << name << " is a whole series";
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
    EXPECT_GT(rows, 300);
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
        {"L", "100x10", 100, 100, 19.2, 15.0},
        {"LU", "100x50x8", 100, 50, 11.4, 8.99},
        {"SHS", "200x200x10", 200, 200, 74.9, 58.8},
        {"RHS", "100x50x5", 100, 50, 13.7, 10.7},
        {"CHS", "168.3x6.3", 168.3, 168.3, 32.1, 25.2},
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
    for (const char* name : {"IPE", "HEA", "HEB", "HEM"}) {
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
