#include "ui/framework/QtWindowSystem.h"

#include "ui/framework/AppIcon.h"
#include "ui/framework/CheckedFileDialog.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

namespace quarvel {

namespace {

QMessageBox::Icon iconOf(unsigned style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The program asks only for OK boxes and Yes/No questions.
QMessageBox::StandardButtons buttonsOf(unsigned style) {
    if ((style & MB_TYPEMASK) == MB_YESNO)
        return QMessageBox::Yes | QMessageBox::No;
    return QMessageBox::Ok;
}

int answerOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

// Runs a modal window and gives the activation back to the window that had it, as users of the files'
// home platform are used to; without it the keys would go nowhere until the user clicks.
template <typename Run>
auto runModal(Run run) {
    const QPointer<QWidget> previous = QApplication::activeWindow();
    auto result = run();
    if (previous != nullptr && previous->isVisible())
        previous->activateWindow();
    return result;
}

} // namespace

int QtWindowSystem::showMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                   unsigned style) {
    QMessageBox box(iconOf(style), caption, text, buttonsOf(style), owner);
    box.setWindowIcon(loadAppIcon());
    box.setTextFormat(Qt::PlainText);
    // What a box says can be copied: a path, or an address to open by hand.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    return runModal([&box] {
        box.exec();
        return answerOf(box.standardButton(box.clickedButton()));
    });
}

std::optional<std::string> QtWindowSystem::FileDialog(QWidget* owner, const FileDialogRequest& request) {
    CheckedFileDialog dialog(owner, request);
    dialog.setWindowIcon(loadAppIcon());
    const bool accepted = runModal([&dialog] { return dialog.exec() == QDialog::Accepted; });
    if (!accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

int QtWindowSystem::DoModal(QDialog& dialog) {
    return runModal([&dialog] { return dialog.exec(); });
}

int QtWindowSystem::TrackPopupMenu(QMenu& menu, const QPoint& screenPos, QWidget* /*owner*/) {
    const QAction* chosen = runModal([&menu, &screenPos] { return menu.exec(screenPos); });
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

} // namespace quarvel
