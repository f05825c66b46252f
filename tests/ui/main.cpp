#include <QApplication>
#include <QByteArray>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Qt wants a private runtime folder; a test run may have none.
void ensureRuntimeDir() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    std::string folder = QDir::tempPath().toStdString() + "/quarvel-ui-tests-XXXXXX";
    if (mkdtemp(folder.data()) != nullptr)
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder));
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display and must work where there is none.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDir();
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
