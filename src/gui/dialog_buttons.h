#pragma once

#include <QDialog>
#include <QDialogButtonBox>

namespace kelno {

// "OK" and "ｷｬﾝｾﾙ" wired to the dialog's accept and reject, OK the default button.
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);

}  // namespace kelno
