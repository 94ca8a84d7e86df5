#include "calc/ui/DlgFormulas.h"

#include "calc/ReportBuilder.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <cad/aced.h>
#include <host/FileUtils.h>
#include <host/Texts.h>
#include <host/VorJson.h>

namespace {

/// Engine option that the evaluation grid switches on with automatic recalculation off.
constexpr int kOptEvaluate = 12;

/// The developer's sample table of EvaluateSS.
constexpr const char* kSampleTable = "c:\\a\\t3.sss";

std::string folderOf(const std::string& path) {
    return path.empty() ? std::string() : getFolder(Vor_String(path)).str();
}

} // namespace

DlgFormulas::DlgFormulas(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

DlgFormulas::~DlgFormulas() {
    // The chain link goes before the grid whose table it names.
    m_link.reset();
}

void DlgFormulas::registerFromTable() {
    if (!m_sheet.attached()) return;
    m_sheet.AddCustomFunction(kFromTableName, kFromTableMinArgs, kFromTableMaxArgs,
                              [this](sheet::Sheet&, sheet::CellPos, sheet::FnValue& r,
                                     std::span<sheet::FnValue> a) { return fromTableCall(r, a); });
}

bool DlgFormulas::loadTable(const std::string& path) {
    if (!m_sheet.attached() || !m_sheet.LoadFromFile(path)) return false;
    m_loadedPath = path;
    // This table is now under evaluation here: a look-up that leads back to it must end.
    m_link.reset();
    m_link.emplace(path);
    return true;
}

bool DlgFormulas::onInitDialog() {
    setFocus();
    // texts: dialString 9320-9329
    setWindowText(dialString(9320).str());
    const std::pair<int, int> texts[] = {
        {IDC_FILE_LABEL, 9321},    {IDC_SAVE, 9322},     {IDC_LOAD, 9323},       {IDC_STYLE_GROUP, 9324},
        {IDC_STYLE_DEFAULT, 9325}, {IDC_STYLE_A1, 9326}, {IDC_STYLE_R1C1, 9327}, {IDC_AUTOCALC, 9328},
        {IDC_RECALC, 9329},        {ui::IDOK, 1},        {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    if (ui::Control* c = item(IDC_FILENAME)) c->setText(fileName.str());
    m_sheet.attach(this, IDC_GRID);
    m_template.attach(this, IDC_TEMPLATE);
    if (ui::Control* c = item(IDC_TEMPLATE)) c->showWindow(ui::SW_HIDE);
    m_sheet.SetBool(kOptEvaluate, true);
    m_sheet.SetBool(sheet::Sheet::kOptAutoRecalc, false);

    if (mode == fmBuildReport) {
        std::string error;
        reportBuilt = report && buildReport(m_sheet, m_template, *report, &error);
        if (!reportBuilt && !error.empty()) acutPrintf("%s\n", error.c_str());
        endDialog(reportBuilt ? ui::IDOK : ui::IDCANCEL); // a service: the table is in its file
        return true;
    }

    if (ui::Control* c = item(IDC_AUTOCALC)) c->setCheck(ui::BST_UNCHECKED);
    if (ui::Control* c = item(IDC_STYLE_DEFAULT)) c->setCheck(ui::BST_CHECKED);
    if (ui::Control* c = item(IDC_RECALC)) c->enableWindow(true);
    registerFromTable();
    m_sheet.SetMaxCols(8);
    m_sheet.SetMaxRows(10);
    sheet::CellType number;
    if (m_sheet.SetTypeNumber(number, 0, 2, -9999, 9999, true)) m_sheet.SetCellTypeRange(1, 1, 6, 6, number);

    if (!fileName.isEmpty()) loadTable(resolveTablePath(fileName.str()));
    acutPrintf("Loading spreadsheet:%s\n", fileName.c_str());
    registerFromTable();

    if (mode == fmReadTable) {
        readTable();
        endDialog(ui::IDOK);
        return true;
    }
    gCurrentFormulaSheet = &m_sheet;
    if (mode == fmEvaluateCell) {
        m_sheet.ReCalcCell(evalCol, evalRow);
        m_sheet.getText(evalCol, evalRow, kTextData, evalText);
    } else if (mode == fmFromTable) {
        evaluateFromTable();
    }
    gCurrentFormulaSheet = callerSheet;
    return true;
}

void DlgFormulas::readTable() {
    if (!names || !values) return;
    names->removeAll();
    values->removeAll();
    title = "";
    if (m_loadedPath.empty()) return; // a table that did not load gives empty results
    std::string error;
    if (!readTableCells(m_sheet, title, *names, *values, &error))
        acutPrintf("%s: %s\n", m_loadedPath.c_str(), error.c_str());
}

void DlgFormulas::evaluateFromTable() {
    if (!result || !args || !callerSheet) return;
    const std::string line = ::evaluateFromTable(
        m_sheet, callerSheet, result,
        std::span<const sheet::FnValue>(args, std::size_t(std::max<short>(argCount, 0))),
        [this](const std::string& path) {
            if (!loadTable(path)) return false;
            registerFromTable();
            // the consulted table is this dialog's file: shown, and what Save to File writes
            fileName = path;
            if (ui::Control* c = item(IDC_FILENAME)) c->setText(path);
            return true;
        },
        m_callerFolder);
    if (!line.empty()) acutPrintf("%s", line.c_str());
}

bool DlgFormulas::fromTableCall(sheet::FnValue& r, std::span<sheet::FnValue> a) {
    r.status = sheet::FnValue::NoResult;
    const std::string base = folderOf(m_loadedPath);
    if (!a.empty() && a[0].status == sheet::FnValue::Ok && a[0].kind == sheet::FnValue::Text) {
        // A table that is itself still being evaluated, here or further out, is no source: looking it
        // up again would start the same evaluation over and over.
        const std::string path = resolveTablePath(a[0].text, base);
        if (FromTableChain::contains(path) || FromTableChain::depth() >= FromTableChain::kMaxDepth)
            return true;
    }
    DlgFormulas dlg(this);
    dlg.mode = fmFromTable;
    dlg.result = &r;
    dlg.args = a.data();
    dlg.argCount = short(a.size());
    dlg.callerSheet = &m_sheet;
    dlg.m_callerFolder = base;
    dlg.doModal();
    return true;
}

void DlgFormulas::setRefStyle(int style) {
    m_sheet.SetRefStyle(style);
    // The formulas of column 4 shown, as text, beside their rows in the new style.
    for (int r = 1; r <= 5; ++r) {
        Vor_String f;
        m_sheet.getText(4, r, kTextFormula, f);
        if (r == 5 && f.isEmpty()) continue;
        m_sheet.setText(1, r, f);
    }
}

bool DlgFormulas::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    switch (id) {
    case IDC_STYLE_DEFAULT:
    case IDC_STYLE_A1:
    case IDC_STYLE_R1C1:
        setRefStyle(id - IDC_STYLE_DEFAULT);
        return true;
    case IDC_SAVE: {
        ui::Control* c = item(IDC_FILENAME);
        const std::string path = resolveTablePath(c ? c->text() : std::string());
        if (path.empty() || !m_sheet.SaveToFile(path)) acutPrintf("Save failed\n");
        return true;
    }
    case IDC_LOAD: {
        ui::Control* c = item(IDC_FILENAME);
        const std::string path = resolveTablePath(c ? c->text() : std::string());
        if (path.empty() || !loadTable(path)) acutPrintf("Load failed\n");
        registerFromTable();
        return true;
    }
    case IDC_AUTOCALC: {
        ui::Control* c = item(IDC_AUTOCALC);
        const bool on = c && c->checkState() == ui::BST_CHECKED;
        m_sheet.SetBool(sheet::Sheet::kOptAutoRecalc, on);
        if (ui::Control* b = item(IDC_RECALC)) b->enableWindow(!on);
        return true;
    }
    case IDC_RECALC: {
        // The dialog's own formulas are evaluated here: a look-up from them starts at this sheet.
        Vor_Spread* before = gCurrentFormulaSheet;
        gCurrentFormulaSheet = &m_sheet;
        m_sheet.ReCalc();
        gCurrentFormulaSheet = before;
        return true;
    }
    default:
        return false;
    }
}

// ---- exported services

void ReadSSFile(const Vor_String& file, Vor_String& title, Vor_StringArray& names,
                Vor_Array<Vor_StringArray>& values) {
    ModuleResourceScope scope;
    DlgFormulas dlg;
    dlg.mode = fmReadTable;
    dlg.fileName = file;
    dlg.names = &names;
    dlg.values = &values;
    dlg.doModal();
    title = dlg.title;
}

bool buildReportTable(const ReportTableData& data) {
    DlgFormulas dlg;
    dlg.mode = fmBuildReport;
    dlg.report = &data;
    dlg.doModal();
    return dlg.reportBuilt;
}

void EvaluateSS() {
    ModuleResourceScope scope;
    DlgFormulas dlg;
    dlg.mode = fmEvaluateCell;
    dlg.fileName = kSampleTable;
    dlg.evalCol = 1;
    dlg.evalRow = 1;
    dlg.doModal();
}

namespace {
const bool registeredRead = registerJsonLauncher(
    "ReadSSFile",
    [](const nlohmann::json& in, nlohmann::json& out) {
        Vor_String file = in.value("file", std::string());
        Vor_String title;
        Vor_StringArray names;
        Vor_Array<Vor_StringArray> values;
        ReadSSFile(file, title, names, values);
        out["result"] = nullptr;
        out["title"] = title;
        out["names"] = names;
        out["values"] = values;
    },
    R"({"file": "c:\\a\\t3.sss"})");
const bool registeredReport = registerJsonLauncher(
    "BuildReport",
    [](const nlohmann::json& in, nlohmann::json& out) {
        ReportTableData data = in.get<ReportTableData>();
        data.templateFile = resolveTablePath(data.templateFile.str());
        data.outputFile = resolveTablePath(data.outputFile.str());
        out["result"] = buildReportTable(data);
    },
    R"({"columnNames": ["Pos", "Profiel", "Lengte"], "decimals": [-1, -1, 0],
 "rows": [["1", "HEA 200", "6000"], ["2", "IPE 300", "7200"], ["", "Totaal", ""]],
 "sums": [{"col": 2, "from": 0, "to": 1, "row": 2}], "tableWidth": 120, "allowWiden": true,
 "templateFile": "c:\\a\\Template.sss", "outputFile": "/tmp/report.sss"})");
const bool registeredEval =
    registerJsonLauncher("EvaluateSS", [](const nlohmann::json&, nlohmann::json& out) {
        EvaluateSS();
        out["result"] = nullptr;
    });
} // namespace
