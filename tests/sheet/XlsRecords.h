#pragma once
// Reads the number format of each cell back from an .xls file, record by record: the compound
// document's "Workbook" stream, its FORMAT and XF records and the cell records that point at them.
// libfreexl proves the file opens; this proves which format a spreadsheet applies to a cell.

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace xlstest {

struct CellFormat {
    unsigned xf = 0;     ///< index of the cell's XF record
    unsigned format = 0; ///< number format index of that XF
    std::string code;    ///< the format string ("0.00", "#,##0.000"); built-in ones by their code
    unsigned record = 0; ///< record type of the cell (0x0203 NUMBER, 0x00FD LABELSST, ...)
};

class XlsRecords {
public:
    /// Reads a file; false when it is no compound document with a workbook stream.
    bool read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (file.size() < 512 || u32(file, 0) != 0xE011CFD0u) return false;
        const std::uint32_t fatCount = u32(file, 0x2C), dirStart = u32(file, 0x30);
        std::vector<std::uint32_t> fat;
        for (std::uint32_t i = 0; i < fatCount && i < 109; ++i) {
            const std::uint32_t sec = u32(file, 0x4C + 4 * i);
            for (int k = 0; k < 128; ++k)
                fat.push_back(u32(file, 512 + sec * 512 + 4 * std::size_t(k)));
        }
        auto chain = [&](std::uint32_t start) {
            std::string out;
            for (std::uint32_t s = start, n = 0; s < fat.size() && n < fat.size(); s = fat[s], ++n)
                out += file.substr(512 + std::size_t(s) * 512, 512);
            return out;
        };
        const std::string dir = chain(dirStart);
        for (std::size_t at = 0; at + 128 <= dir.size(); at += 128) {
            std::string name;
            for (std::size_t i = 0; i < 64 && dir[at + i]; i += 2)
                name += dir[at + i];
            if (name == "Workbook") {
                m_stream = chain(u32(dir, at + 116)).substr(0, u32(dir, at + 120));
                break;
            }
        }
        if (m_stream.empty()) return false;
        parse();
        return true;
    }

    /// The format of a cell (row and column from 0); false when no cell record is there.
    bool cellFormat(unsigned row, unsigned col, CellFormat& out) const {
        auto it = m_cells.find({row, col});
        if (it == m_cells.end() || it->second.xf >= m_xfFormats.size()) return false;
        out = it->second;
        out.format = m_xfFormats[out.xf];
        out.code = formatCode(out.format);
        return true;
    }

private:
    static std::uint32_t u16(const std::string& b, std::size_t at) {
        return std::uint8_t(b[at]) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
    }
    static std::uint32_t u32(const std::string& b, std::size_t at) {
        return u16(b, at) | u16(b, at + 2) << 16;
    }

    std::string formatCode(unsigned index) const {
        static const std::map<unsigned, std::string> builtin = {{0, "General"}, {1, "0"},        {2, "0.00"},
                                                                {3, "#,##0"},   {4, "#,##0.00"}, {9, "0%"},
                                                                {10, "0.00%"},  {11, "0.00E+00"}};
        if (auto it = m_formats.find(index); it != m_formats.end()) return it->second;
        if (auto it = builtin.find(index); it != builtin.end()) return it->second;
        return "?" + std::to_string(index);
    }

    void parse() {
        for (std::size_t at = 0; at + 4 <= m_stream.size();) {
            const unsigned type = u16(m_stream, at), size = u16(m_stream, at + 2);
            const std::string body = m_stream.substr(at + 4, size);
            at += 4 + size;
            if (type == 0x041E && body.size() >= 5) { // FORMAT: index, XLUnicodeString
                const unsigned n = u16(body, 2);
                const bool wide = body[4] & 1;
                std::string code;
                for (unsigned i = 0; i < n; ++i)
                    code += wide ? char(u16(body, 5 + 2 * i)) : body[5 + i];
                m_formats[u16(body, 0)] = code;
            } else if (type == 0x00E0 && body.size() >= 4) { // XF: font, format, ...
                m_xfFormats.push_back(u16(body, 2));
            } else if ((type == 0x0203 || type == 0x027E || type == 0x00FD || type == 0x0205 ||
                        type == 0x0201) &&
                       body.size() >= 6) {
                CellFormat f;
                f.xf = u16(body, 4);
                f.record = type;
                m_cells[{u16(body, 0), u16(body, 2)}] = f;
            }
        }
    }

    std::string m_stream;
    std::map<unsigned, std::string> m_formats;
    std::vector<unsigned> m_xfFormats;
    std::map<std::pair<unsigned, unsigned>, CellFormat> m_cells;
};

} // namespace xlstest
