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

    SpreadControl& control() { return *ctl_; }
    /// Called once the widget sits over its placeholder: keys of the cell editor must reach the
    /// grid before the dialog's default handling (Enter would press the default button).
    void placed(ui::Control* placeholder);
    ui::Control* placeholder() const { return placeholder_; }

    /// The rectangle of a cell (the whole span for a spanned cell) in viewport coordinates; empty
    /// when it is not in view.
    QRect cellRect(int col, int row) const;
    /// The cell under a viewport point; col or row 0 for headers. False outside every cell.
    bool cellAt(QPoint p, int& col, int& row) const;
    /// Drops down the list of the combo-box cell at the active cell.
    bool dropDown();
    QLineEdit* editor() const { return editor_; }
    QComboBox* comboList() const { return combo_; }
    int topRow() const { return topRow_; }
    int leftCol() const { return leftCol_; }

    // SpreadView
    void redraw() override;
    void editorChanged() override;
    void showCell(int col, int row) override;
    SSRect clientRect() const override;
    void textSize(const std::string& text, const Font& font, double& width, double& height) const override;
    bool print(const std::string& jobName, std::string& error) override;
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

    std::unique_ptr<SpreadControl> ctl_;
    ui::Control* placeholder_ = nullptr;
    std::unique_ptr<GridScriptAccess> access_;
    QLineEdit* editor_ = nullptr;
    CellCombo* combo_ = nullptr;
    CellPos comboCell_{0, 0};
    int topRow_ = 1, leftCol_ = 1;
    bool syncing_ = false;
    bool redrawPending_ = false;
    enum class Drag { None, Cells, Cols, Rows, ResizeCol, ResizeRow } drag_ = Drag::None;
    int resizeIndex_ = 0, resizeStart_ = 0, resizeOrigin_ = 0;
    CellPos pressedButton_{0, 0};
    CellPos lastDragCell_{0, 0};
};

} // namespace sheet::control
