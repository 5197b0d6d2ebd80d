#include "fuseapplication.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FuseApplication fuse;
    fuse.show();
    return app.exec();
}
