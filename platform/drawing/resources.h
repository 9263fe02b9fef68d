// Bitmap resources of a program. Each program registers a table of its bitmaps (id, size,
// caption, kind); the platform draws them as artwork, unless a file
// resources/<program>/<id>.png or <id>.bmp exists, which then takes its place.
#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "platform/win_types.h"

enum class ArtKind {
    Button,         // a raised button face with its caption
    ButtonPressed,  // the same face pressed in
    ButtonGreyed,   // the face of an unavailable function
    Picture,        // a framed picture with its caption (drawn by the painter when given)
    Blank,          // a plain fill in the art colour
};

// Draws one resource into a bitmap of its size; used for pictures the generic faces cannot
// show (dryer bodies, fans, symbols). The dc is a memory context of width x height.
using ArtPainter = void (*)(HDC dc, int width, int height, int resourceId);

struct BitmapResource {
    int id = 0;
    int width = 0;
    int height = 0;
    const wchar_t* caption = nullptr;  // the text on the face ("\n" breaks lines)
    ArtKind kind = ArtKind::Button;
    COLORREF colour = 0x00C0C0C0;  // face colour
    ArtPainter painter = nullptr;  // optional custom drawing
};

namespace platform {

// Sets the program's name (its resources folder) and its table. Call once before windows.
void RegisterBitmapResources(const std::string& program, std::span<const BitmapResource> table);
// Folder under which resources/<program>/ overrides are looked up (default: the current
// directory and the directory of the executable).
void SetResourceDirectory(const std::filesystem::path& dir);
const BitmapResource* FindBitmapResource(int id);

}  // namespace platform
