#include <QCoreApplication>
#include <gtest/gtest.h>

// Serial ports and child processes need a Qt application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
