#include <sheet/Style.h>

#include <functional>

namespace sheet {

namespace {
void mix(std::size_t& h, std::size_t v) {
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
}
} // namespace

template <> std::size_t InternTable<CellStyle>::hash(const CellStyle& s) {
    std::size_t h = std::hash<std::string>()(s.font.face);
    mix(h, std::size_t(s.font.height) * 31 + std::size_t(s.font.weight));
    mix(h, (s.font.italic ? 1 : 0) | (s.font.underline ? 2 : 0) | (s.font.strikeOut ? 4 : 0) |
               (s.locked ? 8 : 0));
    mix(h, s.textColor);
    mix(h, s.backColor);
    for (const auto& b : s.border)
        mix(h, b.style * 0x1000000ULL + b.color);
    return h;
}

template <> std::size_t InternTable<CellType>::hash(const CellType& t) {
    std::size_t h = std::size_t(t.kind) * 1315423911u + t.style;
    mix(h, std::size_t(t.maxLength) * 7 + std::size_t(t.decimals));
    mix(h, std::hash<double>()(t.minimum) ^ std::hash<double>()(t.maximum));
    mix(h, std::hash<std::string>()(t.picture) ^ std::hash<std::string>()(t.items));
    mix(h, std::hash<std::string>()(t.text));
    return h;
}

} // namespace sheet
