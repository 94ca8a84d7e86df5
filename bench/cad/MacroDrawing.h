#pragma once
// The drawing the benchmarks share: connection macros of about 50 entities each at the nodes of a
// 6 m grid of three storeys (1,000 of them make some 50,000 entities).

#include <cad/Drawing.h>

#include <random>
#include <string>

namespace vorbench {

using namespace cad;

inline constexpr int kBenchMacros = 1000;

inline Entity make(Entity::Geometry g, AcDbObjectId owner, std::string name) {
    Entity e;
    e.geometry = std::move(g);
    e.owner = owner;
    e.name = std::move(name);
    return e;
}

// One macro: a beam on a column with end plates, stiffeners, bolts, cuts and placements, 50
// entities with the group, at a node of a 6 m grid of three storeys.
inline void addMacro(Drawing& d, int n, std::mt19937& rng) {
    std::uniform_real_distribution<double> jitter(-200, 200);
    Point3d at{(n % 20) * 6000.0, (n / 20 % 17) * 6000.0, (n / 340) * 4000.0};
    std::string tag = "M" + std::to_string(n);
    Entity group = make(MacroGroup{}, {}, tag);
    group.properties = {{"macro", "Kopplaat.dwg"}, {"bolts", "M20 8.8"}, {"plate", "15"}};
    AcDbObjectId g = d.add(group);
    Profile beam;
    beam.section = "IPE 300";
    beam.start = at;
    beam.end = at + Point3d{5800, 0, 0};
    beam.width = 150;
    beam.height = 300;
    d.add(make(beam, g, tag + ".B"));
    Profile column = beam;
    column.section = "HEA 300";
    column.end = at + Point3d{0, 0, 3800};
    column.width = 300;
    column.height = 290;
    d.add(make(column, g, tag + ".C"));
    AcDbObjectId sub = d.add(make(MacroGroup{}, g, tag + ".bolts"));
    for (int i = 0; i < 4; ++i) {
        Plate p;
        p.placement = {at + Point3d{150.0 + i * 10, jitter(rng) / 4, -200}, {0, 1, 0}, {0, 0, 1}};
        p.outline = {{-100, 0}, {100, 0}, {100, 400}, {-100, 400}};
        p.thickness = 15;
        d.add(make(p, g, tag + ".P" + std::to_string(i)));
    }
    for (int i = 0; i < 8; ++i) {
        BoltGroup b;
        for (int k = 0; k < 4; ++k)
            b.positions.push_back(at + Point3d{150, k % 2 * 100.0 - 50, k / 2 * 70.0 + i * 20.0 - 100});
        b.axis = {1, 0, 0};
        b.diameter = 22;
        b.length = 40;
        b.assembly = "M20 8.8";
        d.add(make(b, sub, tag + ".BG" + std::to_string(i)));
    }
    for (int i = 0; i < 24; ++i)
        d.add(make(BoltHole{at + Point3d{150, jitter(rng) / 2, jitter(rng)}, {1, 0, 0}, 22, 15, "M20"}, sub,
                   tag + ".H" + std::to_string(i)));
    for (int i = 0; i < 4; ++i)
        d.add(make(CutMarker{at + Point3d{140.0 + i, 0, 0}, {1, 0, 0}, 400}, g,
                   tag + ".X" + std::to_string(i)));
    for (int i = 0; i < 4; ++i)
        d.add(make(CoordSysEntity{{at + Point3d{0, 0, i * 100.0}}}, g, tag + ".CS" + std::to_string(i)));
    for (int i = 0; i < 2; ++i)
        d.add(make(BlockRef{"Macros/Kopplaat.dwg", {at}}, g, tag + ".K" + std::to_string(i)));
}

/// `count` macros, the same every time.
inline void addMacros(Drawing& d, int count) {
    std::mt19937 rng(1);
    for (int n = 0; n < count; ++n)
        addMacro(d, n, rng);
}

} // namespace vorbench
