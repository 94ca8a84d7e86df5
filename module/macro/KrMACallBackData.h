#pragma once
// What the profile advanced dialog hands to its opener's callback: which profile group of which
// macro module it edits, the macro data it works on (owned), and the objects it was opened for.

#include <host/MacroData.h>
#include <host/MacroRecords.h>
#include <host/Vor_Array.h>
#include <host/Vor_String.h>

#include <cad/acadstd.h>

#include "frame/VorExport.h"

/// Why the profile advanced dialog calls its callback.
enum KrMACallBackType {
    kMACallBackGet = 0,  ///< the dialog starts: fill the profile data from the model
    kMACallBackSet = 1,  ///< a value changed: apply the profile data to the model, may change it
    kMACallBackHide = 2, ///< the drawing gets the focus: hide the caller's windows in the way
    kMACallBackShow = 3, ///< the drawing gives the focus back: show them again
};

/// The data every callback of the profile advanced dialog receives. Copies own their own macro
/// data, so each copy deletes only what it holds.
class VOR_EXPORT KrMACallBackData {
public:
    KrMACallBackData() = default;
    KrMACallBackData(const KrMACallBackData& other);
    KrMACallBackData& operator=(const KrMACallBackData& other);
    virtual ~KrMACallBackData();

    /// Keeps a copy of `data` when no macro data is held yet; does nothing otherwise.
    void initDataClass(const MacroData& data);
    /// The macro data held, or null.
    MacroData* macroData() const { return m_macroData; }

    Vor_String groupName;              ///< the profile group edited ("Beam")
    int number1 = 0;                   ///< carried along for the opener, not read here
    int number2 = 0;                   ///< carried along for the opener, not read here
    Vor_String moduleName;             ///< the macro module the group belongs to ("Endplate")
    Vor_Array<AcDbObjectId> objectIds; ///< the objects the dialog was opened for

private:
    MacroData* m_macroData = nullptr;
};

/// The opener's callback; its result is not used by the dialog.
using KrMACallBack = bool (*)(KrMACallBackType type, const KrMACallBackData& data, MacroProfData& props);
