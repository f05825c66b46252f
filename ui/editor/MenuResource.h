#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace quarvel {

// One entry of a menu: a command item, a separator (no text, id 0) or a drop-down with entries of its own.
// Texts keep their "&" mnemonic and the "\t" before the key shown at the right edge.
struct MenuEntry {
    std::string_view text;
    int id = 0;
    std::vector<MenuEntry> dropDown;

    bool isSeparator() const { return text.empty(); }
    bool isDropDown() const { return !dropDown.empty(); }
};

// The window's menus: the menu bar and the two context menus. Each menu item carries its command id as the
// action's data.
class MenuResource {
public:
    // Menus IDR_MAIN_MENU, IDR_KEYLIST_POPUP and IDR_SECTIONTREE_POPUP; nothing for any other id.
    static std::optional<MenuResource> load(int resourceId);

    const std::vector<MenuEntry>& entries() const { return m_entries; }

    void fillMenuBar(QMenuBar& bar) const;
    // The first drop-down of the menu, which is all a context menu resource holds.
    std::unique_ptr<QMenu> createPopup(QWidget* parent) const;

private:
    explicit MenuResource(std::vector<MenuEntry> entries) : m_entries(std::move(entries)) {}

    std::vector<MenuEntry> m_entries;
};

} // namespace quarvel
