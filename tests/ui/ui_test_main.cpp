#include <QApplication>

#include <gtest/gtest.h>

#include "ui/Program.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    selvane::ui::prepareProcess();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
