// A designed dialog shown live, as a dialog that uses designed pages shows it: for trying a template
// out from vorhost and scripts, with Tab moving through the designed controls.

#include "designer/DesignerFolder.h"
#include "designer/Vor_DlgDesignerData.h"
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
    static constexpr int kLastResId = kFirstResId + Vor_DlgDesignerData::kMaxControls - 1;
    explicit DlgDesignedPreview(const Vor_String& path)
        : ui::Dialog(IDD)
        , m_path(path) {}
    Vor_DlgDesignerData& engine() { return m_engine; }
    std::map<std::string, std::string> startValues;   ///< by variable name
    nlohmann::json result = nlohmann::json::object(); ///< every value by name, on OK

protected:
    bool onInitDialog() override {
        m_engine.initialize(this, kFirstResId, kLastResId, 0, 0, 0, 0, 0, false);
        m_engine.readFromFile(m_path, true);
        if (!m_engine.getTemplateName().isEmpty()) setWindowText(m_engine.getTemplateName().str());
        m_engine.redrawAllControls();
        static constexpr std::pair<int, int> kTexts[] = {{ui::IDOK, 1}, {ui::IDCANCEL, 2}};
        setCatalogueTexts(*this, kTexts);
        // values by variable name, as a dialog with designed pages fills them from its model
        for (const auto& [name, value] : startValues) {
            int i;
            if (m_engine.findEditCtrlWithContents(Vor_String(name), i))
                m_engine.setCtrlValue(m_engine.getControl(i)->resId, Vor_String(value));
        }
        return !m_engine.setFocusToCtrl(true);
    }
    void onPaint(ui::Painter& p) override { m_engine.OnEraseBkgnd(p); }
    // The values are read before the window goes, as a dialog with designed pages does on OK.
    void onOK() override {
        for (int i = 0; i < m_engine.getNrControls(); ++i) {
            const Vor_DesignerControl* c = m_engine.getControl(i);
            Vor_String v;
            if (typeTakesFocus(c->type) && m_engine.getCtrlValue(c->resId, v))
                result[c->contents.str()] = v.str();
        }
        endDialog(ui::IDOK);
    }
    bool preTranslateKey(const ui::KeyEvent& key) override {
        Vor_TabMsgHandle result;
        if (!m_engine.handleTabKey(key.vk, result, key.shift)) return false;
        if (result == tmPastLast) gotoDlgCtrl(ui::IDOK);
        if (result == tmBeforeFirst) gotoDlgCtrl(ui::IDCANCEL);
        return true;
    }

private:
    Vor_String m_path;
    Vor_DlgDesignerData m_engine;
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
