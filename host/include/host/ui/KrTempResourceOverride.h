#pragma once
// Switches the resource set that dialog templates, menus and pictures are looked up in first to a
// module's own set for the length of a call into that module, and back afterwards.

#include <string>
#include <vector>

/// A module's resource switch: one per module, remembering the module's resource set. Switches nest:
/// each RestoreOriginalResource undoes the latest SetDefaultResource, so a launcher called from inside
/// another module's dialog hands the look-up back exactly as it found it.
class KrTempResourceOverride {
public:
    KrTempResourceOverride() = default;
    /// Undoes switches still open, so that an unloaded module's set is not left in front.
    ~KrTempResourceOverride();
    KrTempResourceOverride(const KrTempResourceOverride&) = delete;
    KrTempResourceOverride& operator=(const KrTempResourceOverride&) = delete;

    /// Remembers the module's resource set (the name it was registered with in ui::Resources).
    void SaveDefaultResource(const std::string& setName);
    /// Makes the module's set the one searched first, remembering the set that was; without a
    /// remembered set the look-up stays as it is (but the switch still counts, to be restored).
    void SetDefaultResource();
    /// Makes current again the set that was current before the latest SetDefaultResource; false
    /// (and nothing changed) when there is no switch to undo.
    bool RestoreOriginalResource();

    /// The remembered module set, "" before SaveDefaultResource.
    const std::string& defaultResource() const { return m_default; }
    /// Number of switches not yet restored.
    int depth() const { return static_cast<int>(m_previous.size()); }

private:
    std::string m_default;
    std::vector<std::string> m_previous; ///< the set current before each open switch, oldest first
};
