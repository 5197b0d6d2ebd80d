#pragma once

#include "config/configmachinery.h"
#include "config/language.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <functional>

struct SharedState;
class ConfigModule;
class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class SerialLine;

// What both configuration dialogs do alike: they stay on top with a fixed size, place
// themselves on the work area when created, show the status line and the software
// version, ask for file names, report a load stopped by text that is no hexadecimal
// number in a box of its own, forward their timers and hand the port back when closed.
// Each dialog adds its controls and wires them to its family's ConfigModule.
//
// What the user does while an attempt is in flight is carried out after it, whole and in
// order (clicks, menu items, edits of lists and boxes); closing is immediate.
class ConfigDialog : public QMainWindow
{
    Q_OBJECT
public:
    ~ConfigDialog() override;

    // Top left corner of a window of outerSize on a work area of workAreaSize: the
    // designed place on work areas at least 910 high, else centred.
    static constexpr int CentringHeightLimit = 910;
    static QPoint placement(const QSize &workAreaSize, const QSize &outerSize, const QPoint &designed);

    // Messages from now on in this language (the main window's flags).
    void setLanguage(Language language);

    void Button2Click();           // write
    void Button3Click();   // factory settings
    void oeffnenClick();
    void speichernClick();
    void schliessenClick();
    void Timer1Timer();
    void Timer3Timer();

    ConfigMachinery &machinery() { return machinery_; }

    // Shows a prepared file dialog and returns the chosen path, empty when cancelled.
    // Tests replace it to answer without a user.
    std::function<QString(QFileDialog &)> askFileName;

    // The error report of a load that met text which is no hexadecimal number (null
    // when none is open).
    QMessageBox *errorReport() const { return errorReport_; }

signals:
    // Closed by its close button or menu: the main window takes its port back. Emitted
    // after the attempt in flight has been dropped and before the controls are reset.
    void rueckgabe();

protected:
    // The family's part (a member of the dialog, used once the dialog is built), the line
    // its transactions go over (the application's), the dialog's client size without its
    // menu bar and its designed place on the work area.
    ConfigDialog(SharedState &state, SerialLine &line, ConfigModule &module, const QSize &clientSize,
                 const QPoint &designed, QWidget *parent);

    // After setupUi: the status line, the version label and its hot spot, which mirror
    // the protocol; the dialog is then sized and placed.
    void mirrorStatus(QLabel *status, QLabel *sw, QLabel *hotSpot);
    // Shown by the main window's configuration button: on top, the port taken over.
    void showOnTop();
    // A click or menu item whose handler waits while an attempt is in flight.
    void actOn(QAbstractButton *button, std::function<void()> handler);
    void actOn(QAction *item, std::function<void()> handler);
    void userAction(std::function<void()> handler);
    // The user changed a control: the edit goes into the configuration now, or, while an
    // attempt is in flight, after it (late), and the controls then show the configuration
    // again (unless the edit shows itself).
    void userEdit(std::function<void(bool late)> edit, bool showConfigAfter = true);
    // The user's pick in a list goes into the configuration as select(index).
    void onUserPick(QComboBox *list, std::function<void(int)> select);
    // The user's click on a box goes into the configuration as setValue(checked); clicked
    // while a reply is awaited, it toggles value() as the reply left it.
    void onUserToggle(QCheckBox *box, std::function<bool()> value, std::function<void(bool)> setValue);
    // The controls set from the family's configuration, inside showing().
    virtual void showConfig() = 0;
    // Sets controls from the configuration: what they signal meanwhile is no user edit.
    void showing(const std::function<void()> &setControls);
    bool isShowing() const { return showing_; }
    // The save dialog can be resized by its size grip (two-port dialog only).
    void setSaveDialogSizeGrip(bool enabled) { saveDialogSizeGrip_ = enabled; }
    // The designer's texts in the present language.
    virtual void retranslate() = 0;

    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void showStatus();
    void showVersion();
    void prepareFileDialog(QFileDialog &dialog) const;

    ConfigMachinery machinery_;
    QSize clientSize_;
    QPoint designed_;
    QLabel *status_ = nullptr;
    QLabel *sw_ = nullptr;
    QLabel *hotSpot_ = nullptr;
    QPointer<QMessageBox> errorReport_;
    bool saveDialogSizeGrip_ = false;
    bool showing_ = false;
};
