#include "ui/framework/CheckedFileDialog.h"

#include "ui/framework/FileDialogFilter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace quarvel {

namespace {

QString displayName(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

CheckedFileDialog::CheckedFileDialog(QWidget* owner, const FileDialogRequest& request)
    : QFileDialog(owner), m_flags(request.flags) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode((m_flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, (m_flags & OFN_OVERWRITEPROMPT) == 0);
    if ((m_flags & OFN_FORCESHOWHIDDEN) != 0)
        setFilter(filter() | QDir::Hidden);
    setDefaultSuffix(request.defaultExt);
    setNameFilters(toQtNameFilters(request.filter));

    const QFileInfo preset(QFile::decodeName(QByteArray::fromStdString(request.presetName)));
    if (preset.fileName() != preset.filePath() && preset.dir().exists())
        setDirectory(preset.dir());
    else if (!request.startFolder.empty())
        setDirectory(QFile::decodeName(QByteArray::fromStdString(request.startFolder)));
    selectFile(preset.fileName());
}

void CheckedFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty() && refuses(chosen.front()))
        return;
    QFileDialog::accept();
}

bool CheckedFileDialog::refuses(const QString& path) {
    const QFileInfo file(path);
    if (file.isDir())
        return false; // the dialog opens the folder
    if ((m_flags & OFN_PATHMUSTEXIST) != 0 && !file.dir().exists()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The folder %1 does not exist.").arg(displayName(file.absolutePath())));
        return true;
    }
    const bool exists = file.exists();
    if ((m_flags & OFN_NOREADONLYRETURN) != 0 &&
        (exists ? !file.isWritable() : !QFileInfo(file.absolutePath()).isWritable())) {
        QMessageBox::warning(this, windowTitle(),
                             tr("%1 is write-protected.\nChoose another name or folder.")
                                 .arg(displayName(file.absoluteFilePath())));
        return true;
    }
    if ((m_flags & OFN_CREATEPROMPT) != 0 && !exists) {
        const auto answer = QMessageBox::question(this, windowTitle(),
                                                  tr("%1 does not exist yet.\nDo you want to create it?")
                                                      .arg(displayName(file.absoluteFilePath())));
        return answer != QMessageBox::Yes;
    }
    return false;
}

} // namespace quarvel
