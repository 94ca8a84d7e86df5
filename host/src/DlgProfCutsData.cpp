#include <host/DlgProfCutsData.h>

#include <host/VorJson.h>

#include <algorithm>

const ProfCutsProfile* DlgProfCutsData::currentProfile() const {
    return current >= 0 && current < profiles.length() ? &profiles[current] : nullptr;
}

void DlgProfCutsData::getCutDescs(Vor_StringArray& descs) const {
    const ProfCutsProfile* p = currentProfile();
    descs = p ? p->cuts : Vor_StringArray();
}

bool DlgProfCutsData::removeCut(int index) {
    const ProfCutsProfile* p = currentProfile();
    if (!p || index < 0 || index >= p->cuts.length()) return false;
    profiles[current].cuts.removeAt(index);
    // The previews follow their cuts: the removed one goes, those after it move up by one.
    Vor_Array<Preview> drawn;
    for (Preview v : m_drawn) {
        if (v.profile == current && v.cut == index) continue;
        if (v.profile == current && v.cut > index) --v.cut;
        drawn.append(v);
    }
    m_drawn = std::move(drawn);
    return true;
}

bool DlgProfCutsData::drawCutPreview(int index) {
    const ProfCutsProfile* p = currentProfile();
    if (!p || index < 0 || index >= p->cuts.length()) return false;
    ++m_drawCount;
    if (!m_drawn.contains(Preview{current, index})) m_drawn.append(Preview{current, index});
    return true;
}

bool DlgProfCutsData::removeCutPreview(int index) {
    for (int i = 0; i < m_drawn.length(); ++i)
        if (m_drawn[i] == Preview{current, index}) {
            m_drawn.removeAt(i);
            ++m_removeCount;
            return true;
        }
    return false;
}

void DlgProfCutsData::removeAllCutPreviews() {
    m_removeCount += m_drawn.length();
    m_drawn.removeAll();
}

bool DlgProfCutsData::selectOtherProf() {
    if (profiles.length() < 2) return false;
    current = current >= 0 && current + 1 < profiles.length() ? current + 1 : 0;
    return true;
}

Vor_Array<int> DlgProfCutsData::drawnPreviews() const {
    Vor_Array<int> cuts;
    for (const Preview& v : m_drawn)
        if (v.profile == current) cuts.append(v.cut);
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

void to_json(nlohmann::json& j, const DlgProfCutsData& d) {
    j = {{"profiles", nlohmann::json::array()}, {"current", d.current}, {"previews", d.drawnPreviews()}};
    for (const ProfCutsProfile& p : d.profiles)
        j["profiles"].push_back({{"name", p.name}, {"cuts", p.cuts}});
}

void from_json(const nlohmann::json& j, DlgProfCutsData& d) {
    DlgProfCutsData r;
    for (const auto& p : j.value("profiles", nlohmann::json::array()))
        r.profiles.append(ProfCutsProfile{p.value("name", Vor_String()), p.value("cuts", Vor_StringArray())});
    r.current = jsonMember<int>(j, "current", 0, 0, std::max(0, r.profiles.length() - 1));
    for (const auto& i : j.value("previews", nlohmann::json::array()))
        if (!r.drawCutPreview(int(jsonInteger(i, "previews", 0, 1 << 30))))
            throw nlohmann::json::other_error::create(501, "a preview of a cut the profile does not have",
                                                      &j);
    d = std::move(r);
}
