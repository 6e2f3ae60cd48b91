#include "message_box.h"

#include <QAbstractButton>

namespace kelno {

int RunMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                  QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QStringLiteral("Kelno"), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } names[] = {
        {QMessageBox::Ok, "OK"},
        {QMessageBox::Yes, "はい(&Y)"},
        {QMessageBox::No, "いいえ(&N)"},
        {QMessageBox::Cancel, "ｷｬﾝｾﾙ"},
    };
    for (const auto& name : names) {
        if (QAbstractButton* button = box.button(name.button)) {
            button->setText(QString::fromUtf8(name.text));
        }
    }
    return box.exec();
}

}  // namespace kelno
