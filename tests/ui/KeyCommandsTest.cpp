// Changing, adding and removing keys as a player does, checked on screen and in the files.
#include "EditingFixture.h"
#include "WriteProtection.h"

#include "ui/editor/ResourceIds.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <cstring>

namespace quarvel {
namespace {

class KeyCommandsTest : public test::EditingFixture {
protected:
    void SetUp() override { host.write(host.shippedHelp() / "fs9help.ini", "[Main]\r\nk=Shipped words\r\n"); }
    QString shownHelp(QDialog& shown) const {
        return shown.findChild<QPlainTextEdit*>(QStringLiteral("help"))->toPlainText();
    }
};

TEST_F(KeyCommandsTest, ChangeWritesTheValueAndOnlyAnEditedDescription) {
    const QString longValue(300, QLatin1Char('w'));
    start("[Main]\r\nk=" + std::string(300, 'v') + "\r\nother=2\r\n");
    clickRow(0);
    script([&](QDialog& shown) {
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Edit Value"));
        EXPECT_EQ(shown.findChild<QLabel*>(QStringLiteral("section"))->text(),
                  QStringLiteral("Section:  Main"));
        EXPECT_TRUE(shown.findChild<QLineEdit*>(QStringLiteral("key"))->isReadOnly());
        EXPECT_EQ(shown.focusWidget(), shown.findChild<QLineEdit*>(QStringLiteral("value")));
        EXPECT_EQ(shownHelp(shown), QStringLiteral("Shipped words"));
        type(shown, "value", longValue);
    });
    // A double click below the last row acts on the marked row.
    QTest::mouseDClick(probe(*dialog).m_list.viewport(), Qt::LeftButton, {},
                       QPoint(5, probe(*dialog).m_list.height() - 30));
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=" + longValue.toStdString() + "\r\nother=2\r\n");
    EXPECT_EQ(rows()[0], "k|" + longValue + "|Shipped words");
    EXPECT_FALSE(std::filesystem::exists(playerHelp())) << "the shipped description is not copied";
    EXPECT_EQ(probe(*dialog).m_bAccelEnabled, 1);

    clickRow(1);
    script([&](QDialog& shown) {
        EXPECT_EQ(shownHelp(shown), QStringLiteral("No help available for this key."));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_FALSE(std::filesystem::exists(playerHelp())) << "the placeholder is never stored";
    script([&](QDialog& shown) {
        typeHelp(shown, QString(256, QLatin1Char('h')));
        shown.accept();
        EXPECT_TRUE(shown.isVisible()) << "the help box takes 255 characters";
        typeHelp(shown, QStringLiteral("Mine"));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(box(0).text, QStringLiteral("Please enter no more than 255 characters."));
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(test::readBytes(playerHelp()), "[Main]\r\nother=Mine\r\n");
    EXPECT_EQ(rows()[1], QStringLiteral("other|2|Mine"));
}

TEST_F(KeyCommandsTest, EveryWayOfClosingWritesNothingAndTurnsTheKeysBackOn) {
    start("[Main]\r\nk=1\r\n");
    clickRow(0);
    const std::function<void(QDialog&)> closings[] = {
        [](QDialog& shown) {
            for (QPushButton* button : shown.findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Cancel"))
                    QTest::mouseClick(button, Qt::LeftButton);
        },
        [](QDialog& shown) {
            QTest::keyClick(shown.findChild<QLineEdit*>(QStringLiteral("value")), Qt::Key_Escape);
        },
        [](QDialog& shown) { shown.close(); },
    };
    for (const auto& closing : closings) {
        script([&](QDialog& shown) {
            type(shown, "value", QStringLiteral("9"));
            QTest::keyClick(shown.findChild<QLineEdit*>(QStringLiteral("value")), Qt::Key_Insert);
            closing(shown);
        });
        dialog->OnCommand(ID_CHANGE_KEY);
        EXPECT_EQ(probe(*dialog).m_bAccelEnabled, 1);
    }
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=1\r\n");
    EXPECT_EQ(rows(), QStringList{"k|1|Shipped words"});
    EXPECT_FALSE(std::filesystem::exists(playerHelp()));
}

TEST_F(KeyCommandsTest, AddGoesIntoTheSectionShownAndAsksBeforeReplacingAKey) {
    start("[gauge]\r\na=1\r\n[gauge]\r\nb=2\r\n");
    selectSection(1);
    script([&](QDialog& shown) {
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Add Key"));
        EXPECT_EQ(shown.focusWidget(), shown.findChild<QLineEdit*>(QStringLiteral("key")));
        type(shown, "key", QStringLiteral(" new key "));
        type(shown, "value", QStringLiteral("x"));
    });
    dialog->OnCommand(ID_ADD_KEY);
    EXPECT_EQ(fileBytes(), "[gauge]\r\na=1\r\n[gauge]\r\nb=2\r\nnew key=x\r\n");
    EXPECT_EQ(rows(), (QStringList{"b|2|", "new key|x|"}));
    EXPECT_FALSE(std::filesystem::exists(playerHelp())) << "an empty help box stores nothing";

    // No returns to the dialog; Yes changes the existing line and its row.
    windowSystem.messageBoxAnswers = {IDNO, IDYES};
    script([&](QDialog& shown) {
        type(shown, "key", QStringLiteral("B"));
        type(shown, "value", QStringLiteral("3"));
        typeHelp(shown, QStringLiteral("Second b"));
        shown.accept();
        EXPECT_TRUE(shown.isVisible());
    });
    dialog->OnCommand(ID_ADD_KEY);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 2U);
    EXPECT_EQ(box(0).text, QStringLiteral("The key 'B' already exists in this section. Replace its value?"));
    EXPECT_EQ(box(0).caption, QStringLiteral("Add Key"));
    EXPECT_EQ(box(0).style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(fileBytes(), "[gauge]\r\na=1\r\n[gauge]\r\nb=3\r\nnew key=x\r\n");
    EXPECT_EQ(rows(), (QStringList{"b|3|Second b", "new key|x|"}));
    EXPECT_EQ(test::readBytes(playerHelp()), "[gauge]\r\nB=Second b\r\n");
}

TEST_F(KeyCommandsTest, NamesThatCouldNotBeReadBackAreRefusedInTheDialog) {
    start("[Main]\r\n");
    struct Refusal {
        QString key;
        QString value;
        QString text;
        QString caption;
    };
    const Refusal refusals[] = {
        {"", "", "The key must have a name.  Please enter a name.", "Invalid key name"},
        {"   ", "", "A key name cannot be empty, contain '=' or begin with '[' or ';'.", "Invalid key name"},
        {"a=b", "", "A key name cannot be empty, contain '=' or begin with '[' or ';'.", "Invalid key name"},
        {"[x", "", "A key name cannot be empty, contain '=' or begin with '[' or ';'.", "Invalid key name"},
        {"k", QString::fromUtf8("\xCE\xA9"),
         "The text contains characters that cannot be saved in this file.", "Add Key"},
    };
    for (const Refusal& refusal : refusals) {
        windowSystem.messageBoxes.clear();
        script([&](QDialog& shown) {
            type(shown, "key", refusal.key);
            type(shown, "value", refusal.value);
            shown.accept();
            EXPECT_TRUE(shown.isVisible());
            shown.reject();
        });
        dialog->OnCommand(ID_ADD_KEY);
        ASSERT_EQ(windowSystem.messageBoxes.size(), 1U) << refusal.key.toStdString();
        EXPECT_EQ(box(0).text, refusal.text);
        EXPECT_EQ(box(0).caption, refusal.caption);
        EXPECT_EQ(box(0).style, MB_OK | MB_ICONHAND);
    }
    EXPECT_EQ(fileBytes(), "[Main]\r\n");
}

TEST_F(KeyCommandsTest, RemoveAsksAndRemovesOnlyTheMarkedLine) {
    start("[Main]\r\nk=1\r\nloose\r\nk=2\r\n");
    clickRow(2);
    windowSystem.messageBoxAnswers = {IDNO, IDYES, IDYES};
    dialog->OnCommand(ID_REMOVE_KEY);
    EXPECT_EQ(box(0).text, QStringLiteral("Are you sure you want to remove the key 'k'?"));
    EXPECT_EQ(box(0).caption, QStringLiteral("Remove Key"));
    EXPECT_EQ(box(0).style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(box(0).owner, dialog.get());
    EXPECT_EQ(rows().size(), 3);
    dialog->OnCommand(ID_REMOVE_KEY);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=1\r\nloose\r\n");
    clickRow(1);
    dialog->OnCommand(ID_REMOVE_KEY);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=1\r\n");
    EXPECT_EQ(rows(), QStringList{"k|1|Shipped words"});
}

TEST_F(KeyCommandsTest, AFailedWriteIsToldAndChangesNothingOnScreen) {
    start("[Main]\r\nk=1\r\n");
    clickRow(0);
    const std::string path = host.fs9Cfg().string();
    const auto expectToldAndUnchanged = [&](const std::string& file, const std::string& reason) {
        ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
        EXPECT_EQ(box(0).text,
                  QString::fromStdString("Quarvel could not write to " + file + ".\n\n" + reason));
        EXPECT_EQ(box(0).caption, QStringLiteral("Error writing file"));
        EXPECT_EQ(box(0).style, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(box(0).owner, dialog.get());
        windowSystem.messageBoxes.clear();
    };
    const auto change = [&](const char* value, const char* help) {
        script([=](QDialog& shown) {
            type(shown, "value", QString::fromLatin1(value));
            typeHelp(shown, QString::fromLatin1(help));
        });
        dialog->OnCommand(ID_CHANGE_KEY);
    };

    AtomicFileWriter::injectFault(AtomicFileWriter::Fault{AtomicFileWriter::Step::WriteBytes, ENOSPC});
    change("2", "Shipped words");
    expectToldAndUnchanged(path, "No space left on device");
    windowSystem.messageBoxAnswers = {IDYES};
    dialog->OnCommand(ID_REMOVE_KEY);
    windowSystem.messageBoxes.erase(windowSystem.messageBoxes.begin()); // the question
    expectToldAndUnchanged(path, "No space left on device");
    EXPECT_EQ(rows(), QStringList{"k|1|Shipped words"});
    AtomicFileWriter::injectFault(std::nullopt);
    {
        const test::WriteProtection protection(host.fs9Cfg());
        change("3", "Shipped words");
        if (protection.active())
            expectToldAndUnchanged(path, std::strerror(::geteuid() == 0 ? EPERM : EACCES));
    }
    {
        const test::WriteProtection protection(host.fs9Cfg().parent_path());
        change("4", "Shipped words");
        if (protection.active())
            expectToldAndUnchanged(path, std::strerror(::geteuid() == 0 ? EPERM : EACCES));
    }
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=1\r\n");
    EXPECT_EQ(rows(), QStringList{"k|1|Shipped words"});

    // The value is written, the description cannot be: the help file is named, the new value stays.
    std::filesystem::remove_all(host.windowsDirectory());
    change("5", "Mine");
    expectToldAndUnchanged(playerHelp().string(), "No such file or directory");
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=5\r\n");
    EXPECT_EQ(rows(), QStringList{"k|5|Shipped words"});
}

// The window reads the file again before each command; what another program changes while the dialog is
// open is caught at the write.
TEST_F(KeyCommandsTest, ALineChangedByAnotherProgramIsNotOverwritten) {
    start("[Main]\r\nk=1\r\n[Gone]\r\nx=1\r\n");
    clickRow(0);
    script([this](QDialog& shown) {
        host.write(host.fs9Cfg(), "[Main]\r\nk=9\r\n[Gone]\r\nx=1\r\n");
        type(shown, "value", QStringLiteral("2"));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(box(0).text,
              QString::fromStdString(host.fs9Cfg().string() +
                                     " was changed by another program since it was shown. The list has been "
                                     "refreshed."));
    EXPECT_EQ(box(0).caption, QStringLiteral("File changed"));
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=9\r\n[Gone]\r\nx=1\r\n");
    EXPECT_EQ(rows(), QStringList{"k|9|Shipped words"});

    // The section itself went: the tree is read again too.
    selectSection(1);
    clickRow(0);
    script([this](QDialog& shown) {
        host.write(host.fs9Cfg(), "[Main]\r\nk=9\r\n");
        type(shown, "value", QStringLiteral("2"));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_EQ(sections(), QStringList{"Main"});
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=9\r\n");
}

TEST_F(KeyCommandsTest, TheWindowsOwnWriteIsNotReadBackButAnotherProgramsBeforeItIs) {
    start("[Main]\r\nk=1\r\n[Other]\r\nx=1\r\n");
    clickRow(0);
    const QSignalSpy treeFills(probe(*dialog).m_tree.model(), &QAbstractItemModel::modelReset);
    script([](QDialog& shown) { type(shown, "value", QStringLiteral("2")); });
    dialog->OnCommand(ID_CHANGE_KEY);
    test::refocus(*dialog);
    EXPECT_EQ(treeFills.count(), 0) << "the window already shows what it wrote";

    // Another program adds a section while the next edit's dialog is open: the edit still goes in, and
    // the addition shows once the window has the focus again.
    script([this](QDialog& shown) {
        host.write(host.fs9Cfg(), "[Main]\r\nk=2\r\n[Other]\r\nx=1\r\n[New]\r\n");
        type(shown, "value", QStringLiteral("3"));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=3\r\n[Other]\r\nx=1\r\n[New]\r\n");
    test::refocus(*dialog);
    EXPECT_EQ(sections(), (QStringList{"Main", "Other", "New"}));
    EXPECT_EQ(rows(), QStringList{"k|3|Shipped words"});
}

// What is pasted is what is saved and shown: line breaks become blanks in the field itself, and a text
// past its field's limit is refused in words, kept whole, with the dialog open. The row then reads as the
// file does, so the next edit of it goes in.
TEST_F(KeyCommandsTest, PastedTextIsSavedAsShownOrRefusedWhole) {
    start("[Main]\r\nk=1\r\n");
    clickRow(0);
    script([](QDialog& shown) {
        auto* value = shown.findChild<QLineEdit*>(QStringLiteral("value"));
        value->selectAll();
        value->insert(QString(5000, QLatin1Char('x')));
        shown.accept();
        EXPECT_TRUE(shown.isVisible());
        EXPECT_EQ(value->text().size(), 5000);
        value->selectAll();
        value->insert(QStringLiteral("a\r\nb"));
        EXPECT_EQ(value->text(), QStringLiteral("a  b"));
        auto* help = shown.findChild<QPlainTextEdit*>(QStringLiteral("help"));
        help->selectAll();
        help->insertPlainText(QStringLiteral("one\ntwo"));
        EXPECT_EQ(help->toPlainText(), QStringLiteral("one two"));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(box(0).text, QStringLiteral("Please enter no more than 255 characters."));
    EXPECT_EQ(box(0).caption, QCoreApplication::applicationName());
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=a  b\r\n");
    EXPECT_EQ(rows(), QStringList{"k|a  b|one two"});

    script([](QDialog& shown) { type(shown, "value", QStringLiteral("c")); });
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=c\r\n");

    // New names too: a key and a section, and the text searched for.
    script([](QDialog& shown) {
        type(shown, "key", QStringLiteral("new\nkey"));
        EXPECT_EQ(shown.findChild<QLineEdit*>(QStringLiteral("key"))->text(), QStringLiteral("new key"));
    });
    dialog->OnCommand(ID_ADD_KEY);
    script([](QDialog& shown) { type(shown, "name", QStringLiteral("Two\r\nLines")); });
    dialog->OnCommand(ID_ADD_SECTION);
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=c\r\nnew key=\r\n[Two  Lines]\r\nDefault=\r\n");
    script([](QDialog& shown) {
        type(shown, "find", QStringLiteral("new\nkey"));
        EXPECT_EQ(shown.findChild<QLineEdit*>(QStringLiteral("find"))->text(), QStringLiteral("new key"));
    });
    dialog->OnCommand(ID_SEARCH);
    EXPECT_EQ(windowSystem.messageBoxes.size(), 1U) << "found";
}

// A line without "=" is all value, and must stay such a line: the dialog says so and keeps the text. A
// line that begins with "=" shows alike but takes one.
TEST_F(KeyCommandsTest, ALineWithoutEqualsRefusesOneInTheDialog) {
    start("[Main]\r\nloose words\r\n=empty key\r\n");
    clickRow(0);
    script([](QDialog& shown) {
        type(shown, "value", QStringLiteral("a=b"));
        shown.accept();
        EXPECT_TRUE(shown.isVisible());
        EXPECT_EQ(shown.findChild<QLineEdit*>(QStringLiteral("value"))->text(), QStringLiteral("a=b"));
        type(shown, "value", QStringLiteral("other words"));
    });
    dialog->OnCommand(ID_CHANGE_KEY);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 1U);
    EXPECT_EQ(box(0).text,
              QStringLiteral("This line has no '=', so its new text cannot be empty, contain '=' or "
                             "begin with '[' or ';'."));
    EXPECT_EQ(box(0).caption, QStringLiteral("Invalid value"));
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONHAND);
    clickRow(1);
    script([](QDialog& shown) { type(shown, "value", QStringLiteral("x=y")); });
    dialog->OnCommand(ID_CHANGE_KEY);
    EXPECT_EQ(fileBytes(), "[Main]\r\nother words\r\n=x=y\r\n");
}

// With no row selected, as after a fill, the keys a player reaches for select one and Change is offered.
TEST_F(KeyCommandsTest, HomeEndAndSpaceSelectARowWhenNoneIs) {
    start("[Main]\r\na=1\r\nb=2\r\nc=3\r\n");
    probe(*dialog).m_list.setFocus();
    const auto after = [this](Qt::Key key) {
        probe(*dialog).m_list.clearSelection();
        QTest::keyClick(&probe(*dialog).m_list, key);
        return probe(*dialog).m_list.selectedCount() == 1 &&
                       dialog->commands().ruleAnswer(ID_CHANGE_KEY).value_or(false)
                   ? probe(*dialog).m_list.selectionMark()
                   : -1;
    };
    EXPECT_EQ(after(Qt::Key_Home), 0);
    EXPECT_EQ(after(Qt::Key_End), 2);
    EXPECT_EQ(after(Qt::Key_Space), 2) << "the current row";
}

} // namespace
} // namespace quarvel
