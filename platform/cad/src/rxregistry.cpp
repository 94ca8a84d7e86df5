// The dynamic linker, the system registry, the command stack and the command line.

#include <cad/Drawing.h>
#include <cad/aced.h>
#include <cad/rxregistry.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <strings.h>

namespace {

AcRxDictionary g_registry;
AcRxDynamicLinker g_linker;
AcEdCommandStack g_commands;
std::string g_printed;
std::function<void(const std::string&)> g_sink;
int g_prompts = 0;
int g_updates = 0;
void* g_mainWnd = nullptr;

bool ieq(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string moduleName(const std::string& nameOrPath) {
    std::string base = std::filesystem::path(nameOrPath).filename().string();
    if (base.rfind("lib", 0) == 0 && base.size() > 6 && base.substr(base.size() - 3) == ".so")
        return base.substr(3, base.size() - 6);
    return base;
}

} // namespace

void acrxInitHost() {
    if (!g_registry.at("DynamicLinker")) g_registry.atPut("DynamicLinker", &g_linker);
    if (!g_registry.at("ACAD_REGISTERED_COMMANDS")) g_registry.atPut("ACAD_REGISTERED_COMMANDS", &g_commands);
}

AcRxDictionary* acrxSysRegistry() {
    acrxInitHost();
    return &g_registry;
}

AcRxDynamicLinker* acrxDynamicLinker() {
    return &g_linker;
}

AcRxObject* AcRxDictionary::at(const std::string& key) const {
    auto it = m_items.find(key);
    return it == m_items.end() ? nullptr : it->second;
}

void AcRxDictionary::atPut(const std::string& key, AcRxObject* object) {
    m_items[key] = object;
}
void AcRxDictionary::remove(const std::string& key) {
    m_items.erase(key);
}

// ---- dynamic linker

AcRxDynamicLinker::~AcRxDynamicLinker() {
    // Libraries are not closed at process exit: their static objects may still be in use.
}

AcRxDynamicLinker::Module* AcRxDynamicLinker::find(const std::string& name) {
    std::string n = moduleName(name);
    for (auto& m : m_modules)
        if (ieq(m->name, n)) return m.get();
    return nullptr;
}

const AcRxDynamicLinker::Module* AcRxDynamicLinker::find(const std::string& name) const {
    return const_cast<AcRxDynamicLinker*>(this)->find(name);
}

AcRxDynamicLinker::Module* AcRxDynamicLinker::byAppId(void* appId) {
    for (auto& m : m_modules)
        if (m.get() == appId) return m.get();
    return nullptr;
}

bool AcRxDynamicLinker::loadModule(const std::string& name, bool printit, std::string* error) {
    acrxInitHost();
    auto failWith = [&](const std::string& why) {
        if (error) *error = why;
        if (printit) acutPrintf("Load failed: %s\n", why.c_str());
        return false;
    };
    if (name.empty()) return failWith("no module name given");
    if (find(name)) return failWith("module \"" + moduleName(name) + "\" is already loaded");
    std::vector<std::string> candidates;
    if (name.find('/') != std::string::npos) {
        candidates.push_back(name);
    } else {
        std::string file =
            name.size() > 3 && name.substr(name.size() - 3) == ".so" ? name : "lib" + name + ".so";
        for (const auto& folder : m_path)
            candidates.push_back((std::filesystem::path(folder) / file).string());
        if (m_path.empty()) candidates.push_back(file);
    }
    std::string tried;
    for (const auto& path : candidates) {
        if (name.find('/') == std::string::npos && !m_path.empty() && !std::filesystem::exists(path)) {
            tried += (tried.empty() ? "" : ", ") + path;
            continue;
        }
        void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!h) return failWith(std::string(dlerror()));
        auto entry = reinterpret_cast<AcRxEntryPointFn>(dlsym(h, "acrxEntryPoint"));
        auto version = reinterpret_cast<AcRxGetApiVersionFn>(dlsym(h, "acrxGetApiVersion"));
        if (!entry || !version) {
            dlclose(h);
            return failWith(path +
                            " is not a module: it does not export acrxEntryPoint and acrxGetApiVersion");
        }
        if (version() != kAcadApiVersion) {
            dlclose(h);
            return failWith(path + " was built for API version " + std::to_string(version()) +
                            ", the host speaks " + std::to_string(kAcadApiVersion));
        }
        auto m = std::make_unique<Module>();
        m->name = moduleName(path);
        m->file = path;
        m->handle = h;
        m->entry = entry;
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(entry), &info)) m->base = info.dli_fbase;
        Module* mod = m.get();
        m_modules.push_back(std::move(m));
        if (mod->entry(AcRx::kInitAppMsg, mod) != AcRx::kRetOK) {
            m_modules.pop_back();
            dlclose(h);
            return failWith(path + " refused to initialise");
        }
        if (printit) acutPrintf("Module %s loaded.\n", mod->name.c_str());
        return true;
    }
    return failWith("module \"" + name + "\" not found (looked for " + tried + ")");
}

bool AcRxDynamicLinker::unloadModule(const std::string& name, bool printit, std::string* error) {
    Module* m = find(name);
    if (!m) {
        if (error) *error = "module \"" + name + "\" is not loaded";
        return false;
    }
    if (m->locked) {
        if (error) *error = "module \"" + m->name + "\" is locked and cannot be unloaded";
        return false;
    }
    // Closing a library whose code is on the stack, or whose windows are still open, takes the host
    // down with it. Such a module stays loaded, and the command line always says why, since the
    // person who asked for the unload would otherwise not know that it did not happen.
    auto refuse = [&](const std::string& why) {
        std::string text = "module \"" + m->name + "\" cannot be unloaded: " + why;
        if (error) *error = text;
        acutPrintf("Unload failed: %s\n", text.c_str());
        return false;
    };
    for (const AcEdCommand& c : acedRegCmds()->activeCommands())
        if (ieq(moduleOfAddress(reinterpret_cast<const void*>(c.function)), m->name))
            return refuse("its command " + c.globalName + " is in progress");
    if (m->entry(AcRx::kUnloadAppMsg, m) != AcRx::kRetOK)
        return refuse("it is still in use (close its windows first)");
    void* h = m->handle;
    std::string n = m->name;
    m_modules.erase(
        std::remove_if(m_modules.begin(), m_modules.end(), [&](const auto& x) { return x.get() == m; }),
        m_modules.end());
    dlclose(h);
    if (printit) acutPrintf("Module %s unloaded.\n", n.c_str());
    return true;
}

std::string AcRxDynamicLinker::moduleOfAddress(const void* address) const {
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fbase) return {};
    for (const auto& m : m_modules)
        if (m->base == info.dli_fbase) return m->name;
    return {};
}

bool AcRxDynamicLinker::isLoaded(const std::string& name) const {
    return find(name) != nullptr;
}

std::vector<std::string> AcRxDynamicLinker::loadedModules() const {
    std::vector<std::string> names;
    for (const auto& m : m_modules)
        names.push_back(m->name);
    return names;
}

void* AcRxDynamicLinker::moduleSymbol(const std::string& module, const std::string& symbol) const {
    const Module* m = find(module);
    return m ? dlsym(m->handle, symbol.c_str()) : nullptr;
}

void AcRxDynamicLinker::sendToAll(AcRx::AppMsgCode msg) {
    for (auto& m : m_modules)
        m->entry(msg, m.get());
}

bool AcRxDynamicLinker::unlockApplication(void* appId) {
    Module* m = byAppId(appId);
    if (!m) return false;
    m->locked = false;
    return true;
}

bool AcRxDynamicLinker::lockApplication(void* appId) {
    Module* m = byAppId(appId);
    if (!m) return false;
    m->locked = true;
    return true;
}

bool AcRxDynamicLinker::isApplicationLocked(const std::string& name) const {
    const Module* m = find(name);
    return m && m->locked;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) {
    Module* m = byAppId(appId);
    if (!m) return false;
    m->mdiAware = true;
    return true;
}

bool AcRxDynamicLinker::isAppMDIAware(const std::string& name) const {
    const Module* m = find(name);
    return m && m->mdiAware;
}

void AcRxDynamicLinker::unloadAll() {
    std::vector<std::string> names;
    for (auto it = m_modules.rbegin(); it != m_modules.rend(); ++it)
        names.push_back((*it)->name);
    for (const std::string& n : names) {
        if (Module* m = find(n)) m->locked = false;
        unloadModule(n, false);
    }
}

// ---- command stack

AcEdCommandStack* acedRegCmds() {
    return static_cast<AcEdCommandStack*>(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* group, const char* globalName,
                                               const char* localName, int flags, AcRxFunctionPtr function,
                                               void*, int functionCode, void*, AcEdCommand** cmdPtr) {
    if (!group || !globalName || !*globalName || !function) return Acad::eInvalidInput;
    for (const auto& c : m_commands)
        if (ieq(c.group, group) && ieq(c.globalName, globalName)) return Acad::eDuplicateKey;
    m_commands.push_back(
        {group, globalName, localName ? localName : globalName, flags, function, functionCode});
    if (cmdPtr) *cmdPtr = &m_commands.back();
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* group) {
    auto before = m_commands.size();
    m_commands.erase(std::remove_if(m_commands.begin(), m_commands.end(),
                                    [&](const AcEdCommand& c) { return ieq(c.group, group); }),
                     m_commands.end());
    return m_commands.size() == before ? Acad::eKeyNotFound : Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const char* group, const char* globalName) {
    auto before = m_commands.size();
    m_commands.erase(std::remove_if(m_commands.begin(), m_commands.end(),
                                    [&](const AcEdCommand& c) {
                                        return ieq(c.group, group) && ieq(c.globalName, globalName);
                                    }),
                     m_commands.end());
    return m_commands.size() == before ? Acad::eKeyNotFound : Acad::eOk;
}

const AcEdCommand* AcEdCommandStack::lookupCmd(const char* name, const char* group) const {
    // the newest registration wins, as a command stack does
    for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
        if ((!group || ieq(it->group, group)) && (ieq(it->globalName, name) || ieq(it->localName, name)))
            return &*it;
    return nullptr;
}

bool AcEdCommandStack::hasGroup(const char* group) const {
    return std::any_of(m_commands.begin(), m_commands.end(),
                       [&](const AcEdCommand& c) { return ieq(c.group, group); });
}

bool AcEdCommandStack::run(const char* name) {
    const AcEdCommand* c = lookupCmd(name);
    if (!c) return false;
    // A copy: the command may unload its own group. The entry stays on the list of commands in
    // progress until the command returns, also when it leaves by an exception.
    AcRxFunctionPtr f = c->function;
    m_active.push_back(*c);
    struct Pop {
        std::vector<AcEdCommand>& active;
        ~Pop() { active.pop_back(); }
    } pop{m_active};
    f();
    return true;
}

// ---- command line

int acutPrintf(const char* format, ...) {
    char small[1024];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (n < 0) {
        va_end(copy);
        return n;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        text.assign(small, static_cast<size_t>(n));
    } else {
        text.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, copy);
        text.resize(static_cast<size_t>(n));
    }
    va_end(copy);
    g_printed += text;
    if (g_sink) g_sink(text);
    return n;
}

void acutSetPrintSink(std::function<void(const std::string&)> sink) {
    g_sink = std::move(sink);
}
const std::string& acutPrintedText() {
    return g_printed;
}
void acutClearPrintedText() {
    g_printed.clear();
}

void acedPostCommandPrompt() {
    ++g_prompts;
    acutPrintf("\nCommand: ");
}
int acedPostCommandPromptCount() {
    return g_prompts;
}
void acedUpdateDisplay() {
    ++g_updates;
    cad::curDrawing().updateDisplay();
}
int acedUpdateDisplayCount() {
    return g_updates;
}
void* adsw_acadMainWnd() {
    return g_mainWnd;
}
void acedSetMainWnd(void* window) {
    g_mainWnd = window;
}
