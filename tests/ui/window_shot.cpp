// The History and Review windows as scripts/screenshot.sh shows them.
//   selvane_window_shot history RECORD FROM TO MEETING RACE OUT.png   a race of the record chosen
//   selvane_window_shot review FROM TO OUT.png                        a review against an in-process stand-in
// Dates are YYYY-MM-DD.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>

#include "standin/Server.h"
#include "ui/HistoryWindow.h"
#include "ui/ReviewWindow.h"

namespace {

QDate date(const char* iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

int shoot(QWidget& window, const char* out) {
    window.show();
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    if (!window.grab().save(QString::fromLocal8Bit(out))) return 1;
    std::printf("%s\n", out);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    using namespace selvane;
    if (argc == 8 && std::strcmp(argv[1], "history") == 0) {
        ui::HistoryWindow window(ui::RecordSwitch{argv[2], true, {}});
        window.showRange(date(argv[3]), date(argv[4]));
        auto* races = window.findChild<QTableWidget*>(QStringLiteral("races"));
        for (int r = 0; r < races->rowCount(); ++r)
            if (races->item(r, 1)->text() == QString::fromLocal8Bit(argv[5]) && races->item(r, 2)->text() == QString::fromLatin1(argv[6]))
                races->setCurrentCell(r, 0);
        return shoot(window, argv[7]);
    }
    if (argc == 5 && std::strcmp(argv[1], "review") == 0) {
        standin::Options options;
        options.now = "2026-12-06T14:00";
        standin::Server web{options};
        web.start();
        QTemporaryDir dir;
        ReviewRequest base;
        base.services = {web.formGuideUrl(), web.resultsSiteRoot(), web.makerSiteUrl()};
        base.recordFile = dir.filePath(QStringLiteral("record.sqlite")).toStdString();
        ui::ReviewWindow window(base);
        window.resize(1200, 860);
        window.start(date(argv[2]), date(argv[3]));
        QElapsedTimer clock;
        clock.start();
        while (window.running() && clock.elapsed() < 300000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return shoot(window, argv[4]);
    }
    std::fprintf(stderr, "usage: %s history RECORD FROM TO MEETING RACE OUT.png | review FROM TO OUT.png\n", argv[0]);
    return 2;
}
