// Widget tests run on the offscreen platform with a private home, so dialogs that
// keep state of their own (Qt's colour dialog does) never touch the user's files.
#include "support/testenv.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ovra::test::TestHome home;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
