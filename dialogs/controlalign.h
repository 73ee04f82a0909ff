#pragma once
// How the controls hosted by the open dialog follow a resize of the dialog.

// bx below is the horizontal inset of the hosted controls (see TOtOpenDialog).
enum TOtDialogControlAlign {
    otdaNone = 0,        // both controls keep their design size
    otdaBottom = 1,      // the bottom control spans the dialog's width, bx in from either side
    otdaRight = 2,       // the right control reaches down to the dialog's bottom margin
    otdaBottomRight = 3, // both follow: the bottom one spans the full width, the right one
                         // stops one layout gap above it
    otdaRightBottom = 4, // both follow: the right one takes the full height, the bottom one
                         // stops bx left of it
};
