#include "fuseapplication.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Answered before Qt looks for a display, so that it works from any terminal.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("electronic-fuse " FUSE_VERSION "\n", stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    FuseApplication fuse;
    fuse.show();
    return app.exec();
}
