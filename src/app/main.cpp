// kelno: the circuit editor.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <string>
#include <vector>

#include "ckelnoapp.h"

namespace {

// Without a display Qt would abort with a long report: one line says what is missing.
bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Qt's own dialogs (files, printing) in Japanese, when its translations are installed.
void LoadQtTranslations(QApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fputs("kelno: 画面がありません (DISPLAY が設定されていません)。\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelno"));
    QApplication::setOrganizationName(QStringLiteral("Morlan"));
    LoadQtTranslations(application);

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    kelno::CKelnoApp kelno;
    if (const std::optional<int> status = kelno.Start(args)) {
        return *status;
    }
    return QApplication::exec();
}
