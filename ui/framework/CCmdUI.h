#pragma once

#include <optional>

class QAction;

namespace quarvel {

// The item an enabling rule decides: a menu item, or (without one) a probe that only remembers the answer,
// which is how the command gate asks a rule before it lets a command through.
class CCmdUI {
public:
    CCmdUI() = default;
    explicit CCmdUI(QAction* item) : m_item(item) {}

    void Enable(bool on = true);
    std::optional<bool> enabled() const { return m_enabled; }

private:
    QAction* m_item = nullptr;
    std::optional<bool> m_enabled;
};

} // namespace quarvel
