#include "app/fuseapplication.h"
#include "app/form1.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QtTest>

// The running tool names itself by the id its menu entry, icon and metadata are installed
// under (docks and Wayland compositors match windows to menu entries by it), and its main
// window shows the same picture as the installed icon.
class tst_AppIdentity : public QObject
{
    Q_OBJECT

private slots:
    void desktopFileNameMatchesInstalledFiles();
    void mainWindowIconIsTheInstalledIcon();
};

static const QString Id = QStringLiteral("de.tarmeno.ElectronicFuse");

static QString resourcesDir()
{
    return QStringLiteral(FUSE_SOURCE_DIR "/resources/");
}

void tst_AppIdentity::desktopFileNameMatchesInstalledFiles()
{
    FuseApplication fuse;
    QCOMPARE(QGuiApplication::desktopFileName(), Id);
    for (const char *suffix : {".desktop", ".svg", ".metainfo.xml"})
        QVERIFY2(QFile::exists(resourcesDir() + Id + QLatin1String(suffix)), suffix);
}

void tst_AppIdentity::mainWindowIconIsTheInstalledIcon()
{
    FuseApplication fuse;
    const QIcon shown = fuse.Form1->windowIcon();
    QVERIFY(!shown.isNull());
    const QIcon installed(resourcesDir() + Id + QStringLiteral(".svg"));
    for (int size : {16, 48}) {
        const QImage a = shown.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage b = installed.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(a.size(), QSize(size, size));
        QCOMPARE(a, b);
    }
}

QTEST_MAIN(tst_AppIdentity)
#include "tst_appidentity.moc"
