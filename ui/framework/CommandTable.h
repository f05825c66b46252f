#pragma once

#include "ui/framework/CCmdUI.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QMenu;

namespace quarvel {

// Every command id the window knows, with what carries it out and the rule that says when it is
// available. A command may be routed before its handler exists: its menu items and keys then do nothing,
// but its rule already grays them.
class CommandTable {
public:
    using Handler = std::function<void()>;
    using Rule = std::function<void(CCmdUI&)>;

    struct Command {
        Handler handler; // empty: routed, nothing to carry out yet
        Rule rule;       // empty: always available
    };

    void add(int id, Handler handler, Rule rule);
    bool setHandler(int id, Handler handler); // false for an id that is not routed
    std::vector<int> ids() const;

    // What the rule of a command answers now; nothing when the command has no rule or is not routed.
    std::optional<bool> ruleAnswer(int id) const;

    // A command from the menu bar or a key: asked of its rule first, dropped when the rule says no.
    // Returns whether it went through.
    bool runGated(int id) const;
    // A command chosen in a context menu, whose items were decided just before it showed.
    void runDirect(int id) const;

    // The enabling pass over one menu's own items: sub-menus, separators and the id 65535 are left alone,
    // and an item without a rule keeps its state.
    void updateMenu(QMenu& menu) const;

private:
    std::map<int, Command> m_commands;
};

} // namespace quarvel
