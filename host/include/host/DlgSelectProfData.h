#pragma once
// What the profile selection dialog starts from and gives back.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <functional>

/// Data of the profile selection dialog: the section it opens on and the one chosen.
class DlgSelectProfData {
public:
    /// The section the dialog opens on: a system name ("HEA-200") or "User Sections/<name>.dwg".
    void setInitialUnknownName(const Vor_String& name) { m_initialName = name; }
    const Vor_String& initialName() const { return m_initialName; }
    /// The chosen section: a system name, or the full path of a user section drawing.
    const Vor_String& profName() const { return m_profName; }
    void setProfName(const Vor_String& name) { m_profName = name; }

    /// The picture (path) to show for a table's type text and a system name; none when unset.
    std::function<Vor_String(const Vor_String& typeCode, const Vor_String& sysName)> m_pictureOf;

private:
    Vor_String m_initialName;
    Vor_String m_profName;
};

/// The sizes in use of table `table` whose name or key holds `filter` (without regard to case):
/// their system names and the names a person reads (the description in the current language, or
/// the key). `typeCode` gets the table's type text. False when the table cannot be read.
bool listProfSizes(const Vor_String& table, const Vor_String& filter, Vor_StringArray& sysNames,
                   Vor_StringArray& names, Vor_String* typeCode = nullptr);
