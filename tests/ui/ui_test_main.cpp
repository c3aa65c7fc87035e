#include <QApplication>

#include <gtest/gtest.h>

#include "ui/Program.h"
#include "ui/WebWindows.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    selvane::ui::prepareProcess();
    QApplication app(argc, argv);
    // The windows are linked in here; the program loads them from selvane-windows.so.
    selvane::ui::useWebWindows(selvane::ui::linkedWebWindows());
    return RUN_ALL_TESTS();
}
