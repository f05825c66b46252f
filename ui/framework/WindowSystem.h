#pragma once

#include <QPoint>
#include <QString>

#include <optional>
#include <string>

class QDialog;
class QMenu;
class QWidget;

namespace quarvel {

// Message box styles and answers, with the values the files' home platform gives them.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONMASK = 0xF0;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// File dialog flags.
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;
inline constexpr unsigned OFN_HIDEREADONLY = 0x4;
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x800;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;
inline constexpr unsigned OFN_CREATEPROMPT = 0x2000;
inline constexpr unsigned OFN_NOREADONLYRETURN = 0x8000;
inline constexpr unsigned OFN_ENABLESIZING = 0x800000;
inline constexpr unsigned OFN_FORCESHOWHIDDEN = 0x10000000;

struct FileDialogRequest {
    bool open = true;       // false: a save dialog
    QString defaultExt;     // appended to a typed name that has none, e.g. "cfg"
    std::string presetName; // the file name box's first text, a path in the file system's own bytes
    QString filter;         // "Description|patterns|Description|patterns||"; the first entry is selected
    unsigned flags = 0;     // OFN_ values
    // Where the dialog opens when presetName names no folder, in the file system's own bytes; empty: the
    // platform's default.
    std::string startFolder;
};

// Everything a person sees or answers outside the main window goes through here, so that tests can
// answer instead, and see exactly what a person would have seen. The program hands its windows the Qt
// implementation, QtWindowSystem.
class WindowSystem {
public:
    WindowSystem() = default;
    virtual ~WindowSystem() = default;
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // A modal message box; an empty caption gives the application's name. Returns IDOK, IDYES or IDNO.
    int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style);

    // The chosen file as a path in the file system's own bytes, or nothing when the user cancelled.
    virtual std::optional<std::string> FileDialog(QWidget* owner, const FileDialogRequest& request) = 0;

    // Runs an initialised dialog modally; returns the code it was ended with.
    virtual int DoModal(QDialog& dialog) = 0;

    // Shows a popup menu with its top-left corner at a screen position and returns the command id of the
    // chosen item, or 0 when the menu was dismissed. The enabling pass has already run over the menu.
    virtual int TrackPopupMenu(QMenu& menu, const QPoint& screenPos, QWidget* owner) = 0;

protected:
    virtual int showMessageBox(QWidget* owner, const QString& text, const QString& caption,
                               unsigned style) = 0;
};

} // namespace quarvel
