#include "config/configdialog.h"

#include "config/configmessages.h"
#include "config/sharedstate.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>

ConfigDialog::ConfigDialog(SharedState &state, SerialLine &line, ConfigModule &module, const QSize &clientSize,
                           const QPoint &designed, QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                      | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
    , machinery_(module, line, [&state] { return state.portDeviceName(); })
    , clientSize_(clientSize)
    , designed_(designed)
{
    askFileName = [](QFileDialog &dialog) {
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    setLanguage(state.language);
}

ConfigDialog::~ConfigDialog() = default;

void ConfigDialog::mirrorStatus(QLabel *status, QLabel *sw, QLabel *hotSpot)
{
    status_ = status;
    sw_ = sw;
    hotSpot_ = hotSpot;
    setFixedSize(clientSize_.width(), clientSize_.height() + menuBar()->sizeHint().height());
    connect(&machinery_.protocol().statusLine(), &StatusLine::changed, this, &ConfigDialog::showStatus);
    connect(&machinery_.protocol().statusLine(), &StatusLine::versionChanged, this, &ConfigDialog::showVersion);
    FormCreate();
    showStatus();
}

QPoint ConfigDialog::placement(const QSize &workAreaSize, const QSize &outerSize, const QPoint &designed)
{
    if (workAreaSize.height() >= CentringHeightLimit)
        return designed;
    // Integer division rounds toward zero, also for a work area smaller than the dialog.
    return {(workAreaSize.width() - outerSize.width()) / 2, (workAreaSize.height() - outerSize.height()) / 2};
}

void ConfigDialog::FormCreate()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize(1280, 1024);
    move(placement(workArea, frameGeometry().size(), designed_));
    sw_->clear();
    sw_->hide();
}

void ConfigDialog::setLanguage(Language language)
{
    machinery_.protocol().setLanguage(language);
}

void ConfigDialog::showOnTop()
{
    show();
    raise();
    activateWindow();
}

void ConfigDialog::actOn(QAbstractButton *button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this, [this, handler] { userAction(handler); });
}

void ConfigDialog::actOn(QAction *item, std::function<void()> handler)
{
    connect(item, &QAction::triggered, this, [this, handler] { userAction(handler); });
}

void ConfigDialog::userAction(std::function<void()> handler)
{
    machinery_.protocol().whenIdle(std::move(handler));
}

void ConfigDialog::userEdit(std::function<void(bool late)> edit, bool showConfigAfter)
{
    if (!machinery_.protocol().busy()) {
        edit(false);
        return;
    }
    machinery_.protocol().whenIdle([this, edit, showConfigAfter] {
        edit(true);
        if (showConfigAfter)
            showConfig();
    });
}

void ConfigDialog::onUserPick(QComboBox *list, std::function<void(int)> select)
{
    connect(list, &QComboBox::currentIndexChanged, this, [this, select](int index) {
        if (!showing_)
            userEdit([select, index](bool) { select(index); });
    });
}

void ConfigDialog::onUserToggle(QCheckBox *box, std::function<bool()> value, std::function<void(bool)> setValue)
{
    connect(box, &QCheckBox::toggled, this, [this, value, setValue](bool checked) {
        if (!showing_)
            userEdit([value, setValue, checked](bool late) { setValue(late ? !value() : checked); });
    });
}

void ConfigDialog::showing(const std::function<void()> &setControls)
{
    const bool outer = std::exchange(showing_, true);
    setControls();
    showing_ = outer;
}

void ConfigDialog::Button2Click()
{
    machinery_.write();
}

void ConfigDialog::Button3Click()
{
    machinery_.enterFactorySettings();
}

void ConfigDialog::prepareFileDialog(QFileDialog &dialog) const
{
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")});
    dialog.selectNameFilter(QStringLiteral("Text files (*.txt)"));
}

void ConfigDialog::oeffnenClick()
{
    QFileDialog dialog(this);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = askFileName(dialog);
    if (path.isEmpty())
        return;
    // A retry may have gone out while the file dialog was open.
    userAction([this, path] {
        const configfile::LoadResult result = machinery_.loadFrom(path);
        if (!result.notHexadecimal)
            return;
        // The one failure that is reported in a box of its own.
        auto *box = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(),
                                    notHexadecimalMessage(result.invalidText, machinery_.protocol().language()),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        errorReport_ = box;
        box->open();
    });
}

void ConfigDialog::speichernClick()
{
    if (!machinery_.prepareSave())
        return;
    QFileDialog dialog(this);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets ".txt" (saving only; opening takes the name as typed).
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // Replacing an existing file is asked for; no read-only option.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(saveDialogSizeGrip_);
    const QString path = askFileName(dialog);
    if (path.isEmpty())
        return;
    userAction([this, path] { machinery_.saveTo(path); });
}

void ConfigDialog::schliessenClick()
{
    close();
}

void ConfigDialog::Timer1Timer()
{
    machinery_.protocol().retryTick();
}

void ConfigDialog::Timer3Timer()
{
    machinery_.protocol().clearingTick();
}

void ConfigDialog::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();   // hidden, not destroyed
}

void ConfigDialog::FormClose()
{
    // Nothing of this dialog may touch the port once the main window has it back: the
    // attempt in flight is dropped and its port closed first.
    machinery_.abort();
    emit rueckgabe();
    machinery_.close();
}

void ConfigDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && status_)
        retranslate();
    QMainWindow::changeEvent(event);
}

void ConfigDialog::showStatus()
{
    const StatusLine &line = machinery_.protocol().statusLine();
    status_->setText(line.text());
    switch (line.colour()) {
    case StatusLine::Colour::WindowText:
        status_->setStyleSheet(QString());
        break;
    case StatusLine::Colour::Black:
        status_->setStyleSheet(QStringLiteral("color: black;"));
        break;
    case StatusLine::Colour::Red:
        status_->setStyleSheet(QStringLiteral("color: red;"));
        break;
    }
    status_->setVisible(line.visible());
}

void ConfigDialog::showVersion()
{
    const StatusLine &line = machinery_.protocol().statusLine();
    sw_->setText(line.versionText());
    sw_->setVisible(line.versionVisible());
    hotSpot_->setVisible(line.hotSpotVisible());
}
