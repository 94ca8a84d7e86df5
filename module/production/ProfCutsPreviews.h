#pragma once
// What the profile cuts dialog does to the drawing's previews, apart from its window: which cut is
// current, when a preview is drawn, and when previews are taken away again.
#include <host/DlgProfCutsData.h>

#include <functional>

/// Whether the profile cuts dialog draws previews that it takes away again (true at first); the
/// module keeps it from one opening to the next, and the dialog writes it back only on OK.
bool& profCutsPreviewFlag();

class ProfCutsPreviews {
public:
    /// Works on `data` (not owned) with the preview flag as the dialog got it.
    ProfCutsPreviews(DlgProfCutsData& data, bool previewFlag)
        : m_data(data)
        , m_flag(previewFlag) {}

    /// Makes cut `index` current and draws its preview; an invalid index leaves no current cut.
    void select(int index);
    /// Another cut was chosen: with the flag on the current cut's preview goes first.
    void selectionChanged(int index);
    /// The "no preview" check box: the flag is its opposite.
    void setNoPreview(bool checked) { m_flag = !checked; }
    /// Removes cut `selected` and selects the same index again (no cut when it was the last).
    void removeCut(int selected);
    /// Another profile: with the flag on every preview goes first; `pick` lets the person choose
    /// it (the dialog hides itself around it). True when the profile changed; the cut of the
    /// current index is then selected.
    bool otherProfile(const std::function<bool()>& pick);
    /// The dialog closes: with the flag on every preview goes.
    void close();

    bool flag() const { return m_flag; }
    int current() const { return m_current; }

private:
    DlgProfCutsData& m_data;
    bool m_flag;
    int m_current = -1;
};
