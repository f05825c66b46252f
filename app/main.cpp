#include "app/CEditorApp.h"
#include "help/KeyHelp.h"
#include "ui/AppIcon.h"
#include "ui/EditorHost.h"

#include <QApplication>

#include <algorithm>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Message boxes without a caption of their own carry this name.
    QApplication::setApplicationName(QStringLiteral("Quarvel"));
    QApplication::setWindowIcon(quarvel::loadAppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("quarvel"));

    const auto host = quarvel::EditorHost::forPrefix(
        quarvel::platform::WinePrefix::fromEnvironment(),
        quarvel::KeyHelp::findShippedFolder(QApplication::applicationDirPath().toStdString()));

    // Qt has taken its own options out of argv by now; the rest is ours, without the program's name.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    quarvel::CEditorApp app(quarvel::WindowSystem::real(), *host);
    app.InitInstance(arguments);
    return 0;
}
