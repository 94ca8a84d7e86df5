#pragma once
// The host's main window: the drawing view, the command-line output and the command line.

#include <QMainWindow>

class DrawingView;
class QLineEdit;
class QPlainTextEdit;

class HostWindow : public QMainWindow {
public:
    HostWindow();
    /// Appends command-line output.
    void print(const QString& text);
    /// Runs what was typed at the command line.
    void runCommandLine(const QString& line);
    /// Rebuilds the launcher menu from the loaded modules.
    void refreshLaunchers();
    DrawingView* drawingView() const { return m_drawing; }

private:
    DrawingView* m_drawing;
    QPlainTextEdit* m_output;
    QLineEdit* m_input;
    QMenu* m_launchers;
};
