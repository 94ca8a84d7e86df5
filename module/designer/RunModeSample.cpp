// A designed dialog shown live, as a dialog that uses designed pages shows it: for trying a template
// out from vorhost and scripts, with Tab moving through the designed controls.

#include "designer/DesignerFolder.h"
#include "designer/Vor_DlgDesignerData.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/FileUtils.h>
#include <host/VorJson.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Painter.h>

namespace {
class DlgDesignedPreview : public ui::Dialog {
public:
    enum { IDD = 8960 };
    static constexpr int kFirstResId = 34000;
    static constexpr int kLastResId = 34999;
    explicit DlgDesignedPreview(const Vor_String& path)
        : ui::Dialog(IDD)
        , m_path(path) {}
    Vor_DlgDesignerData& engine() { return m_engine; }

protected:
    bool onInitDialog() override {
        m_engine.initialize(this, kFirstResId, kLastResId, 0, 0, 0, 0, 0, false);
        m_engine.readFromFile(m_path, true);
        if (!m_engine.getTemplateName().isEmpty()) setWindowText(m_engine.getTemplateName().str());
        m_engine.redrawAllControls();
        return !m_engine.setFocusToCtrl(true);
    }
    void onPaint(ui::Painter& p) override { m_engine.OnEraseBkgnd(p); }
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
        nlohmann::json values = nlohmann::json::object();
        // The values are read before the window goes, as a dialog with designed pages does on OK.
        struct Reader : DlgDesignedPreview {
            using DlgDesignedPreview::DlgDesignedPreview;
            nlohmann::json* values = nullptr;
            void onOK() override {
                Vor_DlgDesignerData& e = engine();
                for (int i = 0; i < e.getNrControls(); ++i) {
                    const Vor_DesignerControl* c = e.getControl(i);
                    Vor_String v;
                    if (c->type != ctText && c->type != ctGroupBox && e.getCtrlValue(c->resId, v))
                        (*values)[c->contents.str()] = v.str();
                }
                endDialog(ui::IDOK);
            }
        } reader(path);
        reader.values = &values;
        out["result"] = reader.doModal() == ui::IDOK;
        out["values"] = values;
    },
    R"({"path": "EndPlate"})");
} // namespace
