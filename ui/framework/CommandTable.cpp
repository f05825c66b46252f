#include "ui/framework/CommandTable.h"

#include <QAction>
#include <QMenu>

#include <utility>

namespace quarvel {

namespace {

// The id that marks a drop-down in menu resources; it never names a command of its own in a pass.
constexpr int kPopupMarkerId = 0xFFFF;

} // namespace

void CommandTable::add(int id, Handler handler, Rule rule) {
    m_commands[id] = Command{std::move(handler), std::move(rule)};
}

bool CommandTable::setHandler(int id, Handler handler) {
    const auto found = m_commands.find(id);
    if (found == m_commands.end())
        return false;
    found->second.handler = std::move(handler);
    return true;
}

std::vector<int> CommandTable::ids() const {
    std::vector<int> ids;
    ids.reserve(m_commands.size());
    for (const auto& [id, command] : m_commands)
        ids.push_back(id);
    return ids;
}

std::optional<bool> CommandTable::ruleAnswer(int id) const {
    const auto found = m_commands.find(id);
    if (found == m_commands.end() || !found->second.rule)
        return std::nullopt;
    CCmdUI probe;
    found->second.rule(probe);
    return probe.enabled();
}

bool CommandTable::runGated(int id) const {
    const auto found = m_commands.find(id);
    if (found == m_commands.end() || !ruleAnswer(id).value_or(true))
        return false;
    // The handler may close the window and destroy this table; work on a copy.
    const Handler handler = found->second.handler;
    if (handler)
        handler();
    return true;
}

void CommandTable::runDirect(int id) const {
    const auto found = m_commands.find(id);
    if (found == m_commands.end())
        return;
    const Handler handler = found->second.handler;
    if (handler)
        handler();
}

void CommandTable::updateMenu(QMenu& menu) const {
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr || action->isSeparator())
            continue;
        const int id = action->data().toInt();
        if (id == 0 || id == kPopupMarkerId)
            continue;
        const auto found = m_commands.find(id);
        if (found == m_commands.end() || !found->second.rule)
            continue;
        CCmdUI item(action);
        found->second.rule(item);
    }
}

} // namespace quarvel
