#pragma once

#include <QIcon>
#include <QPixmap>

namespace torvex {

// The program's pictures, drawn at run time so no image file can go missing.

// START button faces and the STOP button, 32 x 32.
QPixmap StartPlayPicture();
QPixmap StartPausePicture();
QPixmap StopPicture();

// EUT LINE lever switch, 48 x 48: lever up (line on) or down, bright or dimmed.
QPixmap LinePicture(bool bLeverUp, bool bBright);

// Output lamp, 52 x 51: red field with a high-voltage warning triangle.
QPixmap LampPicture(bool bLit);

// The splash window's picture.
QPixmap SplashPicture();

// The program icon (several sizes).
QIcon ProgramIcon();
QPixmap ProgramIconPicture(int nSize);

// Small symbols beside the groups of the condition screens, 24 x 24.
enum GROUP_PICTURE {
    GROUP_PICTURE_VOLTAGE,   // output voltage: a lightning bolt
    GROUP_PICTURE_FREQUENCY, // repetition frequency: a pulse train
    GROUP_PICTURE_TIME,      // burst and test times: a clock
    GROUP_PICTURE_COUPLING,  // output route and coupling lines: a plug
    GROUP_PICTURE_SPECIAL,   // special functions: a star
};
QPixmap GroupPicture(GROUP_PICTURE eKind);

// A folder with "LOAD" on it, for the buttons that load a file, 40 x 32.
QPixmap LoadFolderPicture();

// The toolbar's buttons, drawn on a 16 x 16 grid (at 16 and 32 pixels, for
// scaled displays).
enum TOOL_PICTURE {
    TOOL_PICTURE_NEW,    // a blank page
    TOOL_PICTURE_OPEN,   // an open folder
    TOOL_PICTURE_SAVE,   // a diskette
    TOOL_PICTURE_OUTPUT, // a worksheet: the test data written out
    TOOL_PICTURE_ABOUT,  // an "i" in a circle
};
QIcon ToolIcon(TOOL_PICTURE eKind);

} // namespace torvex
