#include "app/CEditorApp.h"
#include "ui/AppIcon.h"

#include <QApplication>

#include <algorithm>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(quarvel::loadAppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("quarvel"));

    // Qt has taken its own options out of argv by now; the rest is ours, without the program's name.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    quarvel::CEditorApp app;
    app.InitInstance(arguments);
    return 0;
}
