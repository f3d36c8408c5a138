#include "toolkit/win32/fonts.h"

#include "toolkit/win32/text.h"

#include <array>
#include <map>
#include <string>

namespace toolkit::win32 {
namespace {

struct Search {
    std::wstring found;
    bool fixedPitch = false;
};

// The first face found, or a fixed-pitch one as the named Gothic is, where there is one.
int CALLBACK anyFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM search) noexcept {
    // Faces for vertical writing are named after their horizontal face with an '@' before.
    if (font->lfFaceName[0] == L'@')
        return 1;
    auto& s = *reinterpret_cast<Search*>(search);
    const bool fixedPitch = (font->lfPitchAndFamily & 0x3) == FIXED_PITCH;
    try {
        if (s.found.empty() || (fixedPitch && !s.fixedPitch)) {
            s.found = font->lfFaceName;
            s.fixedPitch = fixedPitch;
        }
    } catch (...) {
        return 0;
    }
    return fixedPitch ? 0 : 1;
}

// The first installed face of these that has the character set, or any face that has it.
std::wstring installedFace(std::wstring_view wanted, BYTE charset) {
    const std::array<std::wstring, 3> candidates{std::wstring(wanted), L"MS Gothic", L""};
    const ScreenDc screen(GetDC(nullptr));
    std::wstring face(wanted);
    for (const std::wstring& candidate : candidates) {
        LOGFONTW query{};
        query.lfCharSet = charset;
        candidate.copy(query.lfFaceName, LF_FACESIZE - 1);
        Search search;
        EnumFontFamiliesExW(screen.get(), &query, anyFace, reinterpret_cast<LPARAM>(&search), 0);
        if (!search.found.empty()) {
            face = search.found;
            break;
        }
    }
    return face;
}

} // namespace

FontHandle definitionFont(const forms::Font& font, UINT dpi) {
    // Looked up once a run for each face: the fonts are made anew at every change of DPI.
    static std::map<std::string_view, std::wstring> faces;
    auto [face, added] = faces.try_emplace(font.family);
    if (added)
        face->second = installedFace(widen(font.family), SHIFTJIS_CHARSET);

    LOGFONTW logFont{};
    logFont.lfHeight = -MulDiv(font.pointSize, static_cast<int>(dpi), 72);
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    logFont.lfQuality = DEFAULT_QUALITY;
    face->second.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectW(&logFont));
}

FontHandle messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return FontHandle(CreateFontW(-MulDiv(9, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, 0,
                                      0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI"));
    return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
}

} // namespace toolkit::win32
