#include "desktop_registration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include "app_settings.h"

namespace kelno {
namespace {

bool IsPipe(const QString& path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Points the desktop's data folder and the settings into a temporary folder for one test.
class DesktopRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temporary_.isValid());
        previousDataHome_ = qgetenv("XDG_DATA_HOME");
        hadDataHome_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", DataHome().toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           temporary_.filePath(QStringLiteral("config")));
    }
    void TearDown() override {
        if (hadDataHome_) {
            qputenv("XDG_DATA_HOME", previousDataHome_);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }
    QString DataHome() const { return temporary_.filePath(QStringLiteral("share")); }
    QString EntryPath() const { return DataHome() + QStringLiteral("/applications/kelno.desktop"); }
    QString MimePath() const { return DataHome() + QStringLiteral("/mime/packages/kelno.xml"); }
    QString IconPath() const {
        return DataHome() + QStringLiteral("/icons/hicolor/48x48/apps/kelno.png");
    }

    QTemporaryDir temporary_;
    QByteArray previousDataHome_;
    bool hadDataHome_ = false;
};

TEST_F(DesktopRegistrationTest, WritesEntryTypeAndIconAndMendsThem) {
    RegisterDesktopIntegration();
    const QString entry = QString::fromUtf8(Contents(EntryPath()));
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=") + QCoreApplication::applicationFilePath() +
                               QStringLiteral(" %f\n")))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=application/x-kelno;")));
    const QByteArray mime = Contents(MimePath());
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.kel\"/>"));
    EXPECT_TRUE(mime.contains("<comment>Kelno Document</comment>"));
    EXPECT_EQ(QImage(IconPath()).size(), QSize(48, 48));

    // A damaged entry is put right at the next start.
    {
        QFile damaged(EntryPath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("[Desktop Entry]\n");
    }
    RegisterDesktopIntegration();
    EXPECT_EQ(QString::fromUtf8(Contents(EntryPath())), entry);
}

TEST_F(DesktopRegistrationTest, UnregistrationRemovesFilesAndSettings) {
    RegisterDesktopIntegration();
    QString settingsFile;
    {
        QSettings settings(QStringLiteral("Morlan"), QStringLiteral("Kelno"));
        settings.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/tmp/a.kel"));
        settings.sync();
        settingsFile = settings.fileName();
    }
    ASSERT_TRUE(QFileInfo::exists(settingsFile));
    ASSERT_TRUE(settingsFile.startsWith(temporary_.path()));

    EXPECT_TRUE(UnregisterDesktopIntegration());
    for (const QString& path : {EntryPath(), MimePath(), IconPath(), settingsFile}) {
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
    // Nothing left to remove is success too.
    EXPECT_TRUE(UnregisterDesktopIntegration());
}

TEST_F(DesktopRegistrationTest, FolderThatCannotBeWrittenIsPassedOverQuietly) {
    // The data folder is a file: nothing can be made below it.
    {
        QFile blocker(DataHome());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    RegisterDesktopIntegration();
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));
    EXPECT_TRUE(QFileInfo(DataHome()).isFile());
}

// Links planted where the registration writes or removes its files: the links themselves
// are replaced or removed, and the files they point to keep their bytes.
TEST_F(DesktopRegistrationTest, LinksInItsPlacesAreReplacedNeverWrittenThrough) {
    const QString victim = temporary_.filePath(QStringLiteral("victim"));
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    const QString settingsFile = AppSettings::FilePath();
    ASSERT_TRUE(settingsFile.startsWith(temporary_.path()));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(EntryPath()).absolutePath()));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFile).absolutePath()));
    ASSERT_TRUE(QFile::link(victim, EntryPath()));
    RegisterDesktopIntegration();
    EXPECT_FALSE(QFileInfo(EntryPath()).isSymLink());
    EXPECT_TRUE(Contents(EntryPath()).contains("MimeType=application/x-kelno;"));
    EXPECT_EQ(Contents(victim), QByteArray("precious"));

    ASSERT_TRUE(QFile::remove(EntryPath()));
    ASSERT_TRUE(QFile::link(victim, EntryPath()));
    ASSERT_TRUE(QFile::link(victim, settingsFile));
    EXPECT_TRUE(UnregisterDesktopIntegration());
    for (const QString& path : {EntryPath(), settingsFile}) {
        EXPECT_FALSE(QFileInfo(path).isSymLink()) << path.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
    EXPECT_EQ(Contents(victim), QByteArray("precious"));
}

// A pipe where the settings file or the desktop entry belongs: start-up and Unregister
// pass it without waiting on it (a wait would end the test in its time-out).
TEST_F(DesktopRegistrationTest, PipesInItsPlacesHoldNothingUp) {
    const QString settingsFile = AppSettings::FilePath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(EntryPath()).absolutePath()));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFile).absolutePath()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(EntryPath()).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(settingsFile).constData(), 0600), 0);
    EXPECT_FALSE(AppSettings::FileUsable());
    AppSettings settings;
    EXPECT_TRUE(settings.ReadRecentFiles().empty());
    settings.WriteRecentFiles({"/tmp/a.kel"});
    settings.WritePreviewPages(2);
    EXPECT_EQ(settings.ReadPreviewPages(), 0);
    EXPECT_TRUE(IsPipe(settingsFile));

    RegisterDesktopIntegration();
    EXPECT_TRUE(IsPipe(EntryPath()));
    EXPECT_TRUE(QFileInfo::exists(MimePath()));
    UnregisterDesktopIntegration();
    EXPECT_FALSE(QFileInfo::exists(settingsFile));
}

}  // namespace
}  // namespace kelno
