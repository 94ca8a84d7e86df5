// A designed dialog shown live, as a dialog that uses designed pages shows it: for trying a template
// out from vorhost and scripts, with Tab moving through the designed controls.

#include "designer/DesignedPage.h"
#include "designer/DesignerFolder.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/FileUtils.h>
#include <host/VorJson.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Painter.h>

#include <map>
#include <string>

namespace {
class DlgDesignedPreview : public ui::Dialog {
public:
    enum { IDD = 8960 };
    static constexpr int kFirstResId = 34000;
    explicit DlgDesignedPreview(const Vor_String& path)
        : ui::Dialog(IDD)
        , m_path(path) {}
    std::map<std::string, std::string> startValues;   ///< by variable name
    nlohmann::json result = nlohmann::json::object(); ///< every value by name, on OK

protected:
    bool onInitDialog() override {
        // the page fills the client area; a template that cannot be read shows an empty dialog
        m_page.open(*this, clientRect(), m_path, kFirstResId);
        if (!m_page.templateName().isEmpty()) setWindowText(m_page.templateName().str());
        static constexpr std::pair<int, int> kTexts[] = {{ui::IDOK, 1}, {ui::IDCANCEL, 2}};
        setCatalogueTexts(*this, kTexts);
        // values by variable name, as a dialog with designed pages fills them from its model
        m_page.setValues(startValues);
        return !m_page.focus(true);
    }
    void onPaint(ui::Painter& p) override { m_page.paint(p); }
    // The values are read before the window goes, as a dialog with designed pages does on OK.
    void onOK() override {
        for (const auto& [name, value] : m_page.values())
            result[name] = value;
        endDialog(ui::IDOK);
    }
    bool preTranslateKey(const ui::KeyEvent& key) override {
        Vor_TabMsgHandle moved;
        if (!m_page.handleTabKey(key, moved)) return false;
        if (moved == tmPastLast) gotoDlgCtrl(ui::IDOK);
        if (moved == tmBeforeFirst) gotoDlgCtrl(ui::IDCANCEL);
        return true;
    }
    void onDestroy() override { m_page.close(); }

private:
    Vor_String m_path;
    DesignedPage m_page;
};

const bool registered = registerJsonLauncher(
    "ShowDesignedDialog",
    [](const nlohmann::json& in, nlohmann::json& out) {
        // A full path, or a template name below the designer's root folder.
        Vor_String path(in.value("path", std::string()));
        if (!toSlashes(path).startsWith("/")) path = templatePathFromName(path);
        ModuleResourceScope scope;
        DlgDesignedPreview dlg(path);
        if (in.contains("values") && in["values"].is_object())
            for (const auto& [name, value] : in["values"].items())
                if (value.is_string()) dlg.startValues[name] = value.get<std::string>();
        out["result"] = dlg.doModal() == ui::IDOK;
        out["values"] = dlg.result;
    },
    R"({"path": "EndPlate", "values": {"tp": "15", "hp": "320", "grade": "S355", "pitch": "70"}})");
} // namespace
