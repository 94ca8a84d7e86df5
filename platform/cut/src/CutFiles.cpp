#include <cut/CutFiles.h>

#include <base/FileRead.h>
#include <base/NumberText.h>
#include <base/SafeFile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace cut {
namespace {

// Characters of Windows-1252 0x80..0x9F; the five unused bytes map to the C1 controls.
constexpr char32_t kCp1252High[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                      0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                      0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Length of the well-formed UTF-8 character at `p`, or 0.
std::size_t utf8Length(std::string_view s, std::size_t p) {
    const unsigned char c = s[p];
    if (c < 0x80) return 1;
    std::size_t n;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, cp = c & 0x07;
    else
        return 0;
    if (p + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        const unsigned char d = s[p + i];
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return n;
}

// UTF-8 when every byte is part of a character or a lone separator; decided for the whole file,
// because in an old file a letter before a separator byte can look like one UTF-8 character.
bool isUtf8File(std::string_view s) {
    for (std::size_t p = 0; p < s.size();) {
        const std::size_t n = utf8Length(s, p);
        if (n == 0 && s[p] != kFieldSeparator) return false;
        p += n == 0 ? 1 : n;
    }
    return true;
}

// A file's rows within the budgets: only a regular file, at most kMaxExchangeFileBytes and
// kMaxExchangeFileLines. False with a message naming the file otherwise.
bool readRows(const std::string& path, std::vector<Row>& rows, std::string& error) {
    std::string bytes;
    if (!base::readRegularFile(path, bytes, kMaxExchangeFileBytes, &error)) return false;
    const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
    if (lines > kMaxExchangeFileLines) {
        error = path + " has more than " + std::to_string(kMaxExchangeFileLines) + " lines";
        return false;
    }
    rows = splitRows(bytes);
    return true;
}

// Messages about bad rows are kept to this many; one more says how many were not shown.
constexpr std::size_t kMaxMessages = 1000;

void addMessage(std::vector<FileMessage>& messages, std::size_t& dropped, FileMessage m) {
    if (messages.size() < kMaxMessages)
        messages.push_back(std::move(m));
    else
        ++dropped;
}

void endMessages(std::vector<FileMessage>& messages, std::size_t dropped, int lastLine) {
    if (dropped > 0) {
        FileMessage m{lastLine, std::to_string(dropped) + " more lines could not be used (not listed)",
                      MessageKind::MoreNotListed};
        m.count = (long long)dropped;
        messages.push_back(std::move(m));
    }
}

// A message about a row: its line, English text, kind, and the value and mark or stock length.
FileMessage rowMessage(int line, MessageKind kind, std::string text, std::string value = {},
                       std::string mark = {}, std::string stock = {}) {
    FileMessage m{line, std::move(text), kind};
    m.value = std::move(value);
    m.mark = std::move(mark);
    m.stock = std::move(stock);
    return m;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool rowIsEmpty(const Row& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& f) { return trimmed(f).empty(); });
}

// A number as a person may have typed it into the dialog's grid ("1,5" or "1.5").
bool readLength(const std::string& text, double& value) {
    return base::readTypedNumber(text, value) == base::TypedNumber::Number && std::isfinite(value);
}

std::string field(const Row& row, std::size_t i) {
    return i < row.size() ? trimmed(row[i]) : std::string();
}

// The folder's names ending in "." + ext: regular files only, or (`anyKind`) every entry, links to
// nothing included.
std::vector<std::filesystem::path> filesWithExtension(const std::string& folder, const std::string& ext,
                                                      bool anyKind = false) {
    std::vector<std::filesystem::path> out;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (!anyKind && !it->is_regular_file(kind)) continue;
        const std::string name = it->path().filename().string();
        if (name.size() > ext.size() + 1 &&
            lower(name.substr(name.size() - ext.size() - 1)) == "." + lower(ext))
            out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

std::vector<Row> splitRows(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    const bool utf8 = isUtf8File(bytes);
    std::vector<Row> rows;
    Row row(1);
    auto endLine = [&] {
        if (!row.back().empty() && row.back().back() == '\r') row.back().pop_back();
        rows.push_back(std::move(row));
        row.assign(1, std::string());
    };
    for (std::size_t p = 0; p < bytes.size();) {
        const char c = bytes[p];
        if (c == '\n') {
            endLine();
            ++p;
            continue;
        }
        const std::size_t n = utf8 ? utf8Length(bytes, p) : 1;
        if (c == kFieldSeparator && (!utf8 || n == 0)) {
            row.emplace_back();
            ++p;
        } else if (utf8 || (unsigned char)c < 0x80) {
            row.back().append(bytes.substr(p, n == 0 ? 1 : n));
            p += n == 0 ? 1 : n;
        } else {
            const unsigned char b = c;
            appendUtf8(row.back(), b < 0xA0 ? kCp1252High[b - 0x80] : char32_t(b));
            ++p;
        }
    }
    if (row.size() > 1 || !row.back().empty()) endLine();
    return rows;
}

std::string joinRows(const std::vector<Row>& rows) {
    std::string out;
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i) out += kFieldSeparator;
            out += row[i];
        }
        out += '\n';
    }
    return out;
}

std::string numberText(double value) {
    std::string s;
    if (!base::formatShortest(value, s)) return {};
    return s;
}

std::vector<Part> readParts(const std::vector<Row>& rows, std::vector<FileMessage>& messages) {
    std::vector<Part> parts;
    std::map<std::string, int> markLine; // the first line of each mark
    std::size_t dropped = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const int line = int(r) + 1;
        if (rowIsEmpty(row)) continue;
        Part p;
        p.mark = field(row, 0);
        const std::string len = field(row, 1);
        const std::string qty = field(row, 2);
        double q = 1;
        if (len.empty()) {
            addMessage(messages, dropped,
                       rowMessage(line, MessageKind::PartNoLength, "part \"" + p.mark + "\" has no length",
                                  {}, p.mark));
            continue;
        }
        if (!readLength(len, p.length)) {
            addMessage(messages, dropped,
                       rowMessage(line, MessageKind::PartLengthNotNumber,
                                  "length \"" + len + "\" of part \"" + p.mark + "\" is not a number", len,
                                  p.mark));
            continue;
        }
        if (p.length <= 0) {
            addMessage(messages, dropped,
                       rowMessage(line, MessageKind::PartLengthNotPositive,
                                  "length " + len + " of part \"" + p.mark + "\" is not above zero", len,
                                  p.mark));
            continue;
        }
        if (!qty.empty() && (!readLength(qty, q) || q != std::floor(q) || q < 1 || q > 1e9)) {
            addMessage(messages, dropped,
                       rowMessage(line, MessageKind::PartQuantityNotWhole,
                                  "quantity \"" + qty + "\" of part \"" + p.mark +
                                      "\" is not a whole number above zero",
                                  qty, p.mark));
            continue;
        }
        if (!p.mark.empty()) {
            const auto [first, fresh] = markLine.emplace(p.mark, line);
            if (!fresh) {
                FileMessage m =
                    rowMessage(line, MessageKind::MarkRepeated,
                               "mark \"" + p.mark + "\" is also on line " + std::to_string(first->second) +
                                   "; the plan names these parts by mark and length",
                               {}, p.mark);
                m.count = first->second;
                addMessage(messages, dropped, std::move(m));
            }
        }
        p.quantity = (long long)q;
        parts.push_back(std::move(p));
    }
    endMessages(messages, dropped, int(rows.size()));
    return parts;
}

std::vector<StockLength> readStock(const std::vector<Row>& rows, std::vector<FileMessage>& messages) {
    std::vector<StockLength> stock;
    std::size_t dropped = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const int line = int(r) + 1;
        if (rowIsEmpty(row)) continue;
        StockLength s;
        const std::string len = field(row, 0), cost = field(row, 1), at = field(row, 2);
        if (!readLength(len, s.length) || s.length <= 0) {
            addMessage(messages, dropped,
                       rowMessage(line, MessageKind::StockLengthNotPositive,
                                  "stock length \"" + len + "\" is not a number above zero", len));
            continue;
        }
        if (!cost.empty() && (!readLength(cost, s.cost) || s.cost < 0)) {
            addMessage(messages, dropped,
                       rowMessage(line, MessageKind::StockCostNegative,
                                  "cost \"" + cost + "\" of stock length " + len +
                                      " is not a number of zero or more",
                                  cost, {}, len));
            continue;
        }
        double n = -1;
        if (!at.empty() && (!readLength(at, n) || n != std::floor(n) || n < 0 || n > 1e9)) {
            addMessage(
                messages, dropped,
                rowMessage(line, MessageKind::StockAtHandNotWhole,
                           "bars at hand \"" + at + "\" of stock length " + len + " is not a whole number",
                           at, {}, len));
            continue;
        }
        s.available = (long long)n;
        stock.push_back(s);
    }
    endMessages(messages, dropped, int(rows.size()));
    return stock;
}

std::vector<Row> stockRows(const std::vector<StockLength>& stock) {
    std::vector<Row> rows;
    for (const StockLength& s : stock)
        rows.push_back({numberText(s.length), numberText(s.cost),
                        s.available < 0 ? std::string() : std::to_string(s.available)});
    return rows;
}

std::vector<Row> partRows(const std::vector<Part>& parts) {
    std::vector<Row> rows;
    for (const Part& p : parts)
        rows.push_back({p.mark, numberText(p.length), std::to_string(p.quantity)});
    return rows;
}

std::vector<Row> buyRows(const std::vector<Part>& parts, const Result& result) {
    // A mark that several parts share names each of them with its length too.
    std::map<std::string, int> marks;
    for (const Part& p : parts)
        ++marks[p.mark];
    auto pieceName = [&](const Part& part) {
        if (part.mark.empty()) return numberText(part.length);
        if (marks[part.mark] > 1) return part.mark + " (" + numberText(part.length) + ")";
        return part.mark;
    };
    std::vector<Row> rows;
    for (const CutPattern& p : result.patterns) {
        std::string text;
        for (std::size_t i = 0; i < p.pieces.size();) {
            const std::string name = pieceName(parts[p.pieces[i]]);
            std::size_t j = i;
            while (j < p.pieces.size() && pieceName(parts[p.pieces[j]]) == name)
                ++j;
            if (!text.empty()) text += " + ";
            text += name;
            if (j - i > 1) text += " x" + std::to_string(j - i);
            i = j;
        }
        std::string off;
        base::formatFixed(p.offcut, 1, off);
        text += " | offcut " + off;
        rows.push_back({numberText(p.stockLength), std::to_string(p.count), text});
    }
    std::string cost, bound;
    base::formatFixed(result.cost, 2, cost);
    base::formatFixed(result.lpBound, 2, bound);
    std::string summary = "cost " + cost + ", no plan costs less than " + bound;
    if (result.barBound > 0) {
        summary += ", at least " + std::to_string(result.barBound) + " bars";
        if (result.bars > result.barBound)
            summary += " (" + std::to_string(result.bars - result.barBound) + " above)";
        else
            summary += " (optimal)";
    }
    // Cut short, the least cost shown still holds (only a weaker estimate); what is unknown is
    // whether the plan is the cheapest.
    if (result.stopped)
        summary += ", stopped before the cheapest plan was proven";
    else if (!result.lpComplete)
        summary += ", time limit reached before the cheapest plan was proven";
    rows.push_back({"Total", std::to_string(result.bars), summary});
    for (int i : result.impossibleParts)
        rows.push_back(
            {"Impossible", parts[i].mark, "length " + numberText(parts[i].length) + " fits no stock length"});
    return rows;
}

std::string danglingLinkFault(const std::string& path) {
    struct stat link {};
    struct stat target {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {};
    if (::stat(path.c_str(), &target) == 0) return {};
    return path + " is a symbolic link to a file that does not exist; nothing is written through it";
}

bool writeExchangeFile(const std::string& path, std::string_view bytes, std::string* error) {
    const std::string fault = danglingLinkFault(path);
    if (!fault.empty()) {
        if (error) *error = fault;
        return false;
    }
    return base::writeFileSafely(path, bytes, error);
}

std::string newestFile(const std::string& folder, const std::string& ext) {
    std::string best;
    std::filesystem::file_time_type bestTime;
    for (const auto& path : filesWithExtension(folder, ext)) {
        std::error_code ec;
        const auto t = std::filesystem::last_write_time(path, ec);
        if (ec) continue;
        if (best.empty() || t > bestTime) {
            best = path.string();
            bestTime = t;
        }
    }
    return best;
}

int nextStockNumber(const std::string& folder, const std::string& ext) {
    long long highest = 0;
    // Every name counts, a link to nothing too: a new file never takes the name of one.
    for (const auto& path : filesWithExtension(folder, ext, true)) {
        const std::string name = path.filename().string();
        if (name.size() < 5 + ext.size() + 1 || lower(name.substr(0, 5)) != "stock") continue;
        const std::string digits = name.substr(5, name.size() - 5 - ext.size() - 1);
        std::size_t used = 0;
        const long long n = base::parseLeadingInteger(digits, &used);
        if (used == digits.size() && n > highest && n < 1000000000) highest = n;
    }
    return int(highest + 1);
}

bool readFolder(const std::string& folder, const std::vector<StockLength>& defaultStock, FolderInput& in) {
    in = {};
    in.stock = defaultStock;
    in.partsFile = newestFile(folder, "shp");
    if (in.partsFile.empty()) {
        in.error = "no parts file (*.shp) in " + folder;
        in.fault = {0, in.error, MessageKind::NoPartsFile};
        in.fault.value = folder;
        return false;
    }
    std::vector<Row> rows;
    if (!readRows(in.partsFile, rows, in.error)) return false;
    in.parts = readParts(rows, in.messages);
    const std::string stockFile = newestFile(folder, "stk");
    if (!stockFile.empty()) {
        std::vector<Row> stockRows;
        std::string error;
        if (!readRows(stockFile, stockRows, error)) {
            in.error = error;
            return false;
        }
        std::vector<FileMessage> stockMessages;
        std::vector<StockLength> read = readStock(stockRows, stockMessages);
        for (FileMessage& m : stockMessages) {
            m.text = stockFile + ": " + m.text;
            m.file = stockFile;
            in.messages.push_back(std::move(m));
        }
        if (!read.empty()) in.stock = std::move(read);
    }
    if (in.parts.empty()) {
        in.error = "no part to cut in " + in.partsFile;
        in.fault = {0, in.error, MessageKind::NoPartToCut};
        in.fault.value = in.partsFile;
        return false;
    }
    return true;
}

FolderRun optimiseFolder(const std::string& folder, const std::vector<StockLength>& defaultStock,
                         const Settings& settings) {
    FolderRun run;
    FolderInput in;
    const bool read = readFolder(folder, defaultStock, in);
    run.partsFile = in.partsFile;
    run.messages = std::move(in.messages);
    if (!read) {
        run.error = in.error;
        run.fault = in.fault;
        if (run.fault.text.empty()) run.fault.text = run.error;
        return run;
    }
    run.result = optimise(in.parts, in.stock, settings);
    if (run.result.patterns.empty() && !run.result.ok) {
        run.error = run.result.error;
        run.fault = run.result.fault;
        return run;
    }
    run.buyFile = folder + "Stock" + std::to_string(nextStockNumber(folder, "buy")) + ".buy";
    std::string error;
    if (!writeExchangeFile(run.buyFile, joinRows(buyRows(in.parts, run.result)), &error)) {
        run.error = error;
        run.fault = {0, error};
        run.buyFile.clear();
        return run;
    }
    run.ok = true;
    return run;
}

} // namespace cut
