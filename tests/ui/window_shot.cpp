// The History window as scripts/screenshot.sh --history shows it: over a record, a race chosen.
//   selvane_window_shot RECORD FROM TO MEETING RACE OUT.png   (dates YYYY-MM-DD)
#include <QApplication>
#include <QTableWidget>
#include <QThread>

#include <cstdio>

#include "ui/HistoryWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 7) return std::fprintf(stderr, "usage: %s RECORD FROM TO MEETING RACE OUT.png\n", argv[0]), 2;
    selvane::ui::HistoryWindow window(selvane::ui::RecordSwitch{argv[1], true, {}});
    window.showRange(QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate),
                     QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate));
    auto* races = window.findChild<QTableWidget*>(QStringLiteral("races"));
    for (int r = 0; r < races->rowCount(); ++r)
        if (races->item(r, 1)->text() == QString::fromLocal8Bit(argv[4]) && races->item(r, 2)->text() == QString::fromLatin1(argv[5]))
            races->setCurrentCell(r, 0);
    window.show();
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    if (!window.grab().save(QString::fromLocal8Bit(argv[6]))) return 1;
    std::printf("%s\n", argv[6]);
}
