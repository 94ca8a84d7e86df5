// vorcut: plans the bars to buy for each entry of the cutting stock dialog. For every entry folder it
// reads the newest parts file (*.shp) and stock lengths (*.stk, else --stock), and writes the plan
// as a new Stock<n>.buy that the dialog's import reads back.
#include <cut/CutFiles.h>
#include <cut/CuttingStock.h>

#include <base/NumberText.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] =
    "usage: vorcut [options] FOLDER...\n"
    "  FOLDER            an entry folder, or \"Cutting Stock\" itself (then each subfolder is an entry)\n"
    "  --stock LIST      stock lengths for folders without a *.stk file: LENGTH[:COST[:COUNT]],...\n"
    "                    (default 6000,12000 at costs 1 and 2)\n"
    "  --kerf MM         width of a saw cut, 0 to 100000 (default 0)\n"
    "  --min-offcut MM   shortest offcut that may be left on a bar, 0 to 100000 (default 0)\n"
    "  --time SECONDS    time for planning one entry; the best plan by then is kept (default 60)\n"
    "  --quiet           no progress line\n";

bool parseStock(const std::string& text, std::vector<cut::StockLength>& out) {
    out.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        cut::StockLength s;
        double parts[3] = {0, 1, -1};
        std::size_t from = 0;
        for (int i = 0; i < 3 && from <= item.size(); ++i) {
            const std::size_t colon = std::min(item.find(':', from), item.size());
            if (!base::parseNumber(item.substr(from, colon - from), parts[i])) return false;
            from = colon + 1;
        }
        // Lengths and costs out of range are refused by the optimiser, naming the stock length; a
        // count must be whole (or -1, any number) before it becomes one.
        if (!(parts[2] == -1 || (parts[2] >= 0 && parts[2] <= 1e9 && parts[2] == std::floor(parts[2]))))
            return false;
        s.length = parts[0];
        s.cost = parts[1];
        s.available = (long long)parts[2];
        if (!(s.length > 0) || !(s.cost >= 0)) return false;
        out.push_back(s);
        start = comma + 1;
    }
    return !out.empty();
}

// Folders are read with error codes: a folder that cannot be read (a loop of links, no permission)
// is reported and skipped, never thrown out of main.
bool isEntryFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        for (char& c : ext)
            c = char(std::tolower((unsigned char)c));
        if (ext == ".shp") return true;
    }
    return false;
}

std::string fixed(double v, int decimals) {
    std::string s;
    base::formatFixed(v, decimals, s);
    return s;
}

} // namespace

int run(int argc, char** argv) {
    std::vector<cut::StockLength> stock = {{6000, 1, -1}, {12000, 2, -1}};
    cut::Settings settings;
    bool quiet = false;
    std::vector<std::string> folders;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        // A length must be one the optimiser can work in units; a time a number of seconds.
        auto value = [&](double& v, double most) {
            if (i + 1 >= argc || !base::parseNumber(argv[i + 1], v) || !(v >= 0) || !(v <= most)) {
                std::fprintf(stderr, "vorcut: %s needs a number from 0 to %g\n%s", a.c_str(), most, kUsage);
                std::exit(2);
            }
            ++i;
        };
        const double longest = double(cut::kMaxLengthUnits) * settings.unit;
        if (a == "--stock") {
            if (i + 1 >= argc || !parseStock(argv[++i], stock)) {
                std::fprintf(stderr, "vorcut: --stock needs LENGTH[:COST[:COUNT]],...\n%s", kUsage);
                return 2;
            }
        } else if (a == "--kerf")
            value(settings.kerf, longest);
        else if (a == "--min-offcut")
            value(settings.minOffcut, longest);
        else if (a == "--time")
            value(settings.timeLimit, 1e7);
        else if (a == "--quiet")
            quiet = true;
        else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "vorcut: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        } else
            folders.push_back(a);
    }
    if (folders.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // A folder without parts files of its own is the "Cutting Stock" folder: its subfolders are the entries.
    std::vector<std::string> entries;
    int failed = 0;
    for (const std::string& f : folders) {
        std::filesystem::path p(f);
        std::error_code ec;
        if (!std::filesystem::is_directory(p, ec)) {
            std::fprintf(stderr, "vorcut: %s is not a folder%s%s\n", f.c_str(), ec ? ": " : "",
                         ec ? ec.message().c_str() : "");
            return 2;
        }
        if (isEntryFolder(p)) {
            entries.push_back(p.string());
            continue;
        }
        std::vector<std::string> sub;
        std::filesystem::directory_iterator it(p, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::error_code kind;
            if (it->is_directory(kind) && isEntryFolder(it->path())) sub.push_back(it->path().string());
            if (kind && kind != std::errc::no_such_file_or_directory) {
                std::fprintf(stderr, "vorcut: %s skipped: %s\n", it->path().string().c_str(),
                             kind.message().c_str());
                ++failed;
            }
        }
        if (ec) {
            std::fprintf(stderr, "vorcut: %s cannot be read to the end: %s\n", f.c_str(),
                         ec.message().c_str());
            ++failed;
        }
        std::sort(sub.begin(), sub.end());
        entries.insert(entries.end(), sub.begin(), sub.end());
    }

    const bool tty = isatty(fileno(stderr));
    for (std::string folder : entries) {
        if (folder.back() != '/') folder += '/';
        const std::string name = std::filesystem::path(folder).parent_path().filename().string();
        if (!quiet && tty)
            settings.progress = [&](const cut::Progress& p) {
                std::fprintf(stderr, "\r%s: round %d, LP %d, %d patterns, LP value %s, %s s   ", name.c_str(),
                             p.round, p.iteration, p.columns, fixed(p.lpValue, 3).c_str(),
                             fixed(p.seconds, 1).c_str());
            };
        const cut::FolderRun run = cut::optimiseFolder(folder, stock, settings);
        if (!quiet && tty) std::fputs("\r\033[K", stderr);
        for (const cut::FileMessage& m : run.messages)
            std::fprintf(stderr, "%s: line %d: %s\n", name.c_str(), m.line, m.text.c_str());
        if (!run.ok) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), run.error.c_str());
            ++failed;
            continue;
        }
        const cut::Result& r = run.result;
        std::printf("%s: %lld bars, cost %s, no plan costs less than %s", name.c_str(), r.bars,
                    fixed(r.cost, 2).c_str(), fixed(r.lpBound, 2).c_str());
        if (r.barBound > 0) std::printf(", at least %lld bars (%lld above)", r.barBound, r.bars - r.barBound);
        std::printf(", %s s -> %s\n", fixed(r.seconds, 2).c_str(), run.buyFile.c_str());
        if (!r.impossibleParts.empty()) {
            std::fprintf(stderr, "%s: %zu part(s) fit no stock length and were left out\n", name.c_str(),
                         r.impossibleParts.size());
            ++failed;
        }
    }
    return failed ? 1 : 0;
}

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorcut: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "vorcut: unexpected failure\n");
    }
    return 3;
}
