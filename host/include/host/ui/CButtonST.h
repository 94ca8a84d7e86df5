#pragma once
// A dialog button that shows a picture (an icon or bitmap resource, or a picture file) and a tool tip.

#include <host/Vor_String.h>

#include <ui/Image.h>
#include <ui/Types.h>

namespace ui {
class Control;
class Dialog;
} // namespace ui

/// Works a dialog's push button, check box or radio button as a picture button: picture, tool tip,
/// check state and the flat look. A button with a text shows the picture beside it; a picture-only
/// button (BS_ICON, BS_BITMAP) shows the picture alone.
class CButtonST {
public:
    CButtonST() = default;
    CButtonST(const CButtonST&) = delete;
    CButtonST& operator=(const CButtonST&) = delete;

    /// Takes over the button `id` of a dialog; false (nothing attached) when it is missing or no button.
    bool subclassDlgItem(int id, ui::Dialog* dlg);
    /// The button while its dialog's window exists, else null.
    ui::Control* control() const;

    /// The numbered ICON resource of the current resource look-up as the picture; false, and the
    /// picture unchanged, when there is no such resource or nothing is attached.
    bool setIcon(int iconId);
    /// The numbered BITMAP resource as the picture.
    bool setBitmaps(int bitmapId);
    /// The numbered BITMAP resource with every pixel of `transparent` see-through.
    bool setBitmaps(int bitmapId, ui::ColorRef transparent);
    /// A picture file with every pixel of `transparent` see-through; false (picture unchanged) when
    /// the file cannot be read.
    bool setBitmapFromFile(const Vor_String& path, ui::ColorRef transparent);
    /// Any picture; false for an empty one.
    bool setImage(const ui::Image& image);
    /// The picture shown (empty before one was set).
    const ui::Image& image() const { return m_image; }

    void setTooltipText(const Vor_String& tip);
    Vor_String getTooltipText() const;

    /// Flat buttons show their frame only under the mouse.
    void setFlat(bool flat) { m_flat = flat; }
    bool isFlat() const { return m_flat; }

    /// Check state for check-box and push-like buttons: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    void setCheck(int state);
    int getCheck() const;

private:
    bool apply(ui::Image image);

    ui::Dialog* m_dlg = nullptr;
    int m_id = 0;
    ui::Image m_image;
    bool m_flat = true;
};
