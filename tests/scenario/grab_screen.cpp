// Writes a picture of the whole X screen to a PNG file, for the scenario's record of each step.
//
//   halvora-grab-screen FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: halvora-grab-screen FILE.png\n", stderr);
        return 64;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "halvora-grab-screen: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
