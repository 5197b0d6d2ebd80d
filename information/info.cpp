#include "info.h"
#include "ui_info.h"

#include "grafik/svgpicture.h"

#include <QDesktopServices>
#include <QMouseEvent>

static void initResources()
{
    Q_INIT_RESOURCE(information);
}

const QString TInfo::MailAddress = QStringLiteral("info@tarmeno.de");
const QString TInfo::WebAddress = QStringLiteral("https://www.tarmeno.de");

TInfo::TInfo(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , openAddress([](const QUrl &url) { QDesktopServices::openUrl(url); })
    , ui(new Ui::TInfo)
{
    initResources();
    ui->setupUi(this);
    setFixedSize(729, 219);
    move(0, 21);
    const qreal ratio = devicePixelRatioF();
    ui->Image1->setPixmap(svgPicture(QStringLiteral(":/pictures/info_banner.svg"), ui->Image1->width(),
                                     ui->Image1->height(), ratio));
    ui->Image2->setPixmap(svgPicture(QStringLiteral(":/pictures/tarmeno_logo.svg"), ui->Image2->width(),
                                     ui->Image2->height(), ratio));
    ui->StaticText7->installEventFilter(this);
    ui->StaticText8->installEventFilter(this);
    connect(ui->Button1, &QPushButton::clicked, this, &TInfo::Button1Click);
    FormCreate();
}

TInfo::~TInfo()
{
    delete ui;
}

void TInfo::FormCreate()
{
    ui->Image1->show();
    ui->Image2->show();
    ui->pellix_logo1->hide();
    ui->pellix_logo2->hide();
    ui->StaticText2->setText(QStringLiteral("Tarmeno Elektronik GmbH"));
    ui->StaticText3->setText(QStringLiteral("Am Hafen 14"));
    ui->StaticText4->setText(QStringLiteral("D-28217 Bremen, Germany"));
    ui->StaticText5->setText(QStringLiteral("Tel.: +49 (0)421 69 47 30-0"));
    ui->StaticText6->setText(QStringLiteral("Fax: +49 (0)421 69 47 30-99"));
    ui->StaticText7->setText(MailAddress);
    ui->StaticText8->setText(WebAddress);
}

void TInfo::Button1Click()
{
    close();
}

void TInfo::StaticText7Click()
{
    openAddress(QUrl(QStringLiteral("mailto:") + MailAddress));
}

void TInfo::StaticText8Click()
{
    openAddress(QUrl(WebAddress));
}

bool TInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == ui->StaticText7)
            StaticText7Click();
        else if (watched == ui->StaticText8)
            StaticText8Click();
    }
    return QDialog::eventFilter(watched, event);
}

void TInfo::setVersionText(const QString &text)
{
    ui->StaticText1->setText(text);
}
