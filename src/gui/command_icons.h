#pragma once

#include <QIcon>
#include <QImage>

#include "model/tool.h"

namespace kelno {

// The pictures of the tool bar, 16 x 15 pixels each, drawn anew for twice the size.
enum class Icon {
    None,
    New,
    Open,
    Save,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Print,
    Options,
    Comment,
    About,
    Select,
    Wire,
    Battery,
    Bulb,
    Resistor,
    Ammeter,
    Voltmeter,
    Switch,
    Reveal,
};

// A picture at `scale` (1 or 2) times 16 x 15 pixels, on a transparent background; a null
// image for Icon::None.
QImage IconImage(Icon icon, int scale);
// A picture at both sizes; a null icon for Icon::None.
QIcon IconAtBothSizes(Icon icon);

// The tool-bar icon of a command, as its row in the command table names it (see
// command_ids.h for the numbers). A null icon for a command without one.
QIcon CommandIcon(int commandId);
// The picture of a command's icon at `scale` (1 or 2); a null image for a command without
// an icon.
QImage CommandIconImage(int commandId, int scale);

// The picture of a tool: its command's icon.
QImage ToolIconImage(Tool tool, int scale);

// The program's icon, for its windows and for the desktop, from 16 to 256 pixels.
QIcon ApplicationIcon();

// The program's icon as a square picture of `pixels` pixels.
QImage ApplicationIconImage(int pixels);

}  // namespace kelno
