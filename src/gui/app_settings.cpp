#include "app_settings.h"

#include <QSettings>
#include <QString>

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

std::vector<std::string> AppSettings::ReadRecentFiles() const {
    Store store;
    std::vector<std::string> paths;
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
    if (pages <= 0) {
        return;
    }
    Store store;
    store.setValue(kSettingsGroup + QStringLiteral("/") + kPreviewPages, pages);
}

}  // namespace kelno
