#include "Activation.h"
#include "FakeWindowSystem.h"
#include "TestHost.h"
#include "WindowTexts.h"
#include "WriteProtection.h"

#include "tests/ui/EditorDlgProbe.h"
#include "ui/editor/ResourceIds.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

namespace quarvel {
namespace {

using Installation = test::TestHost::Installation;

const QString kRegistryError =
    QStringLiteral("Unable to read registry to get path to Flight Simulator 9.0.\n\n"
                   "Ability to open other cfg files will be disabled.");

// The line on how to point Quarvel at a prefix, naming the test's own.
QString prefixHint(const test::TestHost& host) {
    return QString::fromStdString("Quarvel looked in the Wine prefix " + host.host->prefix().root().string() +
                                  "; start it with --prefix DIR, or with WINEPREFIX set, to use another.");
}

QString promptText(const std::string& path, const std::string& error) {
    return QString::fromStdString("There was a problem opening the cfg file!\n\nPath = " + path +
                                  "\n\nError = " + error + "\n\nDo you wish to browse for the file?");
}

class LoadingTest : public ::testing::Test {
protected:
    explicit LoadingTest(Installation installation = Installation::Complete) : host(installation) {}

    // Shows the main window and waits for the first load, which runs once the window is on screen: it
    // names the file in the title, or asks for another.
    void start() {
        dialog = std::make_unique<CEditorDlg>(windowSystem, *host.host);
        ASSERT_TRUE(test::showActive(*dialog));
        ASSERT_TRUE(QTest::qWaitFor([this] {
            return dialog->windowTitle() != QStringLiteral("Quarvel") || !windowSystem.fileDialogs.empty() ||
                   !dialog->isVisible();
        }));
    }

    std::filesystem::path writeSimulatorFile(const char* name, std::string_view bytes) const {
        return host.write(host.simulatorFolder() / name, bytes);
    }

    QStringList sections() const { return test::sectionTexts(probe(*dialog).m_tree); }
    QString selectedSection() const {
        return probe(*dialog).m_tree.sectionText(probe(*dialog).m_tree.selectedSection());
    }
    QStringList rows() const { return test::rowTexts(probe(*dialog).m_list); }
    bool enabled(int id) const { return dialog->commands().ruleAnswer(id).value_or(true); }

    test::FakeWindowSystem windowSystem;
    test::TestHost host;
    std::unique_ptr<CEditorDlg> dialog;
};

TEST_F(LoadingTest, FirstStartListsTheSectionsAndTheFirstSectionsKeys) {
    host.write(host.fs9Cfg(), "; written by the simulator\r\n[Main]\r\nUser Objects=Airplanes\r\n"
                              "[DISPLAY]\r\nTextureMaxLoad=9\r\n");
    host.write(host.shippedHelp() / "fs9help.ini", "[Main]\r\nUser Objects=What the user may pick\r\n");
    start();

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
    EXPECT_EQ(probe(*dialog).m_strCfgPath, host.fs9Cfg().string());
    EXPECT_EQ(probe(*dialog).m_strHelpIni, "fs9help.ini");
    EXPECT_EQ(sections(), (QStringList{"Main", "DISPLAY"}));
    EXPECT_EQ(selectedSection(), QStringLiteral("Main"));
    EXPECT_EQ(rows(), QStringList{"User Objects|Airplanes|What the user may pick"});
    EXPECT_EQ(probe(*dialog).m_list.selectionMark(), -1);
    EXPECT_FALSE(enabled(ID_CHANGE_KEY));
    EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(LoadingTest, SimulatorPathsComeFromTheRegistry) {
    start();
    const std::string folder = host.simulatorFolder().string();
    EXPECT_EQ(probe(*dialog).m_strFs9Path, folder);
    EXPECT_EQ(probe(*dialog).m_strSceneryCfgPath, folder + "/scenery.cfg");
    EXPECT_EQ(probe(*dialog).m_strTerrainCfgPath, folder + "/terrain.cfg");
    EXPECT_EQ(probe(*dialog).m_strAircraftFolder, folder + "/aircraft");
}

TEST_F(LoadingTest, EveryKindLoadsItsFileWithItsTitleAndHelpFile) {
    struct Case {
        int command;
        const char* file;
        const char* title;
        const char* helpFile;
    };
    const Case cases[] = {
        {ID_OPEN_SCENERYCFG, "scenery.cfg", "Quarvel - SCENERY.CFG", "fs9sceneryhelp.ini"},
        {ID_OPEN_DEVICESCFG, "devices.cfg", "Quarvel - DEVICES.CFG", "fs9deviceshelp.ini"},
        {ID_OPEN_DISPLAYCFG, "display.cfg", "Quarvel - DISPLAY.CFG", "fs9displayhelp.ini"},
        {ID_OPEN_SUNEFFECTCFG, "suneffect.cfg", "Quarvel - SUNEFFECT.CFG", "fs9suneffecthelp.ini"},
        {ID_OPEN_TERRAINCFG, "terrain.cfg", "Quarvel - TERRAIN.CFG", "fs9terrainhelp.ini"},
        {ID_OPEN_FS9CFG, nullptr, "Quarvel - FS9.CFG", "fs9help.ini"},
    };
    for (const Case& c : cases) {
        const std::filesystem::path file =
            c.file != nullptr ? host.simulatorFolder() / c.file : host.fs9Cfg();
        const std::string section = file.filename().string();
        host.write(file, "[" + section + "]\r\nKey=Value\r\n");
        host.write(host.shippedHelp() / c.helpFile, "[*]\r\nKey=help of " + std::string(c.helpFile) + "\r\n");
    }
    start();
    for (const Case& c : cases) {
        ASSERT_TRUE(dialog->OnCommand(c.command)) << c.title;
        const std::filesystem::path file =
            c.file != nullptr ? host.simulatorFolder() / c.file : host.fs9Cfg();
        EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(probe(*dialog).m_strCfgPath, file.string());
        EXPECT_EQ(probe(*dialog).m_strHelpIni, c.helpFile);
        EXPECT_EQ(sections(), QStringList{QString::fromStdString(file.filename().string())});
        EXPECT_EQ(rows(), QStringList{"Key|Value|help of " + QString::fromLatin1(c.helpFile)}) << c.title;
        EXPECT_FALSE(dialog->OnCommand(c.command)) << "the open kind's own command is grayed";
    }
    EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(LoadingTest, AnOutOfRangeKindIsReportedAndChangesNothing) {
    host.write(host.fs9Cfg(), "[Main]\r\n");
    start();
    probe(*dialog).m_fileopened = static_cast<FileKind>(8);
    dialog->ReadCfg();
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].text, QStringLiteral("Invalid m_fileopened value in ReadCfg()"));
    EXPECT_EQ(windowSystem.messageBoxes[0].caption, QStringLiteral("ERROR"));
    EXPECT_EQ(windowSystem.messageBoxes[0].style, MB_OK);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
    EXPECT_EQ(sections(), QStringList{"Main"});
}

TEST_F(LoadingTest, AMissingFileIsPromptedForAndNoEndsTheProgram) {
    std::filesystem::remove(host.fs9Cfg());
    windowSystem.messageBoxAnswers = {IDNO};
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isVisible(); }));

    const std::string path = host.fs9Cfg().string();
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].text,
              promptText(path, path + " was not found.").replace("Do you", prefixHint(host) + "\n\nDo you"));
    EXPECT_EQ(windowSystem.messageBoxes[0].caption, QStringLiteral("Error opening file"));
    EXPECT_EQ(windowSystem.messageBoxes[0].style, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(windowSystem.fileDialogs.empty());
    // What the open kind is stays settled even though its file could not be opened; the title names only a
    // file shown.
    EXPECT_EQ(probe(*dialog).m_strCfgPath, path);
    EXPECT_EQ(probe(*dialog).m_strHelpIni, "fs9help.ini");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel"));
}

TEST_F(LoadingTest, AFileHeldByAnotherProgramIsASharingViolation) {
    host.write(host.fs9Cfg(), "[Main]\r\n");
    const int holder = ::open(host.fs9Cfg().c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    windowSystem.messageBoxAnswers = {IDNO};
    start();
    ::close(holder);

    const std::string path = host.fs9Cfg().string();
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].text,
              promptText(path, "A sharing violation occurred while accessing " + path + "."));
}

// Root included: a file without write bits is read-only for everyone. Such a file, or one in a folder that
// cannot take the new copy a write renames into place, is shown for reading: nothing can be edited, but it
// can be searched and copied.
TEST_F(LoadingTest, AFileThatCannotBeWrittenIsShownForReading) {
    host.write(host.fs9Cfg(), "[Main]\r\nk=1\r\n");
    writeSimulatorFile("scenery.cfg", "[Area.001]\r\n");
    std::filesystem::permissions(host.fs9Cfg(), std::filesystem::perms::owner_read);
    start();
    EXPECT_TRUE(windowSystem.messageBoxes.empty());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG (read-only)"));
    EXPECT_EQ(rows(), QStringList{"k|1|"});
    probe(*dialog).m_list.selectRow(0);
    for (const int id : {ID_ADD_SECTION, ID_REMOVE_SECTION, ID_ADD_KEY, ID_CHANGE_KEY, ID_REMOVE_KEY})
        EXPECT_FALSE(enabled(id)) << id;
    for (const int id : {ID_SEARCH, ID_SEARCH_NEXT, ID_SAVE_FS9CFG_AS})
        EXPECT_TRUE(enabled(id)) << id;
    emit probe(*dialog).m_list.customContextMenuRequested({});
    ASSERT_EQ(windowSystem.popups.size(), 1U);
    for (const auto& item : windowSystem.popups[0].items)
        EXPECT_TRUE(item.separator || !item.enabled) << item.text.toStdString();

    const auto copy = host.dir / "copy.cfg";
    windowSystem.fileDialogAnswers = {copy.string()};
    ASSERT_TRUE(dialog->OnCommand(ID_SAVE_FS9CFG_AS));
    EXPECT_EQ(test::readBytes(copy), "[Main]\r\nk=1\r\n");

    // Made writable, it opens for editing again.
    std::filesystem::permissions(host.fs9Cfg(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    dialog->OnCommand(ID_OPEN_FS9CFG);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
    EXPECT_TRUE(enabled(ID_ADD_SECTION));

    const test::WriteProtection protection(host.fs9Cfg().parent_path());
    if (!protection.active())
        GTEST_SKIP() << "this file system cannot make a folder unwritable for root";
    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    dialog->OnCommand(ID_OPEN_FS9CFG);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG (read-only)"));
    EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

// A file that cannot be read at all is not shown: the prompt says why, in the system's own terms.
TEST_F(LoadingTest, AFileThatCannotBeReadIsPromptedForWithTheTrueReason) {
    std::filesystem::remove(host.fs9Cfg());
    std::filesystem::create_directories(host.fs9Cfg());
    windowSystem.messageBoxAnswers = {IDNO};
    start();
    const std::string path = host.fs9Cfg().string();
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].text, promptText(path, path + " is a folder, not a file."));
}

TEST_F(LoadingTest, BrowsingReplacesTheKindsPathAndLoadsItShortlyAfter) {
    host.write(host.fs9Cfg(), "[Main]\r\n");
    const auto chosen = host.write(host.dir / "elsewhere" / "My Scenery.cfg", "[Area.001]\r\nTitle=Home\r\n");
    start();
    windowSystem.messageBoxAnswers = {IDYES};
    windowSystem.fileDialogAnswers = {chosen.string()};

    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    ASSERT_EQ(windowSystem.fileDialogs.size(), 1U);
    const FileDialogRequest& request = windowSystem.fileDialogs[0];
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.defaultExt, QStringLiteral("cfg"));
    EXPECT_EQ(request.presetName, "scenery.cfg");
    EXPECT_EQ(request.startFolder, host.simulatorFolder().string()) << "where scenery.cfg was looked for";
    EXPECT_EQ(request.filter,
              QStringLiteral("Flight Simulator Configuration Files (*.cfg)|*.cfg|All Files|*.*||"));
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING |
                                 OFN_FORCESHOWHIDDEN);
    EXPECT_EQ(probe(*dialog).m_strSceneryCfgPath, chosen.string());
    EXPECT_EQ(sections(), QStringList{"Main"}) << "the tree keeps what it showed until the reload";

    ASSERT_TRUE(QTest::qWaitFor([this] { return sections() == QStringList{"Area.001"}; }));
    EXPECT_EQ(probe(*dialog).m_strCfgPath, chosen.string());
    EXPECT_EQ(rows(), QStringList{"Title|Home|"});
    EXPECT_TRUE(dialog->isVisible());

    // From now on the command opens the chosen file.
    dialog->OnCommand(ID_OPEN_FS9CFG);
    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    EXPECT_EQ(probe(*dialog).m_strCfgPath, chosen.string());
    EXPECT_EQ(windowSystem.messageBoxes.size(), 1U);
}

// Only at start-up, with nothing shown yet, does a refused prompt end the program; later the file shown
// before stays open, and the commands go on as before.
TEST_F(LoadingTest, ARefusedPromptKeepsTheFileShownBefore) {
    host.write(host.fs9Cfg(), "[Main]\r\nk=1\r\n");
    start();
    const auto cancel = [this](int id) {
        windowSystem.messageBoxAnswers = {IDYES, IDNO};
        windowSystem.fileDialogAnswers = {std::nullopt};
        dialog->OnCommand(id); // cancel the browse
        dialog->OnCommand(id); // say no
    };
    cancel(ID_OPEN_SCENERYCFG);
    const auto other = host.dir / "gone.cfg";
    windowSystem.fileDialogAnswers = {other.string()};
    windowSystem.messageBoxAnswers = {IDNO};
    dialog->OnCommand(ID_OPEN_OTHERFS9CFG);

    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(windowSystem.messageBoxes.size(), 3U);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarvel - FS9.CFG"));
    EXPECT_EQ(probe(*dialog).m_fileopened, FileKind::Fs9Cfg);
    EXPECT_EQ(probe(*dialog).m_strCfgPath, host.fs9Cfg().string());
    EXPECT_EQ(probe(*dialog).m_strFs9CfgPath, host.fs9Cfg().string());
    EXPECT_EQ(probe(*dialog).m_strSceneryCfgPath, (host.simulatorFolder() / "scenery.cfg").string());
    EXPECT_EQ(rows(), QStringList{"k|1|"});
    EXPECT_TRUE(enabled(ID_OPEN_SCENERYCFG));
    probe(*dialog).m_list.selectRow(0);
    windowSystem.modalScripts.emplace_back([](QDialog& shown) {
        shown.findChild<QLineEdit*>(QStringLiteral("value"))->setText(QStringLiteral("2"));
        shown.accept();
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_EQ(test::readBytes(host.fs9Cfg()), "[Main]\r\nk=2\r\n");
}

TEST_F(LoadingTest, TheBrowseStartsInTheNearestFolderThatExists) {
    std::filesystem::remove_all(host.fs9Cfg().parent_path());
    windowSystem.messageBoxAnswers = {IDYES};
    windowSystem.fileDialogAnswers = {std::nullopt};
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isVisible(); }));
    ASSERT_EQ(windowSystem.fileDialogs.size(), 1U);
    EXPECT_EQ(windowSystem.fileDialogs[0].startFolder, host.fs9Cfg().parent_path().parent_path().string());
    EXPECT_EQ(windowSystem.fileDialogs[0].presetName, "fs9.cfg");
}

class LoadingWithoutSimulatorTest : public LoadingTest {
protected:
    LoadingWithoutSimulatorTest() : LoadingTest(Installation::Bare) {}
};

TEST_F(LoadingWithoutSimulatorTest, RegistryErrorOnceThenFs9CfgLoadsAndSimulatorFilesStayGrayed) {
    host.write(host.fs9Cfg(), "[Main]\r\nA=1\r\n");
    start();

    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].text, kRegistryError + "\n\n" + prefixHint(host));
    EXPECT_EQ(windowSystem.messageBoxes[0].caption, QStringLiteral("Registry Error"));
    EXPECT_EQ(windowSystem.messageBoxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    for (const std::string& call : host.registry->calls())
        EXPECT_EQ(call.find("queryValue"), std::string::npos) << "no value of a key that did not open";
    EXPECT_EQ(host.registry->openKeyCount(), 0U);

    EXPECT_EQ(sections(), QStringList{"Main"});
    EXPECT_TRUE(probe(*dialog).m_strFs9Path.empty());
    EXPECT_TRUE(probe(*dialog).m_strAircraftFolder.empty());
    for (const int id : {ID_OPEN_SCENERYCFG, ID_OPEN_DEVICESCFG, ID_OPEN_DISPLAYCFG, ID_OPEN_SUNEFFECTCFG,
                         ID_OPEN_TERRAINCFG}) {
        EXPECT_FALSE(enabled(id)) << id;
        EXPECT_FALSE(dialog->OnCommand(id)) << id;
    }
    EXPECT_TRUE(enabled(ID_OPEN_AIRCRAFTCFG));
    EXPECT_EQ(windowSystem.messageBoxes.size(), 1U);
}

TEST_F(LoadingWithoutSimulatorTest, AKeyWithoutItsValueIsTheSameRegistryError) {
    host.registry->addKey(HKEY_LOCAL_MACHINE, kFs9RegistryKey);
    host.write(host.fs9Cfg(), "");
    start();
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].text, kRegistryError + "\n\n" + prefixHint(host));
    EXPECT_EQ(host.registry->openKeyCount(), 0U) << "the key is closed again";
}

TEST_F(LoadingWithoutSimulatorTest, OldWindowsKeepsFs9CfgBelowTheWindowsDirectory) {
    host.write(host.dir / "prefix" / "system.reg",
               "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
               "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1700000000\n"
               "\"CurrentVersion\"=\"4.0\"\n");
    windowSystem.messageBoxAnswers = {IDOK, IDNO};
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isVisible(); }));
    EXPECT_EQ(probe(*dialog).m_osvi.major, 4U);
    EXPECT_EQ(probe(*dialog).m_strFs9CfgPath,
              (host.windowsDirectory() / "Application Data" / "Microsoft" / "FS9" / "fs9.cfg").string());
}

TEST_F(LoadingTest, AFileThatOpensButCannotBeReadLeavesNothingOfThePreviousFile) {
    host.write(host.fs9Cfg(), "[Main]\r\nUser Objects=Airplane\r\n");
    const std::filesystem::path scenery = host.simulatorFolder() / "scenery.cfg";
    ASSERT_EQ(::mkfifo(scenery.c_str(), 0666), 0);
    start();
    ASSERT_EQ(sections(), QStringList{"Main"});

    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].caption, QStringLiteral("Error reading file"));
    EXPECT_TRUE(windowSystem.messageBoxes[0].text.contains(QString::fromStdString(scenery.string())));
    EXPECT_EQ(windowSystem.messageBoxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(probe(*dialog).m_strCfgPath, scenery.string());
    EXPECT_TRUE(sections().isEmpty());
    EXPECT_EQ(probe(*dialog).m_list.rowCount(), 0);
}

TEST_F(LoadingTest, AFileWithoutSectionsLeavesTreeAndListEmpty) {
    host.write(host.fs9Cfg(), "; nothing here yet\r\nstray=line\r\n");
    start();
    EXPECT_TRUE(sections().isEmpty());
    EXPECT_EQ(probe(*dialog).m_tree.selectedSection(), CSectionTreeCtrl::kNone);
    EXPECT_EQ(probe(*dialog).m_list.rowCount(), 0);
    EXPECT_FALSE(enabled(ID_ADD_KEY));
    EXPECT_TRUE(enabled(ID_ADD_SECTION));
}

TEST_F(LoadingTest, BigFilesShowEverySectionAndEveryLine) {
    std::string bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += "[Area." + std::to_string(i) + "]\r\nTitle=Area " + std::to_string(i) + "\r\n";
    std::string longSection = "[Long]\r\n";
    int lineCount = 0;
    while (longSection.size() < 50000) {
        longSection += "Key" + std::to_string(lineCount) + "=" + std::string(40, 'v') + "\r\n";
        ++lineCount;
    }
    host.write(host.fs9Cfg(), longSection + bytes);
    start();
    EXPECT_EQ(probe(*dialog).m_tree.sectionCount(), 2001);
    EXPECT_EQ(sections().last(), QStringLiteral("Area.1999"));
    EXPECT_EQ(probe(*dialog).m_list.rowCount(), lineCount);
    EXPECT_EQ(probe(*dialog).m_list.itemText(lineCount - 1, 0), QString("Key%1").arg(lineCount - 1));
}

TEST_F(LoadingTest, RowsFollowTheLinesOfTheSection) {
    host.write(host.fs9Cfg(), "[S]\r\na=b=c\r\n=leading\r\ntrailing=\r\nno equals sign\r\n"
                              "dup=1\r\n; a comment is not a line of the section\r\ndup=2\r\n\r\n"
                              "quoted=\"x\"\r\ncaf\xE9=\x80 5\r\n");
    host.write(host.shippedHelp() / "fs9help.ini", "[S]\r\ndup=Twice\r\n=Empty key\r\n");
    start();
    EXPECT_EQ(rows(),
              (QStringList{"a|b=c|", "|leading|Empty key", "trailing||", "|no equals sign|Empty key",
                           "dup|1|Twice", "dup|2|Twice", "quoted|\"x\"|", QString::fromUtf8("café|€ 5|")}));
}

TEST_F(LoadingTest, SelectingASectionReadsItAfresh) {
    host.write(host.fs9Cfg(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    start();
    host.write(host.fs9Cfg(), "[A]\r\nx=changed outside\r\n");
    probe(*dialog).m_tree.selectSection(
        probe(*dialog).m_tree.nextSection(probe(*dialog).m_tree.firstSection()));
    EXPECT_TRUE(rows().isEmpty()) << "a section removed by another program lists nothing";
    probe(*dialog).m_tree.selectSection(probe(*dialog).m_tree.firstSection());
    EXPECT_EQ(rows(), QStringList{"x|changed outside|"});
    EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(LoadingTest, TheSearchTimerSelectsTheFoundRow) {
    host.write(host.fs9Cfg(), "[A]\r\nx=1\r\ny=2\r\n");
    start();
    probe(*dialog).m_nFoundItem = 1;
    dialog->SetTimer(CEditorDlg::kSearchTimer, 100);
    ASSERT_TRUE(QTest::qWaitFor([this] { return probe(*dialog).m_list.selectedCount() == 1; }));
    EXPECT_EQ(probe(*dialog).m_list.selectionMark(), 1);
    EXPECT_TRUE(probe(*dialog).m_list.hasFocus());
}

std::string keyLines(int count, int changed) {
    std::string lines;
    for (int key = 0; key < count; ++key) {
        lines += 'k';
        lines += std::to_string(key);
        lines += key == changed ? "=changed\r\n" : "=1\r\n";
    }
    return lines;
}

TEST_F(LoadingTest, AnOutsideChangeShowsWhenTheWindowGetsTheFocusInTheSamePlace) {
    host.write(host.fs9Cfg(),
               "[A]\r\n[B]\r\n" + keyLines(100, -1) + "[B]\r\n" + keyLines(100, -1) + "[C]\r\n");
    start();
    probe(*dialog).m_tree.selectSection(2); // the second [B]
    probe(*dialog).m_list.selectRow(60);
    QCoreApplication::processEvents(); // the list lays out its rows
    probe(*dialog).m_list.verticalScrollBar()->setValue(40);
    ASSERT_EQ(probe(*dialog).m_list.verticalScrollBar()->value(), 40)
        << "the list must be too short for its rows";

    host.write(host.fs9Cfg(),
               "[New]\r\n[A]\r\n[B]\r\n" + keyLines(100, 5) + "[b]\r\n" + keyLines(100, 5) + "[C]\r\n");
    test::refocus(*dialog);
    EXPECT_EQ(sections(), (QStringList{"New", "A", "B", "b", "C"}));
    EXPECT_EQ(probe(*dialog).m_tree.selectedSection(), 3);
    EXPECT_EQ(rows().at(5), "k5|changed|");
    EXPECT_EQ(probe(*dialog).m_list.selectionMark(), 60);
    EXPECT_EQ(probe(*dialog).m_list.verticalScrollBar()->value(), 40);
}

TEST_F(LoadingTest, ACommandWorksOnTheFileAsItIsNow) {
    host.write(host.fs9Cfg(), "[A]\r\na=1\r\n[C]\r\nc=1\r\n");
    start();
    probe(*dialog).m_tree.selectSection(1);
    probe(*dialog).m_list.selectRow(0);
    host.write(host.fs9Cfg(), "[A]\r\na=2\r\n[D]\r\nc=1\r\n");
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_EQ(sections(), (QStringList{"A", "D"}));
    EXPECT_EQ(selectedSection(), "A") << "the selected section is gone: the first takes its place";
    EXPECT_EQ(rows(), QStringList{"a|2|"});
    EXPECT_EQ(probe(*dialog).m_list.selectedCount(), 0) << "the selected row holds another line now";
}

TEST_F(LoadingTest, AFileThatCannotBeReadAfterAnOutsideChangeIsReportedOnce) {
    host.write(host.fs9Cfg(), "[A]\r\n");
    start();
    std::filesystem::remove(host.fs9Cfg());
    std::filesystem::create_directory(host.fs9Cfg());
    test::refocus(*dialog);
    test::refocus(*dialog);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(windowSystem.messageBoxes[0].caption, "Error reading file");
    EXPECT_EQ(probe(*dialog).m_tree.sectionCount(), 0);
}

} // namespace
} // namespace quarvel
