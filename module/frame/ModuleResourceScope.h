#pragma once
// Makes the module's resources the ones searched first for the life of a launcher call.

#include <host/ui/KrTempResourceOverride.h>

/// The module-wide resource override, set up when the library is attached.
KrTempResourceOverride& moduleResourceOverride();

/// Guard: switches resource look-up to the module on creation and back on destruction.
class ModuleResourceScope {
public:
    ModuleResourceScope() { moduleResourceOverride().SetDefaultResource(); }
    ~ModuleResourceScope() { moduleResourceOverride().RestoreOriginalResource(); }
    ModuleResourceScope(const ModuleResourceScope&) = delete;
    ModuleResourceScope& operator=(const ModuleResourceScope&) = delete;
};
