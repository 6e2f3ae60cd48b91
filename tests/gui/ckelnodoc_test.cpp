#include "ckelnodoc.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "command_ids.h"
#include "gui/window_fixture.h"
#include "io/file_bytes.h"
#include "text/code_page_932.h"

namespace kelno {
namespace {

using testing::ExamplePath;
using testing::WindowTest;
using testing::WriteCircuitFile;
using SaveAnswer = Prompts::SaveAnswer;

KelReadResult ReadBack(const QString& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(ReadFileBytes(path.toStdString(), bytes, error)) << error;
    return ReadKel(bytes, [](std::int32_t) { return true; });
}

TEST_F(WindowTest, NewAsksAboutUnsavedWorkAndFollowsTheAnswer) {
    struct Case {
        SaveAnswer answer;
        bool saved;
        bool renewed;
    };
    for (const Case c :
         {Case{SaveAnswer::Cancel, false, false}, Case{SaveAnswer::Discard, false, true},
          Case{SaveAnswer::Save, true, true}}) {
        const QString target = Path("saved-before-new.kel");
        QFile::remove(target);
        MakeModified();
        prompts.saveAnswers.push_back(c.answer);
        if (c.answer == SaveAnswer::Save) {
            prompts.filesToSave.push_back(target);
        }
        command(command::kFileNew)->trigger();
        EXPECT_EQ(prompts.saveQuestions.back(), QStringLiteral("無題"));
        EXPECT_EQ(QFileInfo::exists(target), c.saved);
        EXPECT_EQ(core().commentText().empty(), c.renewed);
        EXPECT_EQ(doc().isModified(), !c.renewed);
        doc().NewDocument();
    }
}

TEST_F(WindowTest, OpenChoosesTheFileThenAsksAboutUnsavedWork) {
    const QString path = ExamplePath("bulbs-in-parallel.kel");
    MakeModified();
    prompts.filesToOpen = {path, path};
    prompts.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Discard};
    command(command::kFileOpen)->trigger();
    EXPECT_TRUE(doc().pathName().isEmpty());
    EXPECT_EQ(core().commentText(), "note");

    command(command::kFileOpen)->trigger();
    EXPECT_EQ(doc().pathName(), QFileInfo(path).absoluteFilePath());
    EXPECT_GT(core().circuit().ElementCount(), 0u);
    EXPECT_EQ(core().currentTool(), Tool::Wire);
    EXPECT_TRUE(command(command::kWireTool)->isChecked());
    EXPECT_FALSE(doc().isModified());
}

TEST_F(WindowTest, SaveAsAddsTheExtensionAndSaveWritesTheWindowRectangle) {
    MakeModified();
    prompts.filesToSave.push_back(Path("circuit"));
    command(command::kFileSave)->trigger();  // a new document has no file yet: Save As
    const QString saved = Path("circuit.kel");
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(doc().pathName(), saved);
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(prompts.saveSuggestions.back(), QDir::current().filePath("無題.kel"));

    frame().resize(700, 500);
    frame().move(30, 40);
    core().SetComment("more", 0);
    command(command::kFileSave)->trigger();  // to the same file, without a dialog
    const KelReadResult back = ReadBack(saved);
    EXPECT_EQ(back.contents.commentText, "more");
    EXPECT_EQ(back.contents.window, frame().windowRect());
    EXPECT_EQ(back.contents.window.width(), frame().frameGeometry().width());
}

TEST_F(WindowTest, SaveFailureSaysSoNamesTheFileAndTheReasonAndKeepsTheWorkUnsaved) {
    QFile plainFile(Path("plain-file"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    struct Case {
        const char* target;
        const char* reason;
    };
    const Case cases[] = {
        {"no-such-folder/circuit.kel", "(ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。)"},
        {"plain-file/circuit.kel", "(ﾊﾟｽの途中にﾌｫﾙﾀﾞでないものがあります。)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        prompts.errors.clear();
        MakeModified();
        const QString target = Path(c.target);
        prompts.filesToSave.push_back(target);
        command(command::kFileSaveAs)->trigger();
        ASSERT_EQ(prompts.errors.size(), 1u);
        const QString& error = prompts.errors[0];
        EXPECT_TRUE(error.startsWith(QStringLiteral("ﾄﾞｷｭﾒﾝﾄを保存することに失敗しました。\n")))
            << error.toStdString();
        EXPECT_TRUE(error.contains(target)) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
        EXPECT_TRUE(doc().isModified());
        EXPECT_TRUE(doc().pathName().isEmpty());
    }
}

TEST_F(WindowTest, NewerFileIsOpenedOnlyWhenTheUserSaysYes) {
    const QString newer = WriteCircuitFile(QDir(folder.path()), "newer.kel", {}, false, 107);
    prompts.newerVersionAnswers = {false, true};
    EXPECT_EQ(doc().OpenDocumentFile(newer), LoadStatus::NewerVersionRefused);
    ASSERT_EQ(prompts.newerVersionQuestions.size(), 1u);
    EXPECT_EQ(prompts.newerVersionQuestions[0],
              QStringLiteral(
                  "Please update Kelno\n I don't know this version(1.07).\nDo you OPEN anyway?"));
    EXPECT_EQ(prompts.errors,
              std::vector<QString>{QStringLiteral("ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。")});
    EXPECT_EQ(core().circuit().ElementCount(), 0u);
    EXPECT_TRUE(doc().pathName().isEmpty());

    EXPECT_EQ(doc().OpenDocumentFile(newer), LoadStatus::Ok);
    EXPECT_EQ(core().circuit().ElementCount(), 4u);
}

TEST_F(WindowTest, DamagedFileIsReportedAndLeavesTheDocumentAlone) {
    MakeModified();
    const QString damaged = Path("damaged.kel");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x6a\x00\x00\x00\x01", 5);
    file.close();
    EXPECT_EQ(doc().OpenDocumentFile(damaged), LoadStatus::Malformed);
    EXPECT_EQ(prompts.errors, std::vector<QString>{QStringLiteral("予期しないﾌｧｲﾙ形式です。")});
    EXPECT_EQ(core().commentText(), "note");
    EXPECT_TRUE(doc().isModified());
}

TEST_F(WindowTest, CommentOfAFileOpensWithItWhenItAsksTo) {
    const std::string comment = Utf8ToCp932("電池と電球\r\n二行目");
    const QString path = WriteCircuitFile(QDir(folder.path()), "comment.kel", comment, true);
    prompts.commentAnswers.push_back(std::nullopt);
    ASSERT_EQ(doc().OpenDocumentFile(path), LoadStatus::Ok);
    ASSERT_EQ(prompts.commentsShown.size(), 1u);
    EXPECT_EQ(prompts.commentsShown[0].text, QStringLiteral("電池と電球\n二行目"));
    EXPECT_TRUE(prompts.commentsShown[0].showOnOpen);
    EXPECT_FALSE(doc().isModified());

    // Looked at and closed with OK: nothing changed. Edited: unsaved work to keep.
    prompts.commentAnswers.push_back(prompts.commentsShown[0]);
    ASSERT_EQ(doc().OpenDocumentFile(path), LoadStatus::Ok);
    EXPECT_FALSE(doc().isModified());
    prompts.commentAnswers.push_back(Prompts::Comment{QStringLiteral("新しい\nメモ"), false});
    ASSERT_EQ(doc().OpenDocumentFile(path), LoadStatus::Ok);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(core().commentText(), Utf8ToCp932("新しい\r\nメモ"));
    EXPECT_EQ(core().showCommentOnOpen(), 0);

    const QString quiet = WriteCircuitFile(QDir(folder.path()), "quiet.kel", comment, false);
    prompts.saveAnswers.push_back(SaveAnswer::Discard);
    ASSERT_TRUE(app->OpenFile(quiet));
    EXPECT_EQ(prompts.commentsShown.size(), 3u);  // not shown again
}

TEST_F(WindowTest, CommentCommandKeepsUneditedBytesAndMarksTheDocumentOnOk) {
    // 0x81 0x7F is no code page 932 character: shown as a replacement, kept as it was.
    const std::string odd = std::string("a\x81\x7f", 3);
    core().SetComment(odd, 0);
    core().MarkSaved();
    prompts.commentAnswers.push_back(std::nullopt);
    command(command::kComment)->trigger();
    EXPECT_FALSE(doc().isModified());

    prompts.commentAnswers.push_back(Prompts::Comment{QString::fromStdU16String(u"a\uFFFD\u007F"),
                                                      false});  // OK without an edit
    command(command::kComment)->trigger();
    EXPECT_EQ(prompts.commentsShown.back().text, QString::fromStdU16String(u"a\uFFFD\u007F"));
    EXPECT_EQ(core().commentText(), odd);
    EXPECT_TRUE(doc().isModified());
}

TEST_F(WindowTest, OptionsCommandTakesTheValuesOnOkOnly) {
    DocumentOptions changed = core().options();
    changed.showCurrentFlow = !changed.showCurrentFlow;
    changed.undoBufferSize = 3;
    prompts.optionAnswers = {std::nullopt, changed};
    command(command::kOptions)->trigger();
    EXPECT_NE(core().options(), changed);
    EXPECT_FALSE(doc().isModified());
    command(command::kOptions)->trigger();
    EXPECT_EQ(core().options(), changed);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(app->view().drawSettings().showCurrentFlow, changed.showCurrentFlow);
    core().SetOptions(DocumentOptions{});
}

// One setting for the whole program: the options dialog and every file opened set it for the
// view, its editing and the next save, also of a new document.
TEST_F(WindowTest, RightAngledWiresFollowTheOptionsAndTheFileOpened) {
    const auto expectEverywhere = [this](bool on) {
        EXPECT_EQ(app->noDiagonalWires(), on);
        EXPECT_EQ(app->view().drawSettings().noDiagonalWires, on);
        EXPECT_EQ(app->view().controller().noDiagonalWires(), on);
    };
    DocumentOptions options = core().options();
    options.noDiagonalWires = true;
    prompts.optionAnswers.push_back(options);
    command(command::kOptions)->trigger();
    expectEverywhere(true);
    const QString angled = Path("angled.kel");
    ASSERT_TRUE(doc().SaveTo(angled));

    options.noDiagonalWires = false;
    prompts.optionAnswers.push_back(options);
    command(command::kOptions)->trigger();
    expectEverywhere(false);

    prompts.saveAnswers.push_back(SaveAnswer::Discard);
    ASSERT_TRUE(app->OpenFile(angled));
    expectEverywhere(true);
    command(command::kFileNew)->trigger();
    expectEverywhere(true);
    const QString renewed = Path("renewed.kel");
    ASSERT_TRUE(doc().SaveTo(renewed));
    EXPECT_TRUE(ReadBack(renewed).contents.noDiagonalWires);
}

}  // namespace
}  // namespace kelno
