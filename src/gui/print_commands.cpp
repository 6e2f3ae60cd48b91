#include "print_commands.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

namespace kelno {

PrintCommands::PrintCommands(Prompts& prompts, PagePainter painter)
    : prompts_(&prompts), painter_(std::move(painter)), factory_(SystemPrinter) {}

PrintCommands::~PrintCommands() = default;

std::unique_ptr<QPrinter> PrintCommands::SystemPrinter(const QString& name) {
    const QPrinterInfo info =
        name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        return nullptr;
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

QPrinter& PrintCommands::SharedPrinter() {
    if (!printer_) {
        printer_ = factory_({});
    }
    if (!printer_) {
        // No printer installed: Qt's dialogs then offer a PDF file.
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

bool PrintCommands::PrintOn(QPrinter& printer) {
    // One page, whatever range was asked for.
    printer.setFromTo(0, 0);
    std::string error;
    if (!painter_(printer, error)) {
        prompts_->ShowError(QString::fromStdString(error));
        return false;
    }
    return true;
}

bool PrintCommands::Print(QWidget* parent) {
    QPrinter& printer = SharedPrinter();
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, 1);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    return PrintOn(printer);
}

bool PrintCommands::PrintDirect(const QString& printerName) {
    std::unique_ptr<QPrinter> printer = factory_(printerName);
    if (!printer) {
        prompts_->ShowError(printerName.isEmpty()
                                ? QString::fromUtf8(kNoPrinter)
                                : QString::fromUtf8(kPrinterNotFound).arg(printerName));
        return false;
    }
    return PrintOn(*printer);
}

void PrintCommands::Preview(QWidget* parent, int& previewPages) {
    QPrinter& printer = SharedPrinter();
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* target) {
                         std::string error;
                         painter_(*target, error);
                     });
    auto* pages = dialog.findChild<QPrintPreviewWidget*>();
    if (pages != nullptr && previewPages >= 2) {
        pages->setViewMode(QPrintPreviewWidget::FacingPagesView);
    }
    dialog.exec();
    if (pages != nullptr) {
        previewPages = pages->viewMode() == QPrintPreviewWidget::SinglePageView ? 1 : 2;
    }
}

void PrintCommands::Setup(QWidget* parent) {
    QPageSetupDialog dialog(&SharedPrinter(), parent);
    dialog.exec();
}

}  // namespace kelno
