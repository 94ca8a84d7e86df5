#pragma once
// Internal storage of a Sheet: chunked columns of compact cell records plus side tables.

#include <sheet/Sheet.h>

#include <cstring>

namespace sheet {

/// One cell: 32 bytes. Rare things (tags, notes) live in side maps, texts in a pool.
struct CellRec {
    double num;            ///< number or boolean value; error code for errors
    std::uint32_t text;    ///< 1-based index into the text pool: text value, or the typed text of a number
    std::uint32_t formula; ///< 1-based formula slot
    std::uint32_t deps;    ///< dependents: 0 none, slot+1, or kDepList|index into the dependent lists
    std::uint16_t style;   ///< interned CellStyle
    std::uint16_t type;    ///< interned CellType
    std::uint8_t kind;     ///< ValueKind
    std::uint8_t flags;    ///< CellFlag bits
};
static_assert(sizeof(CellRec) == 32);

enum CellFlag : std::uint8_t {
    kHasTag = 1,
    kHasNote = 2,
    kKeepText = 4, ///< a number whose typed text ("12.50") is kept to be shown as typed
};

inline constexpr std::uint32_t kDepList = 0x80000000u;
inline constexpr int kChunkBits = 8;
inline constexpr int kChunk = 1 << kChunkBits;

/// Rows of one column in chunks of 256 records, allocated when first written.
struct Column {
    std::vector<std::unique_ptr<CellRec[]>> chunks;
};

enum class SlotState : std::uint8_t { Clean, Dirty, InProgress };

/// A formula in the sheet.
struct FormulaSlot {
    ProgramPtr prog; ///< null for a free slot
    int col = 0, row = 0;
    std::uint32_t gen = 0; ///< changes whenever the slot's formula is replaced or removed
    SlotState state = SlotState::Clean;
};

/// A formula that reads a large range (small ranges register each cell instead).
struct RangeDep {
    CellRange r;
    std::uint32_t slot;
    std::uint32_t gen;
};

/// One formula on the evaluation path, with the position of the next reference to look at.
struct EvalFrame {
    std::uint32_t slot, gen;
    std::uint32_t ip = 0;
    bool inRange = false;
    CellRange range{};
    int c = 0, r = 0; // range cursor
};

struct CustomEntry {
    std::string name;
    int minArgs, maxArgs;
    CustomFunction fn;
};

inline std::uint64_t cellKey(int c, int r) {
    return (std::uint64_t(std::uint32_t(c)) << 32) | std::uint32_t(r);
}

struct Sheet::Impl : NameArity {
    std::vector<Column> cols;
    std::vector<std::string> texts;
    std::vector<std::uint32_t> freeTexts;
    std::vector<FormulaSlot> slots;
    std::vector<std::uint32_t> freeSlots;
    std::vector<std::uint32_t> pendingFree; ///< slots released during a recalculation
    std::size_t liveSlots = 0;
    std::vector<std::vector<std::uint32_t>> depLists;
    std::vector<std::uint32_t> freeDepLists;
    std::vector<RangeDep> rangeDeps;
    std::unordered_map<std::uint64_t, std::string> tags, notes;
    InternTable<CellStyle> styles;
    InternTable<CellType> types;
    std::vector<float> colWidths;  ///< pixels; 0 = default
    std::vector<float> rowHeights; ///< pixels; 0 = default
    std::unordered_map<std::string, ProgramPtr> programCache;
    std::unordered_map<std::string, CustomEntry> customs;
    std::vector<std::uint32_t> dirty;
    int recalcDepth = 0;
    std::vector<Operand> stack;
    std::vector<EvalFrame> framePool;

    static constexpr float kDefaultColPx = 64, kDefaultHeaderColPx = 40, kDefaultRowPx = 20;

    bool customArity(const std::string& upperName, int& lo, int& hi) const override {
        auto it = customs.find(upperName);
        if (it == customs.end()) return false;
        lo = it->second.minArgs;
        hi = it->second.maxArgs;
        return true;
    }

    CellRec* find(int c, int r) {
        if (c < 0 || r < 0 || std::size_t(c) >= cols.size()) return nullptr;
        auto& ch = cols[std::size_t(c)].chunks;
        std::size_t k = std::size_t(r) >> kChunkBits;
        if (k >= ch.size() || !ch[k]) return nullptr;
        return &ch[k][std::size_t(r) & (kChunk - 1)];
    }
    const CellRec* find(int c, int r) const { return const_cast<Impl*>(this)->find(c, r); }
    CellRec& at(int c, int r) {
        if (std::size_t(c) >= cols.size()) cols.resize(std::size_t(c) + 1);
        auto& ch = cols[std::size_t(c)].chunks;
        std::size_t k = std::size_t(r) >> kChunkBits;
        if (k >= ch.size()) ch.resize(k + 1);
        if (!ch[k]) {
            ch[k].reset(new CellRec[kChunk]);
            std::memset(static_cast<void*>(ch[k].get()), 0, sizeof(CellRec) * kChunk);
        }
        return ch[k][std::size_t(r) & (kChunk - 1)];
    }

    std::uint32_t addText(std::string_view s) {
        if (!freeTexts.empty()) {
            std::uint32_t i = freeTexts.back();
            freeTexts.pop_back();
            texts[i - 1] = s;
            return i;
        }
        texts.emplace_back(s);
        return std::uint32_t(texts.size());
    }
    void freeText(std::uint32_t& i) {
        if (!i) return;
        std::string().swap(texts[i - 1]);
        freeTexts.push_back(i);
        i = 0;
    }

    Value valueOf(const CellRec& c) const {
        switch (ValueKind(c.kind)) {
        case ValueKind::Number:
            return Value::num(c.num);
        case ValueKind::Text:
            return Value::str(c.text ? texts[c.text - 1] : std::string());
        case ValueKind::Bool:
            return Value::boolean(c.num != 0);
        case ValueKind::Error:
            return Value::err(ErrorCode(int(c.num)));
        default:
            return {};
        }
    }
    /// Stores a value into a record (formula and format untouched).
    void storeValue(CellRec& c, const Value& v) {
        c.flags &= std::uint8_t(~kKeepText);
        c.kind = std::uint8_t(v.kind);
        switch (v.kind) {
        case ValueKind::Text:
            if (c.text)
                texts[c.text - 1] = v.text;
            else
                c.text = addText(v.text);
            c.num = 0;
            return;
        case ValueKind::Error:
            c.num = double(int(v.error));
            break;
        case ValueKind::Empty:
            c.num = 0;
            break;
        default:
            c.num = v.number;
            break;
        }
        freeText(c.text);
    }

    // Dependency bookkeeping (SheetRecalc.cpp).
    void addDep(int c, int r, std::uint32_t slot);
    void removeDep(int c, int r, std::uint32_t slot);
    void registerSlot(std::uint32_t slot);
    void unregisterSlot(std::uint32_t slot);
    void rebuildDependencies();
    template <class F> void forEachDependent(int c, int r, F&& f);
    void markDependents(int c, int r);
    bool evalArith(std::uint32_t slot);
    std::uint32_t allocSlot();
    void releaseSlot(std::uint32_t slot);
    ProgramPtr intern(ProgramPtr p);
};

} // namespace sheet

namespace sheet {
/// Direct access to a sheet's storage for the file reader and writer.
struct SheetAccess {
    static Sheet::Impl& d(Sheet& s) { return *s.m_d; }
    static const Sheet::Impl& d(const Sheet& s) { return *s.m_d; }
};
} // namespace sheet
