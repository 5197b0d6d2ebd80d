#include "form2.h"
#include "ui_form2.h"

#include "svgpicture.h"

#include <QScreen>

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , ui(new Ui::TForm2)
{
    ui->setupUi(this);
    setFixedSize(900, 535);
    // 897 wide; the bottom of the drawing lies below the window's edge and is cut off.
    ui->Image2->setPixmap(svgPicture(QString::fromLatin1(Picture), ui->Image2->width(), ui->Image2->height(),
                                     devicePixelRatioF()));
    FormCreate();
}

TForm2::~TForm2()
{
    delete ui;
}

void TForm2::FormCreate()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    // Integer division rounds toward zero, also for a work area smaller than the window.
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}
