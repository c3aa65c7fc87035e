// Saves the X screen it runs on as a PNG once the picture has settled: the shot of the real
// program that scripts/screenshot.sh takes. Usage: selvane_screen_grab OUT.png [SECONDS]
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace {

// The part of the screen that is not the empty black root window.
QRect paintedArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0) area |= QRect(x, y, 1, 1);
    return area;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [SECONDS]\n", argv[0]);
        return 2;
    }
    const int limitMs = (argc > 2 ? std::atoi(argv[2]) : 20) * 1000;
    QScreen* screen = QGuiApplication::primaryScreen();
    QElapsedTimer clock;
    clock.start();
    QImage last;
    int stableFor = 0;
    // Wait for something painted that then stays the same for a second.
    while (clock.elapsed() < limitMs) {
        QImage now = screen->grabWindow(0).toImage();
        const bool painted = !paintedArea(now).isEmpty();
        stableFor = (painted && now == last) ? stableFor + 1 : 0;
        last = now;
        if (stableFor >= 4) break;
        QThread::msleep(250);
    }
    const QRect area = paintedArea(last);
    if (area.isEmpty()) {
        std::fprintf(stderr, "selvane_screen_grab: nothing on the screen\n");
        return 1;
    }
    if (!last.copy(area).save(QString::fromLocal8Bit(argv[1]))) return 1;
    std::printf("%s: %dx%d\n", argv[1], area.width(), area.height());
    return 0;
}
