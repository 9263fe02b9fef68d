// Test support: does every text on the screen fit its box? Reads the inspection tree (the texts
// and pictures of each window's last paint) and names each text that
//   - was cut: part of its glyphs fell outside the box or the clip that drew it;
//   - overflows its box: its glyphs reach more than the tolerance beyond the box it was laid
//     out in (a text drawn without clipping is not cut, but still overflows);
//   - leaves its window;
//   - runs over a picture it was not meant for. A text is meant for a picture when its box lies
//     inside the picture (a reading written on the dryer picture, a caption on a button face);
//     a text whose box lies elsewhere may not touch what the picture shows with its glyphs (its
//     blank margin, the colour of its corner, may be written on).
// The tolerance (1 px) absorbs the anti-aliased edge of a glyph.
//
//   for (const std::string& p : text_fit::Problems(platform::InspectWindows())) ADD_FAILURE() << p;
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/runtime.h"

namespace text_fit {

inline constexpr int kTolerance = 1;

inline bool Inside(const RECT& inner, const RECT& outer, int tolerance = kTolerance)
{
    return inner.left >= outer.left - tolerance && inner.top >= outer.top - tolerance &&
           inner.right <= outer.right + tolerance && inner.bottom <= outer.bottom + tolerance;
}

inline std::string Describe(const RECT& r)
{
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
}

inline std::string Utf8(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\n') {
            out += "\\n";
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\u" + std::to_string(static_cast<unsigned>(c));
        }
    }
    return out;
}

// Every text of one window or control that does not fit, one line each naming `where`.
inline void AddProblems(const std::string& where, const RECT& bounds,
                        const std::vector<platform::DrawnText>& texts,
                        const std::vector<platform::DrawnPicture>& pictures,
                        std::vector<std::string>& out)
{
    for (const platform::DrawnText& t : texts) {
        const RECT& e = t.extent;
        if (e.right <= e.left || e.bottom <= e.top) continue;  // blanks only
        const std::string what = where + ": \"" + Utf8(t.text) + "\" glyphs " + Describe(e);
        if (t.cut) out.push_back(what + " are cut by box " + Describe(t.box));
        if (!Inside(e, t.box)) out.push_back(what + " overflow box " + Describe(t.box));
        if (!Inside(e, bounds)) out.push_back(what + " leave " + Describe(bounds));
        for (const platform::DrawnPicture& p : pictures) {
            if (Inside(t.box, p.rect) || !p.InkOverlaps(e, kTolerance)) continue;
            out.push_back(what + " run over picture " + Utf8(p.source) + " " + Describe(p.rect));
        }
    }
}

// Every text of one window and of its controls that does not fit.
inline std::vector<std::string> Problems(const platform::WindowInfo& w)
{
    std::vector<std::string> out;
    const std::string where =
        Utf8(w.className) + (w.title.empty() ? "" : " \"" + Utf8(w.title) + "\"");
    AddProblems(where, w.rect, w.texts, w.pictures, out);
    for (const platform::ControlInfo& c : w.controls) {
        if (!c.visible) continue;
        AddProblems(where + " control " + std::to_string(c.id), c.rect, c.texts, c.pictures, out);
    }
    return out;
}

// Every text on the screen that does not fit (all visible windows).
inline std::vector<std::string> Problems(const std::vector<platform::WindowInfo>& windows)
{
    std::vector<std::string> out;
    for (const platform::WindowInfo& w : windows) {
        for (std::string& p : Problems(w)) out.push_back(std::move(p));
    }
    return out;
}

}  // namespace text_fit
