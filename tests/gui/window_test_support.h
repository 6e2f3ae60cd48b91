#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ckelnoapp.h"
#include "document/document.h"
#include "prompts.h"

namespace kelno::testing {

// Answers the editor's questions from a script and records what it was asked and told.
// A question without a scripted answer fails the test and is answered with Cancel or No.
class ScriptedPrompts : public Prompts {
public:
    std::deque<SaveAnswer> saveAnswers;
    std::vector<QString> saveQuestions;  // the document names asked about

    std::deque<bool> newerVersionAnswers;
    std::vector<QString> newerVersionQuestions;

    std::deque<bool> restoreAnswers;
    std::vector<QString> restoreQuestions;

    std::vector<QString> errors;
    std::vector<QString> informations;

    std::deque<QString> filesToOpen;
    std::deque<QString> filesToSave;
    std::vector<QString> saveSuggestions;

    // The comment dialog's answer: the values entered, or nothing for Cancel.
    std::deque<std::optional<Comment>> commentAnswers;
    std::vector<Comment> commentsShown;

    std::deque<std::optional<DocumentOptions>> optionAnswers;
    // The highlight of a short as the options dialog showed it, and as the user leaves it
    // (unchanged when there is no answer).
    std::vector<bool> explainShortShown;
    std::deque<bool> explainShortAnswers;

    // The export dialogs' answers and the names they suggested, by the format's extension.
    std::map<std::string, std::deque<QString>> exportFiles;
    std::map<std::string, std::vector<QString>> exportSuggestions;
    std::vector<QString> exportTitles;

    // The details dialog's answer: the values entered, or nothing for Cancel.
    std::deque<std::optional<DetailsValues>> detailsAnswers;
    std::vector<DetailsValues> detailsShown;

    SaveAnswer AskSaveChanges(const QString& documentName) override {
        saveQuestions.push_back(documentName);
        return Next(saveAnswers, SaveAnswer::Cancel, "save question");
    }
    bool AskOpenNewerVersion(const QString& question) override {
        newerVersionQuestions.push_back(question);
        return Next(newerVersionAnswers, false, "newer-version question");
    }
    bool AskRestoreInterruptedSave(const QString& question) override {
        restoreQuestions.push_back(question);
        return Next(restoreAnswers, false, "restore question");
    }
    void ShowError(const QString& text) override { errors.push_back(text); }
    void ShowInformation(const QString& text) override { informations.push_back(text); }
    QString ChooseFileToOpen(const QString&) override {
        return Next(filesToOpen, QString(), "open dialog");
    }
    QString ChooseFileToSave(const QString& suggestedPath) override {
        saveSuggestions.push_back(suggestedPath);
        return Next(filesToSave, QString(), "save dialog");
    }
    QString ChooseExportFile(const QString& title, const ExportFormat& format,
                             const QString& suggestedPath) override {
        const std::string extension(format.extension());
        exportTitles.push_back(title);
        exportSuggestions[extension].push_back(suggestedPath);
        return Next(exportFiles[extension], QString(), (extension + " export dialog").c_str());
    }
    std::optional<DetailsValues> EditDetails(const DetailsValues& initial) override {
        detailsShown.push_back(initial);
        return Next(detailsAnswers, std::optional<DetailsValues>(), "details dialog");
    }
    bool EditComment(Comment& comment) override {
        commentsShown.push_back(comment);
        const std::optional<Comment> answer =
            Next(commentAnswers, std::optional<Comment>(), "comment dialog");
        if (answer) {
            comment = *answer;
        }
        return answer.has_value();
    }
    bool EditOptions(DocumentOptions& options, bool& explainShort) override {
        explainShortShown.push_back(explainShort);
        const std::optional<DocumentOptions> answer =
            Next(optionAnswers, std::optional<DocumentOptions>(), "options dialog");
        if (answer) {
            options = *answer;
            if (!explainShortAnswers.empty()) {
                explainShort = explainShortAnswers.front();
                explainShortAnswers.pop_front();
            }
        }
        return answer.has_value();
    }

    // Every scripted answer was used.
    bool scriptUsedUp() const {
        return saveAnswers.empty() && newerVersionAnswers.empty() && filesToOpen.empty() &&
               filesToSave.empty() && commentAnswers.empty() && optionAnswers.empty() &&
               explainShortAnswers.empty() && exportsUsedUp() &&
               detailsAnswers.empty() && restoreAnswers.empty();
    }

private:
    bool exportsUsedUp() const {
        for (const auto& [extension, files] : exportFiles) {
            if (!files.empty()) {
                return false;
            }
        }
        return true;
    }

    template <typename T>
    static T Next(std::deque<T>& answers, T fallback, const char* what) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return fallback;
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

// Keeps the desktop folders of the test alone: registering starts the desktop's database
// tools in the background.
inline void KeepDesktopAlone(CKelnoApp& app) {
    app.SetDesktopIntegration({[] {}, [] { return true; }});
}

// The example circuits of the repository.
inline QString ExamplePath(const char* name) {
    return QStringLiteral(KELNO_EXAMPLES_DIR "/") + QString::fromUtf8(name);
}

// A .kel file of a battery and a bulb in a ring, written by the core, with a comment and
// a format version of choice.
QString WriteCircuitFile(const QDir& folder, const QString& name, const std::string& comment = {},
                         bool showCommentOnOpen = false, std::int32_t version = kFormatVersion);

}  // namespace kelno::testing
