#include "caboutdlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "clinklabel.h"

namespace kelno {
namespace {

TEST(AboutBox, ShowsVersionLinkAndDefaultButton) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Kelnoのﾊﾞｰｼﾞｮﾝ情報"));
    const auto* version = dialog.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Kelno Version 1.06"));

    const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());

    const CLinkLabel* link = dialog.linkLabel();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), CAboutDlg::kWebAddress);
    EXPECT_EQ(link->linkTarget(), CAboutDlg::kWebAddress);
    EXPECT_TRUE(link->font().underline());
    // Every control lies inside the box.
    for (const QWidget* child : dialog.findChildren<QWidget*>()) {
        EXPECT_TRUE(dialog.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
    const auto* icon = dialog.findChild<QLabel*>(QStringLiteral("icon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
}

}  // namespace
}  // namespace kelno
