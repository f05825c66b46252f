#pragma once

#include <Qt>

#include <optional>
#include <vector>

namespace quarvel {

// One accelerator key: the key, the exact Shift/Ctrl/Alt combination it needs, and its command.
struct Accelerator {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    int command = 0;
};

// A table of accelerator keys and the commands they stand for.
class AcceleratorTable {
public:
    explicit AcceleratorTable(std::vector<Accelerator> entries) : m_entries(std::move(entries)) {}

    // Table IDR_ACCELERATORS, loaded once for the whole run; none for any other id.
    static const AcceleratorTable* load(int resourceId);

    const std::vector<Accelerator>& entries() const { return m_entries; }

    // The command of a key press, or none. Shift, Ctrl and Alt must match exactly; whether the key is on
    // the keypad does not matter.
    std::optional<int> translate(int key, Qt::KeyboardModifiers modifiers) const;

private:
    std::vector<Accelerator> m_entries;
};

} // namespace quarvel
