// Resource ids of the pictures and the icon compiled into the executable
// (src/ui/pictures.rc). Plain macros: the resource compiler reads this file too.
#pragma once

// The application icon: the lowest icon id, so it is also the one that the
// shell shows for the executable.
#define IDI_PAVRELIN_APP 1

// The layouts' pictures, as raw image files (RCDATA).
#define IDR_PICTURE_BANNER 101
#define IDR_PICTURE_SIGNAL_BARS 102
#define IDR_PICTURE_PROGRESS 103
