// Writes the program's icon as a PNG of the given size, for the desktop entry of the
// package: make_icon SIZE FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "Artwork.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon SIZE FILE.png\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size <= 0 || !vantrel::qt::appIconPixmap(size).save(QString::fromLocal8Bit(argv[2]), "PNG"))
        return 1;
    return 0;
}
