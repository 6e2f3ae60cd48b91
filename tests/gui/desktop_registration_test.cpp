#include "desktop_registration.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

namespace kelno {
namespace {

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

}  // namespace
}  // namespace kelno
