#pragma once
// A control of a dialog: one class for every kind, so that dialog code reads as it does on the
// classic platform (item(id)->setCurSel(2)).

#include <ui/ControlKind.h>
#include <ui/Window.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class Dialog;
class Painter;

/// A control of a dialog, reached by its id. Operations that do not fit the control's kind do nothing.
class Control : public Window {
public:
    Control(Dialog* owner, int id, ControlKind kind, QWidget* widget);
    ~Control() override;

    int id() const { return m_id; }
    ControlKind kind() const { return m_kind; }
    Dialog* owner() const { return m_owner; }
    bool hasStyle(const std::string& style) const;

    // text of statics, buttons, edits and the edit part of combo boxes
    void setText(const std::string& text) { setWindowText(text); }
    std::string text() const { return windowText(); }

    // buttons
    int checkState() const; ///< BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    void setCheck(int state);
    void setImage(const Image& image);
    bool isDefaultButton() const;
    /// Check boxes: whether clicks pass through the indeterminate state too.
    void setTriState(bool triState);
    bool isTriState() const;

    // edits
    void setSel(int start, int end); ///< end -1 selects to the end
    std::pair<int, int> getSel() const;
    void replaceSel(const std::string& text);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    /// Most characters a single-line edit (or a combo's edit part) takes; 0 lifts the limit.
    void setLimitText(int maxChars);
    /// The limit set by code, 0 when there is none (the default).
    int limitText() const;
    bool isMultiLine() const;

    // combo boxes and list boxes
    int addString(const std::string& text);
    int addString(const std::string& text, const Image& image); ///< picture lists
    int insertString(int index, const std::string& text);
    int deleteString(int index);
    void resetContent();
    int count() const;
    int curSel() const;       ///< -1 for none
    int setCurSel(int index); ///< -1 clears; returns -1 (CB_ERR) for a bad index
    std::string itemText(int index) const;
    int findStringExact(const std::string& text, int startAfter = -1) const;
    int selectString(const std::string& text); ///< first item starting with text, case-insensitive
    void setItemData(int index, std::intptr_t data);
    std::intptr_t itemData(int index) const;
    bool isSelected(int index) const; ///< multi-selection list boxes
    void setSelected(int index, bool selected);
    std::vector<int> selectedIndexes() const;
    bool itemChecked(int index) const; ///< check combos
    void setItemChecked(int index, bool checked);
    /// Runs `fill` (items added, checked, removed) with a check combo's shown text made once at the
    /// end rather than after every item, which costs the square of the items in a long list.
    void fillAtOnce(const std::function<void()>& fill);
    void setDroppedWidth(int pixels);

    // tab control
    int insertTab(int index, const std::string& text);
    int curTab() const { return curSel(); }
    void setCurTab(int index) { setCurSel(index); }
    /// Where a page of the tab control goes: the control's rectangle below its row of tabs, inset
    /// from its frame, in the owner dialog's client coordinates. Empty for other kinds of control.
    Rect displayArea() const;

    // list view
    void setImageSize(Size size);
    int insertColumn(int index, const std::string& heading, int width);
    int insertItem(int index, const std::string& text, const Image& image = Image());
    void setItemText(int index, int column, const std::string& text);
    std::string itemText(int index, int column) const;
    void ensureVisible(int index);

    // slider and progress
    void setRange(int low, int high);
    void setPos(int pos);
    int pos() const;

    /// Places a foreign view (grid, preview) over this placeholder, filling it; the control owns it.
    void embed(QWidget* view);
    QWidget* embedded() const { return m_embedded; }

    /// Lets mouse events pass through to the dialog (a designed control in the designer).
    void setMouseTransparent(bool transparent);

    /// Paint and mouse hooks for custom views (placeholders, pictures).
    void setPaintHandler(std::function<void(Painter&)> paint);
    void setMouseHandler(std::function<bool(const MouseEvent&)> mouse);

    // used by the windowing layer
    void notify(int code);
    bool silent() const { return m_silent > 0; }
    struct Silence {
        explicit Silence(Control& c)
            : c(c) {
            ++c.m_silent;
        }
        ~Silence() { --c.m_silent; }
        Control& c;
    };
    std::vector<std::string> styles;
    std::function<void(Painter&)> paintHandler;
    std::function<bool(const MouseEvent&)> mouseHandler;

private:
    Dialog* m_owner;
    int m_id;
    ControlKind m_kind;
    int m_silent = 0;
    QWidget* m_embedded = nullptr;
    std::map<int, std::intptr_t> m_itemData;
};

} // namespace ui
