#include "library/SectionTypeCodes.h"

#include "library/ProfSectionImages.h"

#include <host/MacroLangs.h>
#include <host/Texts.h>
#include <host/VorUtils.h>

#include <vector>

namespace {

// A header number n stands for dialString(n); n * 10 + k for dialString(n) followed by the digit k.
// texts: dialString 719-753
const std::vector<int> kProperties[] = {
    {736, 737, 738, 739, 740},                // 1 I
    {736, 737, 738, 739},                     // 2 CL
    {736, 737, 738, 739, 741, 742},           // 3 HL
    {736, 7431, 7432, 744},                   // 4 CU
    {736, 737, 738, 739, 741},                // 5 T
    {736, 737, 738, 739, 741, 742, 745, 746}, // 6 OI
    {736, 737, 738, 739, 741, 742, 745, 746}, // 7 OU
    {737, 744},                               // 8 Rect
    {747},                                    // 9 Round
    {736, 737, 744, 740},                     // 10 RectTube
    {747, 744},                               // 11 RoundTube
    {736, 737, 748, 744},                     // 12 C
    {736, 7491, 7491, 7501, 7502, 744},       // 13 Z
    {751, 744, 752},                          // 14 V
    {736, 737, 744, 753},                     // 15 O
    {736, 737, 744, 753},                     // 16 Q
    {736, 737, 738, 739, 741},                // 17 CuttedI
};
// Type 13 names both flange widths with the digit 1, as the tables made so far have them.

constexpr int kTypeNameBase = 718;

} // namespace

Vor_String sectionTypeDisplay(int code) {
    if (code < 1 || code > 17) return "<>";
    return "<" + dialString(kTypeNameBase + code) + ">";
}

Vor_StringArray sectionTypeDisplays() {
    Vor_StringArray out;
    for (int code = 1; code <= 17; ++code)
        out.append(sectionTypeDisplay(code));
    return out;
}

Vor_String sectionTypeShown(const Vor_String& typeCode) {
    if (!isProfTypeCode(typeCode)) return typeCode;
    return sectionTypeDisplay(typeCode.toInt());
}

Vor_String sectionTypeStored(const Vor_String& shown) {
    if (!isProfTypeCode(shown)) return shown;
    for (int code = 1; code <= 17; ++code)
        if (sectionTypeDisplay(code) == shown) return Vor_String(code);
    return "-1";
}

Vor_StringArray sectionPropertyHeaders(int code) {
    Vor_StringArray out;
    if (code < 1 || code > 17) return out;
    for (int n : kProperties[code - 1])
        out.append(n >= 1000 ? dialString(n / 10).append(n % 10) : dialString(n));
    return out;
}

Vor_StringArray sectionTableHeaders(const Vor_String& shownType) {
    Vor_StringArray headers{"SysName", "I/O"};
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    headers.append(langs);
    if (isProfTypeCode(shownType))
        headers.append(sectionPropertyHeaders(sectionTypeStored(shownType).toInt()));
    return headers;
}
