#include "Activation.h"
#include "FakeWindowSystem.h"

#include "TestHost.h"
#include "app/AcceleratorTable.h"
#include "app/CEditorApp.h"
#include "tests/ui/EditorDlgProbe.h"
#include "ui/editor/ResourceIds.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <sstream>

namespace quarvel {
namespace {

using Arguments = std::vector<std::string>;

class CommandLineTest : public ::testing::Test {
protected:
    test::FakeWindowSystem windowSystem;
    std::ostringstream out;
    std::ostringstream err;
    CEditorCommandLineInfo info{&windowSystem, out, err};

    // The box "?" shows: its heading, then the usage --help prints.
    const QString kHelpBoxStart = QStringLiteral("Command Line Help:\n\nUsage: quarvel [--prefix DIR]");

    void expectHelpBoxes(std::size_t count) {
        ASSERT_EQ(windowSystem.messageBoxes.size(), count);
        for (const auto& box : windowSystem.messageBoxes) {
            EXPECT_TRUE(box.text.startsWith(kHelpBoxStart)) << box.text.toStdString();
            EXPECT_FALSE(box.text.contains("\n        ")) << "lines the terminal text broke are joined";
            EXPECT_EQ(box.caption, QStringLiteral("Quarvel"));
            EXPECT_EQ(box.style, MB_ICONINFORMATION | MB_OK);
            EXPECT_FALSE(box.hadOwner);
        }
    }
};

TEST_F(CommandLineTest, AQuestionMarkShowsTheHelpOnceWithOrWithoutASlashOrDash) {
    for (const char* argument : {"?", "/?", "-?"}) {
        test::FakeWindowSystem boxes;
        CEditorCommandLineInfo parsed(&boxes, out, err);
        parsed.ParseCommandLine({argument});
        EXPECT_EQ(parsed.m_bHelp, 1) << argument;
        ASSERT_EQ(boxes.messageBoxes.size(), 1U) << argument;
        EXPECT_TRUE(boxes.messageBoxes[0].text.startsWith(kHelpBoxStart));
    }
}

TEST_F(CommandLineTest, EveryQuestionMarkShowsItAgain) {
    info.ParseCommandLine({"/?", "?x", "-c"});
    expectHelpBoxes(2);
    EXPECT_EQ(info.m_bHelp, 1);
    EXPECT_EQ(info.exitStatus(), 0);
}

TEST_F(CommandLineTest, TheLetterCCarriesAPathAndTheLastOneWins) {
    info.ParseCommandLine({"cfirst", "/c:\\fs9\\fs9.cfg"});
    EXPECT_EQ(info.m_strPath, ":\\fs9\\fs9.cfg");
    info.ParseCommandLine({"-cthird"});
    EXPECT_EQ(info.m_strPath, "third");
    info.ParseCommandLine({"/c"});
    EXPECT_EQ(info.m_strPath, "");
    EXPECT_EQ(info.m_bHelp, 0);
    expectHelpBoxes(0);
}

TEST_F(CommandLineTest, OtherArgumentsHaveNoEffect) {
    info.ParseCommandLine({"Cpath", "", "-", "/", "file.cfg", "--c"});
    EXPECT_EQ(info.m_strPath, "");
    EXPECT_EQ(info.m_bHelp, 0);
    expectHelpBoxes(0);
}

TEST_F(CommandLineTest, OnlyOneLeadingSlashOrDashIsTakenOff) {
    info.ParseCommandLine({"//?"});
    EXPECT_EQ(info.m_bHelp, 0);
    info.ParseCommandLine({"-/cpath"});
    EXPECT_EQ(info.m_strPath, "");
}

class StartUpTest : public ::testing::Test {
protected:
    test::FakeWindowSystem windowSystem;
    test::TestHost host;
    std::ostringstream out;
    std::ostringstream err;
    // The prefix the command line gave when the main window was made; "<not asked>" before.
    std::optional<std::string> askedPrefix = "<not asked>";
    CEditorApp::HostForPrefix hostForPrefix =
        [this](const std::optional<std::string>& prefix) -> EditorHost& {
        askedPrefix = prefix;
        return *host.host;
    };
    CEditorApp app{windowSystem, hostForPrefix, out, err};
};

TEST_F(StartUpTest, ThePrefixOptionsFolderIsNeverReadAsAParameter) {
    for (const Arguments& arguments : {Arguments{"--prefix", "/cdrive/x"}, Arguments{"/prefix=/cdrive/x"},
                                       Arguments{"-prefix", "/old", "-prefix", "/cdrive/x", "Cother"}}) {
        test::FakeWindowSystem shown;
        CEditorApp normal(shown, hostForPrefix, out, err);
        EXPECT_FALSE(normal.InitInstance(arguments));
        ASSERT_EQ(shown.modalRuns.size(), 1U) << arguments.front() << " opens the window";
        EXPECT_EQ(askedPrefix, "/cdrive/x");
        EXPECT_EQ(normal.m_cmdInfo.m_strPath, "");
    }
    EXPECT_EQ(err.str(), "");

    // Without the option the environment decides; an option without its folder ends with a word why.
    test::FakeWindowSystem shown;
    CEditorApp plain(shown, hostForPrefix, out, err);
    plain.InitInstance({});
    EXPECT_EQ(askedPrefix, std::nullopt);
    EXPECT_FALSE(app.InitInstance({"--prefix"}));
    EXPECT_TRUE(windowSystem.modalRuns.empty());
    EXPECT_EQ(err.str(), "quarvel: --prefix needs a folder (see quarvel --help)\n");
    EXPECT_EQ(app.m_cmdInfo.exitStatus(), 2);
}

TEST_F(StartUpTest, HelpOptionsPrintTheUsageAndEndWithoutAWindow) {
    for (const char* option : {"--help", "-h"}) {
        test::FakeWindowSystem quiet;
        std::ostringstream usage;
        CEditorApp early(quiet, hostForPrefix, usage, err);
        EXPECT_FALSE(early.InitInstance({option}));
        EXPECT_TRUE(quiet.modalRuns.empty()) << option;
        EXPECT_TRUE(quiet.messageBoxes.empty()) << option;
        for (const char* listed : {"Usage: quarvel", "/?", "--help", "--prefix DIR", "WINEPREFIX", "WINE "})
            EXPECT_NE(usage.str().find(listed), std::string::npos) << option << " lists " << listed;
    }
    EXPECT_EQ(err.str(), "");
    // Only as options: a bare "h" is an ordinary parameter.
    CEditorCommandLineInfo bare(&windowSystem, out, err);
    bare.ParseCommandLine({"h", "help"});
    EXPECT_FALSE(bare.endsStartUp());
    EXPECT_EQ(out.str(), "");
}

TEST_F(StartUpTest, APathParameterSaysWhyNoWindowOpens) {
    EXPECT_FALSE(app.InitInstance({"custom.cfg"}));
    EXPECT_TRUE(windowSystem.modalRuns.empty());
    EXPECT_EQ(err.str(), "quarvel: a parameter beginning with \"c\" ends Quarvel without a window "
                         "(see quarvel --help)\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(app.m_cmdInfo.exitStatus(), 2);
}

TEST_F(StartUpTest, HelpOrAPathEndsTheProgramWithoutAWindow) {
    for (const Arguments& arguments : {Arguments{"/?"}, Arguments{"?", "?"}, Arguments{"cfs9.cfg"}}) {
        test::FakeWindowSystem quiet;
        CEditorApp early(quiet, hostForPrefix, out, err);
        EXPECT_FALSE(early.InitInstance(arguments));
        EXPECT_TRUE(quiet.modalRuns.empty());
        EXPECT_EQ(early.m_hAccel, nullptr);
    }
}

TEST_F(StartUpTest, OtherwiseTheMainWindowRunsUntilItCloses) {
    for (const Arguments& arguments : {Arguments{}, Arguments{"/c"}, Arguments{"Cfs9.cfg", "other"}}) {
        test::FakeWindowSystem shown;
        CEditorApp normal(shown, hostForPrefix, out, err);
        CEditorDlg* during = nullptr;
        shown.modalScripts.emplace_back([&](QDialog& dialog) {
            during = normal.mainWindow();
            EXPECT_EQ(during, &dialog);
            dialog.close();
        });
        EXPECT_FALSE(normal.InitInstance(arguments));
        ASSERT_EQ(shown.modalRuns.size(), 1U);
        EXPECT_EQ(shown.modalRuns[0].className, QStringLiteral("quarvel::CEditorDlg"));
        EXPECT_NE(during, nullptr);
        EXPECT_EQ(normal.mainWindow(), nullptr);
        EXPECT_TRUE(shown.messageBoxes.empty());
    }
}

TEST(AcceleratorTableTest, TranslatesItsKeysWithExactModifiers) {
    const AcceleratorTable* table = AcceleratorTable::load(IDR_ACCELERATORS);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(AcceleratorTable::load(IDR_MAIN_MENU), nullptr);
    EXPECT_EQ(table->translate(Qt::Key_F, Qt::ControlModifier), ID_SEARCH);
    EXPECT_EQ(table->translate(Qt::Key_Delete, Qt::NoModifier), ID_REMOVE_KEY);
    EXPECT_EQ(table->translate(Qt::Key_Delete, Qt::AltModifier), ID_REMOVE_SECTION);
    EXPECT_EQ(table->translate(Qt::Key_Insert, Qt::NoModifier), ID_ADD_KEY);
    EXPECT_EQ(table->translate(Qt::Key_Insert, Qt::AltModifier), ID_ADD_SECTION);
    EXPECT_EQ(table->translate(Qt::Key_F3, Qt::NoModifier), ID_SEARCH_NEXT);
    EXPECT_EQ(table->translate(Qt::Key_Z, Qt::ControlModifier), ID_EDIT_UNDO);
    EXPECT_EQ(table->translate(Qt::Key_Y, Qt::ControlModifier), ID_EDIT_REDO);
    EXPECT_EQ(table->translate(Qt::Key_Insert, Qt::KeypadModifier), ID_ADD_KEY);
    EXPECT_FALSE(table->translate(Qt::Key_F, Qt::NoModifier).has_value());
    EXPECT_FALSE(table->translate(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier).has_value());
    EXPECT_FALSE(table->translate(Qt::Key_Delete, Qt::ControlModifier).has_value());
}

// The accelerators of a running main window: each test drives the window from inside its modal run.
class AcceleratorTest : public StartUpTest {
protected:
    std::vector<int> commandsRun;

    void run(const std::function<void(CEditorDlg&)>& script) {
        windowSystem.modalScripts.emplace_back([&](QDialog& shown) {
            auto& dialog = static_cast<CEditorDlg&>(shown);
            for (const int id : {ID_SEARCH, ID_REMOVE_KEY, ID_REMOVE_SECTION, ID_ADD_KEY, ID_ADD_SECTION,
                                 ID_EDIT_UNDO, ID_EDIT_REDO})
                dialog.commands().setHandler(id, [this, id] { commandsRun.push_back(id); });
            ASSERT_TRUE(test::showActive(dialog));
            script(dialog);
            dialog.close();
        });
        app.InitInstance({});
    }
};

TEST_F(AcceleratorTest, KeysReachTheirCommandsThroughTheGate) {
    run([this](CEditorDlg& dialog) {
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Delete);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Insert);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Delete, Qt::AltModifier);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(commandsRun.empty()) << "no section and no key selected, no edit to take back";

        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Insert, Qt::AltModifier);
        probe(dialog).m_tree.selectSection(probe(dialog).m_tree.appendSection(QStringLiteral("Main")));
        probe(dialog).m_list.selectRow(probe(dialog).m_list.appendRow(QStringLiteral("key")));
        QTest::keyClick(&probe(dialog).m_list, Qt::Key_Insert);
        QTest::keyClick(&probe(dialog).m_list, Qt::Key_Delete);
        QTest::keyClick(&probe(dialog).m_list, Qt::Key_Delete, Qt::AltModifier);
    });
    EXPECT_EQ(commandsRun,
              (std::vector<int>{ID_SEARCH, ID_ADD_SECTION, ID_ADD_KEY, ID_REMOVE_KEY, ID_REMOVE_SECTION}));
}

TEST_F(AcceleratorTest, TheFlagSwitchesThemOff) {
    run([](CEditorDlg& dialog) {
        probe(dialog).m_bAccelEnabled = 0;
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Insert, Qt::AltModifier);
        probe(dialog).m_bAccelEnabled = 1;
    });
    EXPECT_TRUE(commandsRun.empty());
}

TEST_F(AcceleratorTest, KeysTypedIntoATextDialogEditItsText) {
    run([](CEditorDlg& dialog) {
        probe(dialog).m_tree.selectSection(probe(dialog).m_tree.appendSection(QStringLiteral("Main")));
        probe(dialog).m_list.selectRow(probe(dialog).m_list.appendRow(QStringLiteral("key")));
        QDialog entry(&dialog);
        QLineEdit edit(QStringLiteral("abc"), &entry);
        probe(dialog).m_bAccelEnabled = 0;
        ASSERT_TRUE(test::showActive(entry));
        edit.setFocus();
        edit.setCursorPosition(0);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QTest::keyClick(&edit, Qt::Key_Insert);
        QTest::keyClick(&edit, Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(edit.text(), QStringLiteral("bc"));
        // Ctrl+Z takes back the field's own typing, not an edit of the file.
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(edit.text(), QStringLiteral("abc"));
        entry.close();
        probe(dialog).m_bAccelEnabled = 1;
    });
    EXPECT_TRUE(commandsRun.empty());
}

TEST_F(AcceleratorTest, TheyActOnlyWhileTheMainWindowIsActiveAndNoMenuIsOpen) {
    run([this](CEditorDlg& dialog) {
        QDialog about(&dialog);
        ASSERT_TRUE(test::showActive(about));
        QTest::keyClick(&about, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_F, Qt::ControlModifier);
        about.close();
        ASSERT_TRUE(test::showActive(dialog));
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_F, Qt::ControlModifier);
        ASSERT_EQ(commandsRun.size(), 1U) << "active again, the key acts";

        QMenu menu(&dialog);
        menu.addAction(QStringLiteral("item"));
        menu.popup(dialog.mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        QTest::keyClick(&probe(dialog).m_tree, Qt::Key_F, Qt::ControlModifier);
        menu.close();
    });
    EXPECT_EQ(commandsRun, std::vector<int>{ID_SEARCH});
}

} // namespace
} // namespace quarvel
