// Saves what an X display shows as a PNG: the whole screen, or one window given by its id
// (as xdotool prints it). Used to take the user manuals' screenshots under Xvfb.
//   screengrab OUT.png [WINDOW_ID]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fputs("usage: screengrab OUT.png [WINDOW_ID]\n", stderr);
        return 2;
    }
    bool ok = true;
    const WId window = args.size() == 3 ? WId(args.at(2).toULongLong(&ok, 0)) : 0;
    if (!ok) {
        std::fprintf(stderr, "screengrab: '%s' is no window id\n", qPrintable(args.at(2)));
        return 2;
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(args.at(1), "PNG")) {
        std::fprintf(stderr, "screengrab: could not save %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
