#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

// Widget tests need one QApplication for the whole run.
// They run headless unless told otherwise, also while ctest lists them.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Files a program keeps between runs go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
