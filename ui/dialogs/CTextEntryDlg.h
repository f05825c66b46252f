#pragma once

#include "ui/framework/CDialog.h"

#include <QPushButton>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;

namespace quarvel {

class WindowSystem;

// What the small text-entry dialogs share: a default button and Cancel one above the other, text fields
// that never force a loaded text shorter, and the refusals that keep the dialog open with the offending
// field's text selected.
//
// A field holds one line: line breaks typed or pasted into it turn into blanks at once, where the user
// sees them, so that the text saved is the text shown. Nothing typed or pasted is cut: a text past its
// field's limit is refused in words when the dialog is closed with its default button.
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

    // Loads a field with its text; its limit is kFieldLimit, or the text's length when longer.
    void setLimitedText(QLineEdit& field, const QString& text);
    void setLimitedText(QPlainTextEdit& box, const QString& text);

    void accept() override;

    // A message box owned by the dialog; then the field gets the focus with its whole text selected.
    void refuse(QWidget& field, const QString& text, const QString& caption, unsigned style);
    // The field's text as the file's bytes, or nothing once the user was told it cannot be saved.
    std::optional<std::string> encodeOrRefuse(QWidget& field, const QString& text);

private:
    struct LimitedField {
        QWidget* field;
        int limit;
    };
    void limit(QWidget& field, const QString& loaded);

    WindowSystem& m_windowSystem;
    std::vector<LimitedField> m_limits;
    QPushButton m_ok;
    QPushButton m_cancel;
};

} // namespace quarvel
