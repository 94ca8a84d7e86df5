#include <sheet/CellRef.h>

namespace sheet {

std::string columnName(int col) {
    std::string s;
    while (col > 0) {
        int d = (col - 1) % 26;
        s.insert(s.begin(), char('A' + d));
        col = (col - 1) / 26;
    }
    return s;
}

std::size_t parseColumnLetters(std::string_view s, int& col) {
    std::size_t i = 0;
    long v = 0;
    while (i < s.size() && ((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z'))) {
        if (i == 4) return 0; // more letters than a column can have: a name, not a reference
        char c = s[i] >= 'a' ? char(s[i] - 32) : s[i];
        v = v * 26 + (c - 'A' + 1);
        ++i;
    }
    if (i == 0 || v > kMaxColLimit) return 0;
    col = int(v);
    return i;
}

std::string cellName(int col, int row) {
    return columnName(col) + std::to_string(row);
}

} // namespace sheet
