#include "app_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include "io/file_bytes.h"
#include "shell/recent_file_list.h"

namespace kelno {

namespace {

const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kSettingsGroup = QStringLiteral("Settings");
const QString kPreviewPages = QStringLiteral("PreviewPages");

QString EntryName(std::size_t index) {
    return QStringLiteral("File%1").arg(index + 1);
}

class Store : public QSettings {
public:
    Store() : QSettings(AppSettings::kOrganization, AppSettings::kApplication) {}
    bool readable() const { return status() == QSettings::NoError; }
};

}  // namespace

namespace {

bool IsRegularOrMissing(const QString& path) {
    return IsRegularFileOrMissing(QFile::encodeName(path).toStdString());
}

// The organisation's own file beside the folder of the application's file; QSettings reads
// it too, as a fallback, though the program never writes it.
QString OrganisationFileBeside(const QString& folder) {
    return folder + QStringLiteral("/%1.conf").arg(QString::fromUtf8(AppSettings::kOrganization));
}

}  // namespace

// QSettings' own choice: the file named after the application, in a folder named after the
// organisation, beside the organisation's own file. QSettings reads a file as soon as it is
// made, so the folder is asked of a QSettings of the organisation's file alone (which tests
// move with QSettings::setPath), and only when that file in its usual place cannot hold
// the start-up.
QString AppSettings::FilePath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (IsRegularOrMissing(OrganisationFileBeside(folder))) {
        const QSettings organisation(QSettings::NativeFormat, QSettings::UserScope,
                                     QString::fromUtf8(kOrganization));
        folder = QFileInfo(organisation.fileName()).absolutePath();
    }
    return folder + QStringLiteral("/%1/%2.conf")
                        .arg(QString::fromUtf8(kOrganization), QString::fromUtf8(kApplication));
}

QString AppSettings::UnusableFile() {
    const QString path = FilePath();
    const QString organisation =
        OrganisationFileBeside(QFileInfo(QFileInfo(path).absolutePath()).absolutePath());
    for (const QString& file : {path, organisation}) {
        if (!IsRegularOrMissing(file)) {
            return file;
        }
    }
    return {};
}

bool AppSettings::FileUsable() {
    return UnusableFile().isEmpty();
}

std::vector<std::string> AppSettings::ReadRecentFiles() const {
    std::vector<std::string> paths;
    if (!FileUsable()) {
        return paths;
    }
    Store store;
    if (!store.readable()) {
        return paths;
    }
    store.beginGroup(kRecentGroup);
    for (std::size_t i = 0; i < RecentFileList::kCapacity; ++i) {
        const QString path = store.value(EntryName(i)).toString();
        if (!path.isEmpty()) {
            paths.push_back(path.toStdString());
        }
    }
    return paths;
}

void AppSettings::WriteRecentFiles(const std::vector<std::string>& paths) {
    if (!FileUsable()) {
        return;
    }
    Store store;
    store.beginGroup(kRecentGroup);
    for (std::size_t i = 0; i < RecentFileList::kCapacity; ++i) {
        if (i < paths.size()) {
            store.setValue(EntryName(i), QString::fromStdString(paths[i]));
        } else {
            store.remove(EntryName(i));
        }
    }
}

int AppSettings::ReadPreviewPages() const {
    if (!FileUsable()) {
        return 0;
    }
    Store store;
    if (!store.readable()) {
        return 0;
    }
    bool isNumber = false;
    const int pages =
        store.value(kSettingsGroup + QStringLiteral("/") + kPreviewPages).toInt(&isNumber);
    return isNumber && pages > 0 ? pages : 0;
}

void AppSettings::WritePreviewPages(int pages) {
    if (pages <= 0 || !FileUsable()) {
        return;
    }
    Store store;
    store.setValue(kSettingsGroup + QStringLiteral("/") + kPreviewPages, pages);
}

}  // namespace kelno
