#include "tests/support/TempDir.h"

#include "ui/dialogs/CAboutDlg.h"
#include "ui/framework/AppIcon.h"
#include "ui/framework/CheckedFileDialog.h"
#include "ui/framework/FileDialogFilter.h"
#include "ui/framework/QtWindowSystem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace quarvel {
namespace {

// Acts on the next modal window or popup once it is up, from inside its own event loop.
void whenShown(std::function<QWidget*()> find, std::function<void(QWidget&)> act) {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, find = std::move(find), act = std::move(act)] {
        if (QWidget* shown = find(); shown != nullptr && shown->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(*shown);
        }
    });
    timer->start(5);
}

void whenModal(std::function<void(QWidget&)> act) {
    whenShown([] { return QApplication::activeModalWidget(); }, std::move(act));
}

// The program gives no icon to the test's application, so a window has it only when it was given its own.
bool carriesProgramIcon(const QWidget& window) {
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    return !sizes.isEmpty() && sizes == loadAppIcon().availableSizes();
}

void pressButton(QWidget& box, QMessageBox::StandardButton which) {
    auto& messageBox = dynamic_cast<QMessageBox&>(box);
    messageBox.button(which)->click();
}

TEST(QtWindowSystemTest, AMessageBoxShowsTextCaptionIconAndButtonsAndGivesTheAnswer) {
    QtWindowSystem windowSystem;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool hasProgramIcon = false;
    whenModal([&](QWidget& box) {
        auto& messageBox = dynamic_cast<QMessageBox&>(box);
        hasProgramIcon = carriesProgramIcon(box);
        caption = messageBox.windowTitle();
        text = messageBox.text();
        icon = messageBox.icon();
        buttons = messageBox.standardButtons();
        pressButton(box, QMessageBox::Yes);
    });
    const int answer = windowSystem.MessageBox(nullptr, QStringLiteral("Remove it?"),
                                               QStringLiteral("Remove Key"), MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(caption, QStringLiteral("Remove Key"));
    EXPECT_EQ(text, QStringLiteral("Remove it?"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(hasProgramIcon);
}

TEST(QtWindowSystemTest, ABoxWithoutACaptionCarriesTheApplicationsName) {
    QtWindowSystem windowSystem;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Question;
    whenModal([&](QWidget& box) {
        caption = box.windowTitle();
        icon = dynamic_cast<QMessageBox&>(box).icon();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(windowSystem.MessageBox(nullptr, QStringLiteral("\"fs9.exe\""), QString(), MB_OK), IDOK);
    EXPECT_EQ(caption, QCoreApplication::applicationName());
    EXPECT_EQ(icon, QMessageBox::NoIcon);

    whenModal([&](QWidget& box) {
        icon = dynamic_cast<QMessageBox&>(box).icon();
        pressButton(box, QMessageBox::No);
    });
    EXPECT_EQ(windowSystem.MessageBox(nullptr, QStringLiteral("?"), QStringLiteral("c"),
                                      MB_YESNO | MB_ICONEXCLAMATION),
              IDNO);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(QtWindowSystemTest, DoModalRunsTheDialogUntilItEnds) {
    QtWindowSystem windowSystem;
    CAboutDlg about("/home/player/.wine");
    EXPECT_TRUE(carriesProgramIcon(about));
    whenModal([](QWidget& shown) { shown.findChild<QPushButton*>()->click(); });
    EXPECT_EQ(windowSystem.DoModal(about), IDOK);
    whenModal([](QWidget& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
    EXPECT_EQ(windowSystem.DoModal(about), IDCANCEL);
}

TEST(QtWindowSystemTest, APopupMenuGivesTheChosenCommandOrNone) {
    QtWindowSystem windowSystem;
    QWidget owner;
    owner.show();
    QMenu menu(&owner);
    QAction* grayed = menu.addAction(QStringLiteral("Grayed"));
    grayed->setData(10);
    grayed->setEnabled(false);
    menu.addAction(QStringLiteral("Chosen"))->setData(11);

    const auto popup = [] {
        return QApplication::activePopupWidget();
    };
    whenShown(popup, [](QWidget& shown) {
        QTest::keyClick(&shown, Qt::Key_Down);
        QTest::keyClick(&shown, Qt::Key_Return);
    });
    EXPECT_EQ(windowSystem.TrackPopupMenu(menu, owner.mapToGlobal(QPoint(10, 10)), &owner), 11);
    whenShown(popup, [](QWidget& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
    EXPECT_EQ(windowSystem.TrackPopupMenu(menu, owner.mapToGlobal(QPoint(10, 10)), &owner), 0);
}

TEST(QtWindowSystemTest, TheOpenDialogStartsAtThePresetFileAndGivesItsPath) {
    test::TempDir folder;
    const std::filesystem::path file = folder.write("fs9.cfg", "[Main]\n");
    QtWindowSystem windowSystem;
    FileDialogRequest request{
        true,
        QStringLiteral("cfg"),
        file.string(),
        QStringLiteral("Flight Simulator Configuration Files (*.cfg)|*.cfg|All Files|*.*||"),
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_FORCESHOWHIDDEN,
        {}};
    QString shownFilter;
    bool hasProgramIcon = false;
    whenModal([&](QWidget& shown) {
        auto& dialog = dynamic_cast<QFileDialog&>(shown);
        shownFilter = dialog.selectedNameFilter();
        hasProgramIcon = carriesProgramIcon(dialog);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(windowSystem.FileDialog(nullptr, request), file.string());
    EXPECT_EQ(shownFilter, QStringLiteral("Flight Simulator Configuration Files (*.cfg)"));
    EXPECT_TRUE(hasProgramIcon);

    whenModal([](QWidget& shown) { dynamic_cast<QFileDialog&>(shown).reject(); });
    EXPECT_FALSE(windowSystem.FileDialog(nullptr, request).has_value());

    // A bare name opens in the folder the request starts in.
    request.presetName = "fs9.cfg";
    request.startFolder = folder.path().string();
    whenModal([](QWidget& shown) { QMetaObject::invokeMethod(&shown, "accept"); });
    EXPECT_EQ(windowSystem.FileDialog(nullptr, request), file.string());
}

class CheckedFileDialogTest : public ::testing::Test {
protected:
    test::TempDir folder;
    FileDialogRequest saveRequest{false,
                                  QStringLiteral("cfg"),
                                  {},
                                  QStringLiteral("All Files|*.*||"),
                                  OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT |
                                      OFN_NOREADONLYRETURN | OFN_PATHMUSTEXIST,
                                  {}};

    // Accepts the dialog with a name typed in; true when it closed.
    bool acceptWith(CheckedFileDialog& dialog, const std::filesystem::path& path) {
        dialog.selectFile(QString::fromStdString(path.string()));
        dialog.show();
        dialog.accept();
        return !dialog.isVisible();
    }
};

TEST_F(CheckedFileDialogTest, ANewFileIsCreatedOnlyWhenTheUserAgrees) {
    CheckedFileDialog dialog(nullptr, saveRequest);
    QString question;
    whenModal([&](QWidget& box) {
        question = dynamic_cast<QMessageBox&>(box).text();
        pressButton(box, QMessageBox::No);
    });
    EXPECT_FALSE(acceptWith(dialog, folder / "copy"));
    EXPECT_TRUE(question.contains(QStringLiteral("copy.cfg")));
    EXPECT_TRUE(question.contains(QStringLiteral("create")));

    whenModal([](QWidget& box) { pressButton(box, QMessageBox::Yes); });
    EXPECT_TRUE(acceptWith(dialog, folder / "copy"));
    EXPECT_EQ(dialog.selectedFiles().value(0), QString::fromStdString((folder / "copy.cfg").string()));
}

TEST_F(CheckedFileDialogTest, AFolderThatDoesNotExistIsRefused) {
    CheckedFileDialog dialog(nullptr, saveRequest);
    QString warning;
    whenModal([&](QWidget& box) {
        warning = dynamic_cast<QMessageBox&>(box).text();
        pressButton(box, QMessageBox::Ok);
    });
    EXPECT_FALSE(acceptWith(dialog, folder / "missing" / "copy.cfg"));
    EXPECT_TRUE(warning.contains(QStringLiteral("does not exist")));
}

TEST(FileDialogFilterTest, DescriptionsCarryTheirPatternsAndStarDotStarMeansEverything) {
    EXPECT_EQ(
        toQtNameFilters(QStringLiteral("Flight Simulator Configuration Files (*.cfg)|*.cfg|All Files|*.*||")),
        (QStringList{"Flight Simulator Configuration Files (*.cfg)", "All Files (*)"}));
    EXPECT_EQ(toQtNameFilters(QStringLiteral("Settings|*.cfg;*.ini||")),
              (QStringList{"Settings (*.cfg *.ini)"}));
    EXPECT_TRUE(toQtNameFilters(QString()).isEmpty());
}

} // namespace
} // namespace quarvel
