// The unload rates in bushels per hour: what a percentage of the unload speed moves on this
// dryer, and the footnote that says what the figure is based upon. Read from the dryer image
// as the dryer reports its build (length or model, meter roll size, construction switches).
#pragma once

#include <string>

#include "dryer/link/dryer_image.h"

// One row of the capacity table of model-built dryers: the dryerLengthCodes it covers, the
// models they are, and the unload capacity in bushels per hour at 100 %.
struct UnloadCapacity {
    int firstCode, lastCode;
    const wchar_t* models;
    int bushelsPerHour;
    const wchar_t* footnote;
};

// The row of a dryerLengthCode (codes past the table belong to its last row).
const UnloadCapacity& UnloadCapacityOf(int lengthCode);

// The dryer's length in feet for a dryerLengthCode: 8 to 28 ft in steps of 2, then 34 to
// 40 ft; 0 for a code the dryer does not have.
int DryerLengthFeet(int lengthCode);

// Bushels per hour at `percent` of the unload speed on the dryer the image describes.
float UnloadBushelsPerHour(const ImageBytes& image, int percent);

// The footnote under the rates: the length basis, the capacity of the dryer's model, or none.
std::wstring UnloadRateFootnote(const ImageBytes& image);
