#include "ui/framework/CCmdUI.h"

#include <QAction>

namespace quarvel {

void CCmdUI::Enable(bool on) {
    m_enabled = on;
    if (m_item != nullptr)
        m_item->setEnabled(on);
}

} // namespace quarvel
