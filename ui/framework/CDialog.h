#pragma once

#include "ui/framework/DialogUnits.h"

#include <QDialog>
#include <QSize>
#include <QWidget>

class QMenuBar;

namespace quarvel {

// A dialog built like a template: a client area measured in dialog units with its controls placed in
// them, an optional menu bar above the client area, an initialisation that runs once just before the
// dialog first shows, and OK and Cancel that go through overridable handlers. Every dialog takes the
// desktop's font, and its dialog units come from that font, so a player's larger font makes every dialog
// larger with it.
class CDialog : public QDialog {
    Q_OBJECT
public:
    // templateSize: the client area in dialog units.
    CDialog(QSize templateSize, QWidget* parent);

    QWidget& clientArea() { return m_client; }
    const DialogUnits& dialogUnits() const { return m_units; }

    // Places a control of the client area by its template position, in dialog units.
    void placeControl(QWidget& control, int x, int y, int width, int height) const;

    // Ends a modal run with the given result (IDOK, IDCANCEL or any code the caller reads).
    void EndDialog(int result) { done(result); }

    // OK and Cancel from buttons, Enter, Escape and the close box arrive here.
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

protected:
    // Runs once, right before the dialog first shows. True: the first control in tab order gets the focus.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK();
    virtual void OnCancel();
    // The client area has a new size.
    virtual void OnSize() {}

    // Puts a menu bar above the client area; the dialog owns it.
    void setMenuBar(QMenuBar* bar);
    // Gives the client area a size in pixels, as far as the screen's available area holds the window with
    // its frame, and moves the window into that area where it would run off an edge.
    void resizeClient(QSize pixels);

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int menuBarHeight() const;
    void placeFrame();
    void resizeToTemplate();
    void focusFirstControl();

    QWidget m_client;
    QMenuBar* m_menuBar = nullptr;
    DialogUnits m_units;
    QSize m_templateSize;
    bool m_initialised = false;
};

} // namespace quarvel
