#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ckelnoapp.h"
#include "ckelnodoc.h"
#include "ckelnoview.h"
#include "cmainframe.h"
#include "gui/window_test_support.h"

namespace kelno::testing {

// The editor started without arguments, with its questions answered by a script, its
// clock stepped by hand and its settings empty.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(QStringLiteral("Morlan"), QStringLiteral("Kelno")).clear();
        ASSERT_TRUE(folder.isValid());
        app = std::make_unique<CKelnoApp>(&prompts, [this] { return now; });
        KeepDesktopAlone(*app);
        ASSERT_FALSE(app->Start({}).has_value());
        // Every change here waits for its analysis, so that a test reads the currents of
        // what it built; tests of the analysis under way set their own wait.
        doc().SetAnalysisWait(std::chrono::minutes(1));
    }

    void TearDown() override {
        EXPECT_TRUE(prompts.scriptUsedUp()) << "a scripted answer was not asked for";
        app.reset();
    }

    CMainFrame& frame() { return app->frame(); }
    CKelnoDoc& doc() { return app->document(); }
    Document& core() { return app->document().core(); }
    QAction* command(int id) { return frame().command(id); }
    QString Path(const char* name) { return folder.filePath(QString::fromUtf8(name)); }

    // Keys reach the window's shortcuts only while it is the active window.
    bool Activate() {
        frame().activateWindow();
        return QTest::qWaitForWindowActive(&frame());
    }

    // A battery without inner resistance joined to itself by one wire, analysed: a short.
    void BuildShortedBattery() {
        Circuit& circuit = core().circuit();
        CircuitPoint* minus = circuit.AddPoint(0, 1000, -1000);
        CircuitPoint* plus = circuit.AddPoint(1, 1400, -1000);
        ElementRecord battery = DefaultRecord(ElementKind::Battery);
        battery.resistance = 0.0;
        circuit.AddElement(battery, minus, plus);
        circuit.AddElement(DefaultRecord(ElementKind::Wire), plus, minus);
        core().CircuitChanged();
        ASSERT_TRUE(core().shortCircuit());
    }

    // Some unsaved work: a comment typed in.
    void MakeModified() {
        core().SetComment("note", 0);
        ASSERT_TRUE(doc().isModified());
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    std::int64_t now = 1000;
    std::unique_ptr<CKelnoApp> app;
};

}  // namespace kelno::testing
