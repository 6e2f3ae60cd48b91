#pragma once

#include <QString>
#include <string>
#include <vector>

namespace kelno {

// The program's per-user settings, QSettings("Morlan", "Kelno"): the recent-file list
// ("Recent File List", "File1" to "File4", newest first) and the number of pages the print
// preview shows side by side ("Settings", "PreviewPages"). Settings that cannot be read
// give the defaults: no recent files, PreviewPages 0.
class AppSettings {
public:
    static constexpr const char* kOrganization = "Morlan";
    static constexpr const char* kApplication = "Kelno";

    // The file QSettings keeps these settings in.
    static QString FilePath();
    // False when something else than a regular file (a pipe, a device, a folder) stands
    // where the settings file belongs: QSettings could wait on it for ever, so the settings
    // are then neither read nor written, here or in any other group of the same file.
    static bool FileUsable();
    // The file that makes them unusable (this one, or the organisation's own file that
    // QSettings reads besides), or an empty text.
    static QString UnusableFile();

    std::vector<std::string> ReadRecentFiles() const;  // UTF-8 paths
    void WriteRecentFiles(const std::vector<std::string>& paths);

    int ReadPreviewPages() const;
    // Written only when the preview has been used: 0 is never stored.
    void WritePreviewPages(int pages);
};

}  // namespace kelno
