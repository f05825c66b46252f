#pragma once

#include "Activation.h"
#include "FakeWindowSystem.h"
#include "TestHost.h"
#include "WindowTexts.h"

#include "store/profile/AtomicFileWriter.h"
#include "tests/support/TempDir.h"
#include "tests/ui/EditorDlgProbe.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quarvel::test {

// A main window on a fs9.cfg of the test's own, loaded as a player would see it, with the text-entry
// dialogs scripted field by field.
class EditingFixture : public ::testing::Test {
protected:
    FakeWindowSystem windowSystem;
    TestHost host;
    std::unique_ptr<CEditorDlg> dialog;

    void TearDown() override { AtomicFileWriter::injectFault(std::nullopt); }

    void start(std::string_view bytes) {
        host.write(host.fs9Cfg(), bytes);
        dialog = std::make_unique<CEditorDlg>(windowSystem, *host.host);
        ASSERT_TRUE(showActive(*dialog));
        ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->windowTitle() != QStringLiteral("Quarvel"); }));
    }

    std::string fileBytes() const { return readBytes(host.fs9Cfg()); }
    std::filesystem::path playerHelp() const { return host.windowsDirectory() / "fs9help.ini"; }

    QStringList rows() const { return rowTexts(probe(*dialog).m_list); }
    QStringList sections() const { return sectionTexts(probe(*dialog).m_tree); }
    void selectSection(int index) { probe(*dialog).m_tree.selectSection(index); }
    void clickRow(int row) {
        QTreeWidgetItem* item = probe(*dialog).m_list.topLevelItem(row);
        ASSERT_NE(item, nullptr);
        // Near the left edge: a row can be wider than the view.
        QTest::mouseClick(probe(*dialog).m_list.viewport(), Qt::LeftButton, {},
                          QPoint(5, probe(*dialog).m_list.visualItemRect(item).center().y()));
    }

    // Scripts the next text-entry dialog: checks that the main window's keys are off while it is open,
    // runs the steps, and presses its default button unless a step closed it.
    void script(std::function<void(QDialog&)> steps) {
        windowSystem.modalScripts.emplace_back([this, steps](QDialog& shown) {
            EXPECT_EQ(probe(*dialog).m_bAccelEnabled, 0);
            steps(shown);
            if (shown.isVisible())
                shown.accept();
        });
    }
    static void type(QDialog& shown, const char* field, const QString& text) {
        auto* edit = shown.findChild<QLineEdit*>(QString::fromLatin1(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->setText(text);
    }
    static void typeHelp(QDialog& shown, const QString& text) {
        shown.findChild<QPlainTextEdit*>(QStringLiteral("help"))->setPlainText(text);
    }
    // A message box the window showed, by its order.
    const FakeWindowSystem::MessageBoxCall& box(std::size_t index) const {
        static const FakeWindowSystem::MessageBoxCall none;
        EXPECT_LT(index, windowSystem.messageBoxes.size());
        return index < windowSystem.messageBoxes.size() ? windowSystem.messageBoxes[index] : none;
    }
};

} // namespace quarvel::test
