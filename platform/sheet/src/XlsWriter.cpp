#include <sheet/XlsWriter.h>

#include <sheet/Export.h>
#include <sheet/Sheet.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

namespace sheet {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE, kFreeSect = 0xFFFFFFFF, kFatSect = 0xFFFFFFFD,
                        kDifSect = 0xFFFFFFFC, kNoStream = 0xFFFFFFFF;
constexpr std::size_t kMaxRecordData = 8224;

struct Bytes {
    std::string b;
    void u8(unsigned v) { b += char(v & 0xFF); }
    void u16(unsigned v) { u8(v), u8(v >> 8); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
    void f64(double v) {
        char raw[8];
        std::memcpy(raw, &v, 8);
        b.append(raw, 8);
    }
    void zeros(std::size_t n) { b.append(n, '\0'); }
};

// UTF-8 -> UTF-16 code units.
std::u16string utf16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::uint32_t cp;
        std::size_t n;
        if (c < 0x80)
            cp = c, n = 1;
        else if ((c >> 5) == 6)
            cp = c & 0x1F, n = 2;
        else if ((c >> 4) == 14)
            cp = c & 0x0F, n = 3;
        else if ((c >> 3) == 30)
            cp = c & 0x07, n = 4;
        else
            cp = c, n = 1; // not UTF-8: take the byte as Latin-1
        if (n > 1) {
            if (i + n > s.size())
                cp = c, n = 1;
            else
                for (std::size_t k = 1; k < n; ++k) {
                    unsigned char x = static_cast<unsigned char>(s[i + k]);
                    if ((x & 0xC0) != 0x80) {
                        cp = c, n = 1;
                        break;
                    }
                    cp = (cp << 6) | (x & 0x3F);
                }
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

class Biff {
public:
    std::string out;

    void record(unsigned type, const std::string& data) {
        Bytes h;
        h.u16(type);
        h.u16(unsigned(data.size()));
        out += h.b;
        out += data;
    }

    // SST with CONTINUE records; a string split over two records repeats its flags byte.
    void sst(const std::vector<std::u16string>& strings, std::uint32_t total) {
        std::vector<std::string> parts;
        Bytes cur;
        cur.u32(total);
        cur.u32(std::uint32_t(strings.size()));
        for (const auto& s : strings) {
            if (cur.b.size() + 3 + 2 > kMaxRecordData) { // header and one character must fit
                parts.push_back(std::move(cur.b));
                cur.b.clear();
            }
            cur.u16(unsigned(s.size()));
            cur.u8(1);
            std::size_t i = 0;
            while (i < s.size()) {
                if (cur.b.size() + 2 > kMaxRecordData) {
                    parts.push_back(std::move(cur.b));
                    cur.b.clear();
                    cur.u8(1);
                }
                cur.u16(s[i++]);
            }
        }
        parts.push_back(std::move(cur.b));
        record(0x00FC, parts[0]);
        for (std::size_t i = 1; i < parts.size(); ++i)
            record(0x003C, parts[i]);
    }
};

std::string xlString8(const std::u16string& s) { // ShortXLUnicodeString
    Bytes b;
    b.u8(unsigned(std::min<std::size_t>(s.size(), 255)));
    b.u8(1);
    for (std::size_t i = 0; i < std::min<std::size_t>(s.size(), 255); ++i)
        b.u16(s[i]);
    return b.b;
}
std::string xlString16(const std::u16string& s) { // XLUnicodeString
    Bytes b;
    b.u16(unsigned(s.size()));
    b.u8(1);
    for (char16_t c : s)
        b.u16(c);
    return b.b;
}

// Wraps a stream into a compound document with one stream named "Workbook".
std::string compoundFile(std::string stream) {
    if (stream.size() < 4096) stream.resize(4096, '\0'); // smaller streams would belong in the mini stream
    const std::size_t sec = 512;
    std::size_t nStream = (stream.size() + sec - 1) / sec;
    stream.resize(nStream * sec, '\0');
    std::size_t nFat = 1, nDifat = 0;
    while (true) {
        nDifat = nFat > 109 ? (nFat - 109 + 126) / 127 : 0;
        std::size_t total = nStream + 1 + nFat + nDifat;
        if (total <= nFat * 128) break;
        ++nFat;
    }
    std::size_t dirSect = nStream, fatStart = nStream + 1, difatStart = fatStart + nFat;
    std::vector<std::uint32_t> fat(nFat * 128, kFreeSect);
    for (std::size_t i = 0; i < nStream; ++i)
        fat[i] = i + 1 < nStream ? std::uint32_t(i + 1) : kEndOfChain;
    fat[dirSect] = kEndOfChain;
    for (std::size_t i = 0; i < nFat; ++i)
        fat[fatStart + i] = kFatSect;
    for (std::size_t i = 0; i < nDifat; ++i)
        fat[difatStart + i] = kDifSect;

    Bytes h;
    const unsigned char sig[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    h.b.append(reinterpret_cast<const char*>(sig), 8);
    h.zeros(16);
    h.u16(0x003E);
    h.u16(0x0003);
    h.u16(0xFFFE);
    h.u16(9);
    h.u16(6);
    h.zeros(6);
    h.u32(0);
    h.u32(std::uint32_t(nFat));
    h.u32(std::uint32_t(dirSect));
    h.u32(0);
    h.u32(4096);
    h.u32(kEndOfChain);
    h.u32(0);
    h.u32(nDifat ? std::uint32_t(difatStart) : kEndOfChain);
    h.u32(std::uint32_t(nDifat));
    for (std::size_t i = 0; i < 109; ++i)
        h.u32(i < nFat ? std::uint32_t(fatStart + i) : kFreeSect);

    Bytes dir;
    auto entry = [&](const char* name, unsigned type, std::uint32_t child, std::uint32_t start,
                     std::uint32_t size) {
        std::size_t at = dir.b.size();
        std::size_t n = name ? std::strlen(name) : 0;
        for (std::size_t i = 0; i < n; ++i)
            dir.u16(unsigned(name[i]));
        dir.zeros(64 - 2 * n);
        dir.u16(name ? unsigned(2 * n + 2) : 0);
        dir.u8(type);
        dir.u8(name ? 1 : 0);
        dir.u32(kNoStream);
        dir.u32(kNoStream);
        dir.u32(child);
        dir.zeros(16 + 4 + 8 + 8);
        dir.u32(start);
        dir.u32(size);
        dir.u32(0);
        (void)at;
    };
    entry("Root Entry", 5, 1, kEndOfChain, 0);
    entry("Workbook", 2, kNoStream, 0, std::uint32_t(stream.size()));
    entry(nullptr, 0, kNoStream, 0, 0);
    entry(nullptr, 0, kNoStream, 0, 0);

    Bytes fatBytes;
    for (auto v : fat)
        fatBytes.u32(v);
    Bytes difat;
    for (std::size_t i = 0; i < nDifat; ++i) {
        for (std::size_t k = 0; k < 127; ++k) {
            std::size_t idx = 109 + i * 127 + k;
            difat.u32(idx < nFat ? std::uint32_t(fatStart + idx) : kFreeSect);
        }
        difat.u32(i + 1 < nDifat ? std::uint32_t(difatStart + i + 1) : kEndOfChain);
    }
    std::string file = h.b;
    file.resize(512, '\0');
    file += stream;
    file += dir.b;
    file += fatBytes.b;
    file += difat.b;
    return file;
}

unsigned errorByte(ErrorCode e) {
    switch (e) {
    case ErrorCode::Null:
        return 0x00;
    case ErrorCode::Div0:
        return 0x07;
    case ErrorCode::Value:
        return 0x0F;
    case ErrorCode::Name:
        return 0x1D;
    case ErrorCode::Num:
        return 0x24;
    case ErrorCode::NA:
        return 0x2A;
    default:
        return 0x17; // #REF!, also for circular references, which the format cannot name
    }
}

unsigned borderStyle(std::uint8_t s) {
    switch (s) {
    case 0:
        return 0;
    case 2:
        return 3; // dashed
    case 3:
        return 4; // dotted
    case 6:
        return 6; // double
    case 12:
        return 8; // medium dashed
    default:
        return s >= 11 ? 2 : 1; // thick variants medium, others thin
    }
}

// The spreadsheet number format that shows `decimals` digits after the point, grouped by thousands
// when asked ("#,##0.00", "0.000", "0").
std::string numberFormatCode(int decimals, bool thousands) {
    std::string code = thousands ? "#,##0" : "0";
    if (decimals > 0) code += "." + std::string(std::size_t(std::min(decimals, 30)), '0');
    return code;
}

// The format that shows `value` exactly as it was typed ("12.50" -> "0.00", "1,234.5" -> "#,##0.0");
// false when no plain format does ("007", "1e3", "+4").
bool typedFormatCode(const std::string& typed, double value, std::string& code) {
    const std::size_t point = typed.find('.');
    const int decimals = point == std::string::npos ? 0 : int(typed.size() - point - 1);
    if (decimals > 15) return false;
    for (bool thousands : {false, true})
        if (formatFixed(value, decimals, thousands) == typed) {
            code = numberFormatCode(decimals, thousands);
            return true;
        }
    return false;
}

} // namespace

FileResult exportXls(const Sheet& s, std::string& bytes, const std::string& sheetName) {
    CellPos extent = s.usedExtent();
    int rows = std::max(extent.row, 1), cols = std::max(extent.col, 1);
    if (rows > 65536 || cols > 256)
        return {false, "the table is too large for an Excel 97 workbook (65536 rows, 256 columns)"};

    // Palette: colours in order of first use at indices 8..63.
    std::vector<std::uint32_t> palette;
    auto colorIndex = [&](std::uint32_t c, unsigned automatic) -> unsigned {
        if (c == kDefaultColor) return automatic;
        auto it = std::find(palette.begin(), palette.end(), c);
        if (it != palette.end()) return unsigned(8 + (it - palette.begin()));
        if (palette.size() < 56) {
            palette.push_back(c);
            return unsigned(8 + palette.size() - 1);
        }
        // Full: the nearest colour already there.
        auto dist = [&](std::uint32_t a) {
            int dr = int(a & 0xFF) - int(c & 0xFF), dg = int((a >> 8) & 0xFF) - int((c >> 8) & 0xFF),
                db = int((a >> 16) & 0xFF) - int((c >> 16) & 0xFF);
            return dr * dr + dg * dg + db * db;
        };
        auto best = std::min_element(palette.begin(), palette.end(),
                                     [&](auto a, auto b) { return dist(a) < dist(b); });
        return unsigned(8 + (best - palette.begin()));
    };

    std::vector<std::string> fonts; // FONT record bodies from index 5 on (index 4 does not exist)
    std::map<std::string, unsigned> fontIndex;
    std::vector<std::string> xfs;
    std::map<std::string, unsigned> xfIndex;
    std::map<std::string, unsigned> formatIndex;
    std::vector<std::pair<unsigned, std::string>> formats;

    auto fontRecord = [&](const Font& f, std::uint32_t color) {
        Bytes b;
        b.u16(unsigned(std::clamp(f.height, 1, 409) * 20));
        b.u16((f.italic ? 0x02 : 0) | (f.strikeOut ? 0x08 : 0));
        b.u16(colorIndex(color, 0x7FFF));
        b.u16(unsigned(std::clamp(f.weight, 100, 1000)));
        b.u16(0);
        b.u8(f.underline ? 1 : 0);
        b.u8(0);
        b.u8(unsigned(f.charset));
        b.u8(0);
        b.b += xlString8(utf16(f.face));
        return b.b;
    };
    auto fontFor = [&](const Font& f, std::uint32_t color) {
        std::string rec = fontRecord(f, color);
        auto it = fontIndex.find(rec);
        if (it != fontIndex.end()) return it->second;
        fonts.push_back(rec);
        unsigned idx = unsigned(fonts.size() + 4);
        fontIndex.emplace(rec, idx);
        return idx;
    };
    // Every number format gets a FORMAT record of its own (from index 164 on), built-in looking
    // ones too: readers differ in which built-in indices they know, a written code means the same
    // to all of them.
    auto formatIndexOf = [&](const std::string& code) -> unsigned {
        if (code.empty()) return 0; // General
        auto it = formatIndex.find(code);
        if (it != formatIndex.end()) return it->second;
        unsigned idx = unsigned(164 + formats.size());
        formats.push_back({idx, code});
        formatIndex.emplace(code, idx);
        return idx;
    };
    auto xfFor = [&](const CellStyle& st, const CellType& ty, unsigned format) {
        Bytes b;
        b.u16(fontFor(st.font, st.textColor));
        b.u16(format);
        b.u16(st.locked ? 1 : 0);
        unsigned h = (ty.style & kAlignHMask) == kAlignLeft     ? 1
                     : (ty.style & kAlignHMask) == kAlignCenter ? 2
                     : (ty.style & kAlignHMask) == kAlignRight  ? 3
                                                                : 0;
        unsigned v = (ty.style & kAlignVMask) == kAlignTop       ? 0
                     : (ty.style & kAlignVMask) == kAlignVCenter ? 1
                                                                 : 2;
        bool wrap = ty.multiLine ||
                    ((ty.kind == CellKind::Edit || ty.kind == CellKind::General) && (ty.style & kWordWrap));
        b.u8(h | (wrap ? 8 : 0) | (v << 4));
        b.u8(0);
        b.u8(0);
        b.u8(0xFC);
        const BorderLine* bl = st.border;
        std::uint32_t w1 = borderStyle(bl[0].style) | (borderStyle(bl[1].style) << 4) |
                           (borderStyle(bl[2].style) << 8) | (borderStyle(bl[3].style) << 12);
        w1 |= (bl[0].style ? colorIndex(bl[0].color, 64) : 64) << 16;
        w1 |= std::uint32_t(bl[1].style ? colorIndex(bl[1].color, 64) : 64) << 23;
        b.u32(w1);
        std::uint32_t w2 = (bl[2].style ? colorIndex(bl[2].color, 64) : 64) |
                           ((bl[3].style ? colorIndex(bl[3].color, 64) : 64) << 7);
        bool fill = st.backColor != kDefaultColor;
        if (fill) w2 |= 1u << 26;
        b.u32(w2);
        b.u16((fill ? colorIndex(st.backColor, 64) : 64) | (65 << 7));
        auto it = xfIndex.find(b.b);
        if (it != xfIndex.end()) return it->second;
        xfs.push_back(b.b);
        unsigned idx = unsigned(15 + xfs.size());
        xfIndex.emplace(b.b, idx);
        return idx;
    };

    // Cells first (they decide fonts, formats and colours), then the globals in front of them.
    Biff cells;
    std::vector<std::u16string> strings;
    std::unordered_map<std::string, std::uint32_t> stringIndex;
    std::uint32_t stringTotal = 0;
    std::map<std::tuple<const void*, const void*, std::string>, unsigned> xfCache;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            if (!s.isUsed(c, r)) continue;
            // Interned styles and types live at stable addresses: with the number format they
            // identify the XF.
            const CellStyle& st = s.style(c, r);
            const CellType& ty = s.cellType(c, r);
            Bytes b;
            b.u16(unsigned(r - 1));
            b.u16(unsigned(c - 1));
            Value v = s.value(c, r);
            // A number keeps its number in the workbook, with the format that shows it as the grid
            // does; a typed text that no format reproduces ("007", "1e3") goes as text.
            std::string code;
            bool keepText = false;
            if (v.isNumber()) {
                if (ty.kind == CellKind::Number)
                    code = numberFormatCode(ty.decimals, ty.thousands);
                else if (const std::string shown = s.data(c, r); shown != formatGeneral(v.number))
                    // Text-like cells (edit, list, static) keep what they show as text.
                    keepText = ty.kind != CellKind::General || !typedFormatCode(shown, v.number, code);
            }
            auto key = std::make_tuple(static_cast<const void*>(&st), static_cast<const void*>(&ty), code);
            unsigned x;
            if (auto it = xfCache.find(key); it != xfCache.end())
                x = it->second;
            else {
                x = (st == CellStyle() && ty == CellType() && code.empty())
                        ? 15
                        : xfFor(st, ty, formatIndexOf(code));
                xfCache.emplace(key, x);
            }
            b.u16(x);
            if (v.isNumber() && !keepText) {
                b.f64(v.number);
                cells.record(0x0203, b.b);
            } else if (v.isText() || keepText) {
                std::string t = keepText ? s.data(c, r) : v.text;
                auto [it, added] = stringIndex.try_emplace(t, std::uint32_t(strings.size()));
                if (added) strings.push_back(utf16(t));
                ++stringTotal;
                b.u32(it->second);
                cells.record(0x00FD, b.b);
            } else if (v.isBool() || v.isError()) {
                b.u8(v.isBool() ? unsigned(v.number != 0) : errorByte(v.error));
                b.u8(v.isError() ? 1 : 0);
                cells.record(0x0205, b.b);
            } else {
                cells.record(0x0201, b.b);
            }
        }
    }

    Biff g;
    Bytes bof;
    bof.u16(0x0600), bof.u16(0x0005), bof.u16(0x0DBB), bof.u16(0x07CC), bof.u32(0), bof.u32(6);
    g.record(0x0809, bof.b);
    Bytes cp;
    cp.u16(1200);
    g.record(0x0042, cp.b);
    Bytes w1;
    w1.u16(0), w1.u16(0), w1.u16(0x3000), w1.u16(0x2000), w1.u16(0x38), w1.u16(0), w1.u16(0), w1.u16(1),
        w1.u16(0x258);
    g.record(0x003D, w1.b);
    Font base;
    for (int i = 0; i < 4; ++i)
        g.record(0x0031, fontRecord(base, kDefaultColor));
    for (const auto& f : fonts)
        g.record(0x0031, f);
    for (const auto& [idx, f] : formats) {
        Bytes b;
        b.u16(idx);
        b.b += xlString16(utf16(f));
        g.record(0x041E, b.b);
    }
    for (int i = 0; i < 16; ++i) {
        Bytes b;
        b.u16(0), b.u16(0), b.u16(i < 15 ? 0xFFF5 : 0x0001), b.u8(0x20), b.u8(0), b.u8(0),
            b.u8(i < 15 ? 0 : 0);
        b.u32(0), b.u32(0), b.u16(0x20C0);
        g.record(0x00E0, b.b);
    }
    for (const auto& x : xfs)
        g.record(0x00E0, x);
    Bytes style;
    style.u16(0x8000), style.u8(0), style.u8(0xFF);
    g.record(0x0293, style.b);
    Bytes pal;
    pal.u16(56);
    for (int i = 0; i < 56; ++i) {
        std::uint32_t c = std::size_t(i) < palette.size() ? palette[std::size_t(i)] : (i == 0 ? 0 : 0xFFFFFF);
        pal.u8(c & 0xFF), pal.u8((c >> 8) & 0xFF), pal.u8((c >> 16) & 0xFF), pal.u8(0);
    }
    g.record(0x0092, pal.b);
    std::size_t boundSheetAt = g.out.size();
    Bytes bs;
    bs.u32(0), bs.u8(0), bs.u8(0);
    bs.b += xlString8(utf16(sheetName.empty() ? std::string("Sheet1") : sheetName.substr(0, 31)));
    g.record(0x0085, bs.b);
    g.sst(strings, stringTotal);
    g.record(0x000A, {});

    // The worksheet.
    std::uint32_t sheetPos = std::uint32_t(g.out.size());
    std::memcpy(&g.out[boundSheetAt + 4], &sheetPos, 4); // little-endian hosts only, as everywhere here
    Biff w;
    Bytes sbof;
    sbof.u16(0x0600), sbof.u16(0x0010), sbof.u16(0x0DBB), sbof.u16(0x07CC), sbof.u32(0), sbof.u32(6);
    w.record(0x0809, sbof.b);
    Bytes dim;
    dim.u32(0), dim.u32(std::uint32_t(rows)), dim.u16(0), dim.u16(unsigned(cols)), dim.u16(0);
    w.record(0x0200, dim.b);
    for (int c = 1; c <= cols; ++c) {
        Bytes ci;
        int px = s.colWidthPixels(c);
        ci.u16(unsigned(c - 1)), ci.u16(unsigned(c - 1));
        ci.u16(unsigned(std::min(65535.0, std::max(0.0, (px - 5) / 7.0 * 256.0 + 0.5))));
        ci.u16(15), ci.u16(px == 0 ? 1 : 0), ci.u16(0);
        w.record(0x007D, ci.b);
    }
    for (int r = 1; r <= rows; ++r) {
        int px = s.rowHeightPixels(r);
        if (px == 20) continue; // the default height needs no record
        Bytes rr;
        rr.u16(unsigned(r - 1)), rr.u16(0), rr.u16(unsigned(cols)), rr.u16(unsigned(px * 15) & 0x7FFF),
            rr.u16(0), rr.u16(0);
        rr.u32(0x000F0140u | (px == 0 ? 0x20u : 0u));
        w.record(0x0208, rr.b);
    }
    w.out += cells.out;
    const auto& spans = s.spans();
    for (std::size_t i = 0; i < spans.size(); i += 1026) {
        Bytes m;
        std::size_t n = std::min<std::size_t>(1026, spans.size() - i);
        m.u16(unsigned(n));
        for (std::size_t k = i; k < i + n; ++k) {
            const CellRange& sp = spans[k];
            m.u16(unsigned(sp.row1 - 1)), m.u16(unsigned(std::min(sp.row2, 65536) - 1));
            m.u16(unsigned(sp.col1 - 1)), m.u16(unsigned(std::min(sp.col2, 256) - 1));
        }
        w.record(0x00E5, m.b);
    }
    Bytes w2;
    w2.u16(0x06B6), w2.u16(0), w2.u16(0), w2.u16(64), w2.u16(0), w2.u16(0), w2.u16(0), w2.u32(0);
    w.record(0x023E, w2.b);
    w.record(0x000A, {});
    bytes = compoundFile(g.out + w.out);
    return {true, {}};
}

FileResult exportXlsFile(const Sheet& s, const std::string& path, const std::string& sheetName) {
    std::string bytes;
    FileResult r = exportXls(s, bytes, sheetName);
    if (!r) return r;
    return writeFileSafely(path, bytes);
}

} // namespace sheet
