#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "prompts.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace kelno {

// Printing, print preview and printer setup of the one page the view draws. The printer
// chosen in setup is kept for the next print and preview in the same run.
class PrintCommands {
public:
    // Draws the page; false with a message for the user when it could not.
    using PagePainter = std::function<bool(QPagedPaintDevice& device, std::string& error)>;
    // The printer of a name, or of the system's default printer for an empty name; nullptr
    // when there is no such printer.
    using PrinterFactory = std::function<std::unique_ptr<QPrinter>(const QString& name)>;

    static constexpr const char* kNoPrinter =
        "ﾌﾟﾘﾝﾀがｲﾝｽﾄｰﾙされていません。印刷するには、ﾌﾟﾘﾝﾀをｲﾝｽﾄｰﾙしてください。";
    static constexpr const char* kPrinterNotFound = "ﾌﾟﾘﾝﾀ %1 が見つかりません。";

    PrintCommands(Prompts& prompts, PagePainter painter);
    ~PrintCommands();

    void SetPrompts(Prompts& prompts) { prompts_ = &prompts; }
    void SetPrinterFactory(PrinterFactory factory) { factory_ = std::move(factory); }

    // The print dialog, then the page. Without any printer installed the dialog still
    // offers printing into a PDF file.
    bool Print(QWidget* parent);
    // The page on a printer without any dialog (the default printer for an empty name);
    // tells the user when there is no such printer.
    bool PrintDirect(const QString& printerName);
    // The preview of the page, showing `previewPages` pages side by side (0: never chosen);
    // the number the user chose last comes back in it.
    void Preview(QWidget* parent, int& previewPages);
    void Setup(QWidget* parent);

    static std::unique_ptr<QPrinter> SystemPrinter(const QString& name);

private:
    QPrinter& SharedPrinter();
    bool PrintOn(QPrinter& printer);

    Prompts* prompts_;
    PagePainter painter_;
    PrinterFactory factory_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace kelno
