// Control ids and texts of the view menu.
#pragma once

inline constexpr int kViewChartButton = 0x9022;
inline constexpr int kViewGraphButton = 0x9021;
inline constexpr int kViewManualsButton = 0x901F;
inline constexpr int kViewHistoryButton = 0x9025;
inline constexpr int kViewSystemInfoButton = 0x9028;
inline constexpr int kViewSoftwareInfoButton = 0x9083;
inline constexpr int kViewExitButton = 0x9020;

inline constexpr const wchar_t* kGraphRefusal = L"Graph is not available in Batch Drying.";
inline constexpr const wchar_t* kChartRefusal = L"Status Chart is not available in Batch Drying.";
inline constexpr const wchar_t* kRefusalCaption = L" REQUESTED FUNCTION NOT PERMITTED";
