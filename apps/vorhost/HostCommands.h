#pragma once
// vorhost's own drawing commands (group VORHOST), which pick as a module's commands do: ID prints a
// picked point, LIST prints a picked entity, HIGHLIGHT lights a picked entity (cancel clears every
// highlight), ERASE erases a picked entity, and VIEWFRONT, VIEWSIDE, VIEWTOP, VIEWSTANDARD and
// ZOOMEXTENTS turn and zoom the view.

/// Registers the commands (once; again does nothing).
void registerHostCommands();

/// Registers the editor-command hook: `BeginEditorCommand(dialog)` hides that dialog (when it is an
/// open dialog of the windowing layer) and `CompleteEditorCommand(dialog, true)` shows it again.
void registerEditorCommandHook();
