#include "app/AcceleratorTable.h"

#include "ui/editor/ResourceIds.h"

namespace quarvel {

const AcceleratorTable* AcceleratorTable::load(int resourceId) {
    if (resourceId != IDR_ACCELERATORS)
        return nullptr;
    static const AcceleratorTable table({
        {Qt::Key_F, Qt::ControlModifier, ID_SEARCH},
        {Qt::Key_Delete, Qt::NoModifier, ID_REMOVE_KEY},
        {Qt::Key_Delete, Qt::AltModifier, ID_REMOVE_SECTION},
        {Qt::Key_Insert, Qt::NoModifier, ID_ADD_KEY},
        {Qt::Key_Insert, Qt::AltModifier, ID_ADD_SECTION},
        {Qt::Key_F3, Qt::NoModifier, ID_SEARCH_NEXT},
        {Qt::Key_Z, Qt::ControlModifier, ID_EDIT_UNDO},
        {Qt::Key_Y, Qt::ControlModifier, ID_EDIT_REDO},
    });
    return &table;
}

std::optional<int> AcceleratorTable::translate(int key, Qt::KeyboardModifiers modifiers) const {
    const Qt::KeyboardModifiers relevant =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const Accelerator& entry : m_entries) {
        if (entry.key == key && entry.modifiers == relevant)
            return entry.command;
    }
    return std::nullopt;
}

} // namespace quarvel
