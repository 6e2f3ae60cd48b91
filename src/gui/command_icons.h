#pragma once

#include <QIcon>
#include <QImage>

namespace kelno {

// The tool-bar icon of a command (57600 new, 57601 open, 57603 save, 57643 undo, 57644 redo,
// 57635 cut, 57634 copy, 57637 paste, 57607 print, 150 options, 148 comment, 57664 about,
// 142 select, 141 wire, 143 battery, 144 bulb, 145 resistor, 140 ammeter, 147 voltmeter,
// 146 switch, 181 reveal the readings): 16 x 15 pixels, drawn anew for twice the size. A null icon
// for any other command.
QIcon CommandIcon(int commandId);

// The picture of a command's icon at `scale` (1 or 2) times 16 x 15 pixels, on a
// transparent background; a null image for a command without an icon.
QImage CommandIconImage(int commandId, int scale);

// The program's icon, for its windows and for the desktop, from 16 to 256 pixels.
QIcon ApplicationIcon();

// The program's icon as a square picture of `pixels` pixels.
QImage ApplicationIconImage(int pixels);

}  // namespace kelno
