#include "config/retryprotocol.h"

RetryProtocol::RetryProtocol(QObject *parent)
    : QObject(parent)
{
    retryTimer_.setInterval(RetryIntervalMs);
    clearingTimer_.setInterval(ClearingIntervalMs);
    retryTimer_.setTimerType(Qt::PreciseTimer);
    clearingTimer_.setTimerType(Qt::PreciseTimer);
    connect(&retryTimer_, &QTimer::timeout, this, &RetryProtocol::retryTick);
    connect(&clearingTimer_, &QTimer::timeout, this, &RetryProtocol::clearingTick);
}

void RetryProtocol::setAttempt(Attempt attempt)
{
    attempt_ = std::move(attempt);
}

void RetryProtocol::setLanguage(Language language)
{
    language_ = language;
}

void RetryProtocol::showMessage(ConfigMessage message, StatusColour colour)
{
    statusLine_.show(configMessage(message, language_), colour);
}

void RetryProtocol::startClearing()
{
    clearingTimer_.start(ClearingIntervalMs);
}

bool RetryProtocol::busy() const
{
    return state_ != State::Idle || (!waiting_.empty() && running_ == 0);
}

void RetryProtocol::whenIdle(Action action)
{
    if (state_ == State::Idle && (waiting_.empty() || running_ > 0)) {
        run(action);
        return;
    }
    if (running_ > 0)   // the rest of the action being carried out comes before the others
        waiting_.insert(waiting_.begin() + std::ptrdiff_t(nestedWaiting_++), std::move(action));
    else
        waiting_.push_back(std::move(action));
}

void RetryProtocol::run(const Action &action)
{
    const std::size_t outerNested = std::exchange(nestedWaiting_, 0);
    ++running_;
    action();
    --running_;
    nestedWaiting_ = outerNested;
    // An attempt that ended inside the action (a file dialog runs the event loop) left
    // the waiting actions for now.
    if (running_ == 0 && state_ == State::Idle && (!waiting_.empty() || tickWaiting_))
        scheduleCatchUp();
}

void RetryProtocol::startRead()
{
    whenIdle([this] {
        readMode_ = true;
        resetClearing();
        attempt(false);
    });
}

void RetryProtocol::startWrite()
{
    whenIdle([this] {
        readMode_ = false;
        resetClearing();
        attempt(false);
    });
}

void RetryProtocol::closeDialog()
{
    state_ = State::Idle;
    waiting_.clear();
    nestedWaiting_ = 0;
    tickWaiting_ = false;
    retryTimer_.stop();
    retryTimer_.setInterval(RetryIntervalMs);
    retryCount_ = 0;
    clearingTimer_.stop();
    statusLine_.hide();
    statusLine_.resetVersion();
}

void RetryProtocol::retryTick()
{
    // Input comes before timers: the tick waits behind the attempt and the actions.
    if (busy()) {
        tickWaiting_ = true;
        return;
    }
    attempt(true);
}

void RetryProtocol::clearingTick()
{
    statusLine_.hide();
    clearingTimer_.stop();
    statusLine_.resetVersion();
}

void RetryProtocol::attempt(bool fromTick)
{
    state_ = fromTick ? State::RetryAttempt : State::Attempting;
    statusLine_.set(QString(), StatusColour::WindowText, false);
    if (attempt_)
        attempt_(readMode_);
    else
        finishAttempt(Outcome::Failure);
}

void RetryProtocol::finishAttempt(Outcome outcome)
{
    if (state_ == State::Idle)
        return;
    const bool byTick = state_ == State::RetryAttempt;
    state_ = State::Idle;
    switch (outcome) {
    case Outcome::Success:
        retryTimer_.stop();
        retryTimer_.setInterval(RetryIntervalMs);
        retryCount_ = 0;
        showMessage(ConfigMessage::TransmissionSuccessful, StatusColour::Black);
        clearingTimer_.start(ClearingIntervalMs);
        emit transactionFinished(true);
        break;
    case Outcome::Failure:
        if (!retryTimer_.isActive())
            retryTimer_.start();
        break;
    case Outcome::Refused:
        showMessage(ConfigMessage::FillAllFields, StatusColour::Red);
        break;
    }
    emit attemptFinished(outcome);

    if (byTick) {
        // A success on this tick has already ended the series and reset the count; the
        // count still goes up to 1, so the next series makes one retry fewer.
        ++retryCount_;
        if (retryCount_ >= MaxRetries) {
            retryCount_ = 0;
            retryTimer_.stop();
            clearingTimer_.stop();
            showMessage(ConfigMessage::CommunicationFailed, StatusColour::Red);
            emit transactionFinished(false);
        }
    }

    // The outcome is entered; what waited follows from the event loop, not from inside
    // the line's signal that brought the reply (an action may open a file dialog).
    if (!waiting_.empty() || tickWaiting_)
        scheduleCatchUp();
}

void RetryProtocol::scheduleCatchUp()
{
    if (catchUpScheduled_)
        return;
    catchUpScheduled_ = true;
    QMetaObject::invokeMethod(this, &RetryProtocol::catchUp, Qt::QueuedConnection);
}

void RetryProtocol::catchUp()
{
    catchUpScheduled_ = false;
    if (running_ > 0)   // resumed when the action being carried out has ended
        return;
    while (state_ == State::Idle && !waiting_.empty()) {
        const Action action = std::move(waiting_.front());
        waiting_.pop_front();
        run(action);
    }
    if (state_ != State::Idle || !tickWaiting_)
        return;
    tickWaiting_ = false;
    // A series that ended meanwhile takes no further tick.
    if (retryTimer_.isActive())
        attempt(true);
}

void RetryProtocol::resetClearing()
{
    clearingTimer_.stop();
    clearingTimer_.setInterval(ClearingIntervalMs);
}

void RetryProtocol::reportFileLoaded(int errorCode)
{
    if (errorCode != 0)
        statusLine_.show(fileErrorMessage(errorCode, language_), StatusColour::Red);
    else
        showMessage(ConfigMessage::FileReadCorrectly, StatusColour::Black);
    startClearing();
}

void RetryProtocol::reportSaveFailed()
{
    showMessage(ConfigMessage::FileNotSaved, StatusColour::Red);
    startClearing();
}
