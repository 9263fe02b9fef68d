// The scenes panel_scenes takes pictures of: dryer images for one to six fan/heaters, the
// tower, Celsius with the sampler, a shutdown, emergency cooling, a cool-down and a lost
// connection.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"

using SceneBytes = std::array<std::uint8_t, kImageSize>;

struct Scene {
    std::string name;                        // the picture is <name>.png
    std::function<void(SceneBytes&)> build;  // writes the dryer image into zeroed bytes
    bool linkLost = false;                   // the link watchdog has run out
    bool waitForBlink = false;               // a flashing title: taken while it is on
};

// Every scene in the order the pictures are taken.
std::vector<Scene> HomePanelScenes();

// Puts the scene on the screen of the display running in this process (from a thread beside
// its message loop, on the virtual clock) and lets 1.2 s of panel time pass until the panels
// have drawn it.
void ShowScene(const Scene& scene);
