#pragma once
// The grid widget: draws the visible part of a SpreadControl and turns mouse and keys into its
// user actions. Scrolling goes by whole rows and columns, so a frame costs the same for a
// hundred rows as for a million.

#include <sheet/SpreadControl.h>

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include <memory>
#include <vector>

namespace ui {
class Control;
}

namespace sheet::control {

class GridScriptAccess;

/// A combo box whose list reports when it closes, so the grid can hide it again.
class CellCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    void hidePopup() override;
};

class GridWidget : public QAbstractScrollArea, public SpreadView {
public:
    explicit GridWidget(QWidget* parent = nullptr);
    ~GridWidget() override;

    SpreadControl& control() { return *m_ctl; }
    /// Called once the widget sits over its placeholder: keys of the cell editor must reach the
    /// grid before the dialog's default handling (Enter would press the default button).
    void placed(ui::Control* placeholder);
    ui::Control* placeholder() const { return m_placeholder; }

    /// The rectangle of a cell (the whole span for a spanned cell) in viewport coordinates; empty
    /// when it is not in view.
    QRect cellRect(int col, int row) const;
    /// The cell under a viewport point; col or row 0 for headers. False outside every cell.
    bool cellAt(QPoint p, int& col, int& row) const;
    /// Drops down the list of the combo-box cell at the active cell.
    bool dropDown();
    QLineEdit* editor() const { return m_editor; }
    QComboBox* comboList() const { return m_combo; }
    int topRow() const { return m_topRow; }
    int leftCol() const { return m_leftCol; }

    // SpreadView
    void redraw() override;
    void editorChanged() override;
    void showCell(int col, int row) override;
    SSRect clientRect() const override;
    void textSize(const std::string& text, const Font& font, double& width, double& height) const override;
    double wrappedTextHeight(const std::string& text, const Font& font, int width) const override;
    bool print(const std::string& jobName, std::string& error) override;
    bool printTo(const PrintTarget& target, const std::string& jobName, std::string& error) override;
    void editRefused(const std::string& reason) override;
    void setClipboardText(const std::string& text) override;
    std::string clipboardText() const override;

    QSize sizeHint() const override;

protected:
    bool viewportEvent(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct Band {
        int index;
        int pos;
        int size;
    };
    void layoutBands(std::vector<Band>& cols, std::vector<Band>& rows) const;
    int headerWidth() const;
    int headerHeight() const;
    void updateScrollBars();
    int lastPageStart(bool rows) const;
    void paintCell(QPainter& p, int col, int row, const QRect& r, bool selected);
    void paintHeader(QPainter& p, int col, int row, const QRect& r, bool highlighted);
    bool editorKey(QKeyEvent* e);
    bool actionKey(QKeyEvent* e, int action) const;
    int spanStart(int index, int anchor, int first, int pos, bool cols) const;
    /// Which header edge is near a point: a column (`column` true) or row index, or -1.
    int edgeAt(QPoint p, bool& column) const;

    std::unique_ptr<SpreadControl> m_ctl;
    ui::Control* m_placeholder = nullptr;
    std::unique_ptr<GridScriptAccess> m_access;
    QLineEdit* m_editor = nullptr;
    CellCombo* m_combo = nullptr;
    CellPos m_comboCell{0, 0};
    int m_topRow = 1, m_leftCol = 1;
    bool m_syncing = false;
    bool m_redrawPending = false;
    enum class Drag { None, Cells, Cols, Rows, ResizeCol, ResizeRow } m_drag = Drag::None;
    int m_resizeIndex = 0, m_resizeStart = 0, m_resizeOrigin = 0;
    CellPos m_pressedButton{0, 0};
    CellPos m_lastDragCell{0, 0};
};

} // namespace sheet::control
