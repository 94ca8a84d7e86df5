#include <host/DlgCSP2Data.h>

#include <host/VorJson.h>

#include <algorithm>

Vor_Array<Vor_StringArray> DlgCSP2List::rowsOf(int entryId) const {
    // Every row of the entry, also one that data from elsewhere put after rows of other entries:
    // storing the entry back (which removes all its rows) must not lose it.
    Vor_Array<Vor_StringArray> out;
    const int n = std::min(rowEntryIds.length(), rows.length());
    for (int i = 0; i < n; ++i)
        if (rowEntryIds[i] == entryId) out.append(rows[i]);
    return out;
}

void DlgCSP2List::removeRowsOf(int entryId) {
    // One pass that keeps the other rows in order: lists of many entries hold hundreds of
    // thousands of rows, and removing one row at a time would move them all for every row.
    const int n = std::min(rowEntryIds.length(), rows.length());
    Vor_Array<int> ids;
    Vor_Array<Vor_StringArray> kept;
    for (int i = 0; i < n; ++i)
        if (rowEntryIds[i] != entryId) {
            ids.append(rowEntryIds[i]);
            kept.append(std::move(rows[i]));
        }
    rowEntryIds = std::move(ids);
    rows = std::move(kept);
}

void DlgCSP2List::storeRowsOf(int entryId, const Vor_Array<Vor_StringArray>& newRows) {
    removeRowsOf(entryId);
    for (const Vor_StringArray& r : newRows) {
        rowEntryIds.append(entryId);
        rows.append(r);
    }
}

int DlgCSP2Data::indexOf(int entryId) const {
    for (int i = 0; i < entryIds.length(); ++i)
        if (entryIds[i] == entryId) return i;
    return -1;
}

int DlgCSP2Data::nextEntryId() const {
    int highest = 0;
    for (int id : entryIds)
        highest = std::max(highest, id);
    return highest + 1;
}

void to_json(nlohmann::json& j, const DlgCSP2List& l) {
    j = {{"headers", l.headers}, {"rowEntryIds", l.rowEntryIds}, {"rows", l.rows}};
}

void from_json(const nlohmann::json& j, DlgCSP2List& l) {
    DlgCSP2List r;
    r.headers = j.value("headers", Vor_StringArray());
    for (const auto& id : j.value("rowEntryIds", nlohmann::json::array()))
        r.rowEntryIds.append(int(jsonInteger(id, "rowEntryIds", -2147483647, 2147483647)));
    r.rows = j.value("rows", Vor_Array<Vor_StringArray>());
    if (r.rows.length() != r.rowEntryIds.length())
        throw nlohmann::json::other_error::create(501, "rows and rowEntryIds differ in count", &j);
    l = std::move(r);
}

void to_json(nlohmann::json& j, const DlgCSP2Data& d) {
    j = {{"exportMode", d.exportMode}, {"entryIds", d.entryIds}, {"entryNames", d.entryNames},
         {"list1", d.list1},           {"list2", d.list2},       {"list3", d.list3}};
}

void from_json(const nlohmann::json& j, DlgCSP2Data& d) {
    DlgCSP2Data r;
    r.exportMode = j.value("exportMode", false);
    for (const auto& id : j.value("entryIds", nlohmann::json::array()))
        r.entryIds.append(int(jsonInteger(id, "entryIds", -2147483647, 2147483647)));
    r.entryNames = j.value("entryNames", Vor_StringArray());
    if (r.entryNames.length() != r.entryIds.length())
        throw nlohmann::json::other_error::create(501, "entryIds and entryNames differ in count", &j);
    if (j.contains("list1")) r.list1 = j["list1"].get<DlgCSP2List>();
    if (j.contains("list2")) r.list2 = j["list2"].get<DlgCSP2List>();
    if (j.contains("list3")) r.list3 = j["list3"].get<DlgCSP2List>();
    d = std::move(r);
}
