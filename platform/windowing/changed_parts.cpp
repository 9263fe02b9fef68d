// The changed parts of the screen.
#include "platform/windowing/changed_parts.h"

#include <algorithm>

#include "platform/runtime/runtime.h"

namespace platform {

namespace {

constexpr RECT kScreen{0, 0, kScreenWidth, kScreenHeight};

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Clipped(const RECT& r)
{
    return RECT{std::max(r.left, kScreen.left), std::max(r.top, kScreen.top),
                std::min(r.right, kScreen.right), std::min(r.bottom, kScreen.bottom)};
}

RECT Joined(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// Parts that overlap or touch are joined.
bool Meet(const RECT& a, const RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

void ChangedParts::Add(const RECT& area)
{
    RECT part = Clipped(area);
    if (IsEmpty(part)) return;
    for (auto it = parts_.begin(); it != parts_.end();) {
        if (!Meet(*it, part)) {
            ++it;
            continue;
        }
        part = Joined(part, *it);
        parts_.erase(it);
        it = parts_.begin();  // the joined part may now meet one passed over
    }
    parts_.push_back(part);
    if (parts_.size() > kMostParts) {
        RECT all = parts_.front();
        for (const RECT& r : parts_) all = Joined(all, r);
        parts_.assign(1, all);
    }
}

void ChangedParts::Add(std::span<const RECT> areas)
{
    for (const RECT& r : areas) Add(r);
}

void ChangedParts::AddWholeScreen()
{
    parts_.assign(1, kScreen);
}

std::vector<RECT> ChangedParts::Take()
{
    std::vector<RECT> out;
    out.swap(parts_);
    return out;
}

bool ChangedParts::TakeOne(RECT& out)
{
    if (parts_.empty()) return false;
    out = parts_.front();
    parts_.erase(parts_.begin());
    return true;
}

}  // namespace platform
