// " MOISTURE CONTROL PRINTER SETUP - 16": the moisture control printer of the dryer: printing
// the moisture control summary, enabling or disabling the printer, the grain type and the bin
// number printed with the summary.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kPrinterSetupTitle = L" MOISTURE CONTROL PRINTER SETUP - 16";
inline constexpr const wchar_t* kPrinterNotEnabledText = L"Enable printer and print summary?";
inline constexpr const wchar_t* kPrinterNotEnabledCaption = L"PRINTER IS NOT ENABLED";

inline constexpr int kPrinterSummaryGroup = 1600;
inline constexpr int kPrinterPrintSummary = 1601;
inline constexpr int kPrinterEnableGroup = 1602;
inline constexpr int kPrinterSelect = 1603;
inline constexpr int kPrinterEnabledIndicator = 1604;
inline constexpr int kPrinterDisabledIndicator = 1605;
inline constexpr int kPrinterGrainGroup = 1606;
inline constexpr int kPrinterBinGroup = 1607;
inline constexpr int kPrinterIncrease = 1608;
inline constexpr int kPrinterDecrease = 1609;
inline constexpr int kPrinterBinField = 1610;
// Grain type g (1 corn, 2 wheat, 3 soybeans, 4 rice): its button and its indicator.
constexpr int PrinterGrainButtonId(int g)
{
    return 1620 + g;
}
constexpr int PrinterGrainIndicatorId(int g)
{
    return 1630 + g;
}
inline constexpr int kGrainTypeCount = 4;

// ACCEPT / EXIT sends what changed and returns IDOK; PRINT MOISTURE CONTROL SUMMARY sends the
// print request (after enabling the printer, if the technician agrees) and returns IDOK, or
// IDCANCEL when the technician answers No.
INT_PTR OpenPrinterSetup(HWND owner);
