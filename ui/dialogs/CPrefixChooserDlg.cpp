#include "ui/dialogs/CPrefixChooserDlg.h"

#include "ui/framework/PathText.h"
#include "ui/framework/WindowSystem.h"

#include <QHeaderView>

namespace quarvel {

CPrefixChooserDlg::CPrefixChooserDlg(const std::vector<platform::FoundPrefix>& offers, QWidget* parent)
    : CDialog(QSize(320, 140), parent), m_list(&clientArea()), m_open(tr("Open"), &clientArea()),
      m_cancel(tr("Cancel"), &clientArea()) {
    setWindowTitle(tr("Choose a Wine prefix"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    placeControl(m_list, 7, 7, 306, 106);
    m_list.setRootIsDecorated(false);
    m_list.setSelectionMode(QAbstractItemView::SingleSelection);
    m_list.setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list.setHeaderLabels({tr("Prefix"), tr("Simulator folder")});
    m_list.header()->setSectionsClickable(false);
    // The caller's order is the prefixes' order; the list itself never re-sorts.
    for (const platform::FoundPrefix& offer : offers)
        m_list.addTopLevelItem(
            new QTreeWidgetItem({pathText(offer.root.string()), pathText(offer.simulatorFolder.string())}));
    m_list.resizeColumnToContents(0);
    m_list.setCurrentItem(m_list.topLevelItem(0));
    connect(&m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnOK(); });

    placeControl(m_open, 209, 119, 50, 14);
    placeControl(m_cancel, 263, 119, 50, 14);
    m_open.setDefault(true);
    connect(&m_open, &QPushButton::clicked, this, &CPrefixChooserDlg::accept);
    connect(&m_cancel, &QPushButton::clicked, this, &CPrefixChooserDlg::reject);
}

void CPrefixChooserDlg::OnOK() {
    m_chosenRow = m_list.indexOfTopLevelItem(m_list.currentItem());
    if (m_chosenRow < 0)
        return; // nothing marked: the dialog stays open
    CDialog::OnOK();
}

platform::WinePrefix CPrefixChooserDlg::select(WindowSystem& windowSystem,
                                               const platform::PrefixChoice& choice) {
    if (choice.offers.empty())
        return choice.prefix;
    CPrefixChooserDlg chooser(choice.offers);
    if (windowSystem.DoModal(chooser) != IDOK)
        return choice.prefix;
    return platform::WinePrefix(choice.offers.at(static_cast<std::size_t>(chooser.chosenRow())).root);
}

} // namespace quarvel
