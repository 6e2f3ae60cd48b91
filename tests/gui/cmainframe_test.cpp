#include "cmainframe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusTipEvent>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <vector>

#include "ckelnoview.h"
#include "command_ids.h"
#include "gui/window_fixture.h"

namespace kelno {
namespace {

using testing::WindowTest;

// What a menu or tool bar shows: every visible entry's text, "—" for a separator.
QStringList Entries(const QList<QAction*>& actions) {
    QStringList entries;
    for (const QAction* action : actions) {
        if (action->isVisible()) {
            entries << (action->isSeparator() ? QStringLiteral("—") : action->text());
        }
    }
    return entries;
}

TEST_F(WindowTest, MainMenuHasItsPopupsAndItemsInOrder) {
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"ﾌｧｲﾙ(&F)",
         {"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "上書き保存(&S)\tCtrl+S",
          "名前を付けて保存(&A)...", "ﾋﾞｯﾄﾏｯﾌﾟで保存(&B)...", "SVG で保存(&G)...", "—",
          "印刷(&P)...\tCtrl+P", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "ﾌﾟﾘﾝﾀの設定(&R)...", "—", "最新のﾌｧｲﾙ", "—",
          "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}},
        {"編集(&E)",
         {"元に戻す(&U)\tCtrl+Z", "やり直す(&R)\tCtrl+R", "—", "切り取り(&T)\tCtrl+X",
          "ｺﾋﾟｰ(&C)\tCtrl+C", "貼り付け(&P)\tCtrl+V", "—", "すべて選択(&L)\tCtrl+A"}},
        {"表示(&V)",
         {"グリッド(&G)", "コメント(&C)", "ｵﾌﾟｼｮﾝ(&O)", "—", "拡大(&I)\tCtrl++", "縮小(&D)\tCtrl+-",
          "実寸(&Z)\tCtrl+0", "全体を表示(&E)", "—", "予想モード(&Y)", "結果を表示(&R)\tF5",
          "電位(&P)", "つながっていない端に印(&J)", "大きな電流の警告(&W)", "—", "ﾂｰﾙ ﾊﾞｰ(&T)",
          "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"}},
        {"作成(&M)",
         {"選択(&S)\tEsc", "導線(&N)\tTab", "乾電池(&B)", "電球(&L)", "抵抗(&R)", "電流計(&A)",
          "電圧計(&V)", "スイッチ(&W)"}},
        {"ﾍﾙﾌﾟ(&H)", {"ﾊﾞｰｼﾞｮﾝ情報(Kelno) (&A)..."}},
    };
    const QList<QAction*> popups = frame().menuBar()->actions();
    ASSERT_EQ(popups.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QAction* popup = popups[static_cast<qsizetype>(i)];
        EXPECT_EQ(popup->text(), expected[i].first);
        ASSERT_NE(popup->menu(), nullptr);
        EXPECT_EQ(Entries(popup->menu()->actions()), expected[i].second) << i;
    }
    EXPECT_FALSE(command(command::kRecentFile1)->isEnabled());
}

TEST_F(WindowTest, ToolBarHasItsButtonsAndSeparatorsInOrderWithTipsAndPrompts) {
    namespace cmd = command;
    const std::vector<int> expected = {
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
    std::vector<int> shown;
    for (const QAction* action : frame().toolBar()->actions()) {
        shown.push_back(action->isSeparator() ? 0 : action->data().toInt());
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(command(cmd::kBatteryTool)->toolTip(), QStringLiteral("乾電池"));
    EXPECT_EQ(command(cmd::kBatteryTool)->statusTip(), QStringLiteral("乾電池"));
    EXPECT_EQ(command(cmd::kGrid)->statusTip(), QStringLiteral("グリッド表示"));
}

TEST_F(WindowTest, MessageComesBackAfterACommandsPromptHasCoveredIt) {
    frame().SetMessageText(QStringLiteral("電球: 5.0 Ω"));
    QStatusTipEvent hover(QStringLiteral("直前に行った動作を元に戻す"));
    QApplication::sendEvent(&frame(), &hover);
    EXPECT_EQ(frame().messageText(), QStringLiteral("直前に行った動作を元に戻す"));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&frame(), &leave);
    EXPECT_EQ(frame().messageText(), QStringLiteral("電球: 5.0 Ω"));
    frame().SetMessageText(QString());
    QApplication::sendEvent(&frame(), &hover);
    QApplication::sendEvent(&frame(), &leave);
    EXPECT_EQ(frame().messageText(), QStringLiteral("ﾚﾃﾞｨ"));
}

TEST_F(WindowTest, StatusBarShowsReadyAndTheFourIndicators) {
    EXPECT_EQ(frame().messageText(), QStringLiteral("ﾚﾃﾞｨ"));
    QStringList indicators;
    for (const QLabel* label : frame().statusBar()->findChildren<QLabel*>()) {
        indicators << label->text();
    }
    // The empty pane after the message is the prompt's.
    EXPECT_EQ(indicators, (QStringList{"ﾚﾃﾞｨ", "", "ｶﾅ", "CAP", "NUM", "SCRL"}));

    command(command::kViewStatusBar)->trigger();
    EXPECT_FALSE(frame().statusBar()->isVisible());
    command(command::kViewToolBar)->trigger();
    EXPECT_FALSE(frame().toolBar()->isVisible());
    command(command::kViewToolBar)->trigger();
    EXPECT_TRUE(frame().toolBar()->isVisible());
}

TEST_F(WindowTest, TitleNamesTheDocumentAndMarksUnsavedWork) {
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("無題[*] - Kelno 電気回路"));
    EXPECT_FALSE(frame().isWindowModified());
    MakeModified();
    EXPECT_TRUE(frame().isWindowModified());
    prompts.saveAnswers.push_back(Prompts::SaveAnswer::Discard);
    ASSERT_TRUE(app->OpenFile(testing::ExamplePath("bulb-and-battery.kel")));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("bulb-and-battery.kel[*] - Kelno 電気回路"));
    EXPECT_FALSE(frame().isWindowModified());
}

TEST_F(WindowTest, ToolCommandsChooseTheirToolAndCarryTheOnlyCheckMark) {
    const std::pair<int, Tool> tools[] = {
        {command::kBatteryTool, Tool::Battery}, {command::kResistorTool, Tool::Resistor},
        {command::kAmmeterTool, Tool::Ammeter}, {command::kVoltmeterTool, Tool::Voltmeter},
        {command::kBulbTool, Tool::Bulb},       {command::kSwitchTool, Tool::Switch},
        {command::kWireTool, Tool::Wire},       {command::kSelectionTool, Tool::Selection},
    };
    for (const auto& [id, tool] : tools) {
        command(id)->trigger();
        EXPECT_EQ(core().currentTool(), tool);
        for (const auto& [other, otherTool] : tools) {
            EXPECT_EQ(command(other)->isChecked(), other == id) << id << " " << other;
        }
    }
    // The same tool again (a double click on its button) keeps it and its check mark.
    command(command::kBulbTool)->trigger();
    command(command::kBulbTool)->trigger();
    EXPECT_TRUE(command(command::kBulbTool)->isChecked());
    EXPECT_FALSE(core().toolOneShot());
}

TEST_F(WindowTest, EscapeAndTabChooseTheSelectionAndWireTools) {
    ASSERT_TRUE(Activate());
    QTest::keyClick(&app->view(), Qt::Key_Tab);
    EXPECT_EQ(core().currentTool(), Tool::Wire);
    EXPECT_TRUE(command(command::kWireTool)->isChecked());
    QTest::keyClick(&app->view(), Qt::Key_Escape);
    EXPECT_EQ(core().currentTool(), Tool::Selection);
}

TEST_F(WindowTest, GridCommandTogglesTheGridAndItsCheckMark) {
    command(command::kGrid)->trigger();
    EXPECT_TRUE(app->view().controller().showGrid());
    EXPECT_TRUE(command(command::kGrid)->isChecked());
    EXPECT_TRUE(app->view().drawSettings().showGrid);
    command(command::kGrid)->trigger();
    EXPECT_FALSE(app->view().controller().showGrid());
    EXPECT_FALSE(command(command::kGrid)->isChecked());
}

// An edit as the view makes it: a checkpoint, a change, the analysis.
void RemoveFirstElement(Document& core) {
    core.Checkpoint();
    core.circuit().RemoveElement(&*core.circuit().elements().begin());
    core.CircuitChanged();
}

TEST_F(WindowTest, UndoAndRedoAreEnabledExactlyWhenTheyCanAct) {
    ASSERT_TRUE(app->OpenFile(testing::ExamplePath("bulb-and-battery.kel")));
    EXPECT_FALSE(command(command::kUndo)->isEnabled());
    EXPECT_FALSE(command(command::kRedo)->isEnabled());
    const std::size_t elements = core().circuit().ElementCount();

    RemoveFirstElement(core());
    EXPECT_TRUE(command(command::kUndo)->isEnabled());
    EXPECT_FALSE(command(command::kRedo)->isEnabled());

    ASSERT_TRUE(Activate());
    QTest::keyClick(&app->view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(core().circuit().ElementCount(), elements);
    EXPECT_FALSE(command(command::kUndo)->isEnabled());
    EXPECT_TRUE(command(command::kRedo)->isEnabled());

    // The menu shows Ctrl+R; Ctrl+Y is bound as well.
    QTest::keyClick(&app->view(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(core().circuit().ElementCount(), elements - 1);
    command(command::kUndo)->trigger();
    QTest::keyClick(&app->view(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(core().circuit().ElementCount(), elements - 1);
}

// An empty circuit has nothing to cut or copy, and text that is no circuit nothing to
// paste; its picture can always be saved.
TEST_F(WindowTest, EmptyCircuitOffersOnlyTheBitmapOfTheEditingCommands) {
    QGuiApplication::clipboard()->setText(QStringLiteral("no circuit"));
    for (const int id : {command::kCut, command::kCopy, command::kPaste}) {
        EXPECT_FALSE(command(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(command(command::kSaveBitmap)->isEnabled());
}

TEST_F(WindowTest, PaintingAFailedAnalysisSaysShortInTheStatusBar) {
    BuildShortedBattery();
    app->view().grab();
    // The sentence about the loop follows unless the option turns it off.
    EXPECT_TRUE(frame().messageText().startsWith(QStringLiteral("Short  ")))
        << frame().messageText().toStdString();
}

TEST_F(WindowTest, MouseAndKeysInTheViewEditTheCircuit) {
    CKelnoView& view = app->view();
    command(command::kResistorTool)->trigger();
    EXPECT_EQ(view.cursor().shape(), Qt::BitmapCursor);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    ASSERT_EQ(core().circuit().ElementCount(), 1u);
    EXPECT_EQ(core().currentTool(), Tool::Wire);  // one resistor, then the wire tool
    EXPECT_TRUE(command(command::kUndo)->isEnabled());
    EXPECT_TRUE(frame().isWindowModified());

    const CircuitElement& resistor = *core().circuit().elements().begin();
    const std::int32_t x = resistor.end1()->x;
    ASSERT_TRUE(Activate());
    command(command::kSelectAll)->trigger();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(resistor.end1()->x, x + 10);  // one nudge of 1 mm

    command(command::kSelectionTool)->trigger();
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, SmoothDisplayShowsTheSamePictureDrawnAside) {
    ASSERT_TRUE(app->OpenFile(testing::ExamplePath("bulb-and-battery.kel")));
    const QImage direct = app->view().grab().toImage();
    DocumentOptions options = core().options();
    options.smoothDisplay = true;
    core().SetOptions(options);
    const QImage smooth = app->view().grab().toImage();
    EXPECT_EQ(smooth, direct);
    // Not a blank picture: the lit bulb's glass is there.
    EXPECT_FALSE(direct.allGray());
    options.smoothDisplay = false;
    core().SetOptions(options);
}

}  // namespace
}  // namespace kelno
