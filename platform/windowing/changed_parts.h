// The changed parts of the panel's screen, kept apart while they are few and far from one
// another (a blinking line and a turning fan) and joined into one beyond a handful, so that what
// is still to be shown (on the panel, or to a browser that lags) never grows beyond a few
// rectangles. Parts that overlap or touch are joined.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "platform/win_types.h"

namespace platform {

class ChangedParts {
public:
    static constexpr std::size_t kMostParts = 8;

    // The whole screen changed: what a screen not yet shown holds.
    static ChangedParts WholeScreen()
    {
        ChangedParts parts;
        parts.AddWholeScreen();
        return parts;
    }

    void Add(const RECT& area);  // clipped to the screen; an empty area is ignored
    void Add(std::span<const RECT> areas);
    void AddWholeScreen();
    bool empty() const { return parts_.empty(); }
    const std::vector<RECT>& parts() const { return parts_; }
    std::vector<RECT> Take();  // the parts, forgotten
    // The first part, forgotten (nothing when empty).
    bool TakeOne(RECT& out);

private:
    std::vector<RECT> parts_;
};

}  // namespace platform
