#include "caboutdlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "clinklabel.h"
#include "command_icons.h"
#include "io/kel_file.h"
#include "shell/version_line.h"

namespace kelno {

namespace {

constexpr const char* kTitle = "Kelnoのﾊﾞｰｼﾞｮﾝ情報";
constexpr const char* kNotice = "Copyright (C) Morlan";
constexpr int kIconPixels = 32;

QLabel* AddText(QWidget* dialog, const QString& text, const QRect& area, const char* name) {
    auto* label = new QLabel(text, dialog);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(area);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(ApplicationIcon());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ApplicationIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(
        QRect(DialogUnits(11, 13, 20, 20).topLeft(), QSize(kIconPixels, kIconPixels)));

    AddText(this, QString::fromStdString(VersionLine(kFormatVersion)), DialogUnits(40, 10, 79, 8),
            "version");
    AddText(this, QString::fromUtf8(kNotice), DialogUnits(40, 26, 128, 8), "notice");

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(DialogUnits(145, 7, 33, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    link_ = new CLinkLabel(QString::fromLatin1(kWebAddress), this);
    link_->setObjectName(QStringLiteral("link"));
    link_->setGeometry(DialogUnits(17, 43, 160, 8));
    link_->Attach();

    setFixedSize(DialogUnits(0, 0, 187, 59).size());
}

QRect CAboutDlg::DialogUnits(int x, int y, int width, int height) const {
    const QFontMetrics metrics(font());
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}

void ShowAboutBox(QWidget* parent) {
    CAboutDlg dialog(parent);
    dialog.exec();
}

}  // namespace kelno
