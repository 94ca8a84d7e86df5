#pragma once
// The cuts of a profile in the drawing, as the profile cuts dialog edits them. The drawing is the
// host's: this stand-in keeps which cut previews are drawn, and the profiles a pick can choose.
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

/// A profile of the drawing and the descriptions of its cuts.
struct ProfCutsProfile {
    Vor_String name;
    Vor_StringArray cuts;
    bool operator==(const ProfCutsProfile& o) const = default;
};

class DlgProfCutsData {
public:
    DlgProfCutsData() = default;
    virtual ~DlgProfCutsData() = default;
    DlgProfCutsData(const DlgProfCutsData&) = default;
    DlgProfCutsData& operator=(const DlgProfCutsData&) = default;

    /// The descriptions of the current profile's cuts.
    void getCutDescs(Vor_StringArray& descs) const;
    /// Removes cut `index` of the current profile (and its preview); false for a bad index.
    bool removeCut(int index);
    /// Draws the preview of cut `index`; false for a bad index. Drawing it twice draws it once.
    bool drawCutPreview(int index);
    /// Removes the preview of cut `index`; false when it is not drawn.
    bool removeCutPreview(int index);
    /// Removes every preview.
    void removeAllCutPreviews();
    /// Lets the person pick another profile in the drawing: the stand-in's pick takes the next
    /// profile of the drawing. False, nothing changed, when the drawing has no other profile.
    /// Previews drawn on the profile left stay drawn.
    bool selectOtherProf();

    /// Cuts of the current profile whose previews are drawn, in ascending order.
    Vor_Array<int> drawnPreviews() const;
    /// Previews drawn on every profile of the drawing.
    int drawnPreviewCount() const { return m_drawn.length(); }
    /// How often a preview was drawn or removed, for checks on what reached the drawing.
    int previewDrawCount() const { return m_drawCount; }
    int previewRemoveCount() const { return m_removeCount; }

    /// The profiles of the drawing and which one is current (its cuts are the ones edited).
    Vor_Array<ProfCutsProfile> profiles;
    int current = 0;

    bool operator==(const DlgProfCutsData& o) const = default;

private:
    const ProfCutsProfile* currentProfile() const;
    struct Preview {
        int profile;
        int cut;
        bool operator==(const Preview& o) const = default;
    };
    Vor_Array<Preview> m_drawn;
    int m_drawCount = 0;
    int m_removeCount = 0;
};

/// {"profiles": [{"name", "cuts": [...]}, ...], "current": N, "previews": [...]} (the previews of
/// the current profile).
void to_json(nlohmann::json& j, const DlgProfCutsData& d);
void from_json(const nlohmann::json& j, DlgProfCutsData& d);
