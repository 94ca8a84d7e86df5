#pragma once
// Entry messages, the system registry and the dynamic linker of the CAD host.

#include <cad/acadstd.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace AcRx {
/// Messages the host sends to a module's entry point.
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,   ///< the module was loaded
    kUnloadAppMsg = 2, ///< the module is about to go
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
    kSuspendMsg = 16,
};
/// What an entry point answers.
enum AppRetCode { kRetOK = 0, kRetError = 3 };
} // namespace AcRx

/// The entry point every module exports as "acrxEntryPoint".
using AcRxEntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode msg, void* appId);
/// The version answer a module exports as "acrxGetApiVersion".
using AcRxGetApiVersionFn = int (*)();
/// The API version the host speaks.
constexpr int kAcadApiVersion = 16;

/// A registered object of the system registry.
class AcRxObject {
public:
    virtual ~AcRxObject() = default;
};

/// The host's dynamic linker: loads modules from shared libraries and sends them their messages.
class AcRxDynamicLinker : public AcRxObject {
public:
    /// Loads "lib<name>.so" (or a path) from the module folder and sends kInitAppMsg.
    /// On failure returns false and sets `error` (the file, and why).
    bool loadModule(const std::string& name, bool printit, std::string* error = nullptr);
    /// Sends kUnloadAppMsg and closes the library; false if it was not loaded or is locked. A module
    /// whose code is still running stays loaded, and the command line says why: one of its commands
    /// is in progress, or it answered kUnloadAppMsg with kRetError (it still has windows open).
    bool unloadModule(const std::string& name, bool printit, std::string* error = nullptr);
    bool isLoaded(const std::string& name) const;
    std::vector<std::string> loadedModules() const;
    /// A symbol exported by a loaded module, or null.
    void* moduleSymbol(const std::string& module, const std::string& symbol) const;
    /// Sends a message to every loaded module.
    void sendToAll(AcRx::AppMsgCode msg);

    bool unlockApplication(void* appId);
    bool lockApplication(void* appId);
    bool isApplicationLocked(const std::string& name) const;
    bool registerAppMDIAware(void* appId);
    bool isAppMDIAware(const std::string& name) const;

    /// Folders searched for modules, in order (the host's own folder by default).
    void setModulePath(std::vector<std::string> folders) { m_path = std::move(folders); }
    const std::vector<std::string>& modulePath() const { return m_path; }

    /// Unloads everything, newest first (when the host closes); a module that refuses stays loaded.
    void unloadAll();
    /// The loaded module whose code holds `address` (a function of it), or "" when none does.
    std::string moduleOfAddress(const void* address) const;

    ~AcRxDynamicLinker() override;

private:
    struct Module {
        std::string name;
        std::string file;
        void* handle = nullptr;
        AcRxEntryPointFn entry = nullptr;
        const void* base = nullptr; ///< where the library is mapped, to tell its code from others'
        bool locked = true;
        bool mdiAware = false;
    };
    Module* find(const std::string& name);
    const Module* find(const std::string& name) const;
    Module* byAppId(void* appId);
    std::vector<std::unique_ptr<Module>> m_modules;
    std::vector<std::string> m_path;
};

/// The dictionary of named host objects ("DynamicLinker", "ACAD_REGISTERED_COMMANDS").
class AcRxDictionary {
public:
    AcRxObject* at(const std::string& key) const;
    void atPut(const std::string& key, AcRxObject* object); ///< not owned
    void remove(const std::string& key);

private:
    std::map<std::string, AcRxObject*> m_items;
};

AcRxDictionary* acrxSysRegistry();
AcRxDynamicLinker* acrxDynamicLinker();
