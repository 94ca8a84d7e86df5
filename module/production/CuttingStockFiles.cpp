#include "production/CuttingStockFiles.h"

#include <cut/CutFiles.h>

#include <base/NumberText.h>
#include <base/PathPart.h>
#include <base/SafeFile.h>
#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorUtils.h>

#include <new>

namespace {
constexpr char kSeparator = '\xBF';
}

bool csp2EntryFolder(const Vor_String& entryName, Vor_String& folder, std::string* error) {
    const std::string fault = base::pathPartFault(entryName.str());
    if (!fault.empty()) {
        // texts: dialString 9808
        if (error) *error = dialString(9808).str() + " \"" + entryName.str() + "\": " + fault;
        return false;
    }
    folder = folderWithSlash(gSettings.libDir) + "Cutting Stock/" + entryName + "/";
    return true;
}

int highestStockNumber(const Vor_String& folder, const Vor_String& ext) {
    Vor_StringArray files;
    if (!ObjectExportFindFiles(folder, "Stock*." + ext.str(), files)) return 0;
    long long highest = 0;
    for (const Vor_String& path : files) {
        const std::string name = getFileName(path).str();
        const std::size_t tail = ext.str().size() + 1;
        if (name.size() < 5 + tail) continue;
        const long long n = base::parseLeadingInteger(name.substr(5, name.size() - 5 - tail));
        if (n > highest && n < 1000000000) highest = n;
    }
    return int(highest);
}

Vor_String defaultNewFileName(const Vor_String& folder, const Vor_String& ext) {
    return "Stock" + std::to_string(highestStockNumber(folder, ext) + 1) + "." + ext.str();
}

bool newestCsp2File(const Vor_String& folder, const Vor_String& ext, Vor_String& path) {
    Vor_StringArray files;
    if (!ObjectExportFindFiles(folder, "*." + ext.str(), files)) return false;
    bool found = false;
    std::time_t newest = 0;
    for (const Vor_String& f : files) {
        std::time_t t;
        if (!ObjectExportGetFileTime(f, t)) continue;
        if (!found || t > newest) {
            found = true;
            newest = t;
            path = f;
        }
    }
    return found;
}

Vor_String withCsp2Extension(const Vor_String& path, const Vor_String& ext) {
    const Vor_String name = getFileName(path);
    const std::string dotExt = "." + ext.str();
    const std::string lowerName = name.toLower().str();
    const std::string lowerExt = Vor_String(dotExt).toLower().str();
    if (lowerName.size() >= lowerExt.size() &&
        lowerName.compare(lowerName.size() - lowerExt.size(), lowerExt.size(), lowerExt) == 0)
        return path;
    return path + dotExt;
}

bool readCsp2File(const Vor_String& path, Vor_Array<Vor_StringArray>& rows, std::string* error) {
    Vor_StringArray lines;
    if (!ObjectExportReadFile(path, lines, error)) return false;
    Vor_StringArray kept;
    for (const Vor_String& line : lines)
        if (line.view().find_first_not_of(" \t") != std::string_view::npos) kept.append(line);
    rows = arrToArrArr(kept, kSeparator);
    return true;
}

bool writeCsp2File(const Vor_String& path, const Vor_Array<Vor_StringArray>& rows, std::string* error) {
    const std::string fault = cut::danglingLinkFault(path.str());
    if (!fault.empty()) {
        if (error) *error = fault;
        return false;
    }
    return ObjectExportWriteFile(path, arrArrToArr(rows, kSeparator), error);
}

Vor_String csp2FileDate(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local) || local.tm_mon < 0 || local.tm_mon > 11) return {};
    auto twoDigits = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    // texts: dialString 9820-9831
    return std::to_string(local.tm_mday) + " " + dialString(9820 + local.tm_mon).str() + " " +
           std::to_string(local.tm_year + 1900LL) + " (" + twoDigits(local.tm_hour) + ":" +
           twoDigits(local.tm_min) + ")";
}

namespace {
// A catalogue text with %1 .. %6 filled in, in one pass (a value holding "%2" stays as it is).
Vor_String filled(int text, const cut::Message& m) {
    const std::string pattern = dialString(text).str();
    const std::string values[] = {std::to_string(m.line), m.mark, m.value, m.stock, m.limit,
                                  std::to_string(m.count)};
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '6') {
            out += values[pattern[i + 1] - '1'];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// The name of the row or setting a length fault is about.
Vor_String subjectText(const cut::Message& m) {
    // texts: dialString 9846-9851
    switch (m.subject) {
    case cut::LengthOf::Kerf:
        return dialString(9846);
    case cut::LengthOf::MinOffcut:
        return dialString(9847);
    case cut::LengthOf::Stock:
        return filled(9848, m) + ": " + dialString(9851);
    case cut::LengthOf::Part:
        return filled(m.mark.empty() ? 9849 : 9850, m) + ": " + dialString(9851);
    case cut::LengthOf::None:
        break;
    }
    return {};
}
} // namespace

Vor_String cutMessageText(const cut::Message& m) {
    using K = cut::MessageKind;
    // texts: dialString 9832-9845 9852-9865
    switch (m.kind) {
    case K::None:
        return m.text;
    case K::PartNoLength:
        return filled(9832, m);
    case K::PartLengthNotNumber:
        return filled(9833, m);
    case K::PartLengthNotPositive:
        return filled(9834, m);
    case K::PartQuantityNotWhole:
        return filled(9835, m);
    case K::MarkRepeated:
        return filled(9836, m);
    case K::StockLengthNotPositive:
        return filled(9837, m);
    case K::StockCostNegative:
        return filled(9838, m);
    case K::StockAtHandNotWhole:
        return filled(9839, m);
    case K::MoreNotListed:
        return filled(m.count == 1 ? 9841 : 9840, m);
    case K::NoPartsFile:
        return filled(9842, m);
    case K::NoPartToCut:
        return filled(9843, m);
    case K::GrainOutOfRange:
        return filled(9844, m);
    case K::TimeLimitBad:
        return filled(9845, m);
    case K::LengthNotNumber:
        return subjectText(m) + " " + filled(9852, m);
    case K::LengthBelowZero:
        return subjectText(m) + " " + filled(9853, m);
    case K::LengthTooLong:
        return subjectText(m) + " " + filled(9854, m);
    case K::LengthBelowGrain:
        return subjectText(m) + " " + filled(9855, m);
    case K::StockCostBad:
        return filled(9848, m) + ": " + filled(9856, m);
    case K::TooManyStockLengths:
        return filled(9857, m);
    case K::TooManyPieces:
        return filled(m.mark.empty() ? 9849 : 9850, m) + ": " + filled(9858, m);
    case K::TooManyParts:
        return filled(m.mark.empty() ? 9849 : 9850, m) + ": " + filled(9859, m);
    case K::PricingTooBig:
        return filled(9860, m);
    case K::NoStock:
        return filled(9861, m);
    case K::NothingFits:
        return filled(9862, m);
    case K::PartsFitNone:
        return filled(m.count == 1 ? 9864 : 9863, m);
    case K::NotEnoughBars:
        return filled(9865, m);
    }
    return m.text;
}

namespace {
// One file of one entry into its list, with the report line.
void importInto(DlgCSP2Data& data, int index, int list, const char* ext, int readText, int notFoundText,
                Vor_StringArray& report) {
    const Vor_String name = data.entryNames[index];
    Vor_String folder, path;
    std::string fault;
    if (!csp2EntryFolder(name, folder, &fault)) {
        report.append(Vor_String(fault));
        return;
    }
    // texts: dialString 633-638
    if (!newestCsp2File(folder, ext, path)) {
        report.append(dialString(634) + " \"" + name + "\". " + dialString(notFoundText));
        return;
    }
    Vor_Array<Vor_StringArray> rows;
    std::string error;
    if (!readCsp2File(path, rows, &error)) {
        report.append(dialString(634) + " \"" + name + "\": " + error);
        return;
    }
    data.list(list).storeRowsOf(data.entryIds[index], rows);
    std::time_t t = 0;
    ObjectExportGetFileTime(path, t);
    report.append(dialString(636) + csp2FileDate(t) + dialString(634) + " \"" + name + "\" " +
                  dialString(readText) + " \"" + getFileName(path) + "\" ");
}
} // namespace

Vor_StringArray importAllCsp2(DlgCSP2Data& data) {
    const Vor_String rule(std::string(116, '-'));
    Vor_StringArray report;
    report.append(rule);
    for (int i = 0; i < data.entryIds.length() && i < data.entryNames.length(); ++i) {
        importInto(data, i, 2, "shp", 635, 633, report);
        report.append(Vor_String());
        importInto(data, i, 3, "buy", 638, 637, report);
        report.append(rule);
    }
    return report;
}

namespace {
std::vector<cut::Row> toCutRows(const Vor_Array<Vor_StringArray>& rows) {
    std::vector<cut::Row> out;
    for (const Vor_StringArray& r : rows) {
        cut::Row row;
        for (const Vor_String& cell : r)
            row.push_back(cell.str());
        out.push_back(std::move(row));
    }
    return out;
}
} // namespace

namespace {
// One entry of "Optimise all": its files, the run and its report lines.
void optimiseEntry(DlgCSP2Data& data, int i, const cut::Settings& settings, const Csp2Progress& progress,
                   Vor_StringArray& report) {
    const int id = data.entryIds[i];
    const Vor_String name = data.entryNames[i];
    const Vor_String head = dialString(9802) + " \"" + name + "\": ";
    Vor_String folder;
    std::string error;
    if (!csp2EntryFolder(name, folder, &error)) {
        report.append(Vor_String(error));
        return;
    }
    ObjectExportCreateDirectory(folder);
    std::vector<cut::FileMessage> stockMessages;
    const std::vector<cut::StockLength> stock =
        cut::readStock(toCutRows(data.list1.rowsOf(id)), stockMessages);
    for (const cut::FileMessage& m : stockMessages)
        report.append(head + dialString(625) + " " + std::to_string(m.line) + ": " + cutMessageText(m));
    if (stock.empty()) {
        report.append(dialString(9806) + " \"" + name + "\".");
        return;
    }
    const Vor_String partsPath = folder + defaultNewFileName(folder, "shp");
    const Vor_String stockPath = folder + defaultNewFileName(folder, "stk");
    if (!writeCsp2File(partsPath, data.list2.rowsOf(id), &error) ||
        !cut::writeExchangeFile(stockPath.str(), cut::joinRows(cut::stockRows(stock)), &error)) {
        report.append(head + error);
        return;
    }
    cut::Settings run = settings;
    if (progress) run.progress = [&](const cut::Progress& p) { progress(name, p); };
    const cut::FolderRun result = cut::optimiseFolder(folder.str(), stock, run);
    for (const cut::FileMessage& m : result.messages)
        report.append(head + (m.file.empty() ? Vor_String() : Vor_String(m.file + ": ")) +
                      dialString(m.file.empty() ? 626 : 625) + " " + std::to_string(m.line) + ": " +
                      cutMessageText(m));
    if (!result.ok) {
        report.append(head + cutMessageText(result.fault));
        return;
    }
    Vor_Array<Vor_StringArray> bought;
    if (readCsp2File(result.buyFile, bought, &error))
        data.list3.storeRowsOf(id, bought);
    else
        report.append(head + error);
    const cut::Result& r = result.result;
    std::string cost, bound;
    base::formatFixed(r.cost, 2, cost);
    base::formatFixed(r.lpBound, 2, bound);
    // texts: dialString 9803 9804 9807 9814 9819
    auto bars = [](long long n) { return std::to_string(n) + " " + dialString(n == 1 ? 9819 : 9803).str(); };
    Vor_String line = head + bars(r.bars) + ", " + cost + " (" + dialString(9807) + " " + bound + ")";
    if (r.barBound > 0) line += ", " + dialString(9804) + " " + bars(r.barBound);
    if (r.stopped) line += ", " + dialString(9814);
    line += " -> \"" + getFileName(result.buyFile) + "\"";
    report.append(line);
    if (!r.impossibleParts.empty()) {
        cut::Message fitNone{0, {}, cut::MessageKind::PartsFitNone};
        fitNone.count = (long long)r.impossibleParts.size();
        report.append(head + cutMessageText(fitNone));
    }
}

bool stopAsked(const cut::Settings& settings) {
    return settings.stop && settings.stop->load();
}
} // namespace

Vor_StringArray optimiseAllCsp2(DlgCSP2Data& data, const cut::Settings& settings,
                                const Csp2Progress& progress) {
    // texts: dialString 9802 9809-9810 9815-9816 9866
    const Vor_String rule(std::string(116, '-'));
    Vor_StringArray report;
    std::string kerf, offcut;
    base::formatFixed(settings.kerf, 1, kerf);
    base::formatFixed(settings.minOffcut, 1, offcut);
    report.append(dialString(9809) + " " + kerf + ", " + dialString(9810) + " " + offcut);
    report.append(rule);
    for (int i = 0; i < data.entryIds.length() && i < data.entryNames.length(); ++i) {
        if (stopAsked(settings)) {
            report.append(dialString(9802) + " \"" + data.entryNames[i] + "\": " + dialString(9815));
        } else {
            // Whatever goes wrong with one entry (even memory running out) is its line of the
            // report: the other entries are planned and the dialog's lists stay.
            try {
                optimiseEntry(data, i, settings, progress, report);
            } catch (const std::bad_alloc&) {
                report.append(dialString(9802) + " \"" + data.entryNames[i] + "\": " + dialString(9816) +
                              " (" + dialString(9866) + ")");
            } catch (const std::exception& e) {
                report.append(dialString(9802) + " \"" + data.entryNames[i] + "\": " + dialString(9816) +
                              " (" + e.what() + ")");
            }
        }
        report.append(rule);
    }
    return report;
}
