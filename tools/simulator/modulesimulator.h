#pragma once

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <array>

// A fuse module as seen from the serial line, without any line: it builds the status
// telegrams, takes the request bytes the tool writes, keeps the configuration written to
// it and answers read requests and write telegrams. The pty plumbing (SimulatorHost) only
// moves bytes and keeps the time; everything a test may want to check lives here.
class ModuleSimulator
{
public:
    // 9600 baud, 8N1: ten bit times per character.
    static constexpr double ByteMs = 10000.0 / 9600.0;
    static constexpr int StatusLength = 31;
    static constexpr int SinglePortReplyLength = 29;   // check byte at 26, end pair at 27
    static constexpr int TwoPortReplyLength = 31;      // check byte at 28, end pair at 29
    static constexpr int SinglePortWriteLength = 12;
    static constexpr int TwoPortWriteLength = 14;
    static constexpr int SinglePortConfigSize = 7;     // write offsets 2..8
    static constexpr int TwoPortConfigSize = 9;        // write offsets 2..10
    // A request left incomplete this long after its last byte is dropped.
    static constexpr int RequestTimeoutMs = 100;
    // Bytes closer together than this count as one string in the received log.
    static constexpr int ReceiveGapMs = 20;

    // What the status telegram carries, in wire units (0.01 A, 0.01 V, whole amperes).
    struct Readings
    {
        quint8 status1 = 0;
        quint8 status2 = 0;
        std::array<quint16, 4> current{};
        std::array<quint16, 4> maxCurrent{};
        quint16 uin = 0;
        quint16 uinMin = 0;
        std::array<quint8, 4> rated{};
    };

    // One piece of an answer: written pauseMs after the end of the previous piece on the
    // line (for the first piece: after the request was complete).
    struct Piece
    {
        QByteArray bytes;
        int pauseMs = 0;
    };

    // The module's reaction to one complete request; no pieces when it stays mute or
    // refuses the telegram.
    struct Answer
    {
        QByteArray request;
        QList<Piece> pieces;
    };

    struct CommandOutcome
    {
        enum Effect { NoEffect, Quit, Vanish, Appear, Send };
        QStringList lines;     // printed before the verdict
        QString error;         // empty means "ok"
        Effect effect = NoEffect;
        QByteArray bytes;      // Send: exactly these bytes
        bool paced = false;    // Send: one character per character time instead of a burst
    };

    explicit ModuleSimulator(quint8 typeByte = 0x17, quint32 seed = 1);

    // Variant by type byte; any byte is accepted so that foreign types can be sent.
    // 0x15 is the two-port module, everything else answers as a single-port module.
    quint8 typeByte() const { return type_; }
    void setTypeByte(quint8 type);
    bool isTwoPort() const { return type_ == 0x15; }
    int channelCount() const;

    Readings &readings() { return readings_; }
    const Readings &readings() const { return readings_; }
    // Rated currents that suit the variant: 6 A or 10 A, 8 A for the two-port module,
    // channels 3 and 4 off on a two-channel module.
    static std::array<quint8, 4> defaultRated(quint8 type);

    double rate() const { return rate_; }
    void setRate(double telegramsPerSecond) { rate_ = telegramsPerSecond; }
    // Time between two status telegrams; never shorter than one telegram on the line.
    double periodMs() const;
    bool moving() const { return moving_; }
    void setMoving(bool on) { moving_ = on; }
    bool sending() const { return sending_; }
    bool paced() const { return paced_; }
    void setPaced(bool on) { paced_ = on; }
    void setSoftwareVersion(const QByteArray &fourCharacters);

    // The telegram for the present readings, without any injected fault.
    QByteArray statusTelegram() const;
    // The telegram to send now: one step of the moving values first, then the faults
    // asked for by "badcheck" and "short".
    QByteArray nextStatusTelegram();

    // Configuration as stored, in write-telegram order (offsets 2.. of the telegram).
    QByteArray configuration() const;
    void setConfiguration(const QByteArray &bytes);
    static QByteArray factoryConfiguration(quint8 type);
    // The read reply for the stored configuration, without injected faults.
    QByteArray configurationReply() const;

    // Feeds bytes read from the line at time nowMs; returns the answers to every request
    // completed by them.
    QList<Answer> receive(const QByteArray &bytes, qint64 nowMs);
    // Some bytes of a request have arrived and more are expected.
    bool requestInProgress(qint64 nowMs) const;
    // The line was closed by the tool: a half-received request is forgotten.
    void lineClosed();
    // Every byte string received since the last call, in order.
    QList<QByteArray> takeReceived();

    // One command line of the control protocol (see tools/README.md).
    CommandOutcome command(const QString &line);

    static QString hex(const QByteArray &bytes);

private:
    Answer answerRead(const QByteArray &request);
    Answer answerWrite(const QByteArray &request);
    QList<Piece> shape(QByteArray reply) const;
    void moveValues();
    int writeLength() const { return isTwoPort() ? TwoPortWriteLength : SinglePortWriteLength; }

    quint8 type_;
    Readings readings_;
    double rate_ = 5.0;
    bool moving_ = false;
    bool sending_ = true;
    bool paced_ = false;
    int badCheckCount_ = 0;
    int shortCount_ = 0;
    qint64 validTelegrams_ = 0;   // status telegrams without an injected fault, for "count"
    QRandomGenerator random_;
    QByteArray softwareVersion_ = "1.07";
    quint8 endByte_ = 0x16;        // second byte of the end pair: 0x16 or 0x18

    QByteArray singlePortConfig_;
    QByteArray twoPortConfig_;

    // Behaviour of configuration answers.
    int configDelayMs_ = 10;
    int configSplitMs_ = 0;
    bool configBadCheck_ = false;
    int configType_ = -1;          // -1: the module's own type byte
    bool configMute_ = false;
    int configLong_ = 0;
    int configAlterIndex_ = -1;    // a write is stored with this byte replaced (-1: as sent)
    quint8 configAlterValue_ = 0;

    // Request assembly and the log of what arrived.
    QByteArray request_;
    qint64 lastByteAt_ = 0;
    QList<QByteArray> received_;
    bool receivedOpen_ = false;
};
