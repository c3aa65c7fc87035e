// The shot scripts/screenshot.sh takes: the X screen as a PNG once settled, cut to what is painted.
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return std::fprintf(stderr, "usage: %s OUT.png [SECONDS]\n", argv[0]), 2;
    QElapsedTimer clock;
    clock.start();
    QImage last;
    QRect area;
    // Wait for something painted (not the black root window) that stays the same for a second.
    for (int stableFor = 0; stableFor < 4 && clock.elapsed() < (argc > 2 ? std::atoi(argv[2]) : 20) * 1000; QThread::msleep(250)) {
        const QImage now = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        area = QRect();
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x)
                if ((now.pixel(x, y) & 0xFFFFFF) != 0) area |= QRect(x, y, 1, 1);
        stableFor = !area.isEmpty() && now == last ? stableFor + 1 : 0;
        last = now;
    }
    if (area.isEmpty()) return std::fprintf(stderr, "selvane_screen_grab: nothing on the screen\n"), 1;
    if (!last.copy(area).save(QString::fromLocal8Bit(argv[1]))) return 1;
    std::printf("%s: %dx%d\n", argv[1], area.width(), area.height());
}
