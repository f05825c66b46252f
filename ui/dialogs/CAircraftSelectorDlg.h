#pragma once

#include "ui/controls/CKeyListCtrl.h"
#include "ui/framework/CDialog.h"
#include "ui/framework/WindowSystem.h"

#include <QPushButton>

#include <string>
#include <vector>

namespace quarvel {

// The Aircraft.cfg Selector: lists the aircraft installed in a folder and lets the player pick one with
// Open or a double click.
class CAircraftSelectorDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAircraftSelectorDlg(WindowSystem& windowSystem, QWidget* parent = nullptr);

    std::string m_strAircraft; // the chosen aircraft's folder name; empty until a choice is confirmed
    std::string m_strFolder;   // the aircraft folder to list, set before the dialog runs
    CKeyListCtrl m_listAircraft;

protected:
    bool OnInitDialog() override;
    // Takes the marked row; with no row ever selected it does nothing and the dialog stays open.
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnDblclkAircraftList();

    WindowSystem& m_windowSystem;
    QPushButton m_open;
    QPushButton m_cancel;
    std::vector<std::string> m_aircraft; // the rows' names in the file system's own bytes
};

} // namespace quarvel
