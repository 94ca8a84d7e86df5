#pragma once
// The data of the cutting stock dialog: named entries (one per profile or material) and, per
// entry, three lists of rows: the stock at hand, the parts to cut (exchanged as "shp" files) and
// the bars to buy (read back as "buy" files). The rows of one entry lie next to each other in each
// list.
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

/// One of the three lists: its column headers and the rows of all entries with their owners.
struct DlgCSP2List {
    Vor_StringArray headers;
    Vor_Array<int> rowEntryIds;      ///< owner of each row
    Vor_Array<Vor_StringArray> rows; ///< parallel to rowEntryIds

    /// The rows owned by `entryId`, in order. The dialog keeps them next to each other; rows of the
    /// entry that data from elsewhere put further on count too.
    Vor_Array<Vor_StringArray> rowsOf(int entryId) const;
    /// Removes every row owned by `entryId`.
    void removeRowsOf(int entryId);
    /// Replaces the rows of `entryId` by `newRows`, appended at the end (which keeps them together).
    void storeRowsOf(int entryId, const Vor_Array<Vor_StringArray>& newRows);
    bool operator==(const DlgCSP2List& o) const = default;
};

class DlgCSP2Data {
public:
    bool exportMode = false;    ///< the dialog writes list 2 of every entry instead of reading all back
    Vor_Array<int> entryIds;    ///< unique identifier of each entry
    Vor_StringArray entryNames; ///< name of each entry, also the name of its folder
    DlgCSP2List list1;          ///< stock at hand: length, cost, count
    DlgCSP2List list2;          ///< parts to cut: mark, length, quantity ("shp" files)
    DlgCSP2List list3;          ///< bars to buy: length, count, cutting pattern ("buy" files)

    /// The list by number 1 to 3 (any other number gives list 3).
    DlgCSP2List& list(int n) { return n == 1 ? list1 : n == 2 ? list2 : list3; }
    const DlgCSP2List& list(int n) const { return n == 1 ? list1 : n == 2 ? list2 : list3; }
    /// Index of the entry with this identifier, or -1.
    int indexOf(int entryId) const;
    /// The identifier a new entry gets: the largest + 1, or 1 when there is none.
    int nextEntryId() const;
    bool operator==(const DlgCSP2Data& o) const = default;
};

void to_json(nlohmann::json& j, const DlgCSP2List& l);
void from_json(const nlohmann::json& j, DlgCSP2List& l);
/// {"exportMode", "entryIds", "entryNames", "list1", "list2", "list3"}; rows and owners must be of
/// equal count.
void to_json(nlohmann::json& j, const DlgCSP2Data& d);
void from_json(const nlohmann::json& j, DlgCSP2Data& d);
