#include "app/CEditorApp.h"

#include "ui/editor/CEditorDlg.h"
#include "ui/editor/ResourceIds.h"

#include <QApplication>
#include <QKeyEvent>

#include <utility>

namespace quarvel {

CEditorApp::CEditorApp(WindowSystem& windowSystem, HostForPrefix hostForPrefix, std::ostream& out,
                       std::ostream& err)
    : m_cmdInfo(&windowSystem, out, err), m_windowSystem(windowSystem),
      m_hostForPrefix(std::move(hostForPrefix)) {}

CEditorApp::~CEditorApp() = default;

bool CEditorApp::InitInstance(const std::vector<std::string>& arguments) {
    m_cmdInfo.ParseCommandLine(arguments);
    if (m_cmdInfo.endsStartUp())
        return false;

    m_hAccel = AcceleratorTable::load(IDR_ACCELERATORS);
    CEditorDlg dialog(m_windowSystem, m_hostForPrefix(m_cmdInfo.m_prefix));
    m_mainWindow = &dialog;
    QApplication::instance()->installEventFilter(this);
    m_windowSystem.DoModal(dialog);
    QApplication::instance()->removeEventFilter(this);
    m_mainWindow = nullptr;
    return false;
}

bool CEditorApp::PreTranslateMessage(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
        return false;
    if (m_hAccel == nullptr || m_mainWindow == nullptr || !m_mainWindow->acceleratorsEnabled())
        return false;
    const auto* widget = static_cast<QWidget*>(receiver);
    if (widget->window() != m_mainWindow || QApplication::activeWindow() != m_mainWindow ||
        QApplication::activePopupWidget() != nullptr)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<int> command = m_hAccel->translate(key->key(), key->modifiers());
    if (!command)
        return false;
    m_mainWindow->OnCommand(*command);
    return true;
}

bool CEditorApp::eventFilter(QObject* watched, QEvent* event) {
    return PreTranslateMessage(watched, event) || QObject::eventFilter(watched, event);
}

} // namespace quarvel
