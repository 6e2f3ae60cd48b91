#include "ckelnoapp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>
#include <cmath>

#include "app_settings.h"
#include "classroom_mode.h"
#include "command_ids.h"
#include "gui/window_fixture.h"
#include "io/in_place_copy.h"
#include "messages.h"
#include "print_commands.h"

namespace kelno {
namespace {

using testing::ExamplePath;
using testing::KeepDesktopAlone;
using testing::ScriptedPrompts;
using testing::WindowTest;
using testing::WriteCircuitFile;
using SaveAnswer = Prompts::SaveAnswer;

QStringList RecentMenuTexts(CMainFrame& frame) {
    QStringList texts;
    for (const QAction* action : frame.menuBar()->actions().constFirst()->menu()->actions()) {
        const int id = action->data().toInt();
        if (action->isVisible() && id >= command::kRecentFile1 && id < command::kRecentFile1 + 4) {
            texts << action->text();
        }
    }
    return texts;
}

TEST_F(WindowTest, FiveOpenedFilesLeaveTheNewestFourInTheRecentList) {
    QStringList paths;
    for (const char* name : {"one.kel", "two.kel", "three.kel", "four.kel", "five.kel"}) {
        paths << WriteCircuitFile(QDir(folder.path()), name);
        ASSERT_TRUE(app->OpenFile(paths.back()));
    }
    const QStringList texts = RecentMenuTexts(frame());
    ASSERT_EQ(texts.size(), 4);
    const char* newestFirst[] = {"five.kel", "four.kel", "three.kel", "two.kel"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(texts[i].startsWith(QStringLiteral("&%1 ").arg(i + 1)))
            << texts[i].toStdString();
        EXPECT_TRUE(texts[i].endsWith(QString::fromUtf8(newestFirst[i]))) << texts[i].toStdString();
        EXPECT_LE(texts[i].size(), 3 + 30);
    }
    EXPECT_FALSE(command(command::kRecentFile1)->isVisible());

    QSettings settings(QStringLiteral("Morlan"), QStringLiteral("Kelno"));
    EXPECT_EQ(settings.value("Recent File List/File1").toString(),
              QFileInfo(paths[4]).canonicalFilePath());
    EXPECT_EQ(settings.value("Recent File List/File4").toString(),
              QFileInfo(paths[1]).canonicalFilePath());
    EXPECT_FALSE(settings.contains("Recent File List/File5"));

    // The next start lists them again, and choosing one opens it.
    ScriptedPrompts otherPrompts;
    CKelnoApp next(&otherPrompts);
    KeepDesktopAlone(next);
    ASSERT_FALSE(next.Start({}).has_value());
    EXPECT_EQ(RecentMenuTexts(next.frame()), texts);
    emit next.frame().recentFileChosen(2);
    EXPECT_EQ(next.document().pathName(), QFileInfo(paths[2]).canonicalFilePath());
}

TEST_F(WindowTest, RecentFileThatIsGoneLeavesTheList) {
    const QString kept = WriteCircuitFile(QDir(folder.path()), "kept.kel");
    const QString gone = WriteCircuitFile(QDir(folder.path()), "gone.kel");
    ASSERT_TRUE(app->OpenFile(kept));
    ASSERT_TRUE(app->OpenFile(gone));
    ASSERT_TRUE(QFile::remove(gone));
    MakeModified();
    emit frame().recentFileChosen(0);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("ﾌｧｲﾙが見つかりません。")));
    EXPECT_TRUE(prompts.saveQuestions.empty());  // the document was never at stake
    EXPECT_EQ(RecentMenuTexts(frame()).size(), 1);
    EXPECT_EQ(app->recentFiles().entries().front(),
              QFileInfo(kept).canonicalFilePath().toStdString());
}

TEST_F(WindowTest, DroppedFileOpensAfterTheSaveQuestion) {
    MakeModified();
    const QString path = ExamplePath("switch.kel");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    prompts.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Discard};
    for (int attempt = 0; attempt < 2; ++attempt) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame(), &drop);
    }
    EXPECT_EQ(prompts.saveQuestions.size(), 2u);
    EXPECT_EQ(doc().pathName(), QFileInfo(path).absoluteFilePath());
}

TEST_F(WindowTest, ClosingTheWindowAsksAboutUnsavedWork) {
    MakeModified();
    prompts.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Discard};
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(frame().isVisible());
}

TEST_F(WindowTest, OpeningTakesTheStoredWindowSizeWithinTheScreen) {
    const QString path = WriteCircuitFile(QDir(folder.path()), "sized.kel");  // 640 x 480
    ASSERT_TRUE(app->OpenFile(path));
    EXPECT_EQ(frame().frameGeometry().size(), QSize(640, 480));

    // A size larger than any screen is cut to the screen.
    Document& document = core();
    std::vector<std::uint8_t> bytes = document.SaveBytes(WindowRect{0, 0, 100000, 90000});
    QFile huge(Path("huge.kel"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    huge.close();
    ASSERT_TRUE(app->OpenFile(huge.fileName()));
    const QRect screen = frame().screen()->availableGeometry();
    EXPECT_LE(frame().frameGeometry().width(), screen.width());
    EXPECT_LE(frame().frameGeometry().height(), screen.height());
    EXPECT_TRUE(screen.contains(frame().frameGeometry()));
}

// --- The command line ------------------------------------------------------------------------

// The decompressed content streams of a PDF file written by Qt.
QByteArray PdfContent(const QByteArray& pdf) {
    QByteArray content;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream\n", at)) >= 0) {
        const qsizetype start = at + 7;
        const qsizetype end = pdf.indexOf("endstream", start);
        const qsizetype dictionary = pdf.lastIndexOf("<<", at);
        if (!pdf.mid(dictionary, at - dictionary).contains("/FlateDecode")) {
            at = end + 9;  // past "endstream"
            continue;
        }
        QByteArray zipped = pdf.mid(start, end - start);
        // qUncompress wants the expected length in front of the zlib data.
        const quint32 guess = static_cast<quint32>(zipped.size()) * 50 + 1024;
        zipped.prepend(static_cast<char>(guess & 0xff));
        zipped.prepend(static_cast<char>((guess >> 8) & 0xff));
        zipped.prepend(static_cast<char>((guess >> 16) & 0xff));
        zipped.prepend(static_cast<char>((guess >> 24) & 0xff));
        content += qUncompress(zipped);
        at = end + 9;
    }
    return content;
}

// The widest rectangle ("x y w h re") drawn on the page, in millimetres: with the page's
// scale from device units to points ("a 0 0 d e f cm").
double WidestRectangleMm(const QByteArray& content) {
    const QString text = QString::fromLatin1(content);
    const QRegularExpressionMatch scale =
        QRegularExpression(QStringLiteral("([0-9.]+) 0 0 -?[0-9.]+ [0-9.-]+ [0-9.-]+ cm"))
            .match(text);
    EXPECT_TRUE(scale.hasMatch());
    const double pointsPerUnit = scale.captured(1).toDouble();
    double widest = 0;
    auto rects = QRegularExpression(QStringLiteral("[0-9.-]+ [0-9.-]+ ([0-9.]+) [0-9.]+ re"))
                     .globalMatch(text);
    while (rects.hasNext()) {
        widest = std::max(widest, rects.next().captured(1).toDouble());
    }
    return widest * pointsPerUnit / 72.0 * 25.4;
}

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(QStringLiteral("Morlan"), QStringLiteral("Kelno")).clear();
        app.SetDesktopIntegration(
            {[this] { ++registrations; }, [this] { return unregisterRemovesAll; }});
        app.printing().SetPrinterFactory([this](const QString& name) -> std::unique_ptr<QPrinter> {
            printersAsked << name;
            if (name == QStringLiteral("missing")) {
                return nullptr;
            }
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdfPath);
            return printer;
        });
    }

    QTemporaryDir folder;
    QString pdfPath = folder.filePath(QStringLiteral("page.pdf"));
    QStringList printersAsked;
    int registrations = 0;
    bool unregisterRemovesAll = true;
    ScriptedPrompts prompts;
    CKelnoApp app{&prompts};
};

TEST_F(CommandLineTest, PrintSwitchPrintsOnePageAtTrueSizeAndEnds) {
    const std::string path = ExamplePath("bulb-and-battery.kel").toStdString();
    EXPECT_EQ(app.Start({"/p", path}), std::optional<int>(0));
    EXPECT_FALSE(app.frame().isVisible());
    EXPECT_EQ(printersAsked, QStringList{QString()});  // the default printer
    QFile file(pdfPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.contains("/Count 1"));
    // The widest rectangle is the battery's body: 16 mm on paper.
    EXPECT_NEAR(WidestRectangleMm(PdfContent(pdf)), 16.0, 0.1);
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(CommandLineTest, PrintToSwitchUsesTheNamedPrinterAndSaysWhenItIsMissing) {
    const std::string path = ExamplePath("switch.kel").toStdString();
    EXPECT_EQ(app.Start({"/pt", path, "missing"}), std::optional<int>(1));
    EXPECT_EQ(printersAsked, QStringList{QStringLiteral("missing")});
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("ﾌﾟﾘﾝﾀ missing が見つかりません。"));
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
}

TEST_F(CommandLineTest, FileThatCannotBeOpenedEndsTheProgramWithItsMessage) {
    const QString missing = folder.filePath(QStringLiteral("missing.kel"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{missing.toStdString()},
          std::vector<std::string>{"/p", missing.toStdString()}}) {
        prompts.errors.clear();
        EXPECT_EQ(app.Start(args), std::optional<int>(1));
        ASSERT_EQ(prompts.errors.size(), 1u);
        EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("ﾌｧｲﾙが見つかりません。")));
        EXPECT_FALSE(app.frame().isVisible());
    }
    EXPECT_TRUE(printersAsked.isEmpty());
}

TEST_F(CommandLineTest, FileArgumentOpensTheFileInTheWindow) {
    const std::string path = ExamplePath("meters.kel").toStdString();
    EXPECT_EQ(app.Start({path}), std::nullopt);
    EXPECT_TRUE(app.frame().isVisible());
    EXPECT_EQ(app.document().title(), QStringLiteral("meters.kel"));
}

TEST_F(CommandLineTest, DdeSwitchIsIgnored) {
    EXPECT_EQ(app.Start({"/dde"}), std::nullopt);
    EXPECT_TRUE(app.frame().isVisible());
    EXPECT_EQ(app.document().title(), QStringLiteral("無題"));
}

TEST_F(CommandLineTest, EveryStartRegistersWithTheDesktop) {
    EXPECT_EQ(app.Start({}), std::nullopt);
    EXPECT_EQ(registrations, 1);
}

TEST_F(CommandLineTest, UnregisterReportsTheResultUnlessEmbedded) {
    struct Case {
        std::vector<std::string> args;
        bool removesAll;
        int status;
        std::vector<QString> informations;
        std::vector<QString> errors;
    };
    const QString removed = QString::fromUtf8(messages::kUnregistered);
    const QString incomplete = QString::fromUtf8(messages::kUnregisterIncomplete);
    const Case cases[] = {
        {{"/Unregister"}, true, 0, {removed}, {}},
        {{"-unregserver"}, false, 1, {}, {incomplete}},
        {{"/Unregserver", "/Embedding"}, true, 0, {}, {}},
        {{"/Unregister", "-Embedding"}, false, 1, {}, {}},
    };
    for (const Case& c : cases) {
        unregisterRemovesAll = c.removesAll;
        prompts.informations.clear();
        prompts.errors.clear();
        EXPECT_EQ(app.Start(c.args), std::optional<int>(c.status)) << c.args[0];
        EXPECT_EQ(prompts.informations, c.informations) << c.args[0];
        EXPECT_EQ(prompts.errors, c.errors) << c.args[0];
        EXPECT_FALSE(app.frame().isVisible());
    }
}

TEST_F(CommandLineTest, WrongUseEndsTheProgramWithTheUsage) {
    EXPECT_EQ(app.Start({"/p"}), std::optional<int>(2));
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QString::fromUtf8(messages::kStartupUsage)));
    EXPECT_FALSE(app.frame().isVisible());
    EXPECT_TRUE(printersAsked.isEmpty());
}

}  // namespace
}  // namespace kelno

namespace kelno {
namespace {

// A pipe in place of a recent file, or of the settings file: each is named in a message and
// nothing waits on it (a wait would end the test in its time-out).
TEST_F(WindowTest, RecentFileThatBecameAPipeIsRefusedAtOnce) {
    const QString path = WriteCircuitFile(QDir(folder.path()), "piped.kel");
    ASSERT_TRUE(app->OpenFile(path));
    doc().NewDocument();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    emit frame().recentFileChosen(0);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("通常のﾌｧｲﾙではない")));
    EXPECT_TRUE(prompts.errors[0].contains(QFileInfo(path).fileName()));
    EXPECT_TRUE(doc().pathName().isEmpty());
}

// A file whose last save was cut short while it was overwritten in place: opening it offers
// the old content back; declined, the file opens as it is.
TEST_F(WindowTest, FileOfAnInterruptedSaveOffersItsOldContentBack) {
    const QString path = WriteCircuitFile(QDir(folder.path()), "torn.kel");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    const std::string local = QFile::encodeName(path).toStdString();
    const auto tear = [&] {
        ASSERT_EQ(InPlaceCopy::Keep(local, {reinterpret_cast<const std::uint8_t*>(whole.data()),
                                            static_cast<std::size_t>(whole.size())}),
                  0);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(whole.left(30) + QByteArray(whole.size() - 30, '\0'));
        file.close();
    };
    // Torn like this, the file still reads: as lone points, without a single element.
    tear();
    prompts.restoreAnswers = {false};
    ASSERT_TRUE(app->OpenFile(path));
    EXPECT_EQ(core().circuit().ElementCount(), 0u);
    EXPECT_FALSE(InPlaceCopy::Find(local).has_value());  // the user chose what is there
    tear();
    prompts.restoreAnswers = {true};
    ASSERT_TRUE(app->OpenFile(path));
    ASSERT_EQ(prompts.restoreQuestions.size(), 2u);
    EXPECT_TRUE(prompts.restoreQuestions[1].contains(path));
    EXPECT_GT(core().circuit().ElementCount(), 0u);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), whole);
    file.close();
    EXPECT_FALSE(InPlaceCopy::Find(local).has_value());
    EXPECT_TRUE(app->OpenFile(path));  // nothing more to offer
    EXPECT_EQ(prompts.restoreQuestions.size(), 2u);
}

// Both files QSettings reads: the program's own and its maker's, beside the folder of it.
TEST(SettingsFileTest, APipeInItsPlaceIsNamedAtStartAndLeftAlone) {
    const QString own = AppSettings::FilePath();
    const QString maker =
        QFileInfo(QFileInfo(own).absolutePath()).absolutePath() + QStringLiteral("/Morlan.conf");
    for (const QString& path : {own, maker}) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        ScriptedPrompts prompts;
        {
            CKelnoApp app(&prompts);
            KeepDesktopAlone(app);
            EXPECT_FALSE(app.Start({}).has_value());
            app.classroom().SetExplainShort(false);  // written nowhere
        }
        ASSERT_EQ(prompts.errors.size(), 1u) << path.toStdString();
        EXPECT_TRUE(
            prompts.errors[0].contains(QString::fromUtf8(messages::kSettingsNotRegularFile)));
        EXPECT_TRUE(prompts.errors[0].contains(path));
        struct stat info;
        EXPECT_TRUE(::lstat(QFile::encodeName(path).constData(), &info) == 0 &&
                    S_ISFIFO(info.st_mode));
        EXPECT_TRUE(QFile::remove(path));
    }
}

}  // namespace
}  // namespace kelno
