#include "ui/editor/MenuResource.h"

#include "ui/editor/ResourceIds.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

namespace quarvel {

namespace {

const MenuEntry kSeparator{};

MenuEntry openItem(const FileKindInfo& row) {
    return {row.menuText, row.openCommand, {}};
}

// The player's fs9.cfg and the commands on it, then an open item for each file of the simulator's.
std::vector<MenuEntry> fileMenu() {
    std::vector<MenuEntry> entries{
        openItem(fileKindRow(FileKind::Fs9Cfg)),
        openItem(fileKindRow(FileKind::OtherFs9Cfg)),
        {"Save FS9.CFG As...", ID_SAVE_FS9CFG_AS, {}},
        {"Launch FS9 with current CFG", ID_LAUNCH_FS9, {}},
        kSeparator,
    };
    for (const FileKindInfo& row : kFileKinds) {
        if (row.place != FilePlace::PlayersFolder)
            entries.push_back(openItem(row));
    }
    entries.push_back(kSeparator);
    entries.push_back({"E&xit\tAlt+F4", ID_APP_EXIT, {}});
    return entries;
}

std::vector<MenuEntry> mainMenu() {
    return {
        {"&File", 0, fileMenu()},
        {"&Edit",
         0,
         {
             {"&Undo\tCtrl+Z", ID_EDIT_UNDO, {}},
             {"&Redo\tCtrl+Y", ID_EDIT_REDO, {}},
             kSeparator,
             {"Add Section\tAlt+Ins", ID_ADD_SECTION, {}},
             {"Remove Section\tAlt+Del", ID_REMOVE_SECTION, {}},
             kSeparator,
             {"&Add New Key\tIns", ID_ADD_KEY, {}},
             {"&Change Selected Key Value", ID_CHANGE_KEY, {}},
             {"&Remove Selected Key\tDel", ID_REMOVE_KEY, {}},
             kSeparator,
             {"&Search\tCtrl+F", ID_SEARCH, {}},
             {"Search &Next\tF3", ID_SEARCH_NEXT, {}},
         }},
        {"&Donate!", ID_DONATE, {}},
        {"&Help", 0, {{"&About Quarvel", IDM_ABOUTBOX, {}}}},
    };
}

std::vector<MenuEntry> keyListPopup() {
    return {{"Popup",
             0,
             {
                 {"&Add Key\tIns", ID_ADD_KEY, {}},
                 {"&Change Key", ID_CHANGE_KEY, {}},
                 {"&Remove Key\tDel", ID_REMOVE_KEY, {}},
             }}};
}

std::vector<MenuEntry> sectionTreePopup() {
    return {{"Popup",
             0,
             {
                 {"Add Section\tAlt+Ins", ID_ADD_SECTION, {}},
                 {"Remove Section\tAlt+Del", ID_REMOVE_SECTION, {}},
             }}};
}

QString textOf(const MenuEntry& entry) {
    return QString::fromLatin1(entry.text.data(), static_cast<qsizetype>(entry.text.size()));
}

void addItem(QWidget& menu, const MenuEntry& entry) {
    auto* action = new QAction(textOf(entry), &menu);
    action->setData(entry.id);
    menu.addAction(action);
}

void fillDropDown(QMenu& menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        if (entry.isSeparator())
            menu.addSeparator();
        else
            addItem(menu, entry);
    }
}

} // namespace

std::optional<MenuResource> MenuResource::load(int resourceId) {
    switch (resourceId) {
    case IDR_MAIN_MENU:
        return MenuResource(mainMenu());
    case IDR_KEYLIST_POPUP:
        return MenuResource(keyListPopup());
    case IDR_SECTIONTREE_POPUP:
        return MenuResource(sectionTreePopup());
    default:
        return std::nullopt;
    }
}

void MenuResource::fillMenuBar(QMenuBar& bar) const {
    for (const MenuEntry& entry : m_entries) {
        if (entry.isDropDown())
            fillDropDown(*bar.addMenu(textOf(entry)), entry.dropDown);
        else
            addItem(bar, entry);
    }
}

std::unique_ptr<QMenu> MenuResource::createPopup(QWidget* parent) const {
    auto menu = std::make_unique<QMenu>(parent);
    if (!m_entries.empty())
        fillDropDown(*menu, m_entries.front().dropDown);
    return menu;
}

} // namespace quarvel
