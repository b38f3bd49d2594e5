#include <QCoreApplication>
#include <gtest/gtest.h>

// Tests of the parts without widgets run with a QCoreApplication: an event loop for
// signals and sockets, and nothing that needs a screen.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
