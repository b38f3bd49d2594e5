#include "controls/PictureDecoder.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every window test program runs with a QApplication on the offscreen platform, so that
// window tests use the real widgets without a display, and with the JPEG library's memory
// limit the kiosk sets.
int main(int argc, char** argv)
{
    quindle::PictureDecoder::limitJpegMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
