// Picks, their servers and the editor-command bracket.

#include <cad/Pick.h>
#include <cad/aced.h>

#include <algorithm>

namespace cad {

namespace {

const char* pickKindName(PickKind kind) {
    switch (kind) {
    case PickKind::Object:
        return "object";
    case PickKind::Point:
        return "point";
    case PickKind::Objects:
        return "objects";
    case PickKind::Plane:
        return "plane";
    case PickKind::CoordSys:
        return "coordinate system";
    }
    return "?";
}

struct EditorState {
    PickServer* server = nullptr;
    EditorCommandHook* hook = nullptr;
    bool dialogShown = false;
    bool inBracket = false;
    std::vector<std::string> faults;
};

EditorState& state() {
    static EditorState s;
    return s;
}

} // namespace

PickResult QueuePickServer::answer(const PickRequest& request, const Drawing& drawing) {
    PickResult result;
    if (m_answers.empty()) return result;
    Answer a = std::move(m_answers.front());
    m_answers.pop_front();
    auto refuse = [&](std::string why) {
        m_faults.push_back(std::string("a ") + pickKindName(request.kind) + " pick (\"" + request.prompt +
                           "\") " + why);
        return PickResult{};
    };
    if (a.kind != request.kind) return refuse(std::string("was answered with a ") + pickKindName(a.kind));
    if (a.cancel) return result;
    std::vector<AcDbObjectId> ids = a.ids;
    for (const std::string& name : a.names) {
        AcDbObjectId id = drawing.findByName(name);
        if (id.isNull()) return refuse("names \"" + name + "\", which is not in the drawing");
        ids.push_back(id);
    }
    for (AcDbObjectId id : ids) {
        const Entity* e = drawing.get(id);
        if (!e)
            return refuse("names the id " + std::to_string(id.handle()) + ", which is not in the drawing");
        bool allowed = request.allowed.empty() || std::find(request.allowed.begin(), request.allowed.end(),
                                                            e->kind()) != request.allowed.end();
        if (request.kind == PickKind::CoordSys) allowed = e->kind() == EntityKind::CoordSys;
        if (!allowed)
            return refuse(std::string("may not take the ") + entityKindName(e->kind()) + " " + e->name);
    }
    switch (request.kind) {
    case PickKind::Object:
    case PickKind::CoordSys:
        if (ids.size() != 1) return refuse("needs exactly one entity");
        if (request.kind == PickKind::CoordSys)
            result.coordSys = std::get<CoordSysEntity>(drawing.get(ids[0])->geometry).cs;
        break;
    case PickKind::Objects:
        break;
    case PickKind::Point:
        result.point = a.point;
        break;
    case PickKind::Plane:
        if (!(a.plane.normal.length() > 0)) return refuse("has a normal of length 0");
        result.plane = a.plane;
        break;
    }
    result.ids = std::move(ids);
    result.ok = true;
    return result;
}

void setPickServer(PickServer* server) {
    state().server = server;
}
PickServer* pickServer() {
    return state().server;
}
void setEditorCommandHook(EditorCommandHook* hook) {
    state().hook = hook;
}
void setDialogShown(bool shown) {
    state().dialogShown = shown;
}
bool inEditorCommand() {
    return state().inBracket;
}
const std::vector<std::string>& editorFaults() {
    return state().faults;
}
void clearEditorFaults() {
    state().faults.clear();
}

PickResult pick(const PickRequest& request) {
    EditorState& s = state();
    if (s.dialogShown && !s.inBracket)
        s.faults.push_back(std::string("a ") + pickKindName(request.kind) + " pick (\"" + request.prompt +
                           "\") was made while a dialog was shown, outside BeginEditorCommand");
    if (!request.prompt.empty()) acutPrintf("%s", request.prompt.c_str());
    if (!s.server) return {};
    return s.server->answer(request, curDrawing());
}

} // namespace cad

bool BeginEditorCommand(void* dialog) {
    cad::EditorState& s = cad::state();
    if (s.inBracket) {
        s.faults.push_back("BeginEditorCommand while an editor command is open");
        return false;
    }
    s.inBracket = true;
    if (s.hook) s.hook->beginEditorCommand(dialog);
    return true;
}

void CompleteEditorCommand(void* dialog, bool restoreDialog) {
    cad::EditorState& s = cad::state();
    if (!s.inBracket) {
        s.faults.push_back("CompleteEditorCommand without BeginEditorCommand");
        return;
    }
    s.inBracket = false;
    if (s.hook) s.hook->completeEditorCommand(dialog, restoreDialog);
}
