#include "ui/dialogs/CEditValueDlg.h"

#include "store/profile/ProfileEditor.h"
#include "ui/framework/WindowSystem.h"

#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTextOption>

#include <algorithm>

#include <stdexcept>

namespace quarvel {

CEditValueDlg::CEditValueDlg(WindowSystem& windowSystem, QWidget* parent)
    : CTextEntryDlg(windowSystem, QSize(211, 103), tr("Edit Value"), tr("Save"), 154, parent),
      m_valueEdit(&clientArea()), m_sectionLabel(tr("Section:"), &clientArea()),
      m_valueLabel(tr("Value:"), &clientArea()), m_helpEdit(&clientArea()), m_keyEdit(&clientArea()),
      m_keyLabel(tr("Key:"), &clientArea()) {
    m_valueEdit.setObjectName(QStringLiteral("value"));
    m_keyEdit.setObjectName(QStringLiteral("key"));
    m_helpEdit.setObjectName(QStringLiteral("help"));
    m_sectionLabel.setObjectName(QStringLiteral("section"));
    placeControl(m_valueEdit, 38, 37, 100, 14);
    placeControl(m_sectionLabel, 7, 7, 129, 8);
    placeControl(m_valueLabel, 7, 40, 21, 8);
    placeControl(m_helpEdit, 7, 62, 197, 34);
    placeControl(m_keyEdit, 38, 18, 99, 14);
    placeControl(m_keyLabel, 7, 22, 15, 8);
    m_sectionLabel.setTextFormat(Qt::PlainText);
    // A description wraps at the box's width, inside a word too long for a line.
    m_helpEdit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_helpEdit.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_helpEdit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_helpEdit.setTabChangesFocus(true);
    // Enter saves from the help box too; it takes no line breaks.
    m_helpEdit.installEventFilter(this);
    m_keyEdit.setReadOnly(true);
    setTabOrder(&m_valueEdit, &okButton());
    setTabOrder(&okButton(), &cancelButton());
    setTabOrder(&cancelButton(), &m_helpEdit);
    setTabOrder(&m_helpEdit, &m_keyEdit);

    m_templateClient = clientArea().size();
    m_anchors = {{&m_valueEdit, {}, false, true, false},    {&okButton(), {}, true, false, false},
                 {&cancelButton(), {}, true, false, false}, {&m_sectionLabel, {}, false, true, false},
                 {&m_helpEdit, {}, false, true, true},      {&m_keyEdit, {}, false, true, false}};
    for (Anchor& anchor : m_anchors)
        anchor.home = anchor.control->geometry();
    setMinimumSize(size());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
}

bool CEditValueDlg::OnInitDialog() {
    resizeClient(openingClientSize());
    showSectionName();
    setLimitedText(m_keyEdit, m_strKey);
    setLimitedText(m_valueEdit, m_strValue);
    // Selected whole, as a dialog's first field is, but from its end back to its start: a value longer than
    // the field shows its beginning.
    const int valueLength = static_cast<int>(m_valueEdit.text().size());
    m_valueEdit.setSelection(valueLength, -valueLength);
    setLimitedText(m_helpEdit, m_strHelp);
    if (m_bExistingKey) {
        m_valueEdit.setFocus(Qt::OtherFocusReason);
        return false;
    }
    m_keyEdit.setReadOnly(false);
    m_keyEdit.setFocus(Qt::OtherFocusReason);
    setWindowTitle(tr("Add Key"));
    return false;
}

void CEditValueDlg::OnOK() {
    m_strKey = m_keyEdit.text();
    m_strValue = m_valueEdit.text();
    m_strHelp = m_helpEdit.toPlainText();
    if (!m_bExistingKey && !readNewKeyName())
        return;
    const std::optional<std::string> value = encodeOrRefuse(m_valueEdit, m_strValue);
    if (!value || !wholeLineValueFits(*value))
        return;
    const std::optional<std::string> help = encodeOrRefuse(m_helpEdit, m_strHelp);
    if (!help)
        return;
    if (!m_bExistingKey && m_findExistingKey) {
        m_replaceLine = m_findExistingKey(m_keyBytes);
        if (m_replaceLine &&
            windowSystem().MessageBox(
                this,
                tr("The key '%1' already exists in this section. Replace its value?").arg(m_strKey.trimmed()),
                tr("Add Key"), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    m_valueBytes = *value;
    m_helpBytes = *help;
    EndDialog(IDOK);
}

QSize CEditValueDlg::openingClientSize() const {
    // Half as wide again as the template at least, and at most two thirds of the screen.
    const int roomy = m_templateClient.width() * 3 / 2;
    const int valueWidth = m_valueEdit.fontMetrics().horizontalAdvance(m_strValue) +
                           2 * m_valueEdit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                           m_valueEdit.fontMetrics().averageCharWidth();
    const int valueFieldWidth = m_anchors.front().home.width(); // the value field's anchor comes first
    const int wholeValue = m_templateClient.width() + valueWidth - valueFieldWidth;
    const int widest = std::max(m_templateClient.width(), screen()->availableGeometry().width() * 2 / 3);
    return {std::min(std::max(roomy, wholeValue), widest), m_templateClient.height()};
}

void CEditValueDlg::OnSize() {
    const QSize extra = (clientArea().size() - m_templateClient).expandedTo(QSize(0, 0));
    for (const Anchor& anchor : m_anchors) {
        QRect place = anchor.home;
        if (anchor.moves)
            place.translate(extra.width(), 0);
        if (anchor.widens)
            place.setWidth(place.width() + extra.width());
        if (anchor.deepens)
            place.setHeight(place.height() + extra.height());
        anchor.control->setGeometry(place);
    }
    showSectionName();
}

// Two sections of similar names differ mostly at their ends, so a name too long for the label loses its
// middle; the tooltip has it whole.
void CEditValueDlg::showSectionName() {
    m_sectionLabel.setText(
        m_sectionLabel.fontMetrics().elidedText(m_strSection, Qt::ElideMiddle, m_sectionLabel.width()));
    m_sectionLabel.setToolTip(m_sectionLabel.text() == m_strSection ? QString() : m_strSection);
}

// The name must read back as itself once written; it is written trimmed.
bool CEditValueDlg::readNewKeyName() {
    if (m_strKey.isEmpty()) {
        refuse(m_keyEdit, tr("The key must have a name.  Please enter a name."), tr("Invalid key name"),
               MB_OK | MB_ICONHAND);
        return false;
    }
    const std::optional<std::string> key = encodeOrRefuse(m_keyEdit, m_strKey);
    if (!key)
        return false;
    try {
        m_keyBytes = ProfileEditor::newKeyName(*key);
    } catch (const std::invalid_argument&) {
        refuse(m_keyEdit, tr("A key name cannot be empty, contain '=' or begin with '[' or ';'."),
               tr("Invalid key name"), MB_OK | MB_ICONHAND);
        return false;
    }
    return true;
}

// A line without "=" has to stay one, or the file would read it back as something else.
bool CEditValueDlg::wholeLineValueFits(const std::string& value) {
    if (!m_wholeLine)
        return true;
    try {
        ProfileEditor::checkWholeLineValue(value);
        return true;
    } catch (const std::invalid_argument&) {
        refuse(m_valueEdit,
               tr("This line has no '=', so its new text cannot be empty, contain '=' or begin with '[' or "
                  "';'."),
               tr("Invalid value"), MB_OK | MB_ICONHAND);
        return false;
    }
}

bool CEditValueDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_helpEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return CTextEntryDlg::eventFilter(watched, event);
}

} // namespace quarvel
