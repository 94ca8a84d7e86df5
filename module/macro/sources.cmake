# The macro area: the dialogs that edit parametric connection macros in the drawing, and the steps
# they share. Paths are relative to module/.
set(VOR_MACRO_SOURCES
  macro/CommitTab.h macro/CommitTab.cpp
  macro/BoltDialogRules.h macro/BoltDialogRules.cpp
  macro/EditTabRecords.h macro/EditTabRecords.cpp
  macro/ui/DlgMacroBoltAdvanced.h macro/ui/DlgMacroBoltAdvanced.cpp
  macro/ui/DlgMacroPatternProps.h macro/ui/DlgMacroPatternProps.cpp
)
