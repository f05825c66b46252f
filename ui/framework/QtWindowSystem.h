#pragma once

#include "ui/framework/WindowSystem.h"

namespace quarvel {

// The window system as the running program uses it: Qt's message boxes, file dialogs, modal runs and
// popup menus.
class QtWindowSystem final : public WindowSystem {
public:
    std::optional<std::string> FileDialog(QWidget* owner, const FileDialogRequest& request) override;
    int DoModal(QDialog& dialog) override;
    int TrackPopupMenu(QMenu& menu, const QPoint& screenPos, QWidget* owner) override;

protected:
    int showMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style) override;
};

} // namespace quarvel
