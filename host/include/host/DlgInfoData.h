#pragma once
// The content of an information report: two caption texts (the window's title and the label above
// the lines) and the lines to show.
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

struct DlgInfoData {
    Vor_String caption;   ///< window title
    Vor_String closeText; ///< text of the close button
    Vor_StringArray lines;
};
