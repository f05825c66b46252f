#pragma once

#include "ui/CDialog.h"

#include <QPushButton>
#include <QString>

#include <optional>
#include <string>

class QLineEdit;

namespace quarvel {

class WindowSystem;

// What the small text-entry dialogs share: a default button and Cancel one above the other, text fields
// that never force a loaded text shorter, and the refusals that keep the dialog open with the offending
// field's text selected.
class CTextEntryDlg : public CDialog {
    Q_OBJECT
public:
    // Each field takes this many characters, or the length of the text it was loaded with if longer.
    static constexpr int kFieldLimit = 255;

protected:
    // templateSize in dialog units; the two buttons stand at buttonsX.
    CTextEntryDlg(WindowSystem& windowSystem, QSize templateSize, const QString& caption,
                  const QString& okText, int buttonsX, QWidget* parent);

    WindowSystem& windowSystem() { return m_windowSystem; }
    QPushButton& okButton() { return m_ok; }
    QPushButton& cancelButton() { return m_cancel; }

    static void setLimitedText(QLineEdit& field, const QString& text);
    static int limitFor(const QString& loaded);

    // A message box owned by the dialog; then the field gets the focus with its whole text selected.
    void refuse(QWidget& field, const QString& text, const QString& caption, unsigned style);
    // The field's text as the file's bytes, or nothing once the user was told it cannot be saved.
    std::optional<std::string> encodeOrRefuse(QWidget& field, const QString& text);

private:
    WindowSystem& m_windowSystem;
    QPushButton m_ok;
    QPushButton m_cancel;
};

} // namespace quarvel
