#include "command_table.h"

#include <algorithm>
#include <array>

#include "command_ids.h"
#include "document/document.h"
#include "model/element_kind.h"

namespace kelno {

namespace {

namespace cmd = command;

constexpr CommandText kTexts[] = {
    {cmd::kFileNew, "新規作成(&N)\tCtrl+N", "新規にﾌｧｲﾙを作成", "新規ﾌｧｲﾙ"},
    {cmd::kFileOpen, "開く(&O)...\tCtrl+O", "既存のﾌｧｲﾙを開く", "開く"},
    {cmd::kFileClose, "", "作業中のﾌｧｲﾙを閉じる", "閉じる"},
    {cmd::kFileSave, "上書き保存(&S)\tCtrl+S", "作業中のﾌｧｲﾙを上書きして保存", "上書き保存"},
    {cmd::kFileSaveAs, "名前を付けて保存(&A)...", "作業中のﾌｧｲﾙを新しい名前で保存",
     "名前を付けて保存"},
    {cmd::kSaveBitmap, "ﾋﾞｯﾄﾏｯﾌﾟで保存(&B)...", "ﾋﾞｯﾄﾏｯﾌﾟで保存", "ﾋﾞｯﾄﾏｯﾌﾟ形式で画面を保存します"},
    {cmd::kSaveSvg, "SVG で保存(&G)...", "SVG で保存", "SVG 形式で画面を保存します"},
    {cmd::kPrint, "印刷(&P)...\tCtrl+P", "作業中のﾌｧｲﾙを印刷", "印刷"},
    {cmd::kPrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "ﾌﾙ ﾍﾟｰｼﾞ表示", "印刷ﾌﾟﾚﾋﾞｭｰ"},
    {cmd::kPrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)...", "ﾌﾟﾘﾝﾀおよびﾌﾟﾘﾝﾀ ｵﾌﾟｼｮﾝの変更", "印刷設定"},
    {cmd::kRecentFile1, "最新のﾌｧｲﾙ", "指定のﾌｧｲﾙを開く", ""},
    {cmd::kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示", "終了"},
    {cmd::kUndo, "元に戻す(&U)\tCtrl+Z", "直前に行った動作を元に戻す", "元に戻す"},
    {cmd::kRedo, "やり直す(&R)\tCtrl+R", "直前に行った動作を繰り返す", "やり直す"},
    {cmd::kCut, "切り取り(&T)\tCtrl+X", "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "切り取り"},
    {cmd::kCopy, "ｺﾋﾟｰ(&C)\tCtrl+C", "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "ｺﾋﾟｰ"},
    {cmd::kPaste, "貼り付け(&P)\tCtrl+V", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け", "貼り付け"},
    {cmd::kSelectAll, "すべて選択(&L)\tCtrl+A", "ﾌｧｲﾙ内のすべてを選択", "すべて選択"},
    {cmd::kGrid, "グリッド(&G)", "グリッド表示", "グリッド"},
    {cmd::kComment, "コメント(&C)", "コメント", "コメント"},
    {cmd::kZoomIn, "拡大(&I)\tCtrl++", "回路を大きく表示 (Ctrl+ﾎｲｰﾙでも)", "拡大"},
    {cmd::kZoomOut, "縮小(&D)\tCtrl+-", "回路を小さく表示", "縮小"},
    {cmd::kZoomActualSize, "実寸(&Z)\tCtrl+0", "回路を実際の大きさで表示", "実寸"},
    {cmd::kZoomToFit, "全体を表示(&E)", "回路の全体が見える大きさで表示", "全体を表示"},
    {cmd::kOptions, "ｵﾌﾟｼｮﾝ(&O)", "ｵﾌﾟｼｮﾝ", "ｵﾌﾟｼｮﾝ"},
    {cmd::kPredictMode, "予想モード(&Y)", "計器の値、電球の明るさ、電流の向きを隠して予想させる",
     "予想モード"},
    {cmd::kRevealReadings, "結果を表示(&R)\tF5", "隠している値を次の編集まで表示", "結果を表示"},
    {cmd::kShowPotentials, "電位(&P)", "接続点の電位を表示", "電位の表示"},
    {cmd::kMarkUnjoinedEnds, "つながっていない端に印(&J)",
     "近くにあるのにつながっていない端に警告の印を付ける", "つながっていない端に印"},
    {cmd::kWarnLargeCurrent, "大きな電流の警告(&W)",
     "3 A をこえる電流が流れる電池に警告の印を付ける", "大きな電流の警告"},
    {cmd::kViewToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)", "ﾂｰﾙ ﾊﾞｰの表示/非表示", "ﾂｰﾙ ﾊﾞｰの表示切り替え"},
    {cmd::kViewStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示", "ｽﾃｰﾀｽ ﾊﾞｰの表示切り替え"},
    {cmd::kSelectionTool, "選択(&S)\tEsc", "選択", "選択"},
    {cmd::kWireTool, "導線(&N)\tTab", "導線", "導線"},
    {cmd::kBatteryTool, "乾電池(&B)", "乾電池", "乾電池"},
    {cmd::kBulbTool, "電球(&L)", "電球", "電球"},
    {cmd::kResistorTool, "抵抗(&R)", "抵抗", "抵抗"},
    {cmd::kAmmeterTool, "電流計(&A)", "電流計", "電流計"},
    {cmd::kVoltmeterTool, "電圧計(&V)", "電圧計", "電圧計"},
    {cmd::kSwitchTool, "スイッチ(&W)", "スイッチ", "スイッチ"},
    {cmd::kAbout, "ﾊﾞｰｼﾞｮﾝ情報(Kelno) (&A)...", "ﾌﾟﾛｸﾞﾗﾑ情報、ﾊﾞｰｼﾞｮﾝ、著作権を表示",
     "ﾊﾞｰｼﾞｮﾝ情報"},
};

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

constexpr ContextMenuItem kContextMenu[] = {
    {cmd::kCut, "切り取り"},
    {cmd::kCopy, "ｺﾋﾟｰ"},
    {cmd::kPaste, "貼り付け"},
    {cmd::kSelectAll, "すべて選択"},
    {0, ""},
    {cmd::kSelectionTool, "選択"},
    {cmd::kWireTool, "導線"},
    {cmd::kBatteryTool, "乾電池"},
    {cmd::kBulbTool, "電球"},
    {cmd::kResistorTool, "抵抗"},
    {cmd::kAmmeterTool, "電流計"},
    {cmd::kVoltmeterTool, "電圧計"},
    {cmd::kSwitchTool, "スイッチ"},
};

struct ToolCommand {
    int command;
    int tool;
};

constexpr ToolCommand kToolCommands[] = {
    {cmd::kSelectionTool, kSelectionTool},
    {cmd::kWireTool, kWireTool},
    {cmd::kBatteryTool, KindCode(ElementKind::Battery)},
    {cmd::kBulbTool, KindCode(ElementKind::Bulb)},
    {cmd::kResistorTool, KindCode(ElementKind::Resistor)},
    {cmd::kAmmeterTool, KindCode(ElementKind::Ammeter)},
    {cmd::kVoltmeterTool, KindCode(ElementKind::Voltmeter)},
    {cmd::kSwitchTool, KindCode(ElementKind::Switch)},
};

}  // namespace

const CommandText& TextOf(int command) {
    static const CommandText kNone{};
    const auto found =
        std::find_if(std::begin(kTexts), std::end(kTexts),
                     [command](const CommandText& text) { return text.id == command; });
    return found == std::end(kTexts) ? kNone : *found;
}

std::span<const MenuPopup> MainMenu() {
    return kMainMenu;
}

std::span<const int> ToolBarButtons() {
    return kToolBar;
}

std::optional<int> ToolOfCommand(int command) {
    for (const ToolCommand& entry : kToolCommands) {
        if (entry.command == command) {
            return entry.tool;
        }
    }
    return std::nullopt;
}

int CommandOfTool(int tool) {
    for (const ToolCommand& entry : kToolCommands) {
        if (entry.tool == tool) {
            return entry.command;
        }
    }
    return 0;
}

std::span<const int> ToolCommands() {
    return kToolItems;
}

std::span<const ContextMenuItem> ContextMenu() {
    return kContextMenu;
}

}  // namespace kelno
