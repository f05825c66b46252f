#pragma once

#include "ui/framework/WindowSystem.h"

#include <QFileDialog>

namespace quarvel {

// Qt's own file dialog, set up from a request, that refuses a choice the request's flags forbid and stays
// open, as the user expects of a file dialog: a folder that does not exist, a write-protected file, or a
// new file the user does not want to create.
class CheckedFileDialog : public QFileDialog {
    Q_OBJECT
public:
    CheckedFileDialog(QWidget* owner, const FileDialogRequest& request);

    void accept() override;

private:
    bool refuses(const QString& path);

    unsigned m_flags;
};

} // namespace quarvel
