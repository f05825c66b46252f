#include "ui/dialogs/CAircraftSelectorDlg.h"

#include "sim/InstalledAircraft.h"
#include "ui/framework/PathText.h"

#include <QEvent>

namespace quarvel {

CAircraftSelectorDlg::CAircraftSelectorDlg(WindowSystem& windowSystem, QWidget* parent)
    : CDialog(QSize(183, 90), parent), m_listAircraft(&clientArea()), m_windowSystem(windowSystem),
      m_open(tr("Open"), &clientArea()), m_cancel(tr("Cancel"), &clientArea()) {
    setWindowTitle(tr("Aircraft.cfg Selector"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_listAircraft.setObjectName(QStringLiteral("aircraftList"));

    placeControl(m_open, 126, 7, 50, 14);
    placeControl(m_cancel, 126, 24, 50, 14);
    placeControl(m_listAircraft, 7, 7, 105, 76);
    m_open.setDefault(true);
    connect(&m_open, &QPushButton::clicked, this, &CAircraftSelectorDlg::accept);
    connect(&m_cancel, &QPushButton::clicked, this, &CAircraftSelectorDlg::reject);
    setTabOrder(&m_open, &m_cancel);
    setTabOrder(&m_cancel, &m_listAircraft);
    m_listAircraft.viewport()->installEventFilter(this);
    setFixedSize(size());
}

bool CAircraftSelectorDlg::OnInitDialog() {
    m_listAircraft.insertColumn(tr("Aircraft Name"), 0);
    const platform::Result<std::vector<std::string>> listed = sim::listInstalledAircraft(m_strFolder);
    if (listed) {
        m_aircraft = listed.value();
    } else {
        m_windowSystem.MessageBox(this,
                                  tr("Quarvel could not read the aircraft folder %1.\n\n%2")
                                      .arg(pathText(m_strFolder), pathText(listed.failure().message)),
                                  windowTitle(), MB_OK | MB_ICONEXCLAMATION);
    }
    for (const std::string& name : m_aircraft)
        m_listAircraft.appendRow(pathText(name));
    m_listAircraft.autoSizeColumns();
    // Open comes first in the tab order, and so takes the focus first.
    m_open.setFocus(Qt::OtherFocusReason);
    return false;
}

void CAircraftSelectorDlg::OnOK() {
    const int row = m_listAircraft.selectionMark();
    if (row < 0 || row >= static_cast<int>(m_aircraft.size()))
        return;
    m_strAircraft = m_aircraft[static_cast<std::size_t>(row)];
    CDialog::OnOK();
}

void CAircraftSelectorDlg::OnDblclkAircraftList() {
    OnOK();
}

bool CAircraftSelectorDlg::eventFilter(QObject* watched, QEvent* event) {
    // Anywhere in the list, a row or the empty part below the rows, a double click acts as Open. The type
    // comes first: the list is asked for its viewport only then, never while it is being destroyed.
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_listAircraft.viewport())
        OnDblclkAircraftList();
    return CDialog::eventFilter(watched, event);
}

} // namespace quarvel
