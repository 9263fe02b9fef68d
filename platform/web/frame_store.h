// The panel's picture as the browser view keeps it. The user-interface thread copies each
// present's changed parts into the store under a short lock and goes on; the server thread
// takes the changes out into its own copy and encodes from there, so the panel's drawing never
// waits for the network.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/runtime/runtime.h"
#include "platform/win_types.h"
#include "platform/windowing/changed_parts.h"

namespace platform::web {

// The whole 640 x 480 panel, one 32-bit word per panel pixel (0x00RRGGBB).
struct PanelPicture {
    std::vector<std::uint32_t> pixels =
        std::vector<std::uint32_t>(std::size_t{kScreenWidth} * kScreenHeight, 0);

    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(x)];
    }
};

class FrameStore {
public:
    // User-interface thread, after a present: copies `parts` (panel pixels) from the composed
    // screen, which may be drawn at a paint scale above 1. True when these are the first
    // changes since the server last took them (it then needs a wake-up).
    bool Publish(cairo_surface_t* screen, std::span<const RECT> parts);
    // Server thread: brings `picture` up to date and returns the parts that changed, each cut
    // to the box of the pixels that differ from `picture` (a part painted again unchanged is
    // left out).
    std::vector<RECT> TakeChanges(PanelPicture& picture);

private:
    std::mutex mu_;
    PanelPicture picture_;
    ChangedParts changed_;
};

// One part of the picture as a PNG file's bytes; empty when it could not be written.
std::string EncodePng(const PanelPicture& picture, const RECT& part);
// One picture update as a viewer receives it: the part's x, y, width and height as 16-bit
// little-endian numbers, then the part as PNG; empty when it could not be written.
std::string UpdateMessage(const PanelPicture& picture, const RECT& part);

}  // namespace platform::web
