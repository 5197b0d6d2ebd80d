#include "connection.h"
#include "ui_connection.h"

#include "config/fieldaccessibility.h"
#include "app/form1.h"
#include "link/monitorport.h"
#include "link/portdiagnosis.h"
#include "link/portnames.h"
#include "link/serialline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>

namespace {

// "\\.\COM3" as the user knows it: "COM3"; a device path as it is.
QString shownName(const QString &deviceName)
{
    const int n = portnames::portNumber(deviceName);
    return n > 0 ? QStringLiteral("COM%1").arg(n) : deviceName;
}

QSettings settings()
{
    return QSettings(QStringLiteral("electronic-fuse"), QStringLiteral("electronic-fuse"));
}

} // namespace

TConnection::TConnection(TForm1 &mainWindow, SerialLine &line, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(new Ui::TConnection)
    , mainWindow_(mainWindow)
    , line_(line)
    , status_(line)
{
    ui->setupUi(this);
    // Below the main window, which sits at the top of the screen, so that it hides none of it.
    move(mainWindow_.frameGeometry().left(), mainWindow_.frameGeometry().bottom() + 1);
    for (int n = 1; n <= portnames::PortCount; ++n)
        ui->assignComName->addItem(QStringLiteral("COM%1").arg(n));
    fillPortChoice();
    // The lists are heard by the captions beside them, not by their values.
    nameByCaptions({{ui->portChoice, ui->choiceCaption}, {ui->assignComName, ui->assignCaption}});

    connect(ui->useButton, &QPushButton::clicked, this, &TConnection::useClick);
    connect(ui->assignButton, &QPushButton::clicked, this, &TConnection::assignClick);
    connect(ui->reconnectButton, &QPushButton::clicked, this, &TConnection::reconnectClick);

    // Kept between runs; off until the user turns it on.
    const bool automatic = settings().value(settingsKey(), false).toBool();
    ui->autoReconnect->setChecked(automatic);
    mainWindow_.monitorPort().setAutoReconnect(automatic);
    connect(ui->autoReconnect, &QCheckBox::toggled, this, [this](bool on) {
        mainWindow_.monitorPort().setAutoReconnect(on);
        QSettings s = settings();
        s.setValue(settingsKey(), on);
    });

    refreshTimer_.setInterval(500);
    connect(&refreshTimer_, &QTimer::timeout, this, &TConnection::refresh);
    // A vanished or reopened port shows at once.
    connect(&line_, &SerialLine::lost, this, [this] {
        if (isVisible())
            refresh();
    });
    connect(&line_, &SerialLine::opened, this, [this] {
        if (isVisible())
            refresh();
    });
    nameForScreenReaders();
}

TConnection::~TConnection()
{
    delete ui;
}

QString TConnection::settingsKey()
{
    return QStringLiteral("connection/reconnectAutomatically");
}

// The value labels are named with their captions in refresh().
void TConnection::nameForScreenReaders()
{
    QString caption = ui->stateCaption->text();
    caption.chop(1);   // the colon
    ui->stateValue->setAccessibleDescription(caption);
    ui->adapterList->setAccessibleName(ui->adaptersGroup->title());
}

bool TConnection::handedOver() const
{
    return !mainWindow_.isEnabled();
}

void TConnection::setValue(QLabel *value, QLabel *caption, const QString &text)
{
    if (value->text() != text)
        value->setText(text);
    QString name = caption->text();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    value->setAccessibleName(name + QStringLiteral(": ") + text);
}

QString TConnection::about(const portdiagnosis::Adapter &a)
{
    QStringList parts;
    if (!a.maker.isEmpty())
        parts << tr("Hersteller %1").arg(a.maker);
    if (!a.product.isEmpty())
        parts << tr("Produkt %1").arg(a.product);
    if (!a.serialNumber.isEmpty())
        parts << tr("Seriennummer %1").arg(a.serialNumber);
    if (a.usb)
        parts << tr("USB %1:%2").arg(a.vendorId, a.productId);
    return parts.join(QStringLiteral(", "));
}

void TConnection::refresh()
{
    if (refreshes_++ % 4 == 0)   // the adapters every two seconds
        refreshAdapters();
    const bool handed = handedOver();
    for (QWidget *w : {static_cast<QWidget *>(ui->useButton), static_cast<QWidget *>(ui->reconnectButton)})
        w->setEnabled(!handed);

    const MonitorPort &port = mainWindow_.monitorPort();
    const QString deviceName = port.portOpened ? port.deviceName() : QString();
    setValue(ui->portValue, ui->portCaption, deviceName.isEmpty() ? tr("noch keiner") : shownName(deviceName));

    QString resolution, adapter;
    if (!deviceName.isEmpty()) {
        const portdiagnosis::Resolution r = portdiagnosis::resolve(deviceName, system_);
        if (!r.linkPath.isEmpty())
            resolution = tr("Verweis %1 → %2").arg(r.linkPath, r.linkTarget);
        else
            resolution = r.path;
        resolution += r.device.isEmpty() ? tr("; kein Gerät") : tr("; Gerät %1").arg(r.device);
        if (!r.device.isEmpty()) {
            // The adapter as listed knows its own node's name; a link to it does not.
            portdiagnosis::Adapter a = portdiagnosis::describe(r.device, system_);
            for (const portdiagnosis::Adapter &listed : adapters_.adapters) {
                if (QFileInfo(listed.device).canonicalFilePath() == r.device)
                    a = listed;
            }
            adapter = about(a);
            if (adapter.isEmpty())
                adapter = tr("das System weiß nichts über das Gerät");
        }
    }
    setValue(ui->resolutionValue, ui->resolutionCaption, resolution);
    setValue(ui->adapterValue, ui->adapterCaption, adapter);
    // The state line is read as it stands, its state word first; its caption describes it.
    const QString state = status_.stateLine(handed);
    if (ui->stateValue->text() != state)
        ui->stateValue->setText(state);

    const ConnectionStatus::Counters c = status_.counters();
    const QLocale locale = QLocale(QLocale::German);
    setValue(ui->bytesValue, ui->bytesCaption, locale.toString(c.bytes));
    setValue(ui->acceptedValue, ui->acceptedCaption, locale.toString(c.accepted));
    setValue(ui->rejectedValue, ui->rejectedCaption, locale.toString(c.rejected));
    setValue(ui->outsideValue, ui->outsideCaption, locale.toString(c.outside));
    setValue(ui->lastTelegramValue, ui->lastTelegramCaption,
             c.lastTelegram.isValid() ? c.lastTelegram.toString(QStringLiteral("HH:mm:ss.zzz")) : tr("keines"));

}

void TConnection::refreshAdapters()
{
    adapters_ = portdiagnosis::adapters(system_);
    const portdiagnosis::AdapterList &list = adapters_;
    const QString selected = ui->adapterList->currentItem() ? ui->adapterList->currentItem()->text(0) : QString();
    ui->adapterList->clear();
    for (const portdiagnosis::Adapter &a : list.adapters) {
        auto *item = new QTreeWidgetItem(ui->adapterList, {a.device, a.stableName, a.comName, about(a)});
        if (a.device == selected)
            ui->adapterList->setCurrentItem(item);
    }
    for (int column = 0; column < ui->adapterList->columnCount(); ++column)
        ui->adapterList->resizeColumnToContents(column);
    QString note;
    if (!list.byIdFolderExists)
        note = tr("%1 fehlt (kein udev): die Adapter haben keine stabilen Namen, „Zuordnen...“ verweist auf den Gerätepfad.")
                   .arg(system_.byIdFolder);
    if (list.adapters.isEmpty())
        note += (note.isEmpty() ? QString() : QStringLiteral(" ")) + tr("Kein serieller Adapter gefunden.");
    ui->byIdNote->setText(note);
    ui->byIdNote->setVisible(!note.isEmpty());
    fillPortChoice();
}

void TConnection::fillPortChoice()
{
    // COM names, then the adapters by their stable names; what is typed stays.
    const QString typed = ui->portChoice->currentText();
    QStringList items;
    for (int n = 1; n <= portnames::PortCount; ++n)
        items << QStringLiteral("COM%1").arg(n);
    for (int i = 0; i < ui->adapterList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = ui->adapterList->topLevelItem(i);
        items << (item->text(1).isEmpty() ? item->text(0) : item->text(1));
    }
    QStringList now;
    for (int i = 0; i < ui->portChoice->count(); ++i)
        now << ui->portChoice->itemText(i);
    if (now == items)
        return;
    ui->portChoice->clear();
    ui->portChoice->addItems(items);
    ui->portChoice->setEditText(typed);
}

void TConnection::useClick()
{
    if (handedOver())
        return;
    const QString text = ui->portChoice->currentText().trimmed();
    const QString name = portnames::deviceNameFromText(text);
    if (name.isEmpty()) {
        ui->useResult->setText(tr("„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.").arg(text));
        return;
    }
    MonitorPort &port = mainWindow_.monitorPort();
    if (port.portOpened && port.deviceName() == name)
        port.requestReopen();
    else
        mainWindow_.selectPort(name);
    ui->useResult->setText(tr("%1 wird verwendet.").arg(shownName(name)));
}

void TConnection::reconnectClick()
{
    if (handedOver())
        return;
    mainWindow_.monitorPort().requestReopen();
    ui->useResult->setText(tr("Der Port wird neu geöffnet."));
}

void TConnection::assignClick()
{
    const QTreeWidgetItem *item = ui->adapterList->currentItem();
    if (!item) {
        ui->assignResult->setText(tr("Erst einen Adapter in der Liste wählen."));
        return;
    }
    // The stable name keeps the COM name with the adapter in any USB socket.
    const QString target = item->text(1).isEmpty() ? item->text(0) : item->text(1);
    const QString com = ui->assignComName->currentText();
    const QString folder = system_.portsFolder;
    const QString link = folder + com;
    QDir().mkpath(folder);
    const QFileInfo existing(link);
    if (existing.exists() && !existing.isSymLink()) {
        ui->assignResult->setText(tr("%1 ist kein Verweis; es bleibt, wie es ist.").arg(link));
        return;
    }
    if (existing.isSymLink())
        QFile::remove(link);
    if (!QFile::link(target, link)) {
        ui->assignResult->setText(tr("%1 konnte nicht angelegt werden.").arg(link));
        return;
    }
    ui->assignResult->setText(tr("%1 verweist jetzt auf %2.").arg(com, target));
    refreshAdapters();
}

void TConnection::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        nameForScreenReaders();
        refreshes_ = 0;
        refresh();
    }
    QWidget::changeEvent(event);
}

void TConnection::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    const MonitorPort &port = mainWindow_.monitorPort();
    if (ui->portChoice->currentText().isEmpty() && port.portOpened)
        ui->portChoice->setEditText(shownName(port.deviceName()));
    refreshes_ = 0;
    refresh();
    refreshTimer_.start();
}

void TConnection::hideEvent(QHideEvent *event)
{
    refreshTimer_.stop();
    QWidget::hideEvent(event);
}
