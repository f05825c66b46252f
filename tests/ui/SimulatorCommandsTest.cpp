#include "Activation.h"
#include "FakeWindowSystem.h"
#include "TestHost.h"
#include "WriteProtection.h"

#include "store/profile/AtomicFileWriter.h"
#include "tests/platform/ScopedEnvironment.h"
#include "tests/support/RewriteDuringRead.h"
#include "tests/ui/EditorDlgProbe.h"
#include "ui/dialogs/CAircraftSelectorDlg.h"
#include "ui/editor/ResourceIds.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using Installation = test::TestHost::Installation;
constexpr unsigned kWarning = MB_OK | MB_ICONEXCLAMATION;

QString text(const std::string& bytes) {
    return QString::fromStdString(bytes);
}

// The process's current folder for one test, put back after.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : m_before(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentFolder() { fs::current_path(m_before); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path m_before;
};

// The one file dialog a command showed: open or save, starting from the fs9.cfg open now.
void expectCfgDialog(const std::vector<FileDialogRequest>& shown, bool open, const fs::path& preset,
                     unsigned flags) {
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].open, open);
    EXPECT_EQ(shown[0].presetName, preset.string());
    EXPECT_EQ(shown[0].defaultExt, QStringLiteral("cfg"));
    EXPECT_EQ(shown[0].filter,
              QStringLiteral("Flight Simulator Configuration Files (*.cfg)|*.cfg|All Files|*.*||"));
    EXPECT_EQ(shown[0].flags, flags);
}

class SimulatorCommandsTest : public ::testing::Test {
protected:
    explicit SimulatorCommandsTest(Installation installation = Installation::Complete) : host(installation) {}

    // Shows the main window once its first load has run, with fs9.exe spelled in capitals and an aircraft
    // folder spelled as the simulator's installer does.
    void start() {
        if (fs::exists(host.simulatorFolder())) {
            host.write(host.simulatorFolder() / "FS9.EXE", "MZ");
            fs::create_directories(host.simulatorFolder() / "Aircraft");
        }
        dialog = std::make_unique<CEditorDlg>(windowSystem, *host.host);
        ASSERT_TRUE(test::showActive(*dialog));
        ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->windowTitle() != QStringLiteral("Quarvel"); }));
        windowSystem.messageBoxes.clear();
    }

    // The boxes shown since the last look, as "caption|text|style".
    QStringList boxes() {
        QStringList shown;
        for (const auto& box : windowSystem.messageBoxes)
            shown << box.caption + "|" + box.text + "|" + QString::number(box.style);
        windowSystem.messageBoxes.clear();
        return shown;
    }
    static QString box(const QString& caption, const QString& message, unsigned style = kWarning) {
        return caption + "|" + message + "|" + QString::number(style);
    }
    static QString launchFailure(const QString& reason) {
        return box(QStringLiteral("Launch FS9"), "Quarvel could not start the simulator.\n\n" + reason);
    }
    // Launches and expects the box the command line is shown in, then what starting it gave.
    void expectLaunch(const QString& commandLine, const std::vector<std::string>& arguments) {
        ASSERT_TRUE(dialog->OnCommand(ID_LAUNCH_FS9));
        EXPECT_EQ(boxes(), QStringList{box(QCoreApplication::applicationName(), commandLine, MB_OK)});
        ASSERT_EQ(host.launcher->starts.size(), 1U);
        EXPECT_EQ(host.launcher->starts[0].arguments, arguments);
        host.launcher->starts.clear();
    }

    fs::path addAircraft(const std::string& folder, const std::string& file = "aircraft.cfg") const {
        return host.write(host.simulatorFolder() / "Aircraft" / folder / file, "[fltsim.0]\r\n[General]\r\n");
    }

    // Runs Open Aircraft.CFG with the script acting in the selector.
    void runSelector(const std::function<void(CAircraftSelectorDlg&)>& script) {
        windowSystem.modalScripts.emplace_back(
            [script](QDialog& shown) { script(static_cast<CAircraftSelectorDlg&>(shown)); });
        ASSERT_TRUE(dialog->OnCommand(ID_OPEN_AIRCRAFTCFG));
    }

    static QStringList rows(const CAircraftSelectorDlg& selector) {
        QStringList names;
        for (int row = 0; row < selector.m_listAircraft.rowCount(); ++row)
            names << selector.m_listAircraft.itemText(row, 0);
        return names;
    }
    static void click(CAircraftSelectorDlg& selector, const QString& button) {
        for (QPushButton* candidate : selector.findChildren<QPushButton*>()) {
            if (candidate->text() == button)
                QTest::mouseClick(candidate, Qt::LeftButton);
        }
    }
    // A row's centre, or the empty part of the list below the rows.
    static QPoint placeOf(const CAircraftSelectorDlg& selector, int row) {
        const CKeyListCtrl& list = selector.m_listAircraft;
        if (row < 0)
            return {10, list.viewport()->height() - 5};
        return list.visualItemRect(list.topLevelItem(row)).center();
    }
    static void clickRow(CAircraftSelectorDlg& selector, int row) {
        QTest::mouseClick(selector.m_listAircraft.viewport(), Qt::LeftButton, {}, placeOf(selector, row));
    }
    // A double click arrives after the click that began it.
    static void doubleClickRow(CAircraftSelectorDlg& selector, int row) {
        clickRow(selector, row);
        QTest::mouseDClick(selector.m_listAircraft.viewport(), Qt::LeftButton, {}, placeOf(selector, row));
    }

    test::FakeWindowSystem windowSystem;
    test::TestHost host;
    std::unique_ptr<CEditorDlg> dialog;
    const fs::path wine = host.write(host.dir / "bin" / "wine", "#!/bin/sh\n");
    const test::ScopedEnvironment wineVariable{"WINE", wine.c_str()};
};

TEST_F(SimulatorCommandsTest, LaunchingThePlayersOwnFs9CfgStartsWineWithFs9ExeOnlyAndEndsTheEditor) {
    start();
    ASSERT_TRUE(dialog->OnCommand(ID_LAUNCH_FS9));
    EXPECT_EQ(boxes(), QStringList{box(QCoreApplication::applicationName(), "\"C:\\FS9\\FS9.EXE\"", MB_OK)});
    ASSERT_EQ(host.launcher->starts.size(), 1U);
    const test::FakeLauncher::Start& start = host.launcher->starts[0];
    EXPECT_EQ(start.program, wine.string());
    EXPECT_EQ(start.arguments, std::vector<std::string>{"C:\\FS9\\FS9.EXE"});
    EXPECT_EQ(start.environment, (std::vector<platform::EnvironmentVariable>{
                                     {"WINEPREFIX", fs::absolute(host.host->prefix().root()).string()}}));
    EXPECT_EQ(start.workingDirectory, host.simulatorFolder());
    EXPECT_FALSE(dialog->isVisible());
}

// Wine runs in the simulator's folder, where a prefix named relative to Quarvel's current folder would
// name another folder, or none.
TEST_F(SimulatorCommandsTest, APrefixNamedRelativeToTheCurrentFolderReachesWineAsAWholePath) {
    const CurrentFolder testFolder(host.dir.path());
    auto registry = std::make_unique<test::MemoryRegistry>();
    auto launcher = std::make_unique<test::FakeLauncher>();
    host.registry = registry.get();
    host.launcher = launcher.get();
    host.host = std::make_unique<EditorHost>(platform::WinePrefix("prefix"), std::move(registry),
                                             host.shippedHelp(), std::move(launcher));
    host.installSimulator();
    start();
    dialog->OnCommand(ID_LAUNCH_FS9);
    ASSERT_EQ(host.launcher->starts.size(), 1U);
    const std::vector<platform::EnvironmentVariable>& environment = host.launcher->starts[0].environment;
    ASSERT_EQ(environment.size(), 1U);
    EXPECT_EQ(environment[0].name, "WINEPREFIX");
    EXPECT_TRUE(fs::path(environment[0].value).is_absolute()) << environment[0].value;
    EXPECT_TRUE(fs::equivalent(environment[0].value, host.dir / "prefix"));
}

TEST_F(SimulatorCommandsTest, AnotherFs9CfgIsOpenedAndNamedToTheSimulatorFromEitherOpenCommand) {
    const fs::path games = host.dir / "games disk"; // drive D:, with a blank in the path
    fs::create_directories(host.dir / "prefix" / "dosdevices");
    fs::create_symlink(games, host.dir / "prefix" / "dosdevices" / "d:");
    const fs::path other = host.write(games / "My Configs" / "Winter flying.cfg", "[Main]\r\n");
    start();
    windowSystem.fileDialogAnswers = {std::nullopt, other.string()};
    dialog->OnCommand(ID_OPEN_OTHERFS9CFG);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG")) << "cancelling changes nothing";
    dialog->OnCommand(ID_OPEN_OTHERFS9CFG);
    expectCfgDialog(windowSystem.fileDialogs, true, host.fs9Cfg(),
                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING |
                        OFN_FORCESHOWHIDDEN);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - Winter flying.cfg"));
    EXPECT_EQ(probe(*dialog).m_strCfgPath, other.string());

    const QString commandLine =
        QStringLiteral("\"C:\\FS9\\FS9.EXE\" \"/cfg:D:\\My Configs\\Winter flying.cfg\"");
    const std::vector<std::string> arguments{"C:\\FS9\\FS9.EXE", "/cfg:D:\\My Configs\\Winter flying.cfg"};
    expectLaunch(commandLine, arguments);
    dialog->show();
    ASSERT_TRUE(dialog->OnCommand(ID_OPEN_FS9CFG));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - Winter flying.cfg")) << "not the player's own";
    EXPECT_EQ(probe(*dialog).m_strCfgPath, other.string());
    expectLaunch(commandLine, arguments);
}

TEST_F(SimulatorCommandsTest, ALaunchThatFailsSaysWhyAndKeepsTheEditor) {
    const fs::path outside = host.dir.write("elsewhere/fs9.cfg", "[Main]\r\n");
    start();
    const fs::path emptyFolder = host.dir / "empty";
    fs::create_directories(emptyFolder);
    {
        const test::ScopedEnvironment noWine("WINE", nullptr);
        const test::ScopedEnvironment path("PATH", emptyFolder.c_str());
        dialog->OnCommand(ID_LAUNCH_FS9);
        EXPECT_EQ(boxes(),
                  QStringList{launchFailure("Wine was not found: install it, or set WINE to its path.")});
    }
    {
        const test::ScopedEnvironment missingWine("WINE", "/opt/none/wine");
        dialog->OnCommand(ID_LAUNCH_FS9);
        EXPECT_EQ(boxes(), QStringList{launchFailure("/opt/none/wine does not exist.")});
    }
    host.launcher->failure = platform::Failure{EACCES, "starting wine: Permission denied"};
    dialog->OnCommand(ID_LAUNCH_FS9);
    EXPECT_EQ(boxes(), (QStringList{box(QCoreApplication::applicationName(), "\"C:\\FS9\\FS9.EXE\"", MB_OK),
                                    launchFailure("starting wine: Permission denied")}));
    host.launcher->starts.clear();

    windowSystem.fileDialogAnswers = {outside.string()};
    dialog->OnCommand(ID_OPEN_OTHERFS9CFG);
    dialog->OnCommand(ID_LAUNCH_FS9);
    EXPECT_EQ(boxes(), QStringList{box(QStringLiteral("Launch FS9"),
                                       text(outside.string() + " is outside the Wine prefix's drives, so the "
                                                               "simulator cannot be given it."))});
    fs::remove(host.simulatorFolder() / "FS9.EXE");
    dialog->OnCommand(ID_LAUNCH_FS9);
    EXPECT_EQ(boxes(), QStringList{launchFailure(
                           text((host.simulatorFolder() / "fs9.exe").string() + " does not exist."))});
    EXPECT_TRUE(host.launcher->starts.empty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SimulatorCommandsTest, AWineThatEndsAtOnceWithAFailureKeepsTheEditorAndSaysHowAndWhatItWrote) {
    start();
    const QString commandLine = QStringLiteral("\"C:\\FS9\\FS9.EXE\"");
    host.launcher->ending = platform::ProgramEnd{3, 0, "1\n2\n3\n4\n5\n6\n7\n8\n9\nlast\n\n"};
    dialog->OnCommand(ID_LAUNCH_FS9);
    EXPECT_EQ(boxes(),
              (QStringList{box(QCoreApplication::applicationName(), commandLine, MB_OK),
                           launchFailure("Wine ended as it started, with exit status 3.\n\nThe last lines it "
                                         "wrote to its error output:\n\n3\n4\n5\n6\n7\n8\n9\nlast")}));
    host.launcher->ending = platform::ProgramEnd{0, 9, ""};
    dialog->OnCommand(ID_LAUNCH_FS9);
    EXPECT_EQ(boxes().last(), launchFailure("Wine was ended by signal 9 (Killed) as it started.\n\nIt wrote "
                                            "nothing to its error output."));
    EXPECT_TRUE(dialog->isVisible());

    host.launcher->starts.clear();
    host.launcher->ending = platform::ProgramEnd{0, 0, "done\n"};
    expectLaunch(commandLine, {"C:\\FS9\\FS9.EXE"});
    EXPECT_FALSE(dialog->isVisible()) << "a Wine that ends well has started the simulator";
}

class UnknownSimulatorTest : public SimulatorCommandsTest {
protected:
    UnknownSimulatorTest() : SimulatorCommandsTest(Installation::Bare) {
        host.write(host.fs9Cfg(), "[Main]\r\n");
    }
};

TEST_F(UnknownSimulatorTest, WithoutTheSimulatorsFolderNeitherLaunchNorSelectorRuns) {
    start();
    dialog->OnCommand(ID_LAUNCH_FS9);
    dialog->OnCommand(ID_OPEN_AIRCRAFTCFG);
    EXPECT_EQ(boxes(), (QStringList{launchFailure("The simulator's folder is not known."),
                                    box(QStringLiteral("Aircraft.cfg Selector"),
                                        QStringLiteral("The simulator's aircraft folder is not known."))}));
    EXPECT_TRUE(windowSystem.modalRuns.empty());
    EXPECT_TRUE(dialog->isVisible());
}

class SaveAsTest : public SimulatorCommandsTest {
protected:
    void TearDown() override { AtomicFileWriter::injectFault(std::nullopt); }

    void saveAs(std::initializer_list<std::optional<std::string>> answers) {
        host.write(host.fs9Cfg(), source);
        start();
        windowSystem.fileDialogAnswers = answers;
        ASSERT_TRUE(dialog->OnCommand(ID_SAVE_FS9CFG_AS));
    }

    const std::string source = "[Main]\r\nLocation=Home\r\n";
    const fs::path copies = host.dir / "copies";
    const fs::path target = host.dir.write("copies/summer.cfg", "[Old]\r\n");
};

TEST_F(SaveAsTest, ReplacesAnExistingFileAndEditingGoesOnInTheSource) {
    saveAs({target.string()});
    expectCfgDialog(windowSystem.fileDialogs, false, host.fs9Cfg(),
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN |
                        OFN_ENABLESIZING | OFN_FORCESHOWHIDDEN);
    EXPECT_EQ(test::readBytes(target), source);
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
    EXPECT_EQ(probe(*dialog).m_strCfgPath, host.fs9Cfg().string());
}

TEST_F(SaveAsTest, RefusesTheFileBeingEditedAndAsksAgain) {
    const fs::path link = copies / "link.cfg";
    fs::create_symlink(host.fs9Cfg(), link);
    saveAs({link.string(), std::nullopt});
    EXPECT_EQ(boxes(),
              QStringList{box(QStringLiteral("Save FS9.CFG As"),
                              text(link.string() + " is the file being edited. Choose another name."))});
    ASSERT_EQ(windowSystem.fileDialogs.size(), 2U);
    EXPECT_EQ(windowSystem.fileDialogs[1].presetName, link.string());
    EXPECT_EQ(test::readBytes(host.fs9Cfg()), source);
}

TEST_F(SaveAsTest, AFullDiskOrAFolderThatCannotBeWrittenIsToldAndLeavesTheTargetAsItWas) {
    const std::string failure = "Quarvel could not copy " + host.fs9Cfg().string() + " to " +
                                target.string() + ".\n\ncannot write '" + target.string() + "': ";
    AtomicFileWriter::injectFault(AtomicFileWriter::Fault{AtomicFileWriter::Step::WriteBytes, ENOSPC});
    saveAs({target.string()});
    EXPECT_EQ(boxes(),
              QStringList{box(QStringLiteral("Save FS9.CFG As"), text(failure + "No space left on device"))});
    AtomicFileWriter::injectFault(std::nullopt);

    const test::WriteProtection protection(copies);
    if (!protection.active())
        GTEST_SKIP() << "this file system cannot make a folder unwritable for root";
    windowSystem.fileDialogAnswers = {target.string()};
    dialog->OnCommand(ID_SAVE_FS9CFG_AS);
    const QStringList shown = boxes();
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_TRUE(shown[0].startsWith("Save FS9.CFG As|" + text(failure))) << shown[0].toStdString();
    EXPECT_EQ(test::readBytes(target), "[Old]\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(copies), fs::directory_iterator()), 1);
}

// Another program rewrites the source in place in two pieces with a short pause between, as the simulator
// does, beginning just after Save As has read it once.
TEST_F(SaveAsTest, ASourceAnotherProgramIsRewritingIsCopiedAsOneVersion) {
    const fs::path file = host.write(host.fs9Cfg(), source);
    const std::string rewritten = "[Main]\r\nLocation=Away\r\n" + std::string(200, ';') + "\r\n";
    start();
    test::RewriteDuringRead rewrite(file, rewritten, std::chrono::milliseconds(50));
    windowSystem.fileDialogAnswers = {target.string()};
    ASSERT_TRUE(dialog->OnCommand(ID_SAVE_FS9CFG_AS));
    rewrite.finish();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(test::readBytes(target), rewritten);
}

TEST_F(SimulatorCommandsTest, DonatingOpensThePaymentPageThenThanks) {
    start();
    ASSERT_TRUE(dialog->OnCommand(ID_DONATE));
    const std::string address =
        "https://www.paypal.com/xclick/business=donations%40example.com&no_note=1&currency_code=USD";
    EXPECT_EQ(host.launcher->webAddresses, std::vector<std::string>{address});
    EXPECT_EQ(
        boxes(),
        QStringList{box(QStringLiteral("THANK YOU!"),
                        QStringLiteral("Thank you for donating!  I really appreciate your contribution!\n\n"
                                       "A browser window should appear and connect to PayPal.\n"
                                       "Enter 'Quarvel' in the 'Payment For' field.\n"
                                       "Enter the donation amount in the 'Amount' field.\n\n"
                                       "Once again, Thanks! - Derrow"),
                        MB_ICONINFORMATION | MB_OK)});
    host.launcher->failure = platform::Failure{ENOENT, "starting xdg-open: not found in PATH"};
    dialog->OnCommand(ID_DONATE);
    EXPECT_EQ(boxes(),
              QStringList{box(QStringLiteral("Donate"),
                              text("Quarvel could not open the donation page in a browser.\n\n" + address))});
}

TEST_F(SimulatorCommandsTest, SelectorListsEveryAircraftWithAReadableCfgInWindowsOrder) {
    for (const char* folder : {"C172", "_Custom", "a320"})
        addAircraft(folder);
    addAircraft("DHC2_Beaver.Floats", "Aircraft.cfg");
    addAircraft("b737", "AIRCRAFT.CFG");
    const fs::path aircraft = host.simulatorFolder() / "Aircraft";
    fs::create_directories(aircraft / "DC3_Dakota" / "model");
    fs::create_directories(aircraft / "Hangar" / "aircraft.cfg"); // a folder, not the file
    fs::create_directories(aircraft / "Broken");
    fs::create_symlink(aircraft / "nowhere", aircraft / "Broken" / "aircraft.cfg");
    host.write(aircraft / "readme.txt", "not an aircraft");
    start();

    runSelector([](CAircraftSelectorDlg& selector) {
        EXPECT_EQ(selector.windowTitle(), QStringLiteral("Aircraft.cfg Selector"));
        EXPECT_EQ(selector.m_listAircraft.headerItem()->text(0), QStringLiteral("Aircraft Name"));
        EXPECT_EQ(rows(selector), (QStringList{"a320", "b737", "C172", "DHC2_Beaver.Floats", "_Custom"}));
        EXPECT_TRUE(selector.m_listAircraft.selectedItems().isEmpty());
        selector.reject();
    });
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
}

TEST_F(SimulatorCommandsTest, SelectorOpenAndDoubleClickActOnTheChosenRowOnlyAndCancelChangesNothing) {
    const fs::path cessna = addAircraft("C172");
    addAircraft("C172", "Aircraft.cfg"); // Wine opens the exact spelling first, as the simulator asks for it
    const fs::path beaver = addAircraft("DHC2_Beaver.Floats", "Aircraft.cfg");
    start();
    runSelector([](CAircraftSelectorDlg& selector) {
        click(selector, QStringLiteral("Open"));
        doubleClickRow(selector, -1);
        EXPECT_TRUE(selector.isVisible()) << "nothing was ever selected";
        clickRow(selector, 1);
        click(selector, QStringLiteral("Cancel"));
    });
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));

    runSelector([](CAircraftSelectorDlg& selector) {
        clickRow(selector, 1);
        click(selector, QStringLiteral("Open"));
    });
    EXPECT_EQ(probe(*dialog).m_fileopened, FileKind::AircraftCfg);
    EXPECT_EQ(probe(*dialog).m_strAircraftCfgPath, beaver.string());
    EXPECT_EQ(probe(*dialog).m_strCfgPath, beaver.string());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - AIRCRAFT.CFG"));
    EXPECT_EQ(probe(*dialog).m_tree.sectionCount(), 2);

    runSelector([](CAircraftSelectorDlg& selector) { doubleClickRow(selector, 0); });
    EXPECT_EQ(probe(*dialog).m_strCfgPath, cessna.string());
}

// From the keyboard: Open has the first focus, Tab reaches the list, Home selects its first row, Enter opens
// it. An aircraft.cfg gone by then is prompted for, and No keeps the file shown before.
TEST_F(SimulatorCommandsTest, SelectorWorksFromTheKeyboardAndAVanishedAircraftKeepsTheFileShown) {
    const fs::path cessna = addAircraft("C172");
    addAircraft("DHC2_Beaver");
    start();
    runSelector([](CAircraftSelectorDlg& selector) {
        const auto* first = qobject_cast<QPushButton*>(selector.focusWidget());
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->text(), QStringLiteral("Open"));
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Home, Qt::Key_Return})
            QTest::keyClick(selector.focusWidget(), key);
    });
    EXPECT_EQ(probe(*dialog).m_strCfgPath, cessna.string());

    windowSystem.messageBoxAnswers = {IDNO};
    runSelector([&](CAircraftSelectorDlg& selector) {
        clickRow(selector, 1);
        fs::remove_all(host.simulatorFolder() / "Aircraft" / "DHC2_Beaver");
        click(selector, QStringLiteral("Open"));
    });
    EXPECT_EQ(boxes().size(), 1) << "the prompt to browse";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(probe(*dialog).m_strCfgPath, cessna.string());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - AIRCRAFT.CFG"));
}

TEST_F(SimulatorCommandsTest, SelectorAMissingAircraftFolderListsNothingAndOneThatCannotBeReadIsTold) {
    start();
    const std::string folder = probe(*dialog).m_strAircraftFolder;
    fs::remove(folder);
    runSelector([](CAircraftSelectorDlg& selector) {
        EXPECT_TRUE(rows(selector).isEmpty());
        selector.reject();
    });
    EXPECT_TRUE(windowSystem.messageBoxes.empty());

    host.write(folder, "a file where the folder should be");
    runSelector([](CAircraftSelectorDlg& selector) {
        EXPECT_TRUE(rows(selector).isEmpty());
        selector.reject();
    });
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_TRUE(windowSystem.messageBoxes[0].text.startsWith(
        QString::fromStdString("Quarvel could not read the aircraft folder " + folder + ".\n\n")));
    EXPECT_EQ(windowSystem.messageBoxes[0].caption, QStringLiteral("Aircraft.cfg Selector"));
    EXPECT_EQ(windowSystem.messageBoxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
}

} // namespace
} // namespace quarvel
