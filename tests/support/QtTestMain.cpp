#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform, so that window
// tests use the real widgets without a display.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
