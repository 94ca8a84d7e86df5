# The macro area: the dialogs that edit parametric connection macros in the drawing, and the steps
# they share. Paths are relative to module/.
set(VOR_MACRO_SOURCES
  macro/CommitTab.h macro/CommitTab.cpp
  macro/BoltDialogRules.h macro/BoltDialogRules.cpp
  macro/EditTabRecords.h macro/EditTabRecords.cpp
  macro/ui/DlgMacroBoltAdvanced.h macro/ui/DlgMacroBoltAdvanced.cpp
  macro/ui/DlgMacroPatternProps.h macro/ui/DlgMacroPatternProps.cpp
  # profile placement, segmented profiles and arrays
  macro/KrMACallBackData.h macro/KrMACallBackData.cpp
  macro/ProfPlacement.h macro/ProfPlacement.cpp
  macro/ArrayLayout.h macro/ArrayLayout.cpp
  macro/LauncherInput.h macro/LauncherInput.cpp
  macro/ui/DlgMacroProfAdvanced.h macro/ui/DlgMacroProfAdvanced.cpp
  macro/ui/DlgMacroProfSegmented.h macro/ui/DlgMacroProfSegmented.cpp
  macro/ui/DlgArray.h macro/ui/DlgArray.cpp
  # the cuts of a macro
  macro/ui/DlgMacroCuts.h macro/ui/DlgMacroCuts.cpp
  macro/ui/DlgMacroSettings.h macro/ui/DlgMacroSettings.cpp macro/ui/DlgMacroSettingsPage.h
  macro/ui/DlgMacroSettingsAngle.h macro/ui/DlgMacroSettingsSize.h macro/ui/DlgMacroSettingsTemplate.h
  macro/ui/DlgMacroSettingsChoices.h macro/ui/DlgMacroSettingsTexts.h
  # the macro dialog, its pages and the table of the modeless ones
  macro/ui/DlgMacroPage.h
  macro/ui/DlgMacro.h macro/ui/DlgMacro.cpp
  macro/ui/DlgMacroModeless.h macro/ui/DlgMacroModeless.cpp
  # macro selection and the filtered open/save dialog
  macro/ui/DlgOpenSaveFiltered.h macro/ui/DlgOpenSaveFiltered.cpp
  # the pages of the macro dialog
  macro/ui/DesignedTabBinding.h macro/ui/DesignedTabBinding.cpp
  macro/ui/DlgMacroDesignerPage.h macro/ui/DlgMacroDesignerPage.cpp
  macro/ui/DlgMacroProfPage.h macro/ui/DlgMacroProfPage.cpp
  macro/ui/DlgSelectMacro.h macro/ui/DlgSelectMacro.cpp
  # the constraint editor
  macro/MacroSettingsHook.h
  macro/ui/DlgEditConstraintsModel.h macro/ui/DlgEditConstraintsModel.cpp
  macro/ui/DlgEditConstraintsPages.h macro/ui/DlgEditConstraintsListPage.h macro/ui/DlgEditConstraintsFlexPage.h
  macro/ui/DlgEditConstraintsVarsPage.h macro/ui/DlgEditConstraintsPalettePage.h
  macro/ui/DlgEditConstraints.h macro/ui/DlgEditConstraints.cpp
)
