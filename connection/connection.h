#pragma once

#include "link/connectionstatus.h"

#include <QTimer>
#include <QWidget>

class MonitorPort;
class SerialLine;
class TForm1;

namespace Ui { class TConnection; }

// The connection window: which port the main window has and how its name resolved, why it
// does not work when it does not, what has arrived since it was opened, the serial adapters
// present, and the actions to use another port, to link an adapter under a COM name, and to
// reconnect, now or by itself. While a configuration dialog has the port it only reports.
class TConnection : public QWidget
{
    Q_OBJECT

public:
    // line is the main window's port.
    TConnection(TForm1 &mainWindow, SerialLine &line, QWidget *parent = nullptr);
    ~TConnection() override;

    // "Verwenden": the port typed or picked in the drop-down list becomes the live one.
    void useClick();
    // "Zuordnen...": links the adapter chosen in the list under the chosen COM name.
    void assignClick();
    // "Neu verbinden".
    void reconnectClick();
    // Reads everything afresh; runs twice a second while the window is shown.
    void refresh();

    // Where the adapters are looked for (tests give folders of their own).
    void setSystem(const portdiagnosis::System &system) { system_ = system; }

    // Where the setting "reconnect automatically" is kept between runs.
    static QString settingsKey();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void nameForScreenReaders();
    bool handedOver() const;
    void refreshAdapters();
    // What an adapter says about itself, in words; empty when the system knows nothing.
    static QString about(const portdiagnosis::Adapter &adapter);
    void fillPortChoice();
    void setValue(class QLabel *value, class QLabel *caption, const QString &text);

    Ui::TConnection *ui;
    TForm1 &mainWindow_;
    SerialLine &line_;
    ConnectionStatus status_;
    portdiagnosis::System system_;
    portdiagnosis::AdapterList adapters_;   // as last listed
    QTimer refreshTimer_;
    int refreshes_ = 0;
};
