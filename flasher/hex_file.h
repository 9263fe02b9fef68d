// Reading a board's program file from the panel ("\Hard Disk\CAN_DRYER_P123\DI.HEX") into the
// image that the upload sends, with the line that tells the operator why a file was refused.
#pragma once

#include <string>
#include <string_view>

#include "flasher/hex_parser.h"

struct HexFileResult {
    HexReadResult read;    // ok(), the fault and its line, and the bytes read from the file
    std::wstring refusal;  // for the upload list when the file was refused, else empty

    bool ok() const { return read.ok(); }
};

// Reads the file at a panel path into the image. A file that cannot be opened, is larger than
// the text buffer or is refused by the HEX reader leaves the image blank (length 0); the board
// must then not be erased.
[[nodiscard]] HexFileResult ReadHexFile(std::wstring_view panelPath, HexImage& image);

// The file's own name, for messages: the part of the path after its last backslash.
std::wstring_view HexFileName(std::wstring_view panelPath);
