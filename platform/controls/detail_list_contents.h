// What a list box or a list view holds, for the inspection tree: every row (also the rows
// scrolled out of sight), the column headers of a list view, the selected row and the first
// row on screen. Read on the user-interface thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform::controls {

struct ListContents {
    std::vector<std::wstring> columns;            // list views: the header texts
    std::vector<int> columnWidths;                // list views: each column's width, pixels
    std::vector<std::vector<std::wstring>> rows;  // one text per cell (one for a list box)
    int selected = -1;                            // -1: no row selected
    int top = 0;                                  // first row on screen
};

// Nothing when the window is not a list box (list view).
std::optional<ListContents> ListBoxContents(HWND wnd);
std::optional<ListContents> ListViewContents(HWND wnd);

}  // namespace platform::controls
