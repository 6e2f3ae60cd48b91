// Editing in the window: real mouse gestures and keys in the view, the clipboard commands
// and their enabling, the context menu, the details dialog and the bitmap picture.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <string_view>
#include <vector>

#include "command_ids.h"
#include "document/clipboard_commands.h"
#include "editing/circuit_edits.h"
#include "export_commands.h"
#include "gui/window_fixture.h"
#include "picture_formats.h"
#include "view/hit_test.h"

namespace kelno {
namespace {

namespace cmd = command;

class EditingWindowTest : public testing::WindowTest {
protected:
    CKelnoView& view() { return app->view(); }
    Circuit& circuit() { return core().circuit(); }

    QPoint PixelOf(const CircuitPoint& point) {
        const DevicePoint pixel = view().controller().scale().ToDevice({point.x, point.y});
        return {static_cast<int>(pixel.x), static_cast<int>(pixel.y)};
    }
    LogicalPoint LogicalOf(QPoint pixel) {
        return view().controller().scale().ToLogical({pixel.x(), pixel.y()});
    }

    // A press, moves in steps of a few pixels, and the release.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mousePress(&view(), Qt::LeftButton, keys, from);
        constexpr int kSteps = 8;
        for (int i = 1; i <= kSteps; ++i) {
            QTest::mouseMove(&view(), from + (to - from) * i / kSteps);
        }
        QTest::mouseRelease(&view(), Qt::LeftButton, keys, to);
    }

    CircuitElement* Place(int toolCommand, QPoint at) {
        command(toolCommand)->trigger();
        QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(circuit().SelectedCount(), 1u);
        return circuit().selection().front();
    }

    // A battery above a bulb, both lying flat, not yet joined.
    void PlaceBatteryAndBulb() {
        battery = Place(cmd::kBatteryTool, QPoint(250, 120));
        bulb = Place(cmd::kBulbTool, QPoint(250, 320));
    }

    // Wires drawn from the rim of each battery end down to the bulb end below it.
    void WireIntoARing() {
        command(cmd::kWireTool)->trigger();
        for (CircuitPoint* top : {battery->end1(), battery->end2()}) {
            CircuitPoint* bottom = top == battery->end1() ? bulb->end1() : bulb->end2();
            Drag(PixelOf(*top) + QPoint(0, 9), PixelOf(*bottom));
        }
    }

    CircuitElement* battery = nullptr;
    CircuitElement* bulb = nullptr;
};

TEST_F(EditingWindowTest, MouseBuildsARingThatCarriesTheCurrentOfTheBulb) {
    PlaceBatteryAndBulb();
    EXPECT_EQ(circuit().ElementCount(), 2u);
    WireIntoARing();
    ASSERT_EQ(circuit().ElementCount(), 4u);
    EXPECT_FALSE(core().shortCircuit());
    for (const CircuitElement& element : circuit().elements()) {
        EXPECT_NEAR(std::abs(element.current), 1.5 / 5.1, 1e-12);
    }
    // Each wire is one undo step.
    command(cmd::kUndo)->trigger();
    EXPECT_EQ(core().circuit().ElementCount(), 3u);
}

TEST_F(EditingWindowTest, DraggedPointFollowsTheMouseAndRubberBandSelectsByMidpoint) {
    PlaceBatteryAndBulb();
    WireIntoARing();
    command(cmd::kSelectionTool)->trigger();
    CircuitPoint* corner = bulb->end2();
    const QPoint target = PixelOf(*corner) + QPoint(30, 40);
    Drag(PixelOf(*corner), target);
    EXPECT_EQ(corner->x, LogicalOf(target).x);
    EXPECT_EQ(corner->y, LogicalOf(target).y);
    EXPECT_EQ(bulb->end2(), corner) << "the wire and the bulb still share the point";

    // A band from bottom right to top left around the battery alone.
    const QPoint batteryMiddle = (PixelOf(*battery->end1()) + PixelOf(*battery->end2())) / 2;
    Drag(batteryMiddle + QPoint(120, 30), batteryMiddle - QPoint(120, 30));
    EXPECT_EQ(circuit().selection(), std::vector<CircuitElement*>{battery});
    // Shift adds the rest with a band around everything.
    Drag(QPoint(5, 5), QPoint(view().width() - 5, view().height() - 5), Qt::ShiftModifier);
    EXPECT_EQ(circuit().SelectedCount(), 4u);
    EXPECT_EQ(circuit().selection().front(), battery);
}

// The rubber rectangle and the rubber wire show while the button is down and are gone
// once it is released.
TEST_F(EditingWindowTest, RubberBandAndRubberWireAreDrawnOnlyDuringTheGesture) {
    command(cmd::kSelectionTool)->trigger();
    const QImage before = view().grab().toImage();
    QTest::mousePress(&view(), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseMove(&view(), QPoint(90, 70));
    QTest::mouseMove(&view(), QPoint(140, 100));
    EXPECT_NE(view().grab().toImage(), before);
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, QPoint(140, 100));
    EXPECT_EQ(view().grab().toImage(), before);

    battery = Place(cmd::kBatteryTool, QPoint(250, 120));
    const QPoint start = PixelOf(*battery->end2());
    const QPoint end = start + QPoint(0, 200);
    QTest::mousePress(&view(), Qt::LeftButton, {}, start + QPoint(0, 9));
    QTest::mouseMove(&view(), start + QPoint(0, 100));
    QTest::mouseMove(&view(), end);
    const QImage during = view().grab().toImage();
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, end);
    const QImage after = view().grab().toImage();
    const QPoint halfway = (start + end) / 2;
    EXPECT_EQ(during.pixelColor(halfway), QColor(Qt::black));
    EXPECT_EQ(after.pixelColor(halfway), QColor(Qt::white));
    EXPECT_EQ(circuit().ElementCount(), 1u) << "a wire needs a point at its end";
}

// --- Clipboard ------------------------------------------------------------------------------

TEST_F(EditingWindowTest, ClipboardCommandsAreEnabledByTheSelectionAndTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("hello"));
    const auto enabled = [this] {
        return std::vector<bool>{command(cmd::kCut)->isEnabled(), command(cmd::kCopy)->isEnabled(),
                                 command(cmd::kPaste)->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    PlaceBatteryAndBulb();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false}));
    WireIntoARing();
    // A click on the battery's end, joined to one wire: cut can take the point out.
    command(cmd::kSelectionTool)->trigger();
    QTest::mouseClick(&view(), Qt::LeftButton, {}, PixelOf(*battery->end1()));
    ASSERT_TRUE(circuit().pointSelected());
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false}));
    QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(5, 5));  // nothing selected
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));

    for (const char* text : {"KelnoData 0 0", " KelnoData\r\n1 0\r\n5 5\r\n", "KelnoDatax 0 0"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        EXPECT_EQ(command(cmd::kPaste)->isEnabled(), std::string_view(text) != "KelnoDatax 0 0")
            << text;
    }
}

TEST_F(EditingWindowTest, KeysCutCopyAndPasteThroughTheDesktopClipboard) {
    PlaceBatteryAndBulb();
    ASSERT_TRUE(Activate());
    command(cmd::kSelectAll)->trigger();
    QTest::keyClick(&view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("KelnoData")));
    QTest::keyClick(&view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(circuit().ElementCount(), 4u);
    EXPECT_EQ(circuit().SelectedCount(), 2u) << "the pasted copy is selected";

    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_EQ(circuit().ElementCount(), 2u);
    command(cmd::kSelectAll)->trigger();
    QTest::keyClick(&view(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(circuit().ElementCount(), 0u);
    EXPECT_EQ(circuit().PointCount(), 0u);
    QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(circuit().ElementCount(), 2u);
    EXPECT_TRUE(command(cmd::kPaste)->isEnabled());
}

// Two documents, as in two running copies of the editor, share the desktop's clipboard.
TEST_F(EditingWindowTest, TwoDocumentsExchangeElementsThroughTheClipboard) {
    PlaceBatteryAndBulb();
    WireIntoARing();
    command(cmd::kSelectAll)->trigger();
    command(cmd::kCopy)->trigger();

    testing::ScriptedPrompts otherPrompts;
    CKelnoDoc other(otherPrompts);
    other.SetAnalysisWait(std::chrono::minutes(1));
    other.Paste();
    const Circuit& pasted = other.core().circuit();
    ASSERT_EQ(pasted.ElementCount(), 4u);
    EXPECT_EQ(pasted.PointCount(), 4u) << "the ring keeps its shared points";
    EXPECT_NEAR(std::abs(pasted.elements().begin()->current), 1.5 / 5.1, 1e-12);
    EXPECT_TRUE(other.isModified());

    // And back: the other document's copy lands in the window's document.
    other.core().circuit().ClearSelection();
    other.core().circuit().Select(&*other.core().circuit().elements().begin());
    other.Copy();
    command(cmd::kPaste)->trigger();
    EXPECT_EQ(circuit().ElementCount(), 5u);
    EXPECT_TRUE(otherPrompts.errors.empty());
}

// Text from other programs is refused whole, also when the context menu offers paste; text
// that is not the program's is named in a message.
TEST_F(EditingWindowTest, PasteOfForeignOrDamagedTextChangesNothing) {
    PlaceBatteryAndBulb();
    const std::size_t undoSteps = core().history().UndoCount();
    for (const char* text : {"Dear pupils, 3 2 1",
                             "KelnoData 2 2\n0 0\n400 0\n1 2 2 100 0 0\n1 3 "
                             "2 100 0 0\n"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        prompts.errors.clear();
        emit view().commandChosen(cmd::kPaste);
        EXPECT_EQ(circuit().ElementCount(), 2u) << text;
        EXPECT_EQ(core().history().UndoCount(), undoSteps) << text;
        ASSERT_EQ(prompts.errors.size(), 1u) << text;
        EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("貼り付けできませんでした。")));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(text));
    }
}

// --- Context menu ------------------------------------------------------------------------

TEST_F(EditingWindowTest, ContextMenuOffersThirteenItemsAllEnabledAtTheClick) {
    PlaceBatteryAndBulb();
    command(cmd::kSelectionTool)->trigger();
    QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(5, 5));  // nothing selected
    ASSERT_FALSE(command(cmd::kCopy)->isEnabled());
    QStringList items;
    bool allEnabled = true;
    QRect shownAt;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        shownAt = menu->geometry();
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("—") : action->text());
            allEnabled = allEnabled && action->isEnabled();
        }
        menu->setActiveAction(menu->actions().at(3));  // すべて選択
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint click(300, 200);
    QContextMenuEvent event(QContextMenuEvent::Mouse, click, view().mapToGlobal(click));
    QApplication::sendEvent(&view(), &event);

    EXPECT_EQ(items, (QStringList{"切り取り", "ｺﾋﾟｰ", "貼り付け", "すべて選択", "—", "選択", "導線",
                                  "乾電池", "電球", "抵抗", "電流計", "電圧計", "スイッチ"}));
    EXPECT_TRUE(allEnabled);
    EXPECT_EQ(shownAt.top(), view().mapToGlobal(click).y());
    EXPECT_LE(std::abs(shownAt.center().x() - view().mapToGlobal(click).x()), 1);
    EXPECT_EQ(circuit().SelectedCount(), 2u) << "the chosen item ran its command";

    // A tool chosen there is the tool of the menus.
    emit view().commandChosen(cmd::kSwitchTool);
    EXPECT_EQ(core().currentTool(), Tool::Switch);
    EXPECT_TRUE(command(cmd::kSwitchTool)->isChecked());
}

// --- Details dialog ----------------------------------------------------------------------

TEST_F(EditingWindowTest, DoubleClickOpensTheDetailsAndOkTakesTheValuesWithOneUndoStep) {
    CircuitElement* resistor = Place(cmd::kResistorTool, QPoint(250, 120));
    command(cmd::kSelectionTool)->trigger();
    const QPoint middle = (PixelOf(*resistor->end1()) + PixelOf(*resistor->end2())) / 2;
    const std::size_t undoSteps = core().history().UndoCount();

    prompts.detailsAnswers.push_back(std::nullopt);  // Cancel
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, middle);
    ASSERT_EQ(prompts.detailsShown.size(), 1u);
    EXPECT_EQ(prompts.detailsShown[0], (DetailsValues{100.0, 0.0, 0.0}));
    EXPECT_EQ(core().history().UndoCount(), undoSteps);

    prompts.detailsAnswers.push_back(DetailsValues{220.0, 2.0, 0.0});
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, middle);
    EXPECT_EQ(resistor->resistance, 220.0);
    EXPECT_EQ(resistor->emf, 2.0);
    EXPECT_EQ(core().history().UndoCount(), undoSteps + 1);
}

// --- What a press would do ----------------------------------------------------------------

TEST_F(EditingWindowTest, HoverOnAPointsRimPromptsAWireAndADragRingsItsTarget) {
    PlaceBatteryAndBulb();
    command(cmd::kWireTool)->trigger();
    const QPoint batteryEnd = PixelOf(*battery->end2());
    const QPoint rim = batteryEnd + QPoint(0, 10);  // below the point, away from its link
    QTest::mouseMove(&view(), rim);
    EXPECT_EQ(frame().promptText(), QStringLiteral("この点から導線を引きます"));
    ASSERT_TRUE(view().controller().hoverPreview());
    EXPECT_EQ(view().controller().hoverPreview()->point, battery->end2());
    const QImage hovered = view().grab().toImage();
    QTest::mouseMove(&view(), QPoint(600, 500));  // empty space
    EXPECT_EQ(frame().promptText(), QStringLiteral("ドラッグした範囲の素子を選択します"));
    EXPECT_NE(view().grab().toImage(), hovered) << "the ring is gone";

    // The picture of the view never holds the feedback.
    QTest::mouseMove(&view(), rim);
    const QString withRing = Path("with-ring.bmp");
    const QString without = Path("without.bmp");
    ExportResult written = ExportView(BitmapFormat(), core(), view(), withRing);
    ASSERT_TRUE(written.ok()) << written.error;
    QTest::mouseMove(&view(), QPoint(600, 500));
    written = ExportView(BitmapFormat(), core(), view(), without);
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(QImage(withRing, "BMP"), QImage(without, "BMP"));

    // Dragging a wire toward the bulb's end rings it before the release.
    const QPoint bulbEnd = PixelOf(*bulb->end2());
    QTest::mousePress(&view(), Qt::LeftButton, {}, rim);
    QTest::mouseMove(&view(), rim + QPoint(0, 20));
    EXPECT_EQ(view().controller().releaseTarget(), nullptr);
    EXPECT_EQ(frame().promptText(),
              QStringLiteral("ここで離しても導線はつながりません (点の近くで離してください)"));
    QTest::mouseMove(&view(), bulbEnd + QPoint(0, -12));
    EXPECT_EQ(view().controller().releaseTarget(), bulb->end2());
    EXPECT_EQ(frame().promptText(), QStringLiteral("ここで離すと、丸で囲んだ点へ導線をつなぎます"));
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, bulbEnd + QPoint(0, -12));
    EXPECT_NE(FindLink(battery->end2(), bulb->end2()), nullptr);
}

// --- Zoom and scroll ---------------------------------------------------------------------------

TEST_F(EditingWindowTest, ZoomMagnifiesTheViewAloneAndScrollBarsReachWhatLiesBeyond) {
    frame().resize(700, 500);
    const WindowRect window = frame().windowRect();
    PlaceBatteryAndBulb();
    const LogicalPoint batteryEnd{battery->end2()->x, battery->end2()->y};
    const double trueScale = view().controller().scale().pixelsPerUnitX();
    const QImage before = view().grab().toImage();

    command(cmd::kZoomIn)->trigger();
    command(cmd::kZoomIn)->trigger();
    EXPECT_EQ(view().zoom(), 1.5);
    EXPECT_DOUBLE_EQ(view().controller().scale().pixelsPerUnitX(), trueScale * 1.5);
    EXPECT_EQ((LogicalPoint{battery->end2()->x, battery->end2()->y}), batteryEnd);
    EXPECT_EQ(frame().windowRect(), window);
    EXPECT_NE(view().grab().toImage(), before);
    // A press on the battery's end at the new scale still finds it.
    QTest::mouseMove(&view(), PixelOf(*battery->end2()));
    ASSERT_TRUE(view().controller().hoverPreview());
    EXPECT_EQ(view().controller().hoverPreview()->point, battery->end2());

    QTest::mouseMove(&view(), QPoint(5, 5));  // nothing there to ring
    command(cmd::kZoomActualSize)->trigger();
    EXPECT_EQ(view().zoom(), 1.0);
    EXPECT_EQ(view().grab().toImage(), before) << "true size draws as it always did";

    // A bulb far beyond the window's right edge: the canvas reaches it.
    CircuitElement* far = Place(cmd::kBulbTool, QPoint(300, 200));
    MoveMarkedPoints(circuit(), 30000, 0);
    core().GeometryChanged();
    EXPECT_GT(view().minimumWidth(), frame().width());
    const QPoint middle = (PixelOf(*far->end1()) + PixelOf(*far->end2())) / 2;
    circuit().ClearSelection();
    QTest::mouseClick(&view(), Qt::LeftButton, {}, middle);
    EXPECT_TRUE(far->selected());

    command(cmd::kZoomToFit)->trigger();
    EXPECT_LT(view().zoom(), 1.0);
}

TEST_F(EditingWindowTest, CtrlAndTheWheelZoomAboutTheMouse) {
    frame().resize(700, 500);
    PlaceBatteryAndBulb();
    const CircuitPoint* end = battery->end2();
    const QPoint before = PixelOf(*end);
    for (int turn = 0; turn < 2; ++turn) {
        // The mouse stays where the point was: the canvas scrolled so that it still is.
        const QPoint scroll = view().mapFromParent(QPoint(0, 0));  // canvas at the top-left
        const QPoint at = before + scroll;
        QWheelEvent wheel(QPointF(at), QPointF(view().mapToGlobal(at)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view(), &wheel);
    }
    EXPECT_EQ(view().zoom(), 1.5);
    const QPoint now = PixelOf(*end) - view().mapFromParent(QPoint(0, 0));
    EXPECT_LE((now - before).manhattanLength(), 2) << now.x() << "," << now.y();
}

// --- Bitmap --------------------------------------------------------------------------------

TEST_F(EditingWindowTest, BitmapIsThePictureOfTheViewOnWhite) {
    PlaceBatteryAndBulb();
    circuit().ClearSelection();
    const bool modified = core().modified();
    const QString path = Path("picture.bmp");
    prompts.exportFiles["bmp"].push_back(path);
    ASSERT_TRUE(command(cmd::kSaveBitmap)->isEnabled());
    command(cmd::kSaveBitmap)->trigger();
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_EQ(prompts.exportSuggestions["bmp"], std::vector<QString>{QString()});
    EXPECT_EQ(prompts.exportTitles, std::vector<QString>{QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟで保存")});

    const QImage picture(path, "BMP");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), view().size());
    EXPECT_EQ(picture.depth(), 32);  // read back from 24 bits
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(Qt::white));
    // The battery's wire ends run through the picture as they run through the view.
    const QPoint end = PixelOf(*battery->end1()) + QPoint(3, 0);
    EXPECT_EQ(picture.pixelColor(end), view().grab().toImage().pixelColor(end));
    EXPECT_NE(picture.pixelColor(end), QColor(Qt::white));
    EXPECT_EQ(core().modified(), modified) << "the picture leaves the document alone";
}

TEST_F(EditingWindowTest, BitmapThatCannotBeWrittenLeavesNoFileAndSaysWhy) {
    const QString path = Path("missing/picture.bmp");
    prompts.exportFiles["bmp"].push_back(path);
    command(cmd::kSaveBitmap)->trigger();
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(path)) << prompts.errors[0].toStdString();

    prompts.exportFiles["bmp"].push_back(QString());  // the dialog cancelled
    command(cmd::kSaveBitmap)->trigger();
    EXPECT_EQ(prompts.errors.size(), 1u);
}

}  // namespace
}  // namespace kelno
