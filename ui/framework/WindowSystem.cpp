#include "ui/framework/WindowSystem.h"

#include <QCoreApplication>

namespace quarvel {

int WindowSystem::MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style) {
    return showMessageBox(owner, text, caption.isEmpty() ? QCoreApplication::applicationName() : caption,
                          style);
}

} // namespace quarvel
