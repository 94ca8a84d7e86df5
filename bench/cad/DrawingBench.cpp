// A drawing of 1,000 connection macros (about 50,000 entities): opening its file, and the clash
// query of one macro's boxes against the rest through the spatial index.

#include <cad/DrawingFile.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

using namespace cad;

namespace {

constexpr int kMacros = 1000;

Entity make(Entity::Geometry g, AcDbObjectId owner, std::string name) {
    Entity e;
    e.geometry = std::move(g);
    e.owner = owner;
    e.name = std::move(name);
    return e;
}

// One macro: a beam on a column with end plates, stiffeners, bolts, cuts and placements, 50
// entities with the group, at a node of a 6 m grid of three storeys.
void addMacro(Drawing& d, int n, std::mt19937& rng) {
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

struct Fixture {
    std::string path;
    Fixture() {
        Drawing d;
        std::mt19937 rng(1);
        for (int n = 0; n < kMacros; ++n)
            addMacro(d, n, rng);
        auto dir = std::filesystem::temp_directory_path() / "vor-bench-drawing";
        std::filesystem::create_directories(dir);
        path = (dir / "Model.dwg").string();
        std::string error;
        if (!saveDrawing(d, path, &error)) throw std::runtime_error(error);
    }
};

const Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_OpenDrawing(benchmark::State& state) {
    const std::string& path = fixture().path;
    for (auto _ : state) {
        std::string error;
        if (!openDrawing(path, &error)) state.SkipWithError(error.c_str());
    }
    state.counters["entities"] = static_cast<double>(curDrawing().size());
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}
BENCHMARK(BM_OpenDrawing)->Unit(benchmark::kMillisecond);

// What a clash check of one macro asks: every box of its entities against the entities of others.
void BM_ClashOneMacro(benchmark::State& state) {
    std::string error;
    if (!openDrawing(fixture().path, &error)) state.SkipWithError(error.c_str());
    const Drawing& d = curDrawing();
    AcDbObjectId macro = d.findByName("M500");
    std::vector<AcDbObjectId> own = d.allMembers(macro);
    std::sort(own.begin(), own.end());
    std::size_t clashes = 0;
    for (auto _ : state) {
        std::set<AcDbObjectId> hits;
        std::vector<AcDbObjectId> found;
        for (AcDbObjectId id : own) {
            found.clear();
            Extents box = d.get(id)->extents();
            if (box.isEmpty()) continue;
            found = d.overlapping(box);
            for (AcDbObjectId f : found)
                if (!std::binary_search(own.begin(), own.end(), f)) hits.insert(f);
        }
        clashes = hits.size();
        benchmark::DoNotOptimize(clashes);
    }
    state.counters["boxes"] = static_cast<double>(own.size());
    state.counters["clashes"] = static_cast<double>(clashes);
}
BENCHMARK(BM_ClashOneMacro)->Unit(benchmark::kMicrosecond);

void BM_SaveDrawing(benchmark::State& state) {
    std::string error;
    if (!openDrawing(fixture().path, &error)) state.SkipWithError(error.c_str());
    std::string out = fixture().path + ".saved";
    for (auto _ : state)
        if (!saveDrawing(curDrawing(), out, &error)) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_SaveDrawing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
