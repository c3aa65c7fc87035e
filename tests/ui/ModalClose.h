#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "kit/Window.h"
#include "ui/QtModalWindow.h"

namespace selvane::ui::test {

enum class CloseBy { CloseButton, TitleBar };

// Shows model through the Qt modal port; once it is up, whileUp reads the dialog (expected to be
// named objectName), then it is closed by its cmdClose or the title bar. Returns when the port does.
inline void showThenClose(Window& model, const char* objectName, CloseBy by,
                          const std::function<void(QDialog&)>& whileUp = {}) {
    bool returned = false;
    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QString::fromLatin1(objectName));
        if (whileUp) whileUp(*dialog);
        if (by == CloseBy::CloseButton)
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        else
            dialog->close();
    });
    QTimer::singleShot(5000, [&] {
        if (!returned && QApplication::activeModalWidget()) QApplication::activeModalWidget()->hide();
    });
    QtModalWindow port;
    port.showModal(model);
    returned = true;
}

}  // namespace selvane::ui::test
