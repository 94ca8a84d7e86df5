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

#include <iomanip>
#include <locale>
#include <new>
#include <sstream>

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
    if (!localtime_r(&time, &local)) return {};
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << std::put_time(&local, "%d %B, %Y (%H:%M)");
    std::string out = s.str();
    if (out.size() > 127) return {};
    return out;
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
        report.append(head + dialString(625) + " " + std::to_string(m.line) + ": " + m.text);
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
        report.append(head + dialString(626) + " " + std::to_string(m.line) + ": " + m.text);
    if (!result.ok) {
        report.append(head + result.error);
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
    // texts: dialString 9803 9804 9807 9814
    Vor_String line = head + std::to_string(r.bars) + " " + dialString(9803) + ", " + cost + " (" +
                      dialString(9807) + " " + bound + ")";
    if (r.barBound > 0)
        line += ", " + dialString(9804) + " " + std::to_string(r.barBound) + " " + dialString(9803);
    if (r.stopped) line += ", " + dialString(9814);
    line += " -> \"" + getFileName(result.buyFile) + "\"";
    report.append(line);
    if (!r.impossibleParts.empty())
        report.append(head + std::to_string(r.impossibleParts.size()) + " " + dialString(9805));
}

bool stopAsked(const cut::Settings& settings) {
    return settings.stop && settings.stop->load();
}
} // namespace

Vor_StringArray optimiseAllCsp2(DlgCSP2Data& data, const cut::Settings& settings,
                                const Csp2Progress& progress) {
    // texts: dialString 9802-9806 9809-9810 9815-9816
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
                              " (out of memory)");
            } catch (const std::exception& e) {
                report.append(dialString(9802) + " \"" + data.entryNames[i] + "\": " + dialString(9816) +
                              " (" + e.what() + ")");
            }
        }
        report.append(rule);
    }
    return report;
}
