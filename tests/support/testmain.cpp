// The main of the tests that need Qt's application object, for events, fonts or
// windows. Widget tests also get a private home, so dialogs that keep state of
// their own (Qt's colour dialog does) never touch the user's files.
#include "support/testenv.h"

#include <gtest/gtest.h>

#ifdef OVRA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef OVRA_TEST_WIDGETS
    const ovra::test::TestHome home;
#endif
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
