// vormacros drawings FOLDER  writes the macro drawings that the library folder ships (Macros/Drawings/):
//                            a few real connections, each a macro made by its definition on short
//                            stubs of the profiles it joins.
// vormacros previews FOLDER [WIDTH HEIGHT]
//                            makes the preview picture (".abm") of every drawing of FOLDER that lacks
//                            one or is newer than it, as the macro selection does at its first show.

#include <host/MacroData.h>
#include <host/MacroPreview.h>
#include <host/Settings.h>
#include <host/Vor_MacroPropsFilter.h>

#include <cad/DrawingFile.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using Values = std::vector<std::pair<std::string, std::string>>;
using cad::Point3d;

struct Stub {
    const char* name;
    const char* section;
    Point3d start, end;
    double width, height;
};
struct Connection {
    const char* file; ///< the drawing's name; trailing digits number the variants of one kind
    const char* type;
    std::vector<Stub> stubs;
    Values values;
};

std::string beam(const char* section) {
    return std::string(R"({"group":"Beam","section":")") + section + R"("})";
}
std::string pattern(int rows, int spacing, int edgeTop) {
    return R"({"name":"Bolts","rows":{"on":true,"count":")" + std::to_string(rows) + R"(","spacing":")" +
           std::to_string(spacing) + R"("},"columns":{"on":true,"count":"2","spacing":"110"},"edgeTop":")" +
           std::to_string(edgeTop) + R"(","edgeSide":"45","clearance":"0"})";
}

const Stub kColumn{"C", "HEA 200", {-95, 0, -750}, {-95, 0, 750}, 200, 190};
Stub beamStub(const char* section, double width, double height) {
    return {"B", section, {20, 0, 0}, {1200, 0, 0}, width, height};
}
const Stub kFoot{"C", "HEA 200", {0, 0, 0}, {0, 0, 1200}, 200, 190};
Stub spliced(const char* section, double width, double height) {
    return {"B", section, {-1200, 0, 0}, {1200, 0, 0}, width, height};
}

const std::vector<Connection> kConnections = {
    {"EndPlateFlush1",
     "Kopplaat",
     {kColumn, beamStub("IPE 300", 150, 300)},
     {{"Endplate.hp", "300"}, {"Endplate.tp", "15"}, {"Endplate.grade", "S235"}}},
    {"EndPlateFlush2",
     "Kopplaat",
     {kColumn, beamStub("IPE 400", 180, 400)},
     {{"Endplate.hp", "400"},
      {"Endplate.bp", "220"},
      {"Endplate.grade", "S355"},
      {"Endplate.@profile.Beam", beam("IPE 400")},
      {"Endplate.@pattern.Bolts", pattern(2, 240, 80)}}},
    {"EndPlateExtended1",
     "Kopplaat",
     {kColumn, beamStub("IPE 300", 150, 300)},
     {{"Endplate.hp", "450"},
      {"Endplate.tp", "20"},
      {"Endplate.grade", "S235"},
      {"Endplate.@pattern.Bolts", pattern(3, 150, 75)}}},
    {"EndPlateExtended2",
     "Kopplaat",
     {kColumn, beamStub("IPE 400", 180, 400)},
     {{"Endplate.hp", "560"},
      {"Endplate.bp", "220"},
      {"Endplate.tp", "25"},
      {"Endplate.grade", "S355"},
      {"Endplate.@profile.Beam", beam("IPE 400")},
      {"Endplate.@pattern.Bolts", pattern(4, 140, 70)}}},
    {"EndPlateStiffened1",
     "Kopplaat",
     {kColumn, beamStub("IPE 300", 150, 300)},
     {{"Endplate.hp", "350"},
      {"Endplate.grade", "S355"},
      {"Stiffeners.lb", "1000"},
      {"Stiffeners.@array.Stiffeners",
       R"({"name":"Stiffeners","kind":1,"dims":["lb","",""],"third":"2","startOffset":"300","endOffset":"300"})"}}},
    {"BasePlatePinned1", "Voetplaat", {kFoot}, {{"Baseplate.bp", "300"}, {"Baseplate.tbp", "15"}}},
    {"BasePlatePinned2",
     "Voetplaat",
     {kFoot},
     {{"Baseplate.bp", "260"},
      {"Baseplate.tbp", "20"},
      {"Baseplate.grout", "Mortar"},
      {"Baseplate.tg", "30"}}},
    {"BasePlateFixed1",
     "Voetplaat",
     {kFoot},
     {{"Baseplate.bp", "400"}, {"Baseplate.tbp", "30"}, {"Baseplate.a", "300"}, {"Anchors.la", "500"}}},
    {"BasePlateFixed2",
     "Voetplaat",
     {kFoot},
     {{"Baseplate.bp", "450"},
      {"Baseplate.tbp", "35"},
      {"Baseplate.a", "340"},
      {"Baseplate.grout", "Mortar"},
      {"Baseplate.tg", "40"},
      {"Baseplate.Shear key", "1"},
      {"Anchors.la", "600"}}},
    {"SpliceWeb1", "Stuiklas", {spliced("IPE 300", 150, 300)}, {{"Splice.lw", "400"}, {"Splice.hw", "200"}}},
    {"SpliceFlange1",
     "Stuiklas",
     {spliced("IPE 300", 150, 300)},
     {{"Splice.lf", "500"}, {"Splice.tf", "12"}, {"Splice.lw", "400"}, {"Splice.hw", "200"}}},
};

int writeDrawings(const std::string& folder) {
    for (const Connection& c : kConnections) {
        cad::Drawing d;
        Vor_StringArray connects;
        for (const Stub& s : c.stubs) {
            cad::Entity e;
            e.name = s.name;
            e.geometry = cad::Profile{s.section, s.start, s.end, s.width, s.height};
            d.add(e);
            connects.append(Vor_String(s.name));
        }
        std::string error;
        if (createMacro(d, c.type, "M1", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, connects, c.values, &error)
                .isNull()) {
            std::fprintf(stderr, "vormacros: %s: %s\n", c.file, error.c_str());
            return 1;
        }
        d.changeView(cad::ViewDirection::Standard);
        d.zoomExtents();
        const std::string path = folder + c.file + ".dwg";
        if (!cad::saveDrawing(d, path, &error)) {
            std::fprintf(stderr, "vormacros: %s\n", error.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}

int makePreviews(const std::string& folder, int width, int height) {
    Vor_MacroPropsFilter filter;
    filter.initialize({Vor_String(folder)}, {}, width, height);
    const PreviewReport r =
        CreatePreviewBMPs(filter.width(), filter.height(), filter.getAllDwgFiles(), "abm");
    for (const Vor_String& m : r.messages)
        std::fprintf(stderr, "vormacros: %s\n", m.c_str());
    std::printf("%d made, %d up to date, %d failed\n", r.made.length(), r.upToDate.length(),
                r.failed.length());
    return r.failed.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 2 ? argv[1] : "";
    if ((what != "drawings" && what != "previews") || (what == "previews" && argc != 3 && argc != 5)) {
        std::fprintf(stderr, "usage: vormacros drawings FOLDER | vormacros previews FOLDER [WIDTH HEIGHT]\n");
        return 2;
    }
    std::string error;
    if (!configureSettings("", "", &error)) {
        std::fprintf(stderr, "vormacros: %s\n", error.c_str());
        return 1;
    }
    std::string folder = argv[2];
    if (folder.empty() || folder.back() != '/') folder += '/';
    if (what == "drawings") return writeDrawings(folder);
    return makePreviews(folder, argc == 5 ? std::atoi(argv[3]) : 96, argc == 5 ? std::atoi(argv[4]) : 96);
}
