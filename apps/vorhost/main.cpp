// vorhost: a small CAD-host shell with a command line. It loads the core library and the modules,
// runs scripts and takes screenshots.

#include "DrawingView.h"
#include "HostCommands.h"
#include "HostOptions.h"
#include "HostWindow.h"
#include "ScriptHost.h"

#include <base/FileRead.h>
#include <cad/DrawingFile.h>
#include <cad/aced.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

bool readScript(const std::string& path, std::string& text, std::string& error) {
    if (path == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        text = s.str();
        return true;
    }
    // A script is a few kilobytes; a pipe, a folder or a device named as one is refused, not waited on.
    constexpr std::size_t kScriptBudget = std::size_t(16) << 20;
    return base::readRegularFile(path, text, kScriptBudget, &error);
}

} // namespace

int main(int argc, char** argv) {
    HostOptions opt;
    std::string error;
    if (!parseHostOptions(argc, argv, opt, error)) {
        std::fprintf(stderr, "vorhost: %s\n%s", error.c_str(), kHostUsage);
        return 2;
    }
    if (opt.help) {
        std::fputs(kHostUsage, stdout);
        return 0;
    }
    if (opt.scriptHelp) {
        // Both tables the scripts are run from, so this list cannot drift from what runs.
        std::printf("Dialog actions, answers and checks:\n%s\nHost commands:\n%s",
                    ui::formatScriptHelp(ui::ScriptedAgent::commandList()).c_str(),
                    ui::formatScriptHelp(ScriptHost::commandList()).c_str());
        return 0;
    }
    ui::ensureApplication(opt.offscreen);
    if (!opt.profile.empty()) ui::Profile::setFile(opt.profile);
    if (!configureSettings(opt.libDir, opt.installDir, &error)) {
        std::fprintf(stderr, "vorhost: %s\n", error.c_str());
        return 2;
    }
    if (!loadTextCatalogues(gSettings.vorDir.str(), opt.lang, &error)) {
        std::fprintf(stderr, "vorhost: %s\n", error.c_str());
        return 2;
    }

    acrxInitHost();
    registerHostCommands();
    registerEditorCommandHook();
    acrxDynamicLinker()->setModulePath({QCoreApplication::applicationDirPath().toStdString()});

    auto* window = new HostWindow;
    ui::setMainWindow(window);
    acedSetMainWnd(window);
    acutSetPrintSink([window](const std::string& s) { window->print(QString::fromStdString(s)); });
    window->show();
    {
        // The sample hall when no drawing is named; a missing sample leaves the drawing empty.
        std::string drawing =
            opt.drawing.empty() ? gSettings.libDir.str() + "Drawings/Hall.dwg" : opt.drawing;
        if (!opt.drawing.empty() || base::isRegularFile(drawing)) {
            if (!cad::openDrawing(drawing, &error)) {
                std::fprintf(stderr, "vorhost: %s\n", error.c_str());
                delete window;
                return 2;
            }
            cad::curDrawing().zoomExtents();
        }
    }

    int rc = 0;
    for (const std::string& m : opt.modules) {
        if (!acrxDynamicLinker()->loadModule(m, false, &error)) {
            std::fprintf(stderr, "vorhost: cannot load module %s: %s\n", m.c_str(), error.c_str());
            acrxDynamicLinker()->unloadAll();
            return 1;
        }
    }
    window->refreshLaunchers();

    if (!opt.script.empty()) {
        std::string text;
        if (!readScript(opt.script, text, error)) {
            std::fprintf(stderr, "vorhost: %s\n", error.c_str());
            acrxDynamicLinker()->unloadAll();
            return 2;
        }
        // ${LIB} and ${INSTALL} stand for the library and installation folders (ending in '/').
        for (auto [name, value] : {std::pair<std::string, std::string>{"${LIB}", gSettings.libDir.str()},
                                   {"${INSTALL}", gSettings.vorDir.str()}})
            for (size_t at = text.find(name); at != std::string::npos;
                 at = text.find(name, at + value.size()))
                text.replace(at, name.size(), value);
        ui::ScriptedAgent agent;
        agent.setCheckFit(opt.checkFit);
        ScriptHost host(window, &agent);
        agent.setHostHandler(
            [&host](const std::vector<std::string>& w, std::string& e) { return host.handle(w, e); });
        agent.setScript(text, opt.script == "-" ? "stdin" : opt.script);
        ui::setAgent(&agent);
        for (const std::string& c : opt.commands)
            window->runCommandLine(QString::fromStdString(c));
        bool ok = agent.run();
        if (ok && !opt.shot.empty() && !ui::grabToFile(window, opt.shot, error)) {
            std::fprintf(stderr, "vorhost: %s\n", error.c_str());
            ok = false;
        }
        acrxDynamicLinker()->unloadAll();
        ui::setAgent(nullptr);
        ui::processEvents();
        std::printf("%s\n", ok ? "script passed" : "script failed");
        delete window;
        return ok ? 0 : 1;
    }

    if (ui::isOffscreen()) {
        for (const std::string& c : opt.commands)
            window->runCommandLine(QString::fromStdString(c));
        if (!opt.shot.empty() && !ui::grabToFile(window, opt.shot, error)) {
            std::fprintf(stderr, "vorhost: %s\n", error.c_str());
            rc = 1;
        }
        acrxDynamicLinker()->unloadAll();
        delete window;
        return rc;
    }

    cad::setPickServer(window->drawingView()); // a person answers picks by clicking in the view
    QTimer::singleShot(0, window, [window, &opt] {
        for (const std::string& c : opt.commands)
            window->runCommandLine(QString::fromStdString(c));
    });
    QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
    qApp->setQuitOnLastWindowClosed(true);
    rc = qApp->exec();
    acrxDynamicLinker()->unloadAll();
    if (!opt.shot.empty()) ui::grabToFile(window, opt.shot, error);
    delete window;
    return rc;
}
