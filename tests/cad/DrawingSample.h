#pragma once
// A small drawing with every kind of entity, for the drawing's tests.

#include <cad/Drawing.h>

namespace cadtest {

inline cad::Entity entity(cad::Entity::Geometry g, std::string name = "", AcDbObjectId owner = {}) {
    cad::Entity e;
    e.geometry = std::move(g);
    e.name = std::move(name);
    e.owner = owner;
    return e;
}

inline cad::Profile beam(cad::Point3d start, cad::Point3d end, std::string section = "IPE 200") {
    cad::Profile p;
    p.section = std::move(section);
    p.start = start;
    p.end = end;
    p.width = 100;
    p.height = 200;
    return p;
}

/// A macro group "M1" with a beam, a plate, a hole, a bolt group, a coordinate system, a cut and
/// a block reference, and a nested group "M1.sub" with a second beam.
inline AcDbObjectId addSampleMacro(cad::Drawing& d, double x = 0) {
    cad::Entity g = entity(cad::MacroGroup{}, "M1");
    g.properties = {{"macro", "Kopplaat \"end plate\""}, {"note", "two lines\nand a tab\t\\"}};
    AcDbObjectId m = d.add(g);
    d.add(entity(beam({x, 0, 0}, {x + 6000, 0, 0}), "B1", m));
    cad::Plate plate;
    plate.placement = {{x + 6000, -50, -100}, {0, 1, 0}, {0, 0, 1}};
    plate.outline = {{0, 0}, {100, 0}, {100, 200}, {0, 200}};
    plate.thickness = 15;
    d.add(entity(plate, "P1", m));
    d.add(entity(cad::BoltHole{{x + 6000, 0, 0}, {1, 0, 0}, 22, 30, "M20 8.8"}, "H1", m));
    d.add(entity(cad::BoltGroup{{{x + 6000, 0, 50}, {x + 6000, 0, -50}}, {1, 0, 0}, 22, 30, "M20 8.8"}, "BG1",
                 m));
    d.add(entity(cad::CoordSysEntity{{{x, 0, 0}, {1, 0, 0}, {0, 1, 0}}}, "CS1", m));
    d.add(entity(cad::CutMarker{{x + 5990, 0, 0}, {1, 0, 0}, 300}, "C1", m));
    d.add(entity(cad::BlockRef{"Macros/Kopplaat.dwg", {{x, 0, 0}, {1, 0, 0}, {0, 1, 0}}}, "K1", m));
    AcDbObjectId sub = d.add(entity(cad::MacroGroup{}, "M1.sub", m));
    d.add(entity(beam({x, 0, 0}, {x, 0, 3000}, "HEA 200"), "C2", sub));
    return m;
}

} // namespace cadtest
