#pragma once

#include "platform/wine/PrefixDiscovery.h"
#include "ui/framework/CDialog.h"

#include <QPushButton>
#include <QTreeWidget>

#include <vector>

namespace quarvel {

class WindowSystem;

// Offers the Wine prefixes found with the simulator, one row each with its simulator folder, sorted by
// prefix. Open (or a double click on a row) takes the marked prefix; Cancel keeps the default one.
class CPrefixChooserDlg : public CDialog {
    Q_OBJECT
public:
    CPrefixChooserDlg(const std::vector<platform::FoundPrefix>& offers, QWidget* parent = nullptr);

    // The row the user opened; -1 before.
    int chosenRow() const { return m_chosenRow; }
    QTreeWidget& list() { return m_list; }

    // The prefix to open: the choice's own, or, when it offers several, the one the user chooses in this
    // dialog (Cancel: the choice's own).
    static platform::WinePrefix select(WindowSystem& windowSystem, const platform::PrefixChoice& choice);

protected:
    void OnOK() override;

private:
    QTreeWidget m_list;
    QPushButton m_open;
    QPushButton m_cancel;
    int m_chosenRow = -1;
};

} // namespace quarvel
