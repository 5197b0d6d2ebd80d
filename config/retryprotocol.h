#pragma once

#include "config/configmessages.h"
#include "config/statusline.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

// The attempt and retry protocol that both configuration dialogs share, without widgets.
//
// A dialog hands in its attempt (`sende_ff`: read or write its configuration once) and
// wires its buttons and close handler to the slots below; it mirrors statusLine().
//
// An attempt runs in the event loop: it starts, and its outcome comes later through
// finishAttempt(). Attempts never overlap. What the user does while one is in flight
// waits (whenIdle()) and is carried out after its outcome has been entered, each action
// whole and in the order made, as if the exchange had held the window; a retry tick that
// falls due meanwhile waits behind them.
//
// A failed attempt is repeated every 500 ms (Timer1); after 12 failed retries the status
// line shows the failure text in red. A success shows the success text in black and
// clears it, together with the revealed software version, 5 s later (Timer3).
class RetryProtocol : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        Success,   // read reply accepted or write acknowledged
        Failure,   // no reply, garbled reply, wrong variant or check byte, no acknowledgement
        Refused,   // write not sent: a field is empty (the attempt shows its "!" markers itself)
    };

    using StatusColour = StatusLine::Colour;

    static constexpr int RetryIntervalMs = 500;
    static constexpr int MaxRetries = 12;
    static constexpr int ClearingIntervalMs = 5000;

    // Starts one attempt in the given mode. Called after the status line has been emptied
    // and hidden; the dialog hides its markers, does the payload work (for a read: enters
    // an accepted reply into its controls and sets the status line's version text), and
    // reports the outcome through finishAttempt(), at once or from the event loop.
    using Attempt = std::function<void(bool readMode)>;

    explicit RetryProtocol(QObject *parent = nullptr);

    void setAttempt(Attempt attempt);
    void setLanguage(Language language);
    Language language() const { return language_; }

    bool readMode() const { return readMode_; }
    int retryCount() const { return retryCount_; }
    bool retryActive() const { return retryTimer_.isActive(); }
    int retryInterval() const { return retryTimer_.interval(); }
    bool attemptInFlight() const { return state_ != State::Idle; }
    // An attempt is in flight or user actions wait for one: a new action would wait too.
    bool busy() const;
    bool clearingActive() const { return clearingTimer_.isActive(); }
    int clearingInterval() const { return clearingTimer_.interval(); }

    StatusLine &statusLine() { return statusLine_; }
    const StatusLine &statusLine() const { return statusLine_; }

    // A message on the status line in the present language (the dialog's own actions:
    // file load and save, factory settings, validation before saving).
    void showMessage(ConfigMessage message, StatusColour colour);
    void startClearing();     // Timer3: clears the line in 5 s

    // A configuration file was loaded: "Datei korrekt eingelesen" in black for error code
    // 0, else "Datei fehlerhaft C<code>" in red; cleared after 5 s either way.
    void reportFileLoaded(int errorCode);
    // A save failed: "Datei konnte nicht gespeichert werden" in red, cleared after 5 s.
    void reportSaveFailed();

    // A user action: carried out now when nothing is in flight, else after the attempt in
    // flight and the actions that wait before it. An action started from within a waiting
    // action that is being carried out runs at once, or first after the attempt it met.
    using Action = std::function<void()>;
    void whenIdle(Action action);

public slots:
    // Read button: sets read mode, stops a pending clearing, makes one attempt. The dialog
    // empties its controls (and the version text) first. A retry series already running
    // goes on with the same counter.
    void startRead();
    // Write button: clears read mode, stops a pending clearing, makes one attempt.
    void startWrite();
    // The outcome of the attempt in flight.
    void finishAttempt(RetryProtocol::Outcome outcome);
    // The dialog is closed: the attempt in flight (which its owner has aborted) and any
    // waiting one are forgotten, no further retries and no pending clearing; the status line is
    // hidden and emptied, the version text emptied and hidden, and the hot spot shown again
    // (the clearing that would have done so will no longer come).
    void closeDialog();

    // Timer handlers; public so that tests can tick without waiting.
    void retryTick();      // Timer1Timer
    void clearingTick();   // Timer3Timer

signals:
    // An attempt succeeded (true), or a retry series ended with the failure text (false).
    void transactionFinished(bool success);
    // Every attempt's outcome, retries included.
    void attemptFinished(RetryProtocol::Outcome outcome);

private:
    void attempt(bool fromTick);
    void run(const Action &action);
    void scheduleCatchUp();
    void catchUp();
    void resetClearing();

    enum class State {
        Idle,           // no attempt in flight
        Attempting,     // an attempt from a button (or a waiting action) is in flight
        RetryAttempt,   // an attempt made by a retry tick is in flight: it counts
    };

    Attempt attempt_;
    Language language_ = Language::German;
    bool readMode_ = false;
    quint16 retryCount_ = 0;
    State state_ = State::Idle;
    std::deque<Action> waiting_;   // user actions made while an attempt was in flight
    int running_ = 0;              // depth of waiting actions being carried out
    std::size_t nestedWaiting_ = 0;   // actions the running one left waiting, at the front
    bool catchUpScheduled_ = false;
    bool tickWaiting_ = false;   // a retry tick fell due while an attempt was in flight
    QTimer retryTimer_;
    QTimer clearingTimer_;
    StatusLine statusLine_;
};
