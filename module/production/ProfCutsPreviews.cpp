#include "production/ProfCutsPreviews.h"

bool& profCutsPreviewFlag() {
    static bool flag = true;
    return flag;
}

void ProfCutsPreviews::select(int index) {
    Vor_StringArray cuts;
    m_data.getCutDescs(cuts);
    if (index < 0 || index >= cuts.length()) {
        m_current = -1;
        return;
    }
    m_current = index;
    m_data.drawCutPreview(index);
}

void ProfCutsPreviews::selectionChanged(int index) {
    if (m_flag && m_current >= 0) m_data.removeCutPreview(m_current);
    select(index);
}

void ProfCutsPreviews::removeCut(int selected) {
    if (m_flag && m_current >= 0) m_data.removeCutPreview(m_current);
    m_data.removeCut(selected);
    select(selected);
}

bool ProfCutsPreviews::otherProfile(const std::function<bool()>& pick) {
    if (m_flag) m_data.removeAllCutPreviews();
    if (!pick()) return false;
    select(m_current);
    return true;
}

void ProfCutsPreviews::close() {
    if (m_flag) m_data.removeAllCutPreviews();
}
