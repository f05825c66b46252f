#pragma once

#include "ui/framework/WindowSystem.h"

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::test {

// A window system that a test scripts: it records every call with what the user would have seen and
// answers from the script, in order.
class FakeWindowSystem : public WindowSystem {
public:
    struct MessageBoxCall {
        QPointer<QWidget> owner;
        bool hadOwner = false;
        QString text;
        QString caption;
        unsigned style = 0;
    };
    struct PopupItem {
        QString text;
        int id = 0;
        bool enabled = true;
        bool separator = false;
    };
    struct PopupCall {
        QPointer<QWidget> owner;
        QPoint position;
        std::vector<PopupItem> items;
    };
    struct ModalCall {
        QString className;
        QString title;
    };
    using ModalScript = std::function<void(QDialog&)>;

    // Answers, taken from the front. A message box without a scripted answer is answered IDOK when it is
    // an OK box; a question without one fails the test.
    std::deque<int> messageBoxAnswers;
    std::deque<std::optional<std::string>> fileDialogAnswers;
    // Each runs with the live, shown dialog and ends it (a script that leaves it open fails the test). A
    // dialog without a script is cancelled.
    std::deque<ModalScript> modalScripts;
    std::deque<int> popupAnswers;
    // Runs while the next message box is open, before it is answered: another program's doing.
    std::function<void()> duringNextMessageBox;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<ModalCall> modalRuns;
    std::vector<PopupCall> popups;

    std::optional<std::string> FileDialog(QWidget* owner, const FileDialogRequest& request) override;
    int DoModal(QDialog& dialog) override;
    int TrackPopupMenu(QMenu& menu, const QPoint& screenPos, QWidget* owner) override;

protected:
    int showMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style) override;
};

} // namespace quarvel::test
