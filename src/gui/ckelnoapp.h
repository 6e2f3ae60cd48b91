#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_settings.h"
#include "document/document.h"
#include "shell/recent_file_list.h"

namespace kelno {

class CKelnoDoc;
class CKelnoView;
class CMainFrame;
class ClassroomMode;
class DialogPrompts;
class ExportCommandRunner;
class PrintCommands;
class Prompts;

// The editor: one document, one view and the main window for the whole run, the
// commands of the application (New, Open, the recent files, printer setup, About), the
// command line and the per-user settings.
class CKelnoApp : public QObject {
    Q_OBJECT

public:
    // Without prompts the editor asks in message boxes and dialogs over its window.
    explicit CKelnoApp(Prompts* prompts = nullptr, Document::Clock clock = {});
    ~CKelnoApp() override;

    // How the program makes itself known to the desktop for ".kel" files, and forgets it
    // again (true when everything, the settings included, was removed).
    struct DesktopIntegration {
        std::function<void()> registerProgram;
        std::function<bool()> unregisterProgram;
    };
    // The user's desktop unless changed; tests keep theirs alone.
    void SetDesktopIntegration(DesktopIntegration desktop) { desktop_ = std::move(desktop); }

    // Runs the command line (the arguments after the program's name). Gives the exit status
    // when the program ends at once (printing, unregistering, a file that cannot be opened);
    // otherwise shows the window and gives nothing: the event loop runs from here on.
    std::optional<int> Start(const std::vector<std::string>& args);

    CMainFrame& frame() { return *frame_; }
    CKelnoDoc& document() { return *document_; }
    CKelnoView& view() { return *view_; }
    PrintCommands& printing() { return *printing_; }
    ClassroomMode& classroom() { return *classroom_; }
    const RecentFileList& recentFiles() const { return recentFiles_; }
    int previewPages() const { return previewPages_; }
    // The program's option that wires run at right angles.
    bool noDiagonalWires() const { return noDiagonalWires_; }

    // Opens a file after the "save changes?" step: the Open dialog, a recent file, a
    // dropped file. False when nothing was opened.
    bool OpenFile(const QString& path);

private:
    void ConnectDocument();
    void ConnectCommands();
    void UpdateCommandStates();
    void UpdatePasteState();
    // Runs a command as its menu item does; the context menu runs commands this way.
    void RunCommand(int id);
    void UpdateRecentMenu();
    void RememberFile(const QString& path);

    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    void OnPrintPreview();
    void OnPrintSetup();
    void OnAbout();
    void OnOptions();
    // The program's option of right-angled wires, for the document's next save, the view
    // and its editing.
    void ApplyNoDiagonalWires(bool on);

    std::optional<int> PrintAndEnd(const QString& path, const QString& printer);
    int Unregister(bool quietly);

    DesktopIntegration desktop_;
    AppSettings settings_;
    RecentFileList recentFiles_;
    int previewPages_ = 0;
    // One setting for the whole program: the file opened last or the options dialog set it.
    bool noDiagonalWires_ = false;
    std::unique_ptr<DialogPrompts> ownPrompts_;
    Prompts* prompts_ = nullptr;
    std::unique_ptr<CKelnoDoc> document_;
    std::unique_ptr<ClassroomMode> classroom_;
    std::unique_ptr<PrintCommands> printing_;
    std::unique_ptr<ExportCommandRunner> exports_;
    // Destroyed first: the window and the view it holds refer to the document.
    std::unique_ptr<CMainFrame> frame_;
    CKelnoView* view_ = nullptr;
    std::map<int, std::function<void()>> handlers_;
    // Whether the clipboard holds circuit text; read again only when the clipboard changes,
    // since reading another program's clipboard takes a round trip to it.
    bool pasteAvailable_ = false;
};

}  // namespace kelno
