#include "ScriptHost.h"

#include "HostWindow.h"
#include "ModuleCalls.h"

#include <host/MacroData.h>

#include <cad/DrawingFile.h>
#include <cad/Pick.h>
#include <cad/aced.h>
#include <ui/Dialog.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>

using HR = ui::ScriptedAgent::HostResult;

/// Serves picks from the script's answers.
class ScriptHost::Picks : public cad::PickServer {
public:
    explicit Picks(ui::ScriptedAgent* agent)
        : m_agent(agent) {
        cad::setPickServer(this);
    }
    ~Picks() override {
        if (cad::pickServer() == this) cad::setPickServer(nullptr);
    }
    /// An answer; nullopt cancels a pick of any kind.
    void push(std::optional<cad::QueuePickServer::Answer> answer) { m_answers.push_back(std::move(answer)); }
    size_t pending() const { return m_answers.size(); }

    cad::PickResult answer(const cad::PickRequest& request, const cad::Drawing& drawing) override {
        std::string what = "a pick (\"" + request.prompt + "\")";
        if (ui::Dialog* d = m_agent ? m_agent->target() : nullptr; d && d->isVisible()) {
            fail(what + " was made while dialog " + std::to_string(d->templateId()) +
                 " was still shown; a dialog steps aside with BeginEditorCommand before it picks");
            return {};
        }
        if (m_answers.empty()) {
            fail(what + " found no answer queued (pick-object, pick-point or pick-cancel)");
            return {};
        }
        std::optional<cad::QueuePickServer::Answer> a = std::move(m_answers.front());
        m_answers.pop_front();
        if (!a) return {};
        // An object answers a pick of one or several entities or of a coordinate system alike.
        if (a->kind == cad::PickKind::Object &&
            (request.kind == cad::PickKind::Objects || request.kind == cad::PickKind::CoordSys))
            a->kind = request.kind;
        cad::QueuePickServer queue;
        queue.push(std::move(*a));
        cad::PickResult r = queue.answer(request, drawing);
        if (!queue.faults().empty()) fail(queue.faults().front());
        return r;
    }

private:
    void fail(const std::string& why) {
        if (m_agent) m_agent->fail(why);
    }
    ui::ScriptedAgent* m_agent;
    std::deque<std::optional<cad::QueuePickServer::Answer>> m_answers;
};

ScriptHost::ScriptHost(HostWindow* window, ui::ScriptedAgent* agent)
    : m_window(window)
    , m_picks(std::make_unique<Picks>(agent)) {}

ScriptHost::~ScriptHost() = default;

namespace {

/// A number of a script word, or nullopt.
std::optional<double> numberOf(const std::string& s) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != 0 || !std::isfinite(v)) return std::nullopt;
    return v;
}

const cad::Entity* namedEntity(const std::string& name, std::string& error) {
    const cad::Drawing& d = cad::curDrawing();
    const cad::Entity* e = d.get(d.findByName(name));
    if (!e) error = "the drawing holds no entity named " + name;
    return e;
}

const std::pair<const char*, cad::ViewDirection> kViews[] = {{"front", cad::ViewDirection::Front},
                                                             {"side", cad::ViewDirection::Side},
                                                             {"top", cad::ViewDirection::Top},
                                                             {"standard", cad::ViewDirection::Standard}};

} // namespace

/// The host commands as a table; each handler gets the words after the command's name, already
/// counted against the table.
struct ScriptHost::Commands {
    using Args = std::vector<std::string>;
    using Handler = HR (*)(ScriptHost& h, const std::string& name, const Args& w, std::string& error);
    struct Entry {
        const char* name;
        const char* usage;
        const char* summary;
        size_t minArgs;
        size_t maxArgs;
        Handler handler;
    };
    static const std::vector<Entry>& table();

    static HR fail(std::string& error, const std::string& why) {
        error = why;
        return HR::Failed;
    }

    static HR load(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        std::string why;
        if (!acrxDynamicLinker()->loadModule(w[0], false, &why)) return fail(error, why);
        if (h.m_window) h.m_window->refreshLaunchers();
        return HR::Done;
    }
    static HR unload(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        if (w.size() > 1 && w[1] != "refused") return fail(error, "usage: unload MODULE [refused]");
        std::string why;
        bool unloaded = acrxDynamicLinker()->unloadModule(w[0], false, &why);
        if (w.size() > 1) { // the script says the module is in use: the unload must not happen
            if (unloaded)
                return fail(error,
                            "module " + w[0] + " was unloaded, but the unload should have been refused");
            if (!acrxDynamicLinker()->isLoaded(w[0])) return fail(error, why);
            return HR::Done;
        }
        if (!unloaded) return fail(error, why);
        if (h.m_window) h.m_window->refreshLaunchers();
        return HR::Done;
    }
    static HR command(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (!acedRegCmds()->lookupCmd(w[0].c_str())) return fail(error, "unknown command " + w[0]);
        acutPrintf("%s\n", w[0].c_str());
        acedRegCmds()->run(w[0].c_str());
        return HR::Done;
    }
    static HR expectCommand(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (w[1] != "present" && w[1] != "absent")
            return fail(error, "usage: expect-command NAME present|absent [GROUP]");
        const AcEdCommand* c = acedRegCmds()->lookupCmd(w[0].c_str(), w.size() > 2 ? w[2].c_str() : nullptr);
        if ((c != nullptr) != (w[1] == "present"))
            return fail(error, "command " + w[0] +
                                   (c ? " is registered (group " + c->group + ")" : " is not registered") +
                                   (w.size() > 2 ? " in group " + w[2] : ""));
        return HR::Done;
    }
    static HR expectGroup(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (w[1] != "present" && w[1] != "absent")
            return fail(error, "usage: expect-group GROUP present|absent");
        bool has = acedRegCmds()->hasGroup(w[0].c_str());
        if (has != (w[1] == "present"))
            return fail(error, "command group " + w[0] + (has ? " is present" : " is absent"));
        return HR::Done;
    }
    static HR call(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        std::string result;
        if (!callLauncher(w[0], w.size() > 1 ? w[1] : "{}", result, error)) return HR::Failed;
        h.m_lastResult = result;
        std::printf("result %s %s\n", w[0].c_str(), result.c_str());
        std::fflush(stdout);
        return HR::Done;
    }
    static HR expectResult(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        if (h.m_lastResult.find(w[0]) == std::string::npos)
            return fail(error, "the last result " + h.m_lastResult + " does not hold " + w[0]);
        return HR::Done;
    }
    static HR expectOutput(ScriptHost& h, const std::string& name, const Args& w, std::string& error) {
        const std::string& out = acutPrintedText();
        size_t at = out.find(w[0], std::min(h.m_outputChecked, out.size()));
        if (name == "expect-no-output") {
            if (at != std::string::npos) return fail(error, "the command line shows " + w[0]);
            return HR::Done;
        }
        if (at == std::string::npos)
            return fail(error, "the command line does not show \"" + w[0] +
                                   "\"; it shows: " + out.substr(std::min(h.m_outputChecked, out.size())));
        h.m_outputChecked = at + w[0].size();
        return HR::Done;
    }
    static HR expectFile(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::ifstream in(w[0], std::ios::binary);
        if (!in) return fail(error, "there is no file " + w[0]);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return fail(error, "the file " + w[0] + " is empty");
        if (w.size() > 1) {
            std::string hex;
            for (size_t i = 0; i < bytes.size() && hex.size() < w[1].size(); ++i) {
                char b[3];
                std::snprintf(b, sizeof b, "%02x", static_cast<unsigned char>(bytes[i]));
                hex += b;
            }
            std::string want = w[1];
            for (auto& ch : want)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (hex != want) return fail(error, "the file " + w[0] + " starts with " + hex + ", not " + want);
        }
        return HR::Done;
    }
    static HR expectNoFile(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::ifstream in(w[0], std::ios::binary);
        return in ? fail(error, "the file " + w[0] + " exists") : HR::Done;
    }
    static HR writeFile(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::ofstream out(w[0], std::ios::binary);
        out << w[1];
        return out ? HR::Done : fail(error, "cannot write " + w[0]);
    }
    static HR drawingNew(ScriptHost&, const std::string&, const Args&, std::string&) {
        cad::curDrawing().clear();
        return HR::Done;
    }
    static HR drawingOpen(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::string why;
        if (!cad::openDrawing(w[0], &why)) return fail(error, why);
        cad::curDrawing().zoomExtents();
        return HR::Done;
    }
    static HR drawingSave(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        std::string why;
        if (!cad::saveDrawing(cad::curDrawing(), w[0], &why)) return fail(error, why);
        return HR::Done;
    }
    static HR pickObject(ScriptHost& h, const std::string&, const Args& w, std::string&) {
        if (w.size() == 1)
            h.m_picks->push(cad::QueuePickServer::Answer::object(w[0]));
        else // several entities answer one pick of several
            h.m_picks->push(
                cad::QueuePickServer::Answer::objects(std::vector<std::string>(w.begin(), w.end())));
        return HR::Done;
    }
    static HR pickPoint(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        auto x = numberOf(w[0]), y = numberOf(w[1]), z = numberOf(w[2]);
        if (!x || !y || !z) return fail(error, "pick-point takes three numbers, X Y Z");
        h.m_picks->push(cad::QueuePickServer::Answer::at({*x, *y, *z}));
        return HR::Done;
    }
    static HR pickCancel(ScriptHost& h, const std::string&, const Args&, std::string&) {
        h.m_picks->push(std::nullopt);
        return HR::Done;
    }
    static HR expectEntity(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        const cad::Entity* e = namedEntity(w[0], error);
        if (!e) return HR::Failed;
        std::optional<std::string> got;
        for (const auto& [key, value] : cad::entityFields(*e))
            if (key == w[1]) got = value;
        if (!got) {
            auto p = e->properties.find(w[1]);
            if (p == e->properties.end())
                return fail(error, "the " + std::string(cad::entityKindName(e->kind())) + " " + w[0] +
                                       " has no field or property " + w[1]);
            got = p->second;
        }
        if (*got != w[2])
            return fail(error, w[0] + " " + w[1] + " is \"" + *got + "\", not \"" + w[2] + "\"");
        return HR::Done;
    }
    static HR expectMacro(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        const cad::Entity* e = namedEntity(w[0], error);
        if (!e) return HR::Failed;
        std::string got, why;
        if (!macroValueText(cad::curDrawing(), e->id, w[1], got, &why)) return fail(error, w[0] + ": " + why);
        if (got != w[2]) return fail(error, w[0] + " " + w[1] + " is \"" + got + "\", not \"" + w[2] + "\"");
        return HR::Done;
    }
    static HR macroSet(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        MacroData data;
        Vor_String why;
        if (!GetMacroDataByNames({Vor_String(w[0])}, data, &why)) return fail(error, why.str());
        const auto dot = w[1].find('.');
        MacroTabData* tab =
            dot == std::string::npos ? nullptr : data.findTabWithModule(Vor_String(w[1].substr(0, dot)));
        int index = -1;
        MacroCell* cell = tab ? tab->findCellWithName(Vor_String(w[1].substr(dot + 1)), &index) : nullptr;
        if (!cell) return fail(error, w[0] + " has no value " + w[1] + " (MODULE.CELL)");
        cell->value = Vor_String(w[2]);
        if (!UpdateModule(tab->moduleName, data, {index}, {}))
            return fail(error, w[0] + " " + w[1] + " = \"" + w[2] + "\" was refused (see the command line)");
        return HR::Done;
    }
    static HR expectMacroBusy(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (w[1] != "yes" && w[1] != "no") return fail(error, "usage: expect-macro-busy NAME yes|no");
        MacroData data;
        Vor_String why;
        if (!GetMacroDataByNames({Vor_String(w[0])}, data, &why)) return fail(error, why.str());
        if (data.deferredCloseSet() != (w[1] == "yes"))
            return fail(error, w[0] + (w[1] == "yes" ? " is not busy" : " is still busy"));
        return HR::Done;
    }
    static HR regenerationDelay(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        char* end = nullptr;
        const long ms = std::strtol(w[0].c_str(), &end, 10);
        if (w[0].empty() || *end || ms < 0 || ms > 600000)
            return fail(error, "usage: regeneration-delay MS (0 to 600000)");
        macroHostSettings().regenerationDelayMs = static_cast<int>(ms);
        return HR::Done;
    }
    static HR clashCheck(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        Vor_Array<AcDbObjectId> ids;
        for (const std::string& name : w) {
            const cad::Entity* e = namedEntity(name, error);
            if (!e) return HR::Failed;
            ids.append(e->id);
        }
        const bool was = clashGetStatus();
        clashSetStatus(true);
        clashcheck(-100, ids); // a slot of its own, never a dialog's
        clashSetStatus(was);
        return HR::Done;
    }
    static HR expectErased(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (!cad::curDrawing().findByName(w[0]).isNull())
            return fail(error, "the drawing still holds an entity named " + w[0]);
        return HR::Done;
    }
    static HR expectView(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        auto v = std::find_if(std::begin(kViews), std::end(kViews),
                              [&](const auto& x) { return w[0] == x.first; });
        if (v == std::end(kViews)) return fail(error, "usage: expect-view front|side|top|standard");
        cad::Vector3d want = cad::viewVector(v->second).normal();
        cad::Vector3d got = cad::curDrawing().viewDirection().normal();
        if ((got - want).length() > 1e-9) {
            std::string name = "another direction";
            for (const auto& [n, dir] : kViews)
                if ((got - cad::viewVector(dir).normal()).length() <= 1e-9)
                    name = std::string("the ") + n + " view";
            return fail(error, "the drawing shows " + name + ", not the " + w[0] + " view");
        }
        return HR::Done;
    }
    static HR expectHighlight(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        if (w[1] != "on" && w[1] != "off") return fail(error, "usage: expect-highlight NAME on|off");
        const cad::Entity* e = namedEntity(w[0], error);
        if (!e) return HR::Failed;
        bool lit = cad::curDrawing().isHighlighted(e->id);
        if (lit != (w[1] == "on"))
            return fail(error, w[0] + (lit ? " is highlighted" : " is not highlighted"));
        return HR::Done;
    }
    static HR expectPrompts(ScriptHost&, const std::string&, const Args& w, std::string& error) {
        auto n = numberOf(w[0]);
        if (!n || *n < 0 || *n != std::floor(*n)) return fail(error, "expect-prompts takes a count");
        int got = acedPostCommandPromptCount();
        if (got != *n)
            return fail(error, "the command prompt was shown " + std::to_string(got) + " times, not " + w[0]);
        return HR::Done;
    }
    static HR typeCommand(ScriptHost& h, const std::string&, const Args& w, std::string& error) {
        if (!h.m_window) return fail(error, "there is no command line");
        h.m_window->runCommandLine(QString::fromStdString(w[0]));
        return HR::Done;
    }
};

const std::vector<ScriptHost::Commands::Entry>& ScriptHost::Commands::table() {
    static const std::vector<Entry> entries = {
        {"load", "load MODULE", "loads libMODULE.so through the dynamic linker", 1, 1, &load},
        {"unload", "unload MODULE [refused]",
         "unloads libMODULE.so; with refused, checks that the unload is refused because the module is in use",
         1, 2, &unload},
        {"command", "command NAME", "runs a registered command (TEST); an unknown one is a failure", 1, 1,
         &command},
        {"type-command", "type-command \"LINE\"", "types a line at the command line, as a person would", 1, 1,
         &typeCommand},
        {"expect-command", "expect-command NAME present|absent [GROUP]",
         "checks whether a command is registered", 2, 3, &expectCommand},
        {"expect-group", "expect-group GROUP present|absent", "checks whether a command group is registered",
         2, 2, &expectGroup},
        {"call", "call LAUNCHER [JSON]", "calls an exported launcher with data; prints result LAUNCHER JSON",
         1, 2, &call},
        {"expect-result", "expect-result \"SUBSTRING\"",
         "checks that the JSON of the last call holds the text", 1, 1, &expectResult},
        {"expect-output", "expect-output \"SUBSTRING\"",
         "checks that the command line printed the text since the last matched output", 1, 1, &expectOutput},
        {"expect-no-output", "expect-no-output \"SUBSTRING\"",
         "checks that the command line has not printed the text since then", 1, 1, &expectOutput},
        {"expect-file", "expect-file PATH [HEXPREFIX]",
         "checks that the file exists, is not empty, and (given a prefix) starts with those bytes", 1, 2,
         &expectFile},
        {"expect-no-file", "expect-no-file PATH", "checks that there is no such file", 1, 1, &expectNoFile},
        {"write-file", "write-file PATH \"TEXT\"", "writes a file, to prepare a test (a damaged table, say)",
         2, 2, &writeFile},
        {"drawing-new", "drawing-new", "empties the current drawing", 0, 0, &drawingNew},
        {"drawing-open", "drawing-open FILE",
         "opens a drawing file as the current drawing and zooms to everything; a file not read leaves the "
         "drawing as it was",
         1, 1, &drawingOpen},
        {"drawing-save", "drawing-save FILE", "saves the current drawing", 1, 1, &drawingSave},
        {"pick-object", "pick-object NAME...",
         "queues the answer to the next pick: the entity of that name (several names: a pick of several)", 1,
         64, &pickObject},
        {"pick-point", "pick-point X Y Z", "queues the answer to the next pick: that point", 3, 3,
         &pickPoint},
        {"pick-cancel", "pick-cancel", "queues the answer to the next pick: cancel (Escape)", 0, 0,
         &pickCancel},
        {"expect-entity", "expect-entity NAME PROPERTY \"VALUE\"",
         "checks a field of the named entity as its file line writes it (section, start, thickness, ...) or "
         "a property it holds",
         3, 3, &expectEntity},
        {"expect-macro", "expect-macro NAME KEY \"VALUE\"",
         "checks a value of the named macro: MODULE.CELL (Endplate.tp), MODULE.drawing, MODULE.bolts.FIELD "
         "or "
         "MODULE.pattern|profile|array|cut.NAME.FIELD (docs/formats.md, macro values)",
         3, 3, &expectMacro},
        {"macro-set", "macro-set NAME MODULE.CELL \"VALUE\"",
         "writes one cell of the named macro as a dialog commits it and regenerates the macro", 3, 3,
         &macroSet},
        {"expect-macro-busy", "expect-macro-busy NAME yes|no",
         "checks whether the macro is still busy with a written change (see regeneration-delay)", 2, 2,
         &expectMacroBusy},
        {"regeneration-delay", "regeneration-delay MS",
         "a written macro stays busy for MS milliseconds of the script's clock (tick) before a dialog may "
         "close",
         1, 1, &regenerationDelay},
        {"clash-check", "clash-check NAME...",
         "checks the named macros for clashes with the rest of the drawing; new clashes are printed and "
         "highlighted",
         1, 100, &clashCheck},
        {"expect-erased", "expect-erased NAME", "checks that the drawing holds no entity of that name", 1, 1,
         &expectErased},
        {"expect-view", "expect-view front|side|top|standard", "checks the drawing's view direction", 1, 1,
         &expectView},
        {"expect-highlight", "expect-highlight NAME on|off", "checks whether the named entity is highlighted",
         2, 2, &expectHighlight},
        {"expect-prompts", "expect-prompts N", "checks how many times the command prompt was shown again", 1,
         1, &expectPrompts},
    };
    return entries;
}

HR ScriptHost::handle(const std::vector<std::string>& w, std::string& error) {
    const auto& table = Commands::table();
    auto e =
        std::find_if(table.begin(), table.end(), [&](const Commands::Entry& x) { return w[0] == x.name; });
    if (e == table.end()) return HR::NotMine;
    std::vector<std::string> args(w.begin() + 1, w.end());
    if (args.size() < e->minArgs || args.size() > e->maxArgs)
        return Commands::fail(error, std::string("usage: ") + e->usage);
    return e->handler(*this, w[0], args, error);
}

std::vector<ui::ScriptCommandInfo> ScriptHost::commandList() {
    std::vector<ui::ScriptCommandInfo> out;
    for (const Commands::Entry& e : Commands::table())
        out.push_back({e.name, e.usage, e.summary});
    return out;
}
