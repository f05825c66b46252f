#include "ui/editor/CEditorDlg.h"

#include "ui/dialogs/CAboutDlg.h"
#include "ui/editor/MenuResource.h"
#include "ui/editor/ResourceIds.h"
#include "ui/framework/AppIcon.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include <algorithm>

namespace quarvel {

namespace {

constexpr QSize kTemplateSize(392, 270);

WinRect rectOf(const QWidget& widget) {
    return WinRect::fromQRect(widget.geometry());
}

} // namespace

CEditorDlg::CEditorDlg(WindowSystem& windowSystem, EditorHost& host, QWidget* parent)
    : CDialog(kTemplateSize, parent), m_splitter(&clientArea()), m_tree(&clientArea()), m_list(&clientArea()),
      m_hIcon(loadAppIcon()), m_windowSystem(windowSystem), m_host(host) {
    setWindowTitle(tr("Quarvel"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    createMainMenu();
    placeTemplateControls();
    buildCommandTable();
    connectNotifications();
    connectEditingNotifications();
    for (QTimer* timer : {&m_loadTimer, &m_searchTimer, &m_focusTimer})
        timer->setSingleShot(true);
    connect(&m_loadTimer, &QTimer::timeout, this, [this] { OnTimer(kLoadTimer); });
    connect(&m_searchTimer, &QTimer::timeout, this, [this] { OnTimer(kSearchTimer); });
    connect(&m_focusTimer, &QTimer::timeout, this, &CEditorDlg::followAfterFocus);
}

CEditorDlg::~CEditorDlg() {
    // Hide while the controls still exist: the base class would hide the window after they are gone, and
    // the notifications that hiding sends must not reach a half-destroyed window.
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
    hide();
}

void CEditorDlg::placeTemplateControls() {
    m_tree.setObjectName(QStringLiteral("sectionTree"));
    m_list.setObjectName(QStringLiteral("keyList"));
    m_splitter.setObjectName(QStringLiteral("splitterBar"));
    placeControl(m_tree, 7, 7, 102, 256);
    placeControl(m_list, 114, 7, 271, 256);
    placeControl(m_splitter, 108, 7, 7, 256);
    // Tab order is tree, then list; the bar takes no focus.
    setTabOrder(&m_tree, &m_list);
}

void CEditorDlg::createMainMenu() {
    m_menuBar = new QMenuBar(this);
    MenuResource::load(IDR_MAIN_MENU)->fillMenuBar(*m_menuBar);
    for (QAction* action : m_menuBar->actions()) {
        if (QMenu* dropDown = action->menu())
            connect(dropDown, &QMenu::aboutToShow, this, [this, dropDown] { OnInitMenuPopup(*dropDown); });
    }
    connect(m_menuBar, &QMenuBar::triggered, this, [this](QAction* action) {
        const int id = action->data().toInt();
        if (id != 0)
            OnCommand(id);
    });
    setMenuBar(m_menuBar);
}

// The one place where commands meet their handlers and rules. A command whose handler is not written yet
// is routed all the same, so that its items and keys are already grayed by its rule.
void CEditorDlg::buildCommandTable() {
    using Handler = void (CEditorDlg::*)();
    using Rule = void (CEditorDlg::*)(CCmdUI&) const;
    struct Route {
        int id;
        Handler handler;
        Rule rule;
    };
    static const Route kRoutes[] = {
        {ID_OPEN_FS9CFG, &CEditorDlg::OnOpenFs9Cfg, &CEditorDlg::OnUpdateOpenFs9Cfg},
        {ID_OPEN_OTHERFS9CFG, &CEditorDlg::OnOpenOtherFs9Cfg, nullptr},
        {ID_SAVE_FS9CFG_AS, &CEditorDlg::OnSaveFs9CfgAs, &CEditorDlg::OnUpdateFs9CfgOpen},
        {ID_LAUNCH_FS9, &CEditorDlg::OnLaunchFs9, &CEditorDlg::OnUpdateFs9CfgOpen},
        {ID_OPEN_AIRCRAFTCFG, &CEditorDlg::OnOpenAircraftCfg, nullptr},
        {ID_APP_EXIT, &CEditorDlg::OnAppExit, nullptr},
        {ID_EDIT_UNDO, &CEditorDlg::OnUndo, &CEditorDlg::OnUpdateUndo},
        {ID_EDIT_REDO, &CEditorDlg::OnRedo, &CEditorDlg::OnUpdateRedo},
        {ID_ADD_SECTION, &CEditorDlg::OnAddSection, &CEditorDlg::OnUpdateWritable},
        {ID_REMOVE_SECTION, &CEditorDlg::OnRemoveSection, &CEditorDlg::OnUpdateSectionSelected},
        {ID_ADD_KEY, &CEditorDlg::OnAddKey, &CEditorDlg::OnUpdateSectionSelected},
        {ID_CHANGE_KEY, &CEditorDlg::OnChangeKey, &CEditorDlg::OnUpdateKeySelected},
        {ID_REMOVE_KEY, &CEditorDlg::OnRemoveKey, &CEditorDlg::OnUpdateKeySelected},
        {ID_SEARCH, &CEditorDlg::OnSearch, &CEditorDlg::OnUpdateAlways},
        {ID_SEARCH_NEXT, &CEditorDlg::OnSearchNext, &CEditorDlg::OnUpdateAlways},
        {ID_DONATE, &CEditorDlg::OnDonate, nullptr},
        {IDM_ABOUTBOX, &CEditorDlg::OnAppAbout, nullptr},
    };
    for (const Route& route : kRoutes) {
        CommandTable::Handler handler;
        if (route.handler != nullptr)
            handler = [this, member = route.handler] {
                (this->*member)();
            };
        CommandTable::Rule rule;
        if (route.rule != nullptr)
            rule = [this, member = route.rule](CCmdUI& cmdUI) {
                (this->*member)(cmdUI);
            };
        m_commands.add(route.id, std::move(handler), std::move(rule));
    }
    // Each file of the simulator's folder opens by its kind's command.
    for (const FileKindInfo& row : kFileKinds) {
        if (row.place == FilePlace::SimulatorFolder)
            m_commands.add(
                row.openCommand, [this, kind = row.kind] { openKind(kind); },
                [this, kind = row.kind](CCmdUI& cmdUI) { updateOpenCommand(cmdUI, kind); });
    }
}

void CEditorDlg::connectNotifications() {
    connect(&m_splitter, &CSplitterBar::moved, this, &CEditorDlg::OnNcCalcSize);
    connect(&m_list, &QWidget::customContextMenuRequested, this, [this] { OnRclickKeyList(); });
    connect(&m_tree, &QWidget::customContextMenuRequested, this, [this] { OnRclickSectionTree(); });
    // Menu states follow the selections at once; the idle pass catches every other change.
    connect(&m_tree, &CSectionTreeCtrl::sectionSelected, this, [this](int row) {
        OnSelchangedSectionTree(row);
        updateMenuBar();
    });
    connect(&m_list, &QTreeWidget::itemSelectionChanged, this, [this] { updateMenuBar(); });
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { OnKickIdle(0); });
}

bool CEditorDlg::OnInitDialog() {
    LayoutControls(LayoutMode::Record);
    resizeClient(firstClientSize());
    LayoutControls(LayoutMode::Apply);
    setWindowIcon(m_hIcon);

    workOutLocations();

    m_list.insertColumn(tr("Key"), 100);
    m_list.insertColumn(tr("Value"), 50);
    m_list.insertColumn(tr("Help"), 100);
    m_splitter.SetOwner(this);

    // The first load waits until the window is on screen.
    SetTimer(kLoadTimer, 50);

    return true;
}

// The template leaves the key list room for a few short columns; a player reads the descriptions, so the
// window first opens wide enough for a typical key, value and description side by side.
QSize CEditorDlg::firstClientSize() {
    // Counted in the font's average character, which runs a little narrower than running text.
    constexpr int kTypicalKeyChars = 24;
    constexpr int kTypicalValueChars = 28;
    constexpr int kTypicalHelpChars = 64;
    const int textWidth =
        m_list.fontMetrics().averageCharWidth() * (kTypicalKeyChars + kTypicalValueChars + kTypicalHelpChars);
    // Each column pads its text on both sides; the frame and the scroll bar take their share too.
    const int padding = 3 * 2 * m_list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
    const int chrome = 2 * m_list.frameWidth() + m_list.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int wanted = textWidth + padding + chrome;
    const QSize client = clientArea().size();
    return {client.width() + std::max(0, wanted - m_list.width()), client.height()};
}

void CEditorDlg::fitSectionPaneOnce() {
    if (m_sectionPaneFitted)
        return;
    m_sectionPaneFitted = true;
    const int wanted = std::min(m_tree.widthForNames(), clientArea().width() / 3);
    if (wanted <= m_tree.width())
        return;
    m_splitter.move(m_splitter.x() + wanted - m_tree.width(), m_splitter.y());
    LayoutControls(LayoutMode::Apply);
}

void CEditorDlg::LayoutControls(LayoutMode mode) {
    const WinRect client = WinRect::fromQRect(clientArea().rect());
    if (mode == LayoutMode::Record) {
        m_layout.record(rectOf(m_tree), rectOf(m_splitter), rectOf(m_list), client);
    } else if (m_layout.recorded()) {
        const ControlLayout::Placement placement = m_layout.apply(rectOf(m_splitter), client);
        m_tree.setGeometry(placement.tree.toQRect());
        m_list.setGeometry(placement.list.toQRect());
        m_splitter.setGeometry(placement.splitter.toQRect());
    }
    clientArea().update();
}

void CEditorDlg::OnNcCalcSize() {
    LayoutControls(LayoutMode::Apply);
}

void CEditorDlg::OnSize() {
    LayoutControls(LayoutMode::Apply);
}

void CEditorDlg::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnOK();
            return;
        case Qt::Key_Escape:
            // Sliding from an open drop-down onto "Donate!" leaves that item of the bar highlighted with
            // no drop-down of its own to take the key: Escape leaves the menu bar, as it does elsewhere.
            if (m_menuBar->activeAction() != nullptr) {
                m_menuBar->setActiveAction(nullptr);
                return;
            }
            OnCancel();
            return;
        default:
            break;
        }
    }
    CDialog::keyPressEvent(event);
}

bool CEditorDlg::OnCommand(int id) {
    // A command works on the file as it is now, and on the rows that show it.
    followOutsideChanges();
    return m_commands.runGated(id);
}

void CEditorDlg::OnInitMenuPopup(QMenu& menu) {
    m_commands.updateMenu(menu);
}

bool CEditorDlg::OnKickIdle(int idleCount) {
    updateMenuBar();
    return idleCount <= 2;
}

void CEditorDlg::updateMenuBar() {
    if (m_menuBar == nullptr)
        return;
    for (QAction* action : m_menuBar->actions()) {
        if (QMenu* dropDown = action->menu())
            m_commands.updateMenu(*dropDown);
    }
}

QAction* CEditorDlg::menuItem(int id) const {
    for (QAction* action : m_menuBar->actions()) {
        if (action->data().toInt() == id && action->menu() == nullptr)
            return action;
        if (const QMenu* dropDown = action->menu()) {
            for (QAction* item : dropDown->actions()) {
                if (!item->isSeparator() && item->data().toInt() == id)
                    return item;
            }
        }
    }
    return nullptr;
}

void CEditorDlg::runContextMenu(int menuResourceId) {
    const std::unique_ptr<QMenu> menu = MenuResource::load(menuResourceId)->createPopup(this);
    OnInitMenuPopup(*menu);
    const int chosen = m_windowSystem.TrackPopupMenu(*menu, QCursor::pos(), this);
    if (chosen == 0)
        return;
    // As from the menu bar: the command works on the file as it is now.
    followOutsideChanges();
    m_commands.runDirect(chosen);
}

void CEditorDlg::OnRclickKeyList() {
    runContextMenu(IDR_KEYLIST_POPUP);
}

void CEditorDlg::OnRclickSectionTree() {
    runContextMenu(IDR_SECTIONTREE_POPUP);
}

void CEditorDlg::OnAppAbout() {
    CAboutDlg about(m_host.prefix().root(), this);
    m_windowSystem.DoModal(about);
}

void CEditorDlg::OnAppExit() {
    close();
}

// The edit commands are gray for a file that can only be read.
void CEditorDlg::OnUpdateSectionSelected(CCmdUI& cmdUI) const {
    cmdUI.Enable(!m_readOnly && m_tree.selectedSection() != CSectionTreeCtrl::kNone);
}

void CEditorDlg::OnUpdateKeySelected(CCmdUI& cmdUI) const {
    cmdUI.Enable(!m_readOnly && m_list.selectedCount() > 0);
}

void CEditorDlg::OnUpdateWritable(CCmdUI& cmdUI) const {
    cmdUI.Enable(!m_readOnly);
}

void CEditorDlg::OnUpdateAlways(CCmdUI& cmdUI) const {
    cmdUI.Enable(true);
}

// Open FS9.CFG looks at no path: the user's fs9.cfg is always somewhere to look.
void CEditorDlg::OnUpdateOpenFs9Cfg(CCmdUI& cmdUI) const {
    cmdUI.Enable(m_fileopened != FileKind::Fs9Cfg);
}

void CEditorDlg::OnUpdateOpenSceneryCfg(CCmdUI& cmdUI) const {
    updateOpenCommand(cmdUI, FileKind::SceneryCfg);
}

void CEditorDlg::OnUpdateOpenDevicesCfg(CCmdUI& cmdUI) const {
    updateOpenCommand(cmdUI, FileKind::DevicesCfg);
}

void CEditorDlg::OnUpdateOpenDisplayCfg(CCmdUI& cmdUI) const {
    updateOpenCommand(cmdUI, FileKind::DisplayCfg);
}

void CEditorDlg::OnUpdateOpenSunEffectCfg(CCmdUI& cmdUI) const {
    updateOpenCommand(cmdUI, FileKind::SunEffectCfg);
}

void CEditorDlg::OnUpdateOpenTerrainCfg(CCmdUI& cmdUI) const {
    updateOpenCommand(cmdUI, FileKind::TerrainCfg);
}

// The simulator's own files have no path while its folder is unknown.
void CEditorDlg::updateOpenCommand(CCmdUI& cmdUI, FileKind kind) const {
    cmdUI.Enable(!pathOf(kind).empty() && m_fileopened != kind);
}

void CEditorDlg::OnUpdateFs9CfgOpen(CCmdUI& cmdUI) const {
    cmdUI.Enable(m_fileopened == FileKind::Fs9Cfg || m_fileopened == FileKind::OtherFs9Cfg);
}

} // namespace quarvel
