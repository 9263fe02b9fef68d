// How a screen edits the dryer's settings: it takes a working copy of a field from the image
// into DesiredSettings, changes it, and raises the field's flag when the copy differs from what
// the dryer reports; the link then sends it until the dryer echoes it.
#pragma once

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"

// A screen's working copy of a field as it opens: each element as the dryer reports it, unless
// a change of that element is still on its way (its flag is set); the screen then shows the
// change, and the copy does not send the old value back over it.
inline void TakeWorkingCopy(ImageField field)
{
    for (int k = 0; k < field.count(); ++k) {
        const ImageField element = field.Element(k);
        if (!PendingCommand.IsSet(element.pending)) CopyField(DryerImage, DesiredSettings, element);
    }
}

// Raises the flag of each element of a field whose working copy differs from what the dryer
// reports; an element the dryer already shows is not sent. A flag already raised stays raised.
inline void SendIfChanged(ImageField field)
{
    for (int k = 0; k < field.count(); ++k) {
        const ImageField element = field.Element(k);
        for (std::size_t i = element.offset; i < element.end(); ++i) {
            if (DesiredSettings[i] != DryerImage[i]) {
                PendingCommand.Set(element.pending);
                break;
            }
        }
    }
}
