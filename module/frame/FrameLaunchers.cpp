// JSON entries of the frame's own dialogs.

#include "frame/DlgTextInput.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>

namespace {
// The text-input dialog is not a launcher of its own, but every caller meets it; this entry lets
// scripts and screenshots open it with given texts.
const bool registered = registerJsonLauncher(
    "DlgTextInput",
    [](const nlohmann::json& in, nlohmann::json& out) {
        ModuleResourceScope scope;
        DlgTextInput dlg;
        dlg.caption = in.value("caption", std::string());
        dlg.prompt = in.value("prompt", std::string());
        dlg.text = in.value("text", std::string());
        dlg.okText = in.value("okText", dialString(1).str());
        dlg.cancelText = in.value("cancelText", dialString(2).str());
        dlg.editable = in.value("editable", true);
        int code = dlg.doModal();
        out["result"] = code == ui::IDOK;
        out["text"] = dlg.text.str();
        out["accepted"] = dlg.accepted;
    },
    R"({"caption": "Rename", "prompt": "New name of the section:", "text": "HEA200"})");
} // namespace
