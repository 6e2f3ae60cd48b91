#pragma once

// The numbers of the editor's commands. Files written by other copies of the program never
// hold them, but the rows of the command table are keyed by them, and they keep the menus,
// the tool bar, the context menu and the key bindings pointing at the same commands.
namespace kelno::command {

inline constexpr int kAmmeterTool = 140;
inline constexpr int kWireTool = 141;
inline constexpr int kSelectionTool = 142;
inline constexpr int kBatteryTool = 143;
inline constexpr int kBulbTool = 144;
inline constexpr int kResistorTool = 145;
inline constexpr int kSwitchTool = 146;
inline constexpr int kVoltmeterTool = 147;
inline constexpr int kComment = 148;
inline constexpr int kGrid = 149;
inline constexpr int kOptions = 150;
inline constexpr int kSaveBitmap = 170;
// The classroom's commands, which the original program never had.
inline constexpr int kSaveSvg = 171;
inline constexpr int kPredictMode = 180;
inline constexpr int kRevealReadings = 181;
inline constexpr int kShowPotentials = 182;
inline constexpr int kMarkUnjoinedEnds = 183;
inline constexpr int kWarnLargeCurrent = 184;
inline constexpr int kZoomIn = 185;
inline constexpr int kZoomOut = 186;
inline constexpr int kZoomActualSize = 187;
inline constexpr int kZoomToFit = 188;

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintDirect = 57608;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kRecentFile1 = 57616;  // to 57619
inline constexpr int kCopy = 57634;
inline constexpr int kCut = 57635;
inline constexpr int kPaste = 57637;
inline constexpr int kSelectAll = 57642;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kViewToolBar = 59392;
inline constexpr int kViewStatusBar = 59393;

}  // namespace kelno::command
