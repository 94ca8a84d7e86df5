#include "calc/ReportData.h"

#include <base/NumberText.h>
#include <host/VorJson.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

std::string outside(const std::string& field, long long value, long long lo, long long hi) {
    return "Report: " + field + " is " + std::to_string(value) + ", not a whole number from " +
           std::to_string(lo) + " to " + std::to_string(hi);
}

} // namespace

std::string reportRangeFault(const ReportTableData& d) {
    const long long cols = d.columnNames.length();
    if (cols > kMaxReportColumns)
        return "Report: " + std::to_string(cols) + " columns, more than " + std::to_string(kMaxReportColumns);
    if (static_cast<long long>(d.rows.size()) > kMaxReportRows)
        return "Report: " + std::to_string(d.rows.size()) + " rows, more than " +
               std::to_string(kMaxReportRows);
    for (std::size_t i = 0; i < d.decimals.size(); ++i)
        if (d.decimals[i] > kMaxReportDecimals)
            return "Report: decimals[" + std::to_string(i) + "] is " + std::to_string(d.decimals[i]) +
                   ", more than " + std::to_string(kMaxReportDecimals);
    const auto width = [](const std::string& field, double w) {
        if (std::isfinite(w) && w >= 0 && w <= kMaxReportWidthMm) return std::string();
        std::string shown = "not a number";
        base::formatShortest(w, shown);
        return "Report: " + field + " is " + shown + ", not a width from 0 to " +
               std::to_string(int(kMaxReportWidthMm)) + " mm";
    };
    for (std::size_t i = 0; i < d.columnWidths.size(); ++i)
        if (auto e = width("columnWidths[" + std::to_string(i) + "]", d.columnWidths[i]); !e.empty())
            return e;
    if (auto e = width("tableWidth", d.tableWidth); !e.empty()) return e;
    // Columns and rows named by sums, pictures and spans: 0-based places in the report's budget.
    struct Place {
        const char* field;
        int value;
        bool row;
    };
    const auto check = [&](const std::string& item, std::initializer_list<Place> places) {
        for (const Place& p : places) {
            const long long hi = p.row ? kMaxReportRows - 1 : kMaxReportColumns - 1;
            if (p.value < 0 || p.value > hi) return outside(item + "." + p.field, p.value, 0, hi);
        }
        return std::string();
    };
    for (std::size_t i = 0; i < d.sums.size(); ++i) {
        const ReportSum& s = d.sums[i];
        if (auto e = check(
                "sums[" + std::to_string(i) + "]",
                {{"col", s.col, false}, {"from", s.from, true}, {"to", s.to, true}, {"row", s.row, true}});
            !e.empty())
            return e;
    }
    for (std::size_t i = 0; i < d.pictures.size(); ++i) {
        const ReportPicture& p = d.pictures[i];
        if (auto e =
                check("pictures[" + std::to_string(i) + "]", {{"col", p.col, false}, {"row", p.row, true}});
            !e.empty())
            return e;
    }
    for (std::size_t i = 0; i < d.merged.size(); ++i) {
        const ReportSpan& m = d.merged[i];
        if (auto e = check("merged[" + std::to_string(i) + "]", {{"col1", m.col1, false},
                                                                 {"col2", m.col2, false},
                                                                 {"row1", m.row1, true},
                                                                 {"row2", m.row2, true}});
            !e.empty())
            return e;
    }
    long long rows = static_cast<long long>(d.rows.size());
    for (const ReportSum& s : d.sums)
        rows = std::max<long long>(rows, s.row + 1LL);
    if (cols * rows > kMaxReportCells)
        return "Report: " + std::to_string(cols) + " columns of " + std::to_string(rows) +
               " rows, more than " + std::to_string(kMaxReportCells) + " cells";
    return {};
}

std::vector<double> fitReportWidths(const ReportTableData& d) {
    std::vector<double> w = d.columnWidths;
    w.resize(d.columnNames.length(), 0.0);
    const double sum = std::accumulate(w.begin(), w.end(), 0.0);
    if (d.tableWidth <= 0 || sum <= 0) return w;
    if (sum > d.tableWidth || (d.allowWiden && sum < d.tableWidth))
        for (double& x : w)
            x = x * d.tableWidth / sum;
    return w;
}

ReportTableData sampleReport(const std::string& templateFile, const std::string& outputFile) {
    ReportTableData d;
    d.columnNames = Vor_StringArray{"Pos", "Profiel", "Lengte", "Gewicht"};
    d.decimals = {-1, -1, 0, 2};
    d.rows = {Vor_StringArray{"1", "HEA 200 kolom met voetplaat", "6000", "253.2"},
              Vor_StringArray{"2", "IPE 300 ligger", "7200", "303.8"}, Vor_StringArray{"", "Totaal", "", ""}};
    d.columnWidths = {12, 80, 25, 30};
    d.tableWidth = 183;
    d.allowWiden = true;
    d.sums = {ReportSum{3, 0, 1, 2}};
    d.multiLine = true;
    d.templateFile = templateFile;
    d.outputFile = outputFile;
    return d;
}

void from_json(const nlohmann::json& j, ReportTableData& d) {
    d = ReportTableData();
    if (!j.is_object()) throw nlohmann::json::type_error::create(302, "report data must be an object", &j);
    auto opt = [&](const char* key, auto& field) {
        if (j.contains(key)) j.at(key).get_to(field);
    };
    opt("columnNames", d.columnNames);
    // Every number is checked against its field's range here, with the field's name in the message.
    const auto whole = [](const nlohmann::json& v, const std::string& field, long long lo, long long hi) {
        return int(jsonInteger(v, field, lo, hi));
    };
    const auto place = [&](const nlohmann::json& item, const std::string& list, std::size_t i,
                           const char* key, bool row) {
        return whole(item.at(key), list + "[" + std::to_string(i) + "]." + key, 0,
                     row ? kMaxReportRows - 1 : kMaxReportColumns - 1);
    };
    const auto list = [&](const char* key) -> const nlohmann::json* {
        if (!j.contains(key)) return nullptr;
        const nlohmann::json& v = j.at(key);
        if (!v.is_array())
            throw nlohmann::json::type_error::create(302, std::string(key) + " must be a list", &v);
        return &v;
    };
    if (const nlohmann::json* v = list("decimals"))
        for (std::size_t i = 0; i < v->size(); ++i)
            d.decimals.push_back(whole((*v)[i], "decimals[" + std::to_string(i) + "]",
                                       std::numeric_limits<int>::min(), kMaxReportDecimals));
    if (j.contains("rows"))
        for (const auto& r : j.at("rows"))
            d.rows.push_back(r.get<Vor_StringArray>());
    if (const nlohmann::json* v = list("columnWidths"))
        for (std::size_t i = 0; i < v->size(); ++i)
            d.columnWidths.push_back(
                jsonNumber((*v)[i], "columnWidths[" + std::to_string(i) + "]", 0, kMaxReportWidthMm));
    if (j.contains("tableWidth"))
        d.tableWidth = jsonNumber(j.at("tableWidth"), "tableWidth", 0, kMaxReportWidthMm);
    opt("allowWiden", d.allowWiden);
    if (const nlohmann::json* v = list("sums"))
        for (std::size_t i = 0; i < v->size(); ++i) {
            const nlohmann::json& s = (*v)[i];
            d.sums.push_back({place(s, "sums", i, "col", false), place(s, "sums", i, "from", true),
                              place(s, "sums", i, "to", true), place(s, "sums", i, "row", true)});
        }
    if (const nlohmann::json* v = list("pictures"))
        for (std::size_t i = 0; i < v->size(); ++i) {
            const nlohmann::json& p = (*v)[i];
            d.pictures.push_back({p.at("file").get<Vor_String>(), place(p, "pictures", i, "col", false),
                                  place(p, "pictures", i, "row", true)});
        }
    if (const nlohmann::json* v = list("merged"))
        for (std::size_t i = 0; i < v->size(); ++i) {
            const nlohmann::json& m = (*v)[i];
            d.merged.push_back({place(m, "merged", i, "col1", false), place(m, "merged", i, "col2", false),
                                place(m, "merged", i, "row1", true), place(m, "merged", i, "row2", true)});
        }
    opt("multiLine", d.multiLine);
    opt("headerFile", d.headerFile);
    opt("footerFile", d.footerFile);
    opt("varNames", d.varNames);
    opt("varValues", d.varValues);
    opt("templateFile", d.templateFile);
    opt("outputFile", d.outputFile);
}
