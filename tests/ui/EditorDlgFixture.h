#pragma once

#include "Activation.h"
#include "FakeWindowSystem.h"
#include "TestHost.h"

#include "tests/ui/EditorDlgProbe.h"
#include "ui/editor/ResourceIds.h"

#include <QAction>
#include <QMenu>

#include <QTest>

#include <gtest/gtest.h>

namespace quarvel::test {

// A main window, initialised and shown, driven through a scripted window system.
class EditorDlgFixture : public ::testing::Test {
protected:
    FakeWindowSystem windowSystem;
    TestHost host;
    CEditorDlg dialog{windowSystem, *host.host};

    void SetUp() override {
        ASSERT_TRUE(showActive(dialog));
        // These tests fill the tree and list themselves; the first load must not refill them behind them.
        dialog.KillTimer(CEditorDlg::kLoadTimer);
    }

    void addSections(std::initializer_list<const char*> names) {
        for (const char* name : names)
            probe(dialog).m_tree.appendSection(QString::fromLatin1(name));
    }
    void addKeys(std::initializer_list<const char*> keys) {
        for (const char* key : keys)
            probe(dialog).m_list.appendRow(QString::fromLatin1(key));
    }
    // Whether the menu bar shows the command's item enabled after the pass that runs before it opens.
    bool shownEnabled(int id) {
        QAction* item = dialog.menuItem(id);
        EXPECT_NE(item, nullptr) << "no menu item for " << id;
        if (item == nullptr)
            return false;
        if (QMenu* dropDown = qobject_cast<QMenu*>(item->parent()))
            dialog.OnInitMenuPopup(*dropDown);
        return item->isEnabled();
    }
};

} // namespace quarvel::test
