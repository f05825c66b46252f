#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace quarvel::test {

// Shows a window and waits until it is the active window, which is what keys need. Waiting for the
// activation itself matters: the offscreen platform reports a window ready before it is active.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
}

// The window gets the focus again, after the player used another program or a dialog.
inline void refocus(QWidget& window) {
    window.activateWindow();
    // The activation event below goes to the window whether or not the platform has activated it yet.
    static_cast<void>(QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }));
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&window, &activation);
    QCoreApplication::processEvents();
}

} // namespace quarvel::test
