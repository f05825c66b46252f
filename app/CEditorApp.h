#pragma once

#include "app/AcceleratorTable.h"
#include "app/CEditorCommandLineInfo.h"
#include "ui/editor/EditorHost.h"
#include "ui/framework/WindowSystem.h"

#include <QObject>

#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

class QEvent;

namespace quarvel {

class CEditorDlg;

// The program: reads the command line, then runs the main window until it closes. While the window runs,
// every event of the program passes PreTranslateMessage first, which turns the accelerator keys into the
// main window's commands.
class CEditorApp : public QObject {
    Q_OBJECT
public:
    // The machine the main window works on, for the prefix the command line names (none: the one the
    // environment gives), made once the command line has been read.
    using HostForPrefix = std::function<EditorHost&(const std::optional<std::string>& prefix)>;

    // out and err: where the command line's answers go, the terminal's standard output and error.
    CEditorApp(WindowSystem& windowSystem, HostForPrefix hostForPrefix, std::ostream& out = std::cout,
               std::ostream& err = std::cerr);
    ~CEditorApp() override;
    CEditorApp(const CEditorApp&) = delete;
    CEditorApp& operator=(const CEditorApp&) = delete;

    // arguments: those after the program's name. Returns false: the process ends when it returns.
    bool InitInstance(const std::vector<std::string>& arguments);

    // True when the event was a key of the accelerator table and became a command of the main window.
    // Keys count only while the main window is the active window, no popup menu is open, and the window's
    // accelerators are enabled.
    bool PreTranslateMessage(QObject* receiver, QEvent* event);

    // The main window while it runs; none before and after.
    CEditorDlg* mainWindow() const { return m_mainWindow; }

    const AcceleratorTable* m_hAccel = nullptr;
    CEditorCommandLineInfo m_cmdInfo;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowSystem& m_windowSystem;
    HostForPrefix m_hostForPrefix;
    CEditorDlg* m_mainWindow = nullptr;
};

} // namespace quarvel
