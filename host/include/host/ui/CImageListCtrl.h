#pragma once
// A list of thumbnails: a dialog's list view in icon mode showing one picture and label per item.
// Each item is named by its picture's path, which is what the owner gets back for the selection.
// A double click reaches the owning dialog as the list view's NM_DBLCLK notification.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <ui/Image.h>

#include <map>
#include <string>
#include <vector>

namespace ui {
class Control;
class Dialog;
} // namespace ui

class CImageListCtrl {
public:
    /// Takes over the list view `id` of a dialog; false when it is missing or no list view.
    bool subclassDlgItem(int id, ui::Dialog* dlg);
    /// The size the pictures are shown at.
    void setThumbnailSize(int width, int height);
    /// Shows one item per picture path with the label of the same index (the file name when there
    /// is none). The image `fallback` gives for a path (a picture drawn in memory) is shown first;
    /// else the file is read as a bitmap within the bitmap budgets; else the item shows a blank.
    void draw(const Vor_StringArray& pictures, const Vor_StringArray& labels,
              const std::map<std::string, ui::Image>& fallback = {});
    /// The picture path of the selected thumbnail, "" when none is selected.
    Vor_String selectedName() const;
    /// The picture paths and labels shown, in order.
    const Vor_StringArray& names() const { return m_names; }
    const Vor_StringArray& labels() const { return m_labels; }

private:
    ui::Control* control() const;

    ui::Dialog* m_dlg = nullptr;
    int m_id = 0;
    int m_width = 96, m_height = 96;
    Vor_StringArray m_names, m_labels;
};
