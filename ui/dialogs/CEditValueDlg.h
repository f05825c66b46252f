#pragma once

#include "ui/dialogs/CTextEntryDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// Edit Value: a key's value and description, for a key being changed (its name read-only) or a new key
// (caption "Add Key", the name editable). The fields are preset before the dialog runs; after Save the
// members hold what was typed and the bytes to write.
class CEditValueDlg : public CTextEntryDlg {
    Q_OBJECT
public:
    CEditValueDlg(WindowSystem& windowSystem, QWidget* parent);

    QString m_strSection; // "Section:  " and the section's name
    QString m_strKey;
    QString m_strValue;
    QString m_strHelp;
    bool m_bExistingKey = true;
    // The line changed has no "=": the whole line is its value, which must not give it one.
    bool m_wholeLine = false;

    // For a new key: the index of the line of the section that already holds a key of that name.
    std::function<std::optional<std::size_t>(const std::string& key)> m_findExistingKey;

    // After Save: the texts as the file's bytes, the key name trimmed, and for a new key whose name the
    // section already holds (the user agreed to replace its value) the index of that key's line.
    std::string m_keyBytes;
    std::string m_valueBytes;
    std::string m_helpBytes;
    std::optional<std::size_t> m_replaceLine;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    // The fields and the description box take the width the dialog gains, the buttons keep to its right
    // edge, and the description box takes the height.
    void OnSize() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A control's place in the dialog at its template size, and how it follows a larger size.
    struct Anchor {
        QWidget* control = nullptr;
        QRect home;
        bool moves = false;   // right with the extra width
        bool widens = false;  // wider by the extra width
        bool deepens = false; // taller by the extra height
    };

    bool readNewKeyName();
    bool wholeLineValueFits(const std::string& value);
    // Wide enough to show the value whole, and a roomier box for the description, as the screen allows.
    QSize openingClientSize() const;
    void showSectionName();

    QLineEdit m_valueEdit;
    QLabel m_sectionLabel;
    QLabel m_valueLabel;
    QPlainTextEdit m_helpEdit;
    QLineEdit m_keyEdit;
    QLabel m_keyLabel;
    std::vector<Anchor> m_anchors;
    QSize m_templateClient;
};

} // namespace quarvel
