#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need a QApplication before any window, font or pixmap exists.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
