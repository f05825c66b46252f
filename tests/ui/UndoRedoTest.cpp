// Undo and Redo as a player uses them, and the copies kept of each file before its first edit.
#include "EditingFixture.h"
#include "WriteProtection.h"

#include "ui/editor/ResourceIds.h"

#include <algorithm>
#include <set>

namespace quarvel {
namespace {

class UndoRedoTest : public test::EditingFixture {
protected:
    bool enabled(int id) const { return dialog->commands().ruleAnswer(id).value_or(true); }
    QString selectedSection() const {
        return probe(*dialog).m_tree.sectionText(probe(*dialog).m_tree.selectedSection());
    }
    int markedRow() const { return probe(*dialog).m_list.selectionMark(); }

    void change(int row, const QString& value, const QString& help = {}) {
        clickRow(row);
        script([=](QDialog& shown) {
            type(shown, "value", value);
            if (!help.isEmpty())
                typeHelp(shown, help);
        });
        dialog->OnCommand(ID_CHANGE_KEY);
    }
    void addKey(const QString& key, const QString& value) {
        script([=](QDialog& shown) {
            type(shown, "key", key);
            type(shown, "value", value);
            typeHelp(shown, QStringLiteral("Added words"));
        });
        dialog->OnCommand(ID_ADD_KEY);
    }
    void removeKey(int row) {
        clickRow(row);
        windowSystem.messageBoxAnswers.push_back(IDYES);
        dialog->OnCommand(ID_REMOVE_KEY);
    }
    std::vector<std::string> copies() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(host.copies()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(UndoRedoTest, EveryEditIsUndoneAndRedoneByteForByte) {
    const std::string original = "; top\r\n[Main]\r\nk = 1 ; note\r\nx=2\r\n\r\n[Gone]\r\ng=1\n[Last]\r\nz=0";
    start(original);
    host.write(playerHelp(), "[Main]\r\nk=Old words\r\n");
    std::vector<std::string> states{fileBytes()};
    std::vector<std::string> helpStates{test::readBytes(playerHelp())};
    const auto keep = [&] {
        states.push_back(fileBytes());
        helpStates.push_back(test::readBytes(playerHelp()));
    };
    change(0, QStringLiteral("5"), QStringLiteral("New words"));
    keep();
    addKey(QStringLiteral("added"), QStringLiteral("7"));
    keep();
    removeKey(1);
    keep();
    selectSection(1);
    windowSystem.messageBoxAnswers.push_back(IDYES);
    dialog->OnCommand(ID_REMOVE_SECTION);
    keep();
    script([](QDialog& shown) { type(shown, "name", QStringLiteral("Fresh")); });
    dialog->OnCommand(ID_ADD_SECTION);
    keep();
    ASSERT_EQ(std::set<std::string>(states.begin(), states.end()).size(), states.size()) << "each edit wrote";
    EXPECT_EQ(windowSystem.messageBoxes.size(), 2U) << "the two removals asked first";

    for (std::size_t step = states.size() - 1; step > 0; --step) {
        ASSERT_TRUE(dialog->OnCommand(ID_EDIT_UNDO)) << step;
        EXPECT_EQ(fileBytes(), states[step - 1]) << step;
        EXPECT_EQ(test::readBytes(playerHelp()), helpStates[step - 1]) << step;
    }
    EXPECT_EQ(fileBytes(), original);
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    // The first edit undone: its section selected, its row marked, the old description shown.
    EXPECT_EQ(selectedSection(), QStringLiteral("Main"));
    EXPECT_EQ(markedRow(), 0);
    EXPECT_EQ(rows(), (QStringList{"k|1 ; note|Old words", "x|2|"}));

    for (std::size_t step = 1; step < states.size(); ++step) {
        ASSERT_TRUE(dialog->OnCommand(ID_EDIT_REDO)) << step;
        EXPECT_EQ(fileBytes(), states[step]) << step;
        EXPECT_EQ(test::readBytes(playerHelp()), helpStates[step]) << step;
    }
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
    EXPECT_EQ(sections(), (QStringList{"Main", "Last", "Fresh"}));

    // Undoing the removal of the section brings it back selected, in its place.
    dialog->OnCommand(ID_EDIT_UNDO);
    dialog->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(sections(), (QStringList{"Main", "Gone", "Last"}));
    EXPECT_EQ(selectedSection(), QStringLiteral("Gone"));
    EXPECT_EQ(rows(), QStringList{"g|1|"});
    // Undoing the removal of the key marks it again.
    dialog->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(selectedSection(), QStringLiteral("Main"));
    EXPECT_EQ(markedRow(), 1);
    EXPECT_EQ(rows().value(1), QStringLiteral("x|2|"));
}

TEST_F(UndoRedoTest, TheCommandsAreOfferedWhileThereIsSomethingToTakeBackOrMakeAgain) {
    start("[Main]\r\nk=1\r\n");
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
    change(0, QStringLiteral("2"));
    EXPECT_TRUE(enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
    dialog->OnCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(enabled(ID_EDIT_REDO));
    // A new edit after an undo: what was undone cannot be made again.
    change(0, QStringLiteral("3"));
    EXPECT_TRUE(enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(ID_EDIT_REDO));
    EXPECT_FALSE(dialog->OnCommand(ID_EDIT_REDO));
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=3\r\n");

    // A file that can only be read offers neither.
    const test::WriteProtection protection(host.fs9Cfg().parent_path());
    if (!protection.active())
        GTEST_SKIP() << "this file system cannot make a folder unwritable for root";
    dialog->ReadCfg();
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(dialog->OnCommand(ID_EDIT_UNDO));
}

TEST_F(UndoRedoTest, EachFileKeepsItsOwnEditsAcrossASwitch) {
    start("[Main]\r\nk=1\r\n");
    const auto scenery = host.write(host.simulatorFolder() / "scenery.cfg", "[Area.001]\r\nTitle=Base\r\n");
    change(0, QStringLiteral("2"));
    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));
    change(0, QStringLiteral("Mine"));
    dialog->OnCommand(ID_OPEN_FS9CFG);
    ASSERT_TRUE(dialog->OnCommand(ID_EDIT_UNDO));
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=1\r\n");
    EXPECT_EQ(test::readBytes(scenery), "[Area.001]\r\nTitle=Mine\r\n");
    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    ASSERT_TRUE(dialog->OnCommand(ID_EDIT_UNDO));
    EXPECT_EQ(test::readBytes(scenery), "[Area.001]\r\nTitle=Base\r\n");
    EXPECT_EQ(rows(), QStringList{"Title|Base|"});
}

TEST_F(UndoRedoTest, AnotherProgramsChangesElsewhereStayAndItsChangeOfTheEditedLineIsNotUndone) {
    start("[Main]\r\nk=1\r\nx=2\r\n[Tail]\r\nt=1\r\n");
    change(0, QStringLiteral("5"));
    host.write(host.fs9Cfg(), "[New]\r\nn=1\r\n[Main]\r\nk=5\r\nx=3\r\n[Tail]\r\nt=9\r\n");
    ASSERT_TRUE(dialog->OnCommand(ID_EDIT_UNDO));
    EXPECT_EQ(fileBytes(), "[New]\r\nn=1\r\n[Main]\r\nk=1\r\nx=3\r\n[Tail]\r\nt=9\r\n");
    EXPECT_EQ(selectedSection(), QStringLiteral("Main"));
    EXPECT_TRUE(windowSystem.messageBoxes.empty());

    dialog->OnCommand(ID_EDIT_REDO);
    const std::string theirs = "[New]\r\nn=1\r\n[Main]\r\nk=6\r\nx=3\r\n[Tail]\r\nt=9\r\n";
    host.write(host.fs9Cfg(), theirs);
    dialog->OnCommand(ID_EDIT_UNDO);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(box(0).caption, QStringLiteral("File changed"));
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(fileBytes(), theirs);
    EXPECT_EQ(rows().value(0), QStringLiteral("k|6|"));
    EXPECT_FALSE(enabled(ID_EDIT_UNDO)) << "an edit another program overwrote cannot be taken back";
}

TEST_F(UndoRedoTest, TheFileIsCopiedOnceARunBeforeItsFirstEditAndTenCopiesAreKept) {
    for (int i = 0; i < 12; ++i)
        host.write(host.copies() / ("fs9.cfg.2020-01-01_00-00-00.0" + std::to_string(10 + i)), "old");
    host.write(host.copies() / "scenery.cfg.2020-01-01_00-00-00.000", "other file");
    start("[Main]\r\nk=1\r\n");
    change(0, QStringLiteral("2"));
    change(0, QStringLiteral("3"));
    const std::vector<std::string> names = copies();
    ASSERT_EQ(names.size(), 11U);
    EXPECT_EQ(names.front(), "fs9.cfg.2020-01-01_00-00-00.013");
    EXPECT_EQ(names.back(), "scenery.cfg.2020-01-01_00-00-00.000");
    EXPECT_EQ(test::readBytes(host.copies() / names[9]), "[Main]\r\nk=1\r\n");
    EXPECT_TRUE(windowSystem.messageBoxes.empty());
}

TEST_F(UndoRedoTest, ACopyThatCannotBeMadeIsToldOnceAndTheEditsGoAhead) {
    host.write(host.copies().parent_path(), "a file where the folder should be");
    start("[Main]\r\nk=1\r\n[Other]\r\no=1\r\n");
    change(0, QStringLiteral("2"));
    selectSection(1);
    change(0, QStringLiteral("3"));
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=2\r\n[Other]\r\no=3\r\n");
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(box(0).caption, QStringLiteral("Safety copy"));
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(box(0).text.startsWith(QString::fromStdString(
        "Quarvel could not keep a copy of the file as it was before its first edit in " +
        host.copies().string())));
}

} // namespace
} // namespace quarvel
