#include "desktop_registration.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "app_settings.h"
#include "command_icons.h"
#include "shell/desktop_files.h"

namespace kelno {

namespace {

constexpr int kIconSizes[] = {16, 32, 48, 256};

struct DesktopFile {
    QString path;
    QByteArray contents;
};

QString DataHome() {
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    // The desktop ignores a relative folder here, and so do we.
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) {
        return configured;
    }
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString ApplicationsFolder(const QString& home) {
    return home + QStringLiteral("/applications");
}

QString MimeFolder(const QString& home) {
    return home + QStringLiteral("/mime");
}

QString DesktopEntryPath(const QString& home) {
    return ApplicationsFolder(home) + QStringLiteral("/kelno.desktop");
}

QString MimePackagePath(const QString& home) {
    return MimeFolder(home) + QStringLiteral("/packages/kelno.xml");
}

QString IconPath(const QString& home, int pixels) {
    return home + QStringLiteral("/icons/hicolor/%1x%1/apps/%2.png")
                      .arg(pixels)
                      .arg(QString::fromUtf8(kIconName.data(), kIconName.size()));
}

QByteArray PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QList<QString> IconPaths(const QString& home) {
    QList<QString> paths;
    for (const int pixels : kIconSizes) {
        paths << IconPath(home, pixels);
    }
    return paths;
}

// Whether `path` is a regular file of its own, not a link: only such a file is read or
// written in place. Asked without opening it, so a pipe cannot hold the start-up.
bool IsPlainFile(const QString& path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Makes room for a file of ours: a link in its place is removed itself, so that a write
// never goes through it to a file elsewhere. False when something else than a regular
// file stands there (a pipe, a device, a folder): it is left alone and not written.
bool ClearPlaceFor(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    struct stat info;
    if (::lstat(local.constData(), &info) != 0) {
        return errno == ENOENT;
    }
    if (S_ISLNK(info.st_mode)) {
        return ::unlink(local.constData()) == 0;
    }
    return S_ISREG(info.st_mode);
}

// Writes a file unless it already holds `contents`; true when it was written.
bool WriteIfChanged(const DesktopFile& file) {
    if (IsPlainFile(file.path)) {
        QFile existing(file.path);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == file.contents) {
            return false;
        }
    }
    if (!ClearPlaceFor(file.path) || !QDir().mkpath(QFileInfo(file.path).absolutePath())) {
        return false;
    }
    QSaveFile out(file.path);
    return out.open(QIODevice::WriteOnly) && out.write(file.contents) == file.contents.size() &&
           out.commit();
}

// Icons are compared by their pixels: making a PNG file costs far more than reading one.
void WriteIconIfChanged(const QString& path, const QImage& icon) {
    const QImage current = IsPlainFile(path) ? QImage(path) : QImage();
    if (current.convertToFormat(icon.format()) != icon) {
        WriteIfChanged({path, PngOf(icon)});
    }
}

// Starts a desktop tool in the background, when it is installed, with its output dropped.
void RunInBackground(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        return;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments({folder});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}

void RefreshMimeDatabase(const QString& home) {
    RunInBackground(QStringLiteral("update-mime-database"), MimeFolder(home));
}

void RefreshDesktopDatabase(const QString& home) {
    RunInBackground(QStringLiteral("update-desktop-database"), ApplicationsFolder(home));
}

// Removes the file or link itself (a link's target stays).
bool RemoveFile(const QString& path) {
    ::unlink(QFile::encodeName(path).constData());
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

// The settings of QSettings("Morlan", "Kelno"): emptied, and their file removed, since an
// empty file would still be left behind.
// A link in the file's place is removed itself, and its target left as it is; so is
// anything else than a regular file, which QSettings could wait on for ever.
bool RemoveSettings() {
    const QString file = AppSettings::FilePath();
    if (IsPlainFile(file)) {
        QSettings settings(QStringLiteral("Morlan"), QStringLiteral("Kelno"));
        settings.clear();
        settings.sync();
    }
    const bool gone = RemoveFile(file);
    // The maker's folder goes too when nothing else is in it.
    QDir().rmdir(QFileInfo(file).absolutePath());
    return gone;
}

}  // namespace

void RegisterDesktopIntegration() {
    const QString home = DataHome();
    const std::string executable = QCoreApplication::applicationFilePath().toStdString();
    const DesktopFile entry{DesktopEntryPath(home),
                            QByteArray::fromStdString(DesktopEntryText(executable))};
    const DesktopFile mime{MimePackagePath(home), QByteArray::fromStdString(MimePackageText())};
    if (WriteIfChanged(mime)) {
        RefreshMimeDatabase(home);
    }
    if (WriteIfChanged(entry)) {
        RefreshDesktopDatabase(home);
    }
    for (const int pixels : kIconSizes) {
        WriteIconIfChanged(IconPath(home, pixels), ApplicationIconImage(pixels));
    }
}

bool UnregisterDesktopIntegration() {
    const QString home = DataHome();
    bool gone = true;
    const bool hadMime = QFileInfo::exists(MimePackagePath(home));
    gone = RemoveFile(MimePackagePath(home)) && gone;
    const bool hadEntry = QFileInfo::exists(DesktopEntryPath(home));
    gone = RemoveFile(DesktopEntryPath(home)) && gone;
    for (const QString& icon : IconPaths(home)) {
        gone = RemoveFile(icon) && gone;
    }
    if (hadMime) {
        RefreshMimeDatabase(home);
    }
    if (hadEntry) {
        RefreshDesktopDatabase(home);
    }
    return RemoveSettings() && gone;
}

}  // namespace kelno
