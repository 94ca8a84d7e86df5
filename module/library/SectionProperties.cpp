#include "library/SectionProperties.h"

#include "library/Vor_ProfValuesTable.h"

#include <base/NumberText.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSteelDensity = 7850.0;   // kg/m3
constexpr double kFillet = 1 - kPi / 4;    // area of a fillet of radius 1 outside its quarter circle
constexpr int kStepsPerQuarter = 90;       // arc steps per 90 degrees
constexpr int kPlasticAxisIterations = 60; // halvings of the interval that holds the equal-area axis

const char* const kArea = "A [cm2]";
const char* const kMass = "G [kg/m]";
const char* const kDepthBetweenFillets = "Depth between fillets";
const std::array<const char*, 8> kBending = {"Iy [cm4]", "Wel.y [cm3]", "Wpl.y [cm3]", "iy [cm]",
                                             "Iz [cm4]", "Wel.z [cm3]", "Wpl.z [cm3]", "iz [cm]"};
const std::array<const char*, 12> kAngle = {"Iy [cm4]",    "Wel.y [cm3]", "iy [cm]",  "Iz [cm4]",
                                            "Wel.z [cm3]", "iz [cm]",     "zs [cm]",  "ys [cm]",
                                            "Iu [cm4]",    "iu [cm]",     "Iv [cm4]", "iv [cm]"};
const std::array<const char*, 5> kRound = {"I [cm4]", "Wel [cm3]", "Wpl [cm3]", "i [cm]", "It [cm4]"};
const char* const kYs = "ys [cm]";
const char* const kIt = "It [cm4]";

struct Point {
    double x, y;
};
using Ring = std::vector<Point>;
using Rings = std::vector<Ring>;
struct Corner {
    double x, y, r;
};

std::pair<double, double> unit(double dx, double dy) {
    const double length = std::hypot(dx, dy);
    return {dx / length, dy / length};
}

/// A closed outline from corners: each corner with a radius becomes the arc tangent to both of its
/// edges (a root fillet at an inner corner, a rounded toe at an outer one).
Ring rounded(const std::vector<Corner>& corners) {
    Ring points;
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto [x, y, r] = corners[i];
        if (r == 0) {
            points.push_back({x, y});
            continue;
        }
        const Corner& p = corners[(i + n - 1) % n];
        const Corner& q = corners[(i + 1) % n];
        const auto u1 = unit(p.x - x, p.y - y);
        const auto u2 = unit(q.x - x, q.y - y);
        const double angle =
            std::acos(std::max(-1.0, std::min(1.0, u1.first * u2.first + u1.second * u2.second)));
        const double tangent = r / std::tan(angle / 2);
        const auto bis = unit(u1.first + u2.first, u1.second + u2.second);
        const double off = r / std::sin(angle / 2);
        const double cx = x + bis.first * off, cy = y + bis.second * off;
        const Point t1{x + u1.first * tangent, y + u1.second * tangent};
        const Point t2{x + u2.first * tangent, y + u2.second * tangent};
        const double a1 = std::atan2(t1.y - cy, t1.x - cx);
        const double a2 = std::atan2(t2.y - cy, t2.x - cx);
        // the sweep in (-pi, pi], as Python's modulo gives it (the sign of the divisor)
        double sweep = std::fmod(a2 - a1 + kPi, 2 * kPi);
        if (sweep < 0) sweep += 2 * kPi;
        sweep -= kPi;
        const int steps =
            std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / (kPi / 2) * kStepsPerQuarter)));
        for (int k = 0; k <= steps; ++k) {
            const double a = a1 + sweep * k / steps;
            points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
    }
    return points;
}

/// A, int y dA, int x dA, int y2 dA, int x2 dA, int xy dA of the region the rings bound.
struct Integrals {
    double a = 0, sx = 0, sy = 0, ixx = 0, iyy = 0, ixy = 0;
};

Integrals integrals(const Rings& rings) {
    Integrals s;
    for (const Ring& ring : rings) {
        const std::size_t n = ring.size();
        for (std::size_t i = 0; i < n; ++i) {
            const auto [x0, y0] = ring[i];
            const auto [x1, y1] = ring[(i + 1) % n];
            const double c = x0 * y1 - x1 * y0;
            s.a += c;
            s.sy += (x0 + x1) * c;
            s.sx += (y0 + y1) * c;
            s.iyy += (x0 * x0 + x0 * x1 + x1 * x1) * c;
            s.ixx += (y0 * y0 + y0 * y1 + y1 * y1) * c;
            s.ixy += (x0 * y1 + 2 * x0 * y0 + 2 * x1 * y1 + x1 * y0) * c;
        }
    }
    s.a /= 2;
    s.sx /= 6;
    s.sy /= 6;
    s.ixx /= 12;
    s.iyy /= 12;
    s.ixy /= 24;
    return s;
}

double coordinate(const Point& p, int axis) {
    return axis == 0 ? p.x : p.y;
}

/// The part of the region on one side of the line x = at (axis 0) or y = at (axis 1).
Rings clip(const Rings& rings, int axis, double at, bool above) {
    Rings out;
    for (const Ring& ring : rings) {
        const auto inside = [&](const Point& p) {
            return above ? coordinate(p, axis) >= at : coordinate(p, axis) <= at;
        };
        Ring kept;
        const std::size_t n = ring.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Point& p = ring[i];
            const Point& q = ring[(i + 1) % n];
            if (inside(p)) kept.push_back(p);
            if (inside(p) != inside(q)) {
                const double f = (at - coordinate(p, axis)) / (coordinate(q, axis) - coordinate(p, axis));
                kept.push_back({p.x + f * (q.x - p.x), p.y + f * (q.y - p.y)});
            }
        }
        if (kept.size() >= 3) out.push_back(std::move(kept));
    }
    return out;
}

/// Wpl about the line across `axis` that halves the area (mm3).
double plasticModulus(const Rings& rings, int axis) {
    const double total = integrals(rings).a;
    double lo = INFINITY, hi = -INFINITY;
    for (const Ring& ring : rings)
        for (const Point& p : ring) {
            lo = std::min(lo, coordinate(p, axis));
            hi = std::max(hi, coordinate(p, axis));
        }
    for (int i = 0; i < kPlasticAxisIterations; ++i) {
        const double mid = (lo + hi) / 2;
        if (integrals(clip(rings, axis, mid, true)).a > total / 2)
            lo = mid;
        else
            hi = mid;
    }
    const double at = (lo + hi) / 2;
    const Integrals upper = integrals(clip(rings, axis, at, true));
    const Integrals lower = integrals(clip(rings, axis, at, false));
    const double upperMoment = axis == 1 ? upper.sx : upper.sy;
    const double lowerMoment = axis == 1 ? lower.sx : lower.sy;
    return (upperMoment - at * upper.a) - (lowerMoment - at * lower.a);
}

/// Area, centroid, centroidal and principal second moments of a region; y is the horizontal axis.
struct Section {
    explicit Section(Rings r)
        : rings(std::move(r)) {
        const Integrals s = integrals(rings);
        area = s.a;
        xc = s.sy / s.a;
        yc = s.sx / s.a;
        iHorizontal = s.ixx - s.a * yc * yc;
        iVertical = s.iyy - s.a * xc * xc;
        iProduct = s.ixy - s.a * xc * yc;
        const double mean = (iHorizontal + iVertical) / 2;
        const double radius = std::hypot((iHorizontal - iVertical) / 2, iProduct);
        iMajor = mean + radius;
        iMinor = mean - radius;
        left = bottom = INFINITY;
        right = top = -INFINITY;
        for (const Ring& ring : rings)
            for (const Point& p : ring) {
                left = std::min(left, p.x);
                right = std::max(right, p.x);
                bottom = std::min(bottom, p.y);
                top = std::max(top, p.y);
            }
    }
    double wHorizontal() const { return iHorizontal / std::max(top - yc, yc - bottom); }
    double wVertical() const { return iVertical / std::max(right - xc, xc - left); }

    Rings rings;
    double area, xc, yc, iHorizontal, iVertical, iProduct, iMajor, iMinor, left, right, bottom, top;
};

void addBending(const Section& s, DerivedValues& out) {
    const double a = s.area;
    const double v[] = {s.iHorizontal / 1e4,
                        s.wHorizontal() / 1e3,
                        plasticModulus(s.rings, 1) / 1e3,
                        std::sqrt(s.iHorizontal / a) / 10,
                        s.iVertical / 1e4,
                        s.wVertical() / 1e3,
                        plasticModulus(s.rings, 0) / 1e3,
                        std::sqrt(s.iVertical / a) / 10};
    for (std::size_t i = 0; i < kBending.size(); ++i)
        out.emplace_back(kBending[i], v[i]);
}

void addAreaAndMass(double areaMm2, DerivedValues& out) {
    out.emplace_back(kArea, areaMm2 / 100.0);
    out.emplace_back(kMass, areaMm2 * 1e-6 * kSteelDensity);
}

double filletArea(double r, double angle) {
    return r * r * (1 / std::tan(angle / 2) - (kPi - angle) / 2);
}

Rings channelOutline(double h, double b, double tw, double tf, double r1, double r2, double slope) {
    const double s = slope / 100.0;
    const double atWeb = tf + s * (b / 2 - tw), atToe = tf - s * b / 2;
    return {rounded({{0, 0, 0},
                     {b, 0, 0},
                     {b, atToe, r2},
                     {tw, atWeb, r1},
                     {tw, h - atWeb, r1},
                     {b, h - atToe, r2},
                     {b, h, 0},
                     {0, h, 0}})};
}

/// I-sections with tapered flanges, the flange thickness measured at b / 4 from the web's centre line.
void iSectionTapered(double h, double b, double tw, double tf, double r1, double r2, double slope,
                     DerivedValues& out) {
    const double s = slope / 100.0;
    const double corner = kPi / 2 + std::atan(s);
    addAreaAndMass(h * tw + 2 * (b - tw) * (tf - s * tw / 4) +
                       4 * (filletArea(r1, corner) - filletArea(r2, corner)),
                   out);
    const double atWeb = tf + s * (b / 4 - tw / 2), atToe = tf - s * b / 4;
    const double left = (b - tw) / 2, right = (b + tw) / 2;
    addBending(Section({rounded({{0, 0, 0},
                                 {b, 0, 0},
                                 {b, atToe, r2},
                                 {right, atWeb, r1},
                                 {right, h - atWeb, r1},
                                 {b, h - atToe, r2},
                                 {b, h, 0},
                                 {0, h, 0},
                                 {0, h - atToe, r2},
                                 {left, h - atWeb, r1},
                                 {left, atWeb, r1},
                                 {0, atToe, r2}})}),
               out);
    const double tangent = atWeb - s * r1 + r1 * std::sqrt(1 + s * s);
    out.emplace_back(kDepthBetweenFillets, std::nearbyint(h - 2 * tangent));
}

void iSection(double h, double b, double tw, double tf, double r, DerivedValues& out) {
    const double a = 2 * b * tf + (h - 2 * tf) * tw + 4 * kFillet * r * r;
    addAreaAndMass(a, out);
    const double hw = h - 2 * tf;
    const double iy = (b * std::pow(h, 3) - (b - tw) * std::pow(hw, 3)) / 12 + 0.03 * std::pow(r, 4) +
                      0.2146 * r * r * std::pow(hw - 0.4468 * r, 2);
    const double iz = (2 * tf * std::pow(b, 3) + hw * std::pow(tw, 3)) / 12 + 0.03 * std::pow(r, 4) +
                      0.2146 * r * r * std::pow(tw + 0.4468 * r, 2);
    const double wply = tw * h * h / 4 + (b - tw) * (h - tf) * tf + (4 - kPi) / 2 * r * r * hw +
                        (3 * kPi - 10) / 3 * std::pow(r, 3);
    const double wplz =
        b * b * tf / 2 + hw * tw * tw / 4 + (10.0 / 3 - kPi) * std::pow(r, 3) + (4 - kPi) / 2 * r * r * tw;
    const double v[] = {iy / 1e4, 2 * iy / h / 1e3, wply / 1e3, std::sqrt(iy / a) / 10,
                        iz / 1e4, 2 * iz / b / 1e3, wplz / 1e3, std::sqrt(iz / a) / 10};
    for (std::size_t i = 0; i < kBending.size(); ++i)
        out.emplace_back(kBending[i], v[i]);
}

void channel(double h, double b, double tw, double tf, double r1, double r2, double slope,
             DerivedValues& out) {
    double area = 0;
    if (slope == 0 && r2 == 0) {
        area = 2 * b * tf + (h - 2 * tf) * tw + 2 * kFillet * r1 * r1;
    } else {
        const double s = slope / 100.0;
        const double flange = (b - tw) * tf - s / 2 * (b - tw) * tw;
        const double corner = kPi / 2 + std::atan(s);
        area = h * tw + 2 * flange + 2 * (filletArea(r1, corner) - filletArea(r2, corner));
    }
    addAreaAndMass(area, out);
    const Section s(channelOutline(h, b, tw, tf, r1, r2, slope));
    addBending(s, out);
    out.emplace_back(kYs, s.xc / 10);
}

void angle(double a, double b, double t, double r1, double r2, DerivedValues& out) {
    addAreaAndMass(t * (a + b - t) + kFillet * (r1 * r1 - 2 * r2 * r2), out);
    const Section s({rounded({{0, 0, 0}, {b, 0, 0}, {b, t, r2}, {t, t, r1}, {t, a, r2}, {0, a, 0}})});
    const double area = s.area;
    const double v[] = {s.iHorizontal / 1e4,
                        s.wHorizontal() / 1e3,
                        std::sqrt(s.iHorizontal / area) / 10,
                        s.iVertical / 1e4,
                        s.wVertical() / 1e3,
                        std::sqrt(s.iVertical / area) / 10,
                        s.yc / 10,
                        s.xc / 10,
                        s.iMajor / 1e4,
                        std::sqrt(s.iMajor / area) / 10,
                        s.iMinor / 1e4,
                        std::sqrt(s.iMinor / area) / 10};
    for (std::size_t i = 0; i < kAngle.size(); ++i)
        out.emplace_back(kAngle[i], v[i]);
}

void hollowRect(double h, double b, double t, double ro, DerivedValues& out) {
    // hot-finished: the inner corner radius is two thirds of the outer one (1.5 t outside, t inside)
    const double ri = ro / 1.5;
    addAreaAndMass(2 * t * (h + b - 2 * t) - (4 - kPi) * (ro * ro - ri * ri), out);
    Ring outer = rounded({{0, 0, ro}, {b, 0, ro}, {b, h, ro}, {0, h, ro}});
    Ring inner = rounded({{t, t, ri}, {b - t, t, ri}, {b - t, h - t, ri}, {t, h - t, ri}});
    std::reverse(inner.begin(), inner.end());
    const Section s({std::move(outer), std::move(inner)});
    addBending(s, out);
    const double rc = (ro + ri) / 2;
    const double ah = (b - t) * (h - t) - rc * rc * (4 - kPi);
    const double p = 2 * ((b - t) + (h - t)) - 2 * rc * (4 - kPi);
    out.emplace_back(kIt, (4 * ah * ah * t / p + std::pow(t, 3) * p / 3) / 1e4);
}

void hollowRound(double d, double t, DerivedValues& out) {
    const double di = d - 2 * t;
    const double area = kPi / 4 * (d * d - std::pow(d - 2 * t, 2));
    addAreaAndMass(area, out);
    const double i = kPi / 64 * (std::pow(d, 4) - std::pow(di, 4));
    const double v[] = {i / 1e4, 2 * i / d / 1e3, (std::pow(d, 3) - std::pow(di, 3)) / 6 / 1e3,
                        std::sqrt(i / area) / 10, 2 * i / 1e4};
    for (std::size_t k = 0; k < kRound.size(); ++k)
        out.emplace_back(kRound[k], v[k]);
}

/// The straight part of the web of a channel with tapered flanges, to the whole millimetre.
double depthBetweenFillets(double h, double b, double tw, double tf, double r1, double slope) {
    const double s = slope / 100.0;
    const double atWeb = tf + s * (b / 2 - tw);
    const double tangent = atWeb - s * r1 + r1 * std::sqrt(1 + s * s);
    // as Python's round: halves to the even number
    return std::nearbyint(h - 2 * tangent);
}

/// Dimensions needed by each type code, in the order of its property columns.
int dimensionsNeeded(int code) {
    switch (code) {
    case 1:
    case 2:
        return 5;
    case 3:
        return 6;
    case 6:
    case 7:
        return 7;
    case 8:
        return 2;
    case 9:
        return 1;
    case 10:
        return 4;
    case 11:
        return 2;
    }
    return -1;
}

bool derive(int code, const std::vector<double>& d, DerivedValues& out) {
    switch (code) {
    case 1: // h, b, tw, tf, r
        if (2 * d[3] >= d[0] || d[2] >= d[1]) return false;
        iSection(d[0], d[1], d[2], d[3], d[4], out);
        return true;
    case 2: // h, b, tw, tf, root radius
        if (2 * d[3] >= d[0] || d[2] >= d[1]) return false;
        channel(d[0], d[1], d[2], d[3], d[4], 0, 0, out);
        return true;
    case 3: // a, b, t (web), t (flange), root radius, toe radius
        if (d[2] >= d[0] || d[2] >= d[1]) return false;
        angle(d[0], d[1], d[2], d[4], d[5], out);
        return true;
    case 6: // h, b, tw, tf, root radius, toe radius, slope [%]
        if (2 * d[3] >= d[0] || d[2] >= d[1] || d[6] >= 100) return false;
        iSectionTapered(d[0], d[1], d[2], d[3], d[4], d[5], d[6], out);
        return true;
    case 7: // h, b, tw, tf, root radius, toe radius, slope [%]
        if (2 * d[3] >= d[0] || d[2] >= d[1] || d[6] >= 100) return false;
        channel(d[0], d[1], d[2], d[3], d[4], d[5], d[6], out);
        out.emplace_back(kDepthBetweenFillets, depthBetweenFillets(d[0], d[1], d[2], d[3], d[4], d[6]));
        return true;
    case 8: // width, thickness
        addAreaAndMass(d[0] * d[1], out);
        return true;
    case 9: // diameter
        addAreaAndMass(kPi / 4 * d[0] * d[0], out);
        return true;
    case 10: // h, b, t, outer corner radius
        if (2 * d[2] >= std::min(d[0], d[1]) || d[3] > std::min(d[0], d[1]) / 2) return false;
        hollowRect(d[0], d[1], d[2], d[3], out);
        return true;
    case 11: // d, t
        if (2 * d[1] >= d[0]) return false;
        hollowRound(d[0], d[1], out);
        return true;
    }
    return false;
}

/// Radii may be 0; every other dimension must be positive.
bool isRadius(int code, std::size_t index) {
    switch (code) {
    case 1:
    case 2:
        return index == 4;
    case 3:
    case 6:
    case 7:
        return index == 4 || index == 5;
    case 10:
        return index == 3;
    }
    return false;
}

} // namespace

bool deriveSectionValues(int typeCode, const std::vector<double>& dimensions, DerivedValues& out) {
    out.clear();
    const int needed = dimensionsNeeded(typeCode);
    if (needed < 0 || dimensions.size() < std::size_t(needed)) return false;
    for (std::size_t i = 0; i < std::size_t(needed); ++i) {
        const double v = dimensions[i];
        if (!std::isfinite(v) || v < 0 || (v == 0 && !isRadius(typeCode, i)) || v > 1e5) return false;
    }
    DerivedValues values;
    if (!derive(typeCode, dimensions, values)) return false;
    for (const auto& [header, v] : values)
        if (!std::isfinite(v)) return false;
    out = std::move(values);
    return true;
}

bool isDerivedColumn(int typeCode, const Vor_String& header) {
    const std::string& h = header.str();
    if (h == kArea || h == kMass || h == kYs || h == kIt) return true;
    if (h == kDepthBetweenFillets) return typeCode == 6 || typeCode == 7;
    for (const char* n : kBending)
        if (h == n) return true;
    for (const char* n : kAngle)
        if (h == n) return true;
    for (const char* n : kRound)
        if (h == n) return true;
    return false;
}

std::string derivedValueText(const std::string& header, double value) {
    int decimals = 2; // area and mass
    if (header == kDepthBetweenFillets)
        decimals = 0;
    else if (header != kArea && header != kMass)
        // four figures at least, two decimals at most
        decimals =
            value == 0
                ? 0
                : std::max(0, std::min(2, 3 - static_cast<int>(std::floor(std::log10(std::abs(value))))));
    std::string text;
    base::formatFixed(value, decimals, text);
    return text;
}

int derivedTypeCode(const Vor_String& typeText) {
    double code = 0;
    const bool numeric =
        base::readTypedNumber(typeText.str(), code) == base::TypedNumber::Number && code == std::floor(code);
    return numeric && std::abs(code) < 1000 ? static_cast<int>(code) : 0;
}

void fillDerivedColumns(const Vor_ProfValuesTable& table, int firstValueColumn, const std::vector<int>& keep,
                        Vor_StringArray& row, Vor_StringArray& leftEmpty) {
    const int typeCode = derivedTypeCode(table.typeCode);
    std::vector<double> dimensions;
    for (int c = firstValueColumn; c < row.length() && c < table.columnNames.length(); ++c) {
        if (isDerivedColumn(typeCode, table.columnNames[c])) break; // the dimensions come first
        double v = NAN;
        if (base::readTypedNumber(row[c].str(), v) != base::TypedNumber::Number) v = NAN;
        dimensions.push_back(v);
    }
    DerivedValues values;
    const bool derived = deriveSectionValues(typeCode, dimensions, values);
    for (int c = firstValueColumn; c < row.length() && c < table.columnNames.length(); ++c) {
        const Vor_String& header = table.columnNames[c];
        if (!isDerivedColumn(typeCode, header) || std::find(keep.begin(), keep.end(), c) != keep.end())
            continue;
        const auto it = std::find_if(values.begin(), values.end(),
                                     [&](const auto& v) { return v.first == header.str(); });
        if (derived && it != values.end()) {
            row[c] = Vor_String(derivedValueText(header.str(), it->second));
        } else {
            row[c] = Vor_String();
            leftEmpty.append(header);
        }
    }
}
