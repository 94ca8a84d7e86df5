#include "HostWindow.h"

#include "DrawingView.h"
#include "ModuleCalls.h"

#include <cad/aced.h>
#include <host/Texts.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// The window's own texts, in the language of the loaded catalogues.
QString text(int n) {
    return QString::fromStdString(string(n).str());
}

} // namespace

HostWindow::HostWindow() {
    setWindowTitle("vorhost");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_drawing = new DrawingView(central);
    m_drawing->setAccessibleName(text(10200));
    auto* drawing = m_drawing;
    m_output = new QPlainTextEdit(central);
    m_output->setReadOnly(true);
    m_output->setMaximumBlockCount(5000);
    m_output->setFont(QFont("DejaVu Sans Mono", 9));
    m_input = new QLineEdit(central);
    m_input->setPlaceholderText(text(10201));
    m_input->setFont(QFont("DejaVu Sans Mono", 9));
    auto* split = new QSplitter(Qt::Vertical, central);
    split->addWidget(drawing);
    split->addWidget(m_output);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split);
    layout->addWidget(m_input);
    setCentralWidget(central);
    resize(900, 600);
    m_launchers = menuBar()->addMenu(text(10202));
    connect(m_input, &QLineEdit::returnPressed, this, [this] {
        QString line = m_input->text();
        m_input->clear();
        runCommandLine(line);
    });
    print("Command: ");
}

void HostWindow::print(const QString& text) {
    m_output->moveCursor(QTextCursor::End);
    m_output->insertPlainText(text);
    m_output->verticalScrollBar()->setValue(m_output->verticalScrollBar()->maximum());
}

void HostWindow::runCommandLine(const QString& line) {
    QString name = line.trimmed();
    acutPrintf("%s\n", name.toUtf8().constData());
    if (name.isEmpty()) return;
    if (!acedRegCmds()->run(name.toUtf8().constData()))
        acutPrintf("Unknown command \"%s\".  Press F1 for help.\n", name.toUtf8().constData());
    acutPrintf("Command: ");
}

void HostWindow::refreshLaunchers() {
    m_launchers->clear();
    for (const std::string& n : launcherNames()) {
        QAction* a = m_launchers->addAction(QString::fromStdString(n));
        connect(a, &QAction::triggered, this, [this, n] {
            std::string result, error;
            if (callLauncher(n, launcherSample(n), result, error))
                acutPrintf("%s: %s\n", n.c_str(), result.c_str());
            else
                acutPrintf("%s: %s\n", n.c_str(), error.c_str());
        });
    }
}
