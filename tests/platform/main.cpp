// The platform tests draw and open windows: a Qt application comes first, offscreen unless asked.
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
