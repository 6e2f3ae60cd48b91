#pragma once

#include <QMessageBox>
#include <QString>

namespace kelno {

// A message box titled with the program's name and with button texts in the program's
// language, whatever translations Qt has; returns the button chosen.
int RunMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                  QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);

}  // namespace kelno
