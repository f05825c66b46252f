#include "ui/dialogs/CTextEntryDlg.h"

#include "ui/framework/Cp1252.h"
#include "ui/framework/WindowSystem.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace quarvel {

CTextEntryDlg::CTextEntryDlg(WindowSystem& windowSystem, QSize templateSize, const QString& caption,
                             const QString& okText, int buttonsX, QWidget* parent)
    : CDialog(templateSize, parent), m_windowSystem(windowSystem), m_ok(okText, &clientArea()),
      m_cancel(tr("Cancel"), &clientArea()) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    placeControl(m_ok, buttonsX, 7, 50, 14);
    placeControl(m_cancel, buttonsX, 24, 50, 14);
    m_ok.setDefault(true);
    m_ok.setAutoDefault(false);
    m_cancel.setAutoDefault(false);
    connect(&m_ok, &QPushButton::clicked, this, &CTextEntryDlg::accept);
    connect(&m_cancel, &QPushButton::clicked, this, &CTextEntryDlg::reject);
    setFixedSize(size());
}

namespace {

QString blankedLineBreaks(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool holdsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// Lets a single-line field take text of any length and turns the line breaks in it into blanks. A blank
// stands for each break, so the cursor stays where it was.
class LineBreakBlanker : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*position*/) const override {
        if (holdsLineBreak(input))
            input = blankedLineBreaks(input);
        return Acceptable;
    }
};

// Past what a paste could hold; the field's own limit is checked on Save, in words.
constexpr int kUncutLength = std::numeric_limits<int>::max();

} // namespace

void CTextEntryDlg::setLimitedText(QLineEdit& field, const QString& text) {
    field.setMaxLength(kUncutLength);
    field.setValidator(new LineBreakBlanker(&field));
    field.setText(text);
    field.setCursorPosition(0);
    limit(field, text);
}

// A box shows its text as paragraphs; each break that arrives is turned into a blank, in place.
void CTextEntryDlg::setLimitedText(QPlainTextEdit& box, const QString& text) {
    box.setPlainText(blankedLineBreaks(text));
    connect(&box, &QPlainTextEdit::textChanged, this, [&box] {
        const QString shown = box.toPlainText();
        if (!holdsLineBreak(shown))
            return;
        const int cursor = box.textCursor().position();
        box.setPlainText(blankedLineBreaks(shown));
        QTextCursor restored = box.textCursor();
        restored.setPosition(cursor);
        box.setTextCursor(restored);
    });
    limit(box, text);
}

void CTextEntryDlg::limit(QWidget& field, const QString& loaded) {
    const int length = std::max(kFieldLimit, static_cast<int>(loaded.size()));
    const auto known = std::find_if(m_limits.begin(), m_limits.end(), [&field](const LimitedField& limited) {
        return limited.field == &field;
    });
    if (known != m_limits.end())
        known->limit = length;
    else
        m_limits.push_back({&field, length});
}

// Every field is checked against its limit before the dialog's own checks run.
void CTextEntryDlg::accept() {
    for (const LimitedField& limited : m_limits) {
        const auto* line = qobject_cast<const QLineEdit*>(limited.field);
        const auto* box = qobject_cast<const QPlainTextEdit*>(limited.field);
        const qsizetype length = line != nullptr ? line->text().size() : box->toPlainText().size();
        if (length > limited.limit) {
            refuse(*limited.field, tr("Please enter no more than %1 characters.").arg(limited.limit),
                   QString(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    CDialog::accept();
}

void CTextEntryDlg::refuse(QWidget& field, const QString& text, const QString& caption, unsigned style) {
    m_windowSystem.MessageBox(this, text, caption, style);
    field.setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(&field))
        line->selectAll();
    else if (auto* box = qobject_cast<QPlainTextEdit*>(&field))
        box->selectAll();
}

std::optional<std::string> CTextEntryDlg::encodeOrRefuse(QWidget& field, const QString& text) {
    Cp1252Encoding encoded = encodeCp1252(text);
    if (encoded.ok())
        return std::move(encoded.bytes);
    refuse(field, tr("The text contains characters that cannot be saved in this file."), windowTitle(),
           MB_OK | MB_ICONHAND);
    return std::nullopt;
}

} // namespace quarvel
