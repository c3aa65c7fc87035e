// The splash window, the mail port through a fake xdg-email, and the web link's mouse buttons.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <cstdio>
#include <string>
#include <vector>

#include "kit/FakePorts.h"
#include "promo/AdvertFrame.h"
#include "promo/SplashWindow.h"
#include "promo/TellAFriend.h"
#include "ui/Bindings.h"
#include "ui/QtPorts.h"
#include "ui/SplashView.h"

namespace selvane::ui {
namespace {

// PATH holds only a folder with a fake xdg-email that records its arguments, NUL-separated,
// and exits with the given code; without a code, the folder is empty.
class FakeDesktopPath {
public:
    explicit FakeDesktopPath(int exitCode = -1) : oldPath_(qgetenv("PATH")) {
        record_ = dir_.filePath(QStringLiteral("record"));
        if (exitCode >= 0) {
            QFile script(dir_.filePath(QStringLiteral("xdg-email")));
            script.open(QIODevice::WriteOnly);
            script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >> '%1'\nexit %2\n")
                             .arg(record_)
                             .arg(exitCode)
                             .toUtf8());
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", dir_.path().toUtf8());
    }
    ~FakeDesktopPath() { qputenv("PATH", oldPath_); }

    std::vector<std::string> recorded() const {
        QFile f(record_);
        if (!f.open(QIODevice::ReadOnly)) return {};
        std::vector<std::string> args;
        for (const QByteArray& a : f.readAll().split('\0')) args.push_back(a.toStdString());
        if (!args.empty() && args.back().empty()) args.pop_back();
        return args;
    }

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
    QString record_;
};

const char* const kBody =
    "Hi,\n\nI found this Orvanta Box Five Selvane software works very well.\n"
    "It gives you the box five tips, eachway bet, live odds, live results for each races\n"
    "and best of all it's free to use.\n\nI thought you would be interested to have a look.\n"
    "Go and get it yourself from this link here http://maker.test/\n\n"
    "There is no spyware, no addware, no viruses, 100% clean to install.\n\nCheers!";

TEST(QtMail, HandsTheMessageToXdgEmailThroughTheRealProcess) {
    struct Case {
        const char* what;
        int exitCode;
        bool composed;
        std::vector<std::string> firstCall;
        std::size_t boxes;
    };
    const std::vector<std::string> args = {"--subject", "Orvanta Box Five Selvane", "--body", kBody};
    const Case cases[] = {
        {"xdg-email takes it", 0, true, args, 0},
        {"no xdg-email and no composer", -1, false, {}, 1},
    };
    for (const Case& c : cases) {
        FakeDesktopPath path(c.exitCode);
        QtMail mail;
        FakeMessageBox messages;
        cmdEmail("http://maker.test/", &mail, &messages);
        EXPECT_EQ(path.recorded(), c.firstCall) << c.what;
        ASSERT_EQ(messages.shown.size(), c.boxes) << c.what;
        if (c.boxes) {
            EXPECT_EQ(messages.shown[0].title, "Email Error");
            EXPECT_EQ(messages.shown[0].text, "Cannot send mail.\r\nPlease try again later");
        }
    }
}

TEST(QtMail, ARefusingXdgEmailFallsBackToTheMailtoAddress) {
    FakeDesktopPath path(3);
    QtMail mail;
    MailMessage m;
    m.subject = "Orvanta Box Five Selvane";
    m.body = "Hi,\n\nCheers!";
    const bool composed = mail.compose(m);
    // The desktop's URL opener hands mailto: to xdg-email again, as a single address.
    const std::vector<std::string> expected = {"--subject", "Orvanta Box Five Selvane", "--body", "Hi,\n\nCheers!",
                                               "mailto:?subject=Orvanta%20Box%20Five%20Selvane&body=Hi%2C%0A%0ACheers%21"};
    if (composed) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return path.recorded().size() == expected.size(); }, 5000));
    }
    EXPECT_EQ(path.recorded(), composed ? expected : std::vector<std::string>(expected.begin(), expected.begin() + 4));
}

TEST(ButtonBinding, MouseReleasesReachTheModelWithTheirButtonCode) {
    struct Case {
        Qt::MouseButton button;
        bool enabled;
        std::vector<int> seen;
    };
    const Case cases[] = {
        {Qt::LeftButton, true, {1}},
        {Qt::RightButton, true, {2}},
        {Qt::MiddleButton, true, {4}},
        {Qt::LeftButton, false, {}},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* widget = new QPushButton(&window);
        widget->resize(80, 24);
        Button model("Website");
        std::vector<int> seen;
        int clicks = 0;
        model.onMouseUp = [&](int b) { seen.push_back(b); };
        model.onClick = [&] { ++clicks; };
        bind(model, widget);
        model.setEnabled(c.enabled);
        window.show();
        QTest::mouseClick(widget, c.button, {}, QPoint(10, 10));
        QTest::qWait(20);
        EXPECT_EQ(seen, c.seen) << "button " << c.button;
        EXPECT_EQ(clicks, c.button == Qt::LeftButton && c.enabled ? 1 : 0) << "button " << c.button;
    }
}

QString programFolder() {
    const QString program = qEnvironmentVariable("SELVANE_PROGRAM");
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
}

TEST(SplashView, ShowsThePictureTheDisclaimerAndDeclinesOnClose) {
    const QString folder = programFolder();
    if (folder.isEmpty()) GTEST_SKIP() << "SELVANE_PROGRAM not set";
    FakeExit exit;
    SplashWindow model(&exit);
    {
        SplashView view(model, folder.toStdString());
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        const QPixmap picture = view.findChild<QLabel*>(QStringLiteral("picSplash"))->pixmap();
        EXPECT_EQ(picture.size(), QSize(480, 240));
        EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("Label1"))->text().toStdString(), model.Label1.caption());
        EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("Label2"))->font().family(), QStringLiteral("Tahoma"));
        EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("I Agree"));
        EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("I Disagree"));
        EXPECT_FALSE(view.findChild<QProgressBar*>(QStringLiteral("pgBar"))->isVisible());
        view.close();
    }
    EXPECT_EQ(model.choice(), SplashWindow::Choice::Declined);
    EXPECT_EQ(exit.codes, std::vector<int>{0});
}

// Counts a widget's paints.
class PaintCount : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

TEST(SplashView, TheAdvertCopyRepaintsTheBarAtMostOncePerFrame) {
    SplashWindow model;
    SplashView view(model, {});
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto* bar = view.findChild<QProgressBar*>(QStringLiteral("pgBar"));
    PaintCount paints;
    bar->installEventFilter(&paints);

    // A 32 KB advert, a line end every 64 characters.
    std::string advert;
    while (advert.size() + 64 < kMaxAdvertChars) advert += std::string(63, 'a') + '\n';
    QElapsedTimer clock;
    clock.start();
    model.progressStart(static_cast<std::int16_t>(advert.size()));
    const auto lines = advertLines(advert, [&] { model.progressStep(); });
    const double ms = clock.nsecsElapsed() / 1e6;
    std::printf("[ timing ] %zu characters copied in %.2f ms with the bar bound\n", advert.size(), ms);
    EXPECT_EQ(lines.size(), 511u);
    EXPECT_EQ(paints.count, 0);
    EXPECT_EQ(model.pgBar.visible(), false);
    QTest::qWait(100);
    // The frame after shows the end state only: the bar idle and hidden.
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->value(), static_cast<int>(advert.size()));
}

}  // namespace
}  // namespace selvane::ui
