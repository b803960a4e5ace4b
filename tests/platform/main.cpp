// The platform tests draw and open windows, so a Qt application must exist first. They run on
// the offscreen platform unless another one is asked for.
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/app.h"

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    keep_c_number_format();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
