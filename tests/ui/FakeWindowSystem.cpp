#include "FakeWindowSystem.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <utility>

namespace quarvel::test {

int FakeWindowSystem::showMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                     unsigned style) {
    messageBoxes.push_back({owner, owner != nullptr, text, caption, style});
    if (const std::function<void()> meanwhile = std::exchange(duringNextMessageBox, nullptr))
        meanwhile();
    if (!messageBoxAnswers.empty()) {
        const int answer = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
        return answer;
    }
    if ((style & MB_TYPEMASK) == MB_OK)
        return IDOK;
    ADD_FAILURE() << "unanswered question: " << text.toStdString();
    return IDCANCEL;
}

std::optional<std::string> FakeWindowSystem::FileDialog(QWidget* /*owner*/,
                                                        const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileDialogAnswers.empty())
        return std::nullopt;
    std::optional<std::string> answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

int FakeWindowSystem::DoModal(QDialog& dialog) {
    modalRuns.push_back({QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle()});
    dialog.setResult(0);
    dialog.show();
    if (modalScripts.empty()) {
        dialog.reject();
    } else {
        const ModalScript script = modalScripts.front();
        modalScripts.pop_front();
        script(dialog);
    }
    if (dialog.isVisible()) {
        ADD_FAILURE() << "the script left " << dialog.windowTitle().toStdString() << " open";
        dialog.hide();
    }
    return dialog.result();
}

int FakeWindowSystem::TrackPopupMenu(QMenu& menu, const QPoint& screenPos, QWidget* owner) {
    PopupCall call{owner, screenPos, {}};
    for (const QAction* action : menu.actions())
        call.items.push_back(
            {action->text(), action->data().toInt(), action->isEnabled(), action->isSeparator()});
    popups.push_back(call);
    if (popupAnswers.empty())
        return 0;
    const int answer = popupAnswers.front();
    popupAnswers.pop_front();
    return answer;
}

} // namespace quarvel::test
