#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QXmlStreamReader>
#include <set>

#include "ckelnoview.h"
#include "classroom_mode.h"
#include "cmainframe.h"
#include "command_ids.h"
#include "gui/picture_support.h"
#include "gui/window_fixture.h"
#include "render/format_value.h"
#include "render/short_explanation.h"

namespace kelno {
namespace {

using testing::ExamplePath;
using testing::KeepDesktopAlone;
using testing::ScriptedPrompts;
using testing::WindowTest;

// The texts of an SVG picture, in order.
QStringList SvgTexts(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringList texts;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QStringLiteral("text")) {
            texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return texts;
}

bool AnyEndsWith(const QStringList& texts, const char* unit) {
    for (const QString& text : texts) {
        if (text.endsWith(QString::fromUtf8(unit))) {
            return true;
        }
    }
    return false;
}

QVariant Stored(const char* key) {
    QSettings store(QStringLiteral("Morlan"), QStringLiteral("Kelno"));
    return store.value(QStringLiteral("Classroom/") + QString::fromUtf8(key));
}

class ClassroomTest : public WindowTest {
protected:
    ClassroomMode& classroom() { return app->classroom(); }
    CKelnoView& view() { return app->view(); }

    void Open(const char* example) { ASSERT_TRUE(app->OpenFile(ExamplePath(example))); }

    // A paint of the view, which posts its status text.
    void Paint() { view().grab(); }

    QString SaveSvg(const char* name) {
        prompts.exportFiles["svg"].push_back(Path(name));
        command(command::kSaveSvg)->trigger();
        return Path(name) + QStringLiteral(".svg");
    }

    QStringList SavedSvgTexts(const char* name) { return SvgTexts(SaveSvg(name)); }
};

TEST_F(ClassroomTest, PredictModeHidesEveryReadingAndF5RevealsThemUntilTheNextEdit) {
    Open("bulb-and-battery.kel");
    ASSERT_TRUE(AnyEndsWith(SavedSvgTexts("before"), "W")) << "the bulb's power shows";
    EXPECT_FALSE(command(command::kRevealReadings)->isEnabled());

    command(command::kPredictMode)->trigger();
    EXPECT_TRUE(view().drawSettings().hideReadings);
    EXPECT_TRUE(command(command::kPredictMode)->isChecked());
    EXPECT_FALSE(AnyEndsWith(SavedSvgTexts("hidden"), "W"))
        << "the picture shows what the view does";

    ASSERT_TRUE(Activate());
    QTest::keyClick(&frame(), Qt::Key_F5);
    EXPECT_FALSE(view().drawSettings().hideReadings);
    EXPECT_FALSE(command(command::kRevealReadings)->isEnabled());
    EXPECT_TRUE(AnyEndsWith(SavedSvgTexts("revealed"), "W"));

    // Selecting and painting change nothing of the circuit; an edit does.
    command(command::kSelectAll)->trigger();
    Paint();
    EXPECT_FALSE(view().drawSettings().hideReadings);
    core().Checkpoint();
    core().circuit().elements().begin()->resistance += 1.0;
    core().CircuitChanged();
    EXPECT_TRUE(view().drawSettings().hideReadings);
    EXPECT_TRUE(command(command::kRevealReadings)->isEnabled());

    // Undo is a change of the circuit as well.
    command(command::kRevealReadings)->trigger();
    ASSERT_FALSE(view().drawSettings().hideReadings);
    command(command::kUndo)->trigger();
    EXPECT_TRUE(view().drawSettings().hideReadings);

    command(command::kPredictMode)->trigger();
    EXPECT_FALSE(view().drawSettings().hideReadings);
}

TEST_F(ClassroomTest, ClickedElementsSummaryFollowsPredictMode) {
    Open("bulb-and-battery.kel");
    command(command::kSelectionTool)->trigger();
    command(command::kPredictMode)->trigger();
    const CircuitElement& first = *core().circuit().elements().begin();
    const QPoint centre =
        testing::PixelOf(view().controller().scale(), (first.end1()->x + first.end2()->x) / 2,
                         (first.end1()->y + first.end2()->y) / 2);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, centre);
    ASSERT_TRUE(first.selected());
    EXPECT_EQ(frame().messageText().toStdString(), FormatElementSummaryWithoutReadings(first));

    command(command::kRevealReadings)->trigger();
    command(command::kSelectionTool)->trigger();
    QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(2, 2));  // nothing there
    QTest::mouseClick(&view(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(frame().messageText().toStdString(), FormatElementSummary(first));
}

// The message pane and the details dialog never show readings older than the circuit, and
// none at all while pupils predict them.
TEST_F(ClassroomTest, SummaryFollowsEveryChangeAndPredictModeHidesTheDialogsCurrent) {
    Open("bulb-and-battery.kel");
    command(command::kSelectionTool)->trigger();
    Circuit& circuit = core().circuit();
    CircuitElement* bulb = nullptr;
    for (CircuitElement& element : circuit.elements()) {
        if (element.kind == ElementKind::Bulb) {
            bulb = &element;
        }
    }
    ASSERT_NE(bulb, nullptr);
    const QPoint centre =
        testing::PixelOf(view().controller().scale(), (bulb->end1()->x + bulb->end2()->x) / 2,
                         (bulb->end1()->y + bulb->end2()->y) / 2);
    const auto shown = [this] { return frame().messageText().toStdString(); };
    QTest::mouseClick(&view(), Qt::LeftButton, {}, centre);
    const std::string at5Ohms = shown();
    ASSERT_EQ(at5Ohms, FormatElementSummary(*bulb));

    prompts.detailsAnswers.push_back(DetailsValues{10.0, 0.0, 0.0});
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(shown(), FormatElementSummary(*core().circuit().selection().back()));
    EXPECT_NE(shown(), at5Ohms);
    command(command::kUndo)->trigger();
    EXPECT_EQ(shown(), at5Ohms);

    command(command::kPredictMode)->trigger();
    EXPECT_EQ(shown(), FormatElementSummaryWithoutReadings(*core().circuit().selection().back()));
    command(command::kRevealReadings)->trigger();
    EXPECT_EQ(shown(), at5Ohms);
    // A change after F5 hides the readings again at once, in the dialog as well.
    prompts.detailsAnswers.push_back(DetailsValues{8.0, 0.0, 0.0});
    prompts.detailsAnswers.push_back(std::nullopt);
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(shown(), FormatElementSummaryWithoutReadings(*core().circuit().selection().back()));
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, centre);
    ASSERT_EQ(prompts.detailsShown.size(), 3u);
    EXPECT_FALSE(prompts.detailsShown[1].currentHidden) << "revealed";
    EXPECT_TRUE(prompts.detailsShown[2].currentHidden);
    EXPECT_EQ(prompts.detailsShown[2].current, 0.0);
}

TEST_F(ClassroomTest, ShortsSentenceLeavesThePaneWhenAnAnalysisSucceeds) {
    BuildShortedBattery();
    Paint();
    ASSERT_TRUE(frame().messageText().startsWith(QStringLiteral("Short  ")));
    command(command::kSelectAll)->trigger();
    command(command::kCut)->trigger();
    Paint();
    EXPECT_FALSE(core().shortCircuit());
    EXPECT_EQ(frame().messageText(), QStringLiteral("ﾚﾃﾞｨ"));
}

TEST_F(ClassroomTest, WarningSignsAreOnUntilTurnedOffAndTheSettingIsKept) {
    Circuit& circuit = core().circuit();
    CircuitPoint* a = circuit.AddPoint(0, 1000, -1000);
    CircuitPoint* b = circuit.AddPoint(1, 1400, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Battery), a, b);
    circuit.AddElement(DefaultRecord(ElementKind::Ammeter), b, a);
    // A bulb whose end lies on the battery's and is not joined to it.
    CircuitPoint* near = circuit.AddPoint(2, 1402, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Bulb), near, circuit.AddPoint(3, 1802, -1000));
    core().CircuitChanged();
    EXPECT_EQ(view().drawSettings().unjoinedEnds, std::set<std::size_t>{2});
    EXPECT_TRUE(view().drawSettings().warnLargeCurrent);
    EXPECT_TRUE(frame().messageText().startsWith(QStringLiteral("電池に 3 A をこえる")));

    command(command::kMarkUnjoinedEnds)->trigger();
    command(command::kWarnLargeCurrent)->trigger();
    EXPECT_TRUE(view().drawSettings().unjoinedEnds.empty());
    EXPECT_FALSE(view().drawSettings().warnLargeCurrent);
    EXPECT_EQ(frame().messageText(), QStringLiteral("ﾚﾃﾞｨ"));
    EXPECT_FALSE(command(command::kMarkUnjoinedEnds)->isChecked());
    EXPECT_EQ(Stored("MarkUnjoinedEnds"), QVariant(false));
    EXPECT_EQ(Stored("WarnLargeCurrent"), QVariant(false));
}

TEST_F(ClassroomTest, ShortIsHighlightedAndExplainedUnlessTheOptionIsOff) {
    BuildShortedBattery();
    const std::vector<std::size_t>& loop = core().lastAnalysis().failingLoop;
    ASSERT_EQ(loop.size(), 2u);
    EXPECT_EQ(view().drawSettings().highlightElements,
              std::set<std::size_t>(loop.begin(), loop.end()));
    Paint();
    const std::string line = frame().messageText().toStdString();
    EXPECT_EQ(line, ShortStatusLine(core().circuit(), core().lastAnalysis().outcome, loop));
    EXPECT_TRUE(line.starts_with("Short  ")) << line;
    EXPECT_NE(line.find("電池"), std::string::npos) << line;

    prompts.optionAnswers.push_back(core().options());
    prompts.explainShortAnswers.push_back(false);
    command(command::kOptions)->trigger();
    EXPECT_EQ(prompts.explainShortShown, std::vector<bool>{true});
    EXPECT_TRUE(view().drawSettings().highlightElements.empty());
    Paint();
    EXPECT_EQ(frame().messageText(), QStringLiteral("Short"));

    // Cancel keeps it off.
    prompts.optionAnswers.push_back(std::nullopt);
    command(command::kOptions)->trigger();
    EXPECT_FALSE(classroom().explainShort());
}

TEST_F(ClassroomTest, ClickOnTheShortInTheStatusBarSelectsTheLoop) {
    QStatusBar* bar = frame().statusBar();
    const QPoint onMessage(20, bar->height() / 2);
    BuildShortedBattery();
    // A third element outside the loop, selected beforehand.
    Circuit& circuit = core().circuit();
    CircuitElement* bulb =
        circuit
            .AddElement(DefaultRecord(ElementKind::Bulb), circuit.AddPoint(2, 2000, -1000),
                        circuit.AddPoint(3, 2400, -1000))
            .element;
    core().CircuitChanged();
    circuit.Select(bulb);  // behind the window's back: Cut stays disabled
    ASSERT_FALSE(command(command::kCut)->isEnabled());
    Paint();
    ASSERT_TRUE(frame().messageText().startsWith(QStringLiteral("Short  ")));
    EXPECT_EQ(bar->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(bar, Qt::LeftButton, {}, onMessage);

    std::vector<CircuitElement*> loop = ElementsAt(circuit, core().lastAnalysis().failingLoop);
    EXPECT_EQ(circuit.selection(), loop);
    EXPECT_FALSE(bulb->selected());
    EXPECT_TRUE(command(command::kCut)->isEnabled()) << "the commands follow the selection";

    // Once the status bar says something else, a click selects nothing.
    circuit.ClearSelection();
    frame().SetMessageText(QStringLiteral("ﾚﾃﾞｨ"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, onMessage);
    EXPECT_EQ(circuit.SelectedCount(), 0u);
    EXPECT_NE(bar->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ClassroomTest, OptionsLiveInTheirOwnSettingsGroupAndNeverInTheFile) {
    Open("bulbs-in-series.kel");
    ASSERT_TRUE(doc().SaveTo(Path("plain.kel")));

    command(command::kPredictMode)->trigger();
    command(command::kShowPotentials)->trigger();
    prompts.optionAnswers.push_back(core().options());
    prompts.explainShortAnswers.push_back(false);
    command(command::kOptions)->trigger();
    ASSERT_TRUE(doc().SaveTo(Path("classroom.kel")));

    QFile plain(Path("plain.kel"));
    QFile classroomFile(Path("classroom.kel"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly) && classroomFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(classroomFile.readAll(), plain.readAll());

    EXPECT_EQ(Stored("PredictMode"), QVariant(true));
    EXPECT_EQ(Stored("ShowPotentials"), QVariant(true));
    EXPECT_EQ(Stored("ExplainShort"), QVariant(false));

    // The next start of the editor takes them up.
    app.reset();
    app = std::make_unique<CKelnoApp>(&prompts, [this] { return now; });
    KeepDesktopAlone(*app);
    ASSERT_FALSE(app->Start({}).has_value());
    EXPECT_TRUE(command(command::kPredictMode)->isChecked());
    EXPECT_TRUE(command(command::kShowPotentials)->isChecked());
    EXPECT_FALSE(classroom().explainShort());
    EXPECT_TRUE(view().drawSettings().hideReadings);
}

TEST_F(ClassroomTest, PotentialsAreDrawnAfterASolvedAnalysis) {
    Open("bulbs-in-series.kel");
    EXPECT_FALSE(view().drawSettings().showPotentials);
    command(command::kShowPotentials)->trigger();
    const DrawSettings settings = view().drawSettings();
    EXPECT_TRUE(settings.showPotentials);
    ASSERT_EQ(settings.potentials.size(), core().circuit().PointCount());
    const QStringList texts = SavedSvgTexts("potentials");
    for (const std::optional<double>& volts : settings.potentials) {
        ASSERT_TRUE(volts.has_value()) << "every point of the one ring has a battery";
        EXPECT_TRUE(texts.contains(QString::fromStdString(FormatPotential(*volts))))
            << FormatPotential(*volts);
    }
}

TEST_F(ClassroomTest, SvgThatCannotBeWrittenIsReportedWithItsName) {
    Open("meters.kel");
    const QString path = SaveSvg("missing/folder/picture");
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(path)) << prompts.errors[0].toStdString();
    EXPECT_EQ(prompts.exportSuggestions["svg"], std::vector<QString>{ExamplePath("meters.svg")});
    EXPECT_EQ(prompts.exportTitles, std::vector<QString>{QStringLiteral("SVG で保存")});
}

TEST(ClassroomCommandLine, PredictSwitchStartsInPredictModeWithoutStoringIt) {
    QSettings(QStringLiteral("Morlan"), QStringLiteral("Kelno")).clear();
    ScriptedPrompts prompts;
    CKelnoApp app(&prompts);
    KeepDesktopAlone(app);
    ASSERT_EQ(app.Start({"--predict", ExamplePath("meters.kel").toStdString()}), std::nullopt);
    EXPECT_EQ(app.document().title(), QStringLiteral("meters.kel"));
    EXPECT_TRUE(app.classroom().readingsHidden());
    EXPECT_TRUE(app.frame().command(command::kPredictMode)->isChecked());
    EXPECT_FALSE(Stored("PredictMode").isValid());
}

}  // namespace
}  // namespace kelno
