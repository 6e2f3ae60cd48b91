#include "command_table.h"

#include <algorithm>
#include <vector>

#include "command_ids.h"

namespace kelno {

namespace {

namespace cmd = command;

// --- Enabling rules ------------------------------------------------------------------------

bool CanUndo(const CommandState& s) {
    return s.canUndo;
}
bool CanRedo(const CommandState& s) {
    return s.canRedo;
}
bool CanCut(const CommandState& s) {
    return s.canCut;
}
bool CanCopy(const CommandState& s) {
    return s.canCopy;
}
bool CanPaste(const CommandState& s) {
    return s.canPaste;
}
bool ReadingsHidden(const CommandState& s) {
    return s.readingsHidden;
}

// --- Check marks ---------------------------------------------------------------------------

template <Tool kTool>
bool ToolChosen(const CommandState& s) {
    return s.tool == kTool;
}
bool GridShown(const CommandState& s) {
    return s.showGrid;
}
bool PredictMode(const CommandState& s) {
    return s.predictMode;
}
bool PotentialsShown(const CommandState& s) {
    return s.showPotentials;
}
bool UnjoinedEndsMarked(const CommandState& s) {
    return s.markUnjoinedEnds;
}
bool LargeCurrentWarned(const CommandState& s) {
    return s.warnLargeCurrent;
}

QKeySequence Key(QKeyCombination key) {
    return QKeySequence(key);
}

constexpr auto kCtrl = Qt::CTRL;

const std::vector<Command>& Table() {
    static const std::vector<Command> kCommands = {
        // File
        {.id = cmd::kFileNew,
         .menuText = "新規作成(&N)",
         .prompt = "新規にﾌｧｲﾙを作成",
         .tip = "新規ﾌｧｲﾙ",
         .keys = {Key(kCtrl | Qt::Key_N)},
         .icon = Icon::New},
        {.id = cmd::kFileOpen,
         .menuText = "開く(&O)...",
         .prompt = "既存のﾌｧｲﾙを開く",
         .tip = "開く",
         .keys = {Key(kCtrl | Qt::Key_O)},
         .icon = Icon::Open},
        {.id = cmd::kFileClose,
         .menuText = "",
         .prompt = "作業中のﾌｧｲﾙを閉じる",
         .tip = "閉じる",
         .keys = {Key(kCtrl | Qt::Key_Q)}},
        {.id = cmd::kFileSave,
         .menuText = "上書き保存(&S)",
         .prompt = "作業中のﾌｧｲﾙを上書きして保存",
         .tip = "上書き保存",
         .keys = {Key(kCtrl | Qt::Key_S)},
         .icon = Icon::Save},
        {.id = cmd::kFileSaveAs,
         .menuText = "名前を付けて保存(&A)...",
         .prompt = "作業中のﾌｧｲﾙを新しい名前で保存",
         .tip = "名前を付けて保存"},
        {.id = cmd::kSaveBitmap,
         .menuText = "ﾋﾞｯﾄﾏｯﾌﾟで保存(&B)...",
         .prompt = "ﾋﾞｯﾄﾏｯﾌﾟで保存",
         .tip = "ﾋﾞｯﾄﾏｯﾌﾟ形式で画面を保存します"},
        {.id = cmd::kSaveSvg,
         .menuText = "SVG で保存(&G)...",
         .prompt = "SVG で保存",
         .tip = "SVG 形式で画面を保存します"},
        {.id = cmd::kPrint,
         .menuText = "印刷(&P)...",
         .prompt = "作業中のﾌｧｲﾙを印刷",
         .tip = "印刷",
         .keys = {Key(kCtrl | Qt::Key_P)},
         .icon = Icon::Print},
        {.id = cmd::kPrintPreview,
         .menuText = "印刷ﾌﾟﾚﾋﾞｭｰ(&V)",
         .prompt = "ﾌﾙ ﾍﾟｰｼﾞ表示",
         .tip = "印刷ﾌﾟﾚﾋﾞｭｰ"},
        {.id = cmd::kPrintSetup,
         .menuText = "ﾌﾟﾘﾝﾀの設定(&R)...",
         .prompt = "ﾌﾟﾘﾝﾀおよびﾌﾟﾘﾝﾀ ｵﾌﾟｼｮﾝの変更",
         .tip = "印刷設定"},
        {.id = cmd::kRecentFile1,
         .menuText = "最新のﾌｧｲﾙ",
         .prompt = "指定のﾌｧｲﾙを開く",
         .tip = ""},
        {.id = cmd::kExit,
         .menuText = "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)",
         .prompt = "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示",
         .tip = "終了"},
        // Edit
        {.id = cmd::kUndo,
         .menuText = "元に戻す(&U)",
         .prompt = "直前に行った動作を元に戻す",
         .tip = "元に戻す",
         .keys = {Key(kCtrl | Qt::Key_Z)},
         .icon = Icon::Undo,
         .enabled = CanUndo},
        // The menu says Ctrl+R for redo; Ctrl+Y works as well.
        {.id = cmd::kRedo,
         .menuText = "やり直す(&R)",
         .prompt = "直前に行った動作を繰り返す",
         .tip = "やり直す",
         .keys = {Key(kCtrl | Qt::Key_R), Key(kCtrl | Qt::Key_Y)},
         .icon = Icon::Redo,
         .enabled = CanRedo},
        {.id = cmd::kCut,
         .menuText = "切り取り(&T)",
         .prompt = "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存",
         .tip = "切り取り",
         .keys = {Key(kCtrl | Qt::Key_X), QKeySequence(Qt::Key_Delete)},
         .icon = Icon::Cut,
         .enabled = CanCut,
         .contextText = "切り取り"},
        {.id = cmd::kCopy,
         .menuText = "ｺﾋﾟｰ(&C)",
         .prompt = "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存",
         .tip = "ｺﾋﾟｰ",
         .keys = {Key(kCtrl | Qt::Key_C)},
         .icon = Icon::Copy,
         .enabled = CanCopy,
         .contextText = "ｺﾋﾟｰ"},
        {.id = cmd::kPaste,
         .menuText = "貼り付け(&P)",
         .prompt = "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け",
         .tip = "貼り付け",
         .keys = {Key(kCtrl | Qt::Key_V)},
         .icon = Icon::Paste,
         .enabled = CanPaste,
         .contextText = "貼り付け"},
        {.id = cmd::kSelectAll,
         .menuText = "すべて選択(&L)",
         .prompt = "ﾌｧｲﾙ内のすべてを選択",
         .tip = "すべて選択",
         .keys = {Key(kCtrl | Qt::Key_A)},
         .contextText = "すべて選択"},
        // View
        {.id = cmd::kGrid,
         .menuText = "グリッド(&G)",
         .prompt = "グリッド表示",
         .tip = "グリッド",
         .checkable = true,
         .checked = GridShown},
        {.id = cmd::kComment,
         .menuText = "コメント(&C)",
         .prompt = "コメント",
         .tip = "コメント",
         .icon = Icon::Comment},
        {.id = cmd::kOptions,
         .menuText = "ｵﾌﾟｼｮﾝ(&O)",
         .prompt = "ｵﾌﾟｼｮﾝ",
         .tip = "ｵﾌﾟｼｮﾝ",
         .icon = Icon::Options},
        // Where "+" needs shift, Ctrl and the key that carries it zoom in as well.
        {.id = cmd::kZoomIn,
         .menuText = "拡大(&I)",
         .prompt = "回路を大きく表示 (Ctrl+ﾎｲｰﾙでも)",
         .tip = "拡大",
         .keys = {Key(kCtrl | Qt::Key_Plus), Key(kCtrl | Qt::Key_Equal),
                  Key(kCtrl | Qt::SHIFT | Qt::Key_Semicolon)}},
        {.id = cmd::kZoomOut,
         .menuText = "縮小(&D)",
         .prompt = "回路を小さく表示",
         .tip = "縮小",
         .keys = {Key(kCtrl | Qt::Key_Minus)}},
        {.id = cmd::kZoomActualSize,
         .menuText = "実寸(&Z)",
         .prompt = "回路を実際の大きさで表示",
         .tip = "実寸",
         .keys = {Key(kCtrl | Qt::Key_0)}},
        {.id = cmd::kZoomToFit,
         .menuText = "全体を表示(&E)",
         .prompt = "回路の全体が見える大きさで表示",
         .tip = "全体を表示"},
        {.id = cmd::kPredictMode,
         .menuText = "予想モード(&Y)",
         .prompt = "計器の値、電球の明るさ、電流の向きを隠して予想させる",
         .tip = "予想モード",
         .checkable = true,
         .checked = PredictMode},
        {.id = cmd::kRevealReadings,
         .menuText = "結果を表示(&R)",
         .prompt = "隠している値を次の編集まで表示",
         .tip = "結果を表示",
         .keys = {QKeySequence(Qt::Key_F5)},
         .icon = Icon::Reveal,
         .enabled = ReadingsHidden},
        {.id = cmd::kShowPotentials,
         .menuText = "電位(&P)",
         .prompt = "接続点の電位を表示",
         .tip = "電位の表示",
         .checkable = true,
         .checked = PotentialsShown},
        {.id = cmd::kMarkUnjoinedEnds,
         .menuText = "つながっていない端に印(&J)",
         .prompt = "近くにあるのにつながっていない端に警告の印を付ける",
         .tip = "つながっていない端に印",
         .checkable = true,
         .checked = UnjoinedEndsMarked},
        {.id = cmd::kWarnLargeCurrent,
         .menuText = "大きな電流の警告(&W)",
         .prompt = "3 A をこえる電流が流れる電池に警告の印を付ける",
         .tip = "大きな電流の警告",
         .checkable = true,
         .checked = LargeCurrentWarned},
        // The window keeps the check marks of its bars itself.
        {.id = cmd::kViewToolBar,
         .menuText = "ﾂｰﾙ ﾊﾞｰ(&T)",
         .prompt = "ﾂｰﾙ ﾊﾞｰの表示/非表示",
         .tip = "ﾂｰﾙ ﾊﾞｰの表示切り替え",
         .checkable = true},
        {.id = cmd::kViewStatusBar,
         .menuText = "ｽﾃｰﾀｽ ﾊﾞｰ(&S)",
         .prompt = "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示",
         .tip = "ｽﾃｰﾀｽ ﾊﾞｰの表示切り替え",
         .checkable = true},
        // Tools
        {.id = cmd::kSelectionTool,
         .menuText = "選択(&S)",
         .prompt = "選択",
         .tip = "選択",
         .keys = {QKeySequence(Qt::Key_Escape)},
         .icon = Icon::Select,
         .checkable = true,
         .checked = ToolChosen<Tool::Selection>,
         .contextText = "選択"},
        {.id = cmd::kWireTool,
         .menuText = "導線(&N)",
         .prompt = "導線",
         .tip = "導線",
         .keys = {QKeySequence(Qt::Key_Tab)},
         .icon = Icon::Wire,
         .checkable = true,
         .checked = ToolChosen<Tool::Wire>,
         .contextText = "導線"},
        {.id = cmd::kBatteryTool,
         .menuText = "乾電池(&B)",
         .prompt = "乾電池",
         .tip = "乾電池",
         .icon = Icon::Battery,
         .checkable = true,
         .checked = ToolChosen<Tool::Battery>,
         .contextText = "乾電池"},
        {.id = cmd::kBulbTool,
         .menuText = "電球(&L)",
         .prompt = "電球",
         .tip = "電球",
         .icon = Icon::Bulb,
         .checkable = true,
         .checked = ToolChosen<Tool::Bulb>,
         .contextText = "電球"},
        {.id = cmd::kResistorTool,
         .menuText = "抵抗(&R)",
         .prompt = "抵抗",
         .tip = "抵抗",
         .icon = Icon::Resistor,
         .checkable = true,
         .checked = ToolChosen<Tool::Resistor>,
         .contextText = "抵抗"},
        {.id = cmd::kAmmeterTool,
         .menuText = "電流計(&A)",
         .prompt = "電流計",
         .tip = "電流計",
         .icon = Icon::Ammeter,
         .checkable = true,
         .checked = ToolChosen<Tool::Ammeter>,
         .contextText = "電流計"},
        {.id = cmd::kVoltmeterTool,
         .menuText = "電圧計(&V)",
         .prompt = "電圧計",
         .tip = "電圧計",
         .icon = Icon::Voltmeter,
         .checkable = true,
         .checked = ToolChosen<Tool::Voltmeter>,
         .contextText = "電圧計"},
        {.id = cmd::kSwitchTool,
         .menuText = "スイッチ(&W)",
         .prompt = "スイッチ",
         .tip = "スイッチ",
         .icon = Icon::Switch,
         .checkable = true,
         .checked = ToolChosen<Tool::Switch>,
         .contextText = "スイッチ"},
        // Help
        {.id = cmd::kAbout,
         .menuText = "ﾊﾞｰｼﾞｮﾝ情報(Kelno) (&A)...",
         .prompt = "ﾌﾟﾛｸﾞﾗﾑ情報、ﾊﾞｰｼﾞｮﾝ、著作権を表示",
         .tip = "ﾊﾞｰｼﾞｮﾝ情報",
         .icon = Icon::About},
    };
    return kCommands;
}

constexpr int kFileItems[] = {cmd::kFileNew,
                              cmd::kFileOpen,
                              cmd::kFileSave,
                              cmd::kFileSaveAs,
                              cmd::kSaveBitmap,
                              cmd::kSaveSvg,
                              0,
                              cmd::kPrint,
                              cmd::kPrintPreview,
                              cmd::kPrintSetup,
                              0,
                              cmd::kRecentFile1,
                              0,
                              cmd::kExit};
constexpr int kEditItems[] = {cmd::kUndo, cmd::kRedo,  0, cmd::kCut,
                              cmd::kCopy, cmd::kPaste, 0, cmd::kSelectAll};
constexpr int kViewItems[] = {cmd::kGrid,
                              cmd::kComment,
                              cmd::kOptions,
                              0,
                              cmd::kZoomIn,
                              cmd::kZoomOut,
                              cmd::kZoomActualSize,
                              cmd::kZoomToFit,
                              0,
                              cmd::kPredictMode,
                              cmd::kRevealReadings,
                              cmd::kShowPotentials,
                              cmd::kMarkUnjoinedEnds,
                              cmd::kWarnLargeCurrent,
                              0,
                              cmd::kViewToolBar,
                              cmd::kViewStatusBar};
constexpr int kToolItems[] = {cmd::kSelectionTool, cmd::kWireTool,     cmd::kBatteryTool,
                              cmd::kBulbTool,      cmd::kResistorTool, cmd::kAmmeterTool,
                              cmd::kVoltmeterTool, cmd::kSwitchTool};
constexpr int kHelpItems[] = {cmd::kAbout};

constexpr MenuPopup kMainMenu[] = {
    {"ﾌｧｲﾙ(&F)", kFileItems}, {"編集(&E)", kEditItems}, {"表示(&V)", kViewItems},
    {"作成(&M)", kToolItems}, {"ﾍﾙﾌﾟ(&H)", kHelpItems},
};

constexpr int kToolBar[] = {
    cmd::kFileNew,
    cmd::kFileOpen,
    cmd::kFileSave,
    0,
    cmd::kUndo,
    cmd::kRedo,
    cmd::kCut,
    cmd::kCopy,
    cmd::kPaste,
    0,
    cmd::kPrint,
    cmd::kOptions,
    cmd::kComment,
    cmd::kAbout,
    0,
    cmd::kSelectionTool,
    cmd::kWireTool,
    cmd::kBatteryTool,
    cmd::kBulbTool,
    cmd::kResistorTool,
    cmd::kAmmeterTool,
    cmd::kVoltmeterTool,
    cmd::kSwitchTool,
    0,
    cmd::kRevealReadings,
};

constexpr int kContextMenu[] = {
    cmd::kCut,
    cmd::kCopy,
    cmd::kPaste,
    cmd::kSelectAll,
    0,
    cmd::kSelectionTool,
    cmd::kWireTool,
    cmd::kBatteryTool,
    cmd::kBulbTool,
    cmd::kResistorTool,
    cmd::kAmmeterTool,
    cmd::kVoltmeterTool,
    cmd::kSwitchTool,
};

// Hot spots of the cursors: the tip of the pointer drawn over the tool's picture.
const ToolRow kTools[] = {
    {Tool::Selection, cmd::kSelectionTool, std::nullopt},
    {Tool::Wire, cmd::kWireTool, QPoint(1, 2)},
    {Tool::Battery, cmd::kBatteryTool, QPoint(2, 1)},
    {Tool::Bulb, cmd::kBulbTool, QPoint(1, 1)},
    {Tool::Resistor, cmd::kResistorTool, QPoint(3, 2)},
    {Tool::Ammeter, cmd::kAmmeterTool, QPoint(1, 1)},
    {Tool::Voltmeter, cmd::kVoltmeterTool, QPoint(0, 2)},
    {Tool::Switch, cmd::kSwitchTool, QPoint(1, 0)},
};

}  // namespace

std::span<const Command> Commands() {
    return Table();
}

const Command* FindCommand(int id) {
    const std::vector<Command>& table = Table();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [id](const Command& command) { return command.id == id; });
    return found == table.end() ? nullptr : &*found;
}

// Always "Ctrl", whatever the platform or the language, as the menus have always said it.
QString MenuTextOf(const Command& command) {
    QString text = QString::fromUtf8(command.menuText);
    if (!text.isEmpty() && !command.keys.isEmpty()) {
        text += QLatin1Char('\t') + command.keys.front().toString(QKeySequence::PortableText);
    }
    return text;
}

std::span<const MenuPopup> MainMenu() {
    return kMainMenu;
}

std::span<const int> ToolBarButtons() {
    return kToolBar;
}

std::span<const int> ContextMenu() {
    return kContextMenu;
}

std::span<const ToolRow> ToolTable() {
    return kTools;
}

const ToolRow& RowOfTool(Tool tool) {
    const auto found = std::find_if(std::begin(kTools), std::end(kTools),
                                    [tool](const ToolRow& row) { return row.tool == tool; });
    return found != std::end(kTools) ? *found : kTools[0];
}

std::optional<Tool> ToolOfCommand(int command) {
    for (const ToolRow& row : kTools) {
        if (row.command == command) {
            return row.tool;
        }
    }
    return std::nullopt;
}

}  // namespace kelno
