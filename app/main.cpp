#include "app/CEditorApp.h"
#include "app/CEditorCommandLineInfo.h"
#include "help/KeyHelp.h"
#include "platform/os/FileOperations.h"
#include "platform/wine/PrefixDiscovery.h"
#include "ui/dialogs/CPrefixChooserDlg.h"
#include "ui/editor/EditorHost.h"
#include "ui/framework/AppIcon.h"
#include "ui/framework/QtWindowSystem.h"

#include <QApplication>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    // The shipped help is found from the executable's own folder before Qt starts, so that the usage can
    // name the very folder the window reads.
    const quarvel::platform::Result<std::filesystem::path> programFolder =
        quarvel::platform::runningProgramFolder();
    if (!programFolder)
        std::cerr << "quarvel: " << programFolder.failure().message << '\n';
    const std::filesystem::path helpFolder =
        programFolder ? quarvel::KeyHelp::findShippedFolder(programFolder.value()) : std::filesystem::path();

    // What goes to the terminal needs no display: the usage and the word on a path parameter are given
    // before Qt starts, so that `quarvel --help` answers over ssh too. A "?" needs its box, and Qt.
    quarvel::CEditorCommandLineInfo terminal(nullptr, std::cout, std::cerr);
    terminal.m_shippedHelpFolder = helpFolder;
    terminal.ParseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (terminal.m_bHelp == 0 && terminal.endsStartUp())
        return terminal.exitStatus();

    QApplication application(argc, argv);
    // Message boxes without a caption of their own carry this name.
    QApplication::setApplicationName(QStringLiteral("Quarvel"));
    QApplication::setWindowIcon(quarvel::loadAppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("quarvel"));

    quarvel::QtWindowSystem windowSystem;
    std::unique_ptr<quarvel::EditorHost> host;
    const auto hostForPrefix = [&](const std::optional<std::string>& prefix) -> quarvel::EditorHost& {
        const quarvel::platform::PrefixChoice choice = quarvel::platform::choosePrefixFromEnvironment(prefix);
        host = quarvel::EditorHost::forPrefix(quarvel::CPrefixChooserDlg::select(windowSystem, choice),
                                              helpFolder);
        return *host;
    };

    // Qt has taken its own options out of argv by now; the rest is ours, without the program's name.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    quarvel::CEditorApp app(windowSystem, hostForPrefix);
    app.InitInstance(arguments);
    return app.m_cmdInfo.exitStatus();
}
