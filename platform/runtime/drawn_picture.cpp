// The pictures of the inspection tree: where a picture is blank and where it shows something.
#include <algorithm>

#include "platform/runtime/runtime.h"

namespace platform {

namespace {

// The screen columns a picture row shows something in, as a half-open span; empty when blank.
bool InkSpan(const DrawnPicture& p, LONG y, LONG& left, LONG& right)
{
    const LONG row = y - p.inkOrigin.y;
    if (row < 0 || row >= static_cast<LONG>(p.ink->size())) return false;
    const DrawnPicture::InkRow& r = (*p.ink)[static_cast<std::size_t>(row)];
    if (r.first > r.last) return false;
    left = std::max<LONG>(p.inkOrigin.x + r.first, p.rect.left);
    right = std::min<LONG>(p.inkOrigin.x + r.last + 1, p.rect.right);
    return left < right;
}

}  // namespace

RECT DrawnPicture::InkBox() const
{
    if (!ink) return rect;
    RECT box{};
    bool any = false;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        LONG left = 0;
        LONG right = 0;
        if (!InkSpan(*this, y, left, right)) continue;
        box = any ? RECT{std::min(box.left, left), box.top, std::max(box.right, right), y + 1}
                  : RECT{left, y, right, y + 1};
        any = true;
    }
    return box;
}

bool DrawnPicture::InkOverlaps(const RECT& area, int margin) const
{
    const LONG top = std::max(area.top, rect.top);
    const LONG bottom = std::min(area.bottom, rect.bottom);
    if (!ink) {
        const LONG across = std::min(area.right, rect.right) - std::max(area.left, rect.left);
        return across > margin && bottom - top > margin;
    }
    int rows = 0;  // rows in which the picture reaches into the area by more than the margin
    for (LONG y = top; y < bottom; ++y) {
        LONG left = 0;
        LONG right = 0;
        if (!InkSpan(*this, y, left, right)) continue;
        if (std::min(area.right, right) - std::max(area.left, left) > margin) ++rows;
    }
    return rows > margin;
}

}  // namespace platform
