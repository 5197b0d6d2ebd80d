#pragma once

#include "monitorrecord.h"

#include <QtGlobal>
#include <array>
#include <memory>
#include <vector>

// Every accepted status telegram of the run, kept in 28 bytes a sample and about 1.5 bytes
// of summaries: at the full line rate of about 31 telegrams a second a day takes some 80 MB. Samples are stored in
// chunks, so the store never copies itself to grow.
//
// The history is made of segments. A silent line (the display watchdog blanked) ends one,
// and so does a change between a two- and a four-channel module; a plot draws no line
// across the boundary. Channels 3 and 4 have no values in a segment of a two-channel
// module.
//
// reduce() brings any time range down to the minimum and maximum per pixel column, using
// summaries of 16, 256 and 4096 samples, so that a day costs about what a minute costs.
class StatusHistory
{
public:
    // The plotted quantities: output currents of channels 1 to 4 and the input voltage,
    // each in hundredths (0.01 A, 0.01 V).
    enum Series { I1, I2, I3, I4, Uin, SeriesCount };

    // One column's extremes, from the samples of one segment inside it.
    struct Bucket
    {
        int column = 0;
        quint16 min = 0;
        quint16 max = 0;
        bool startsSegment = false;   // no line from the bucket before
    };

    // A lamp went on or off: with the telegram that switched it, or off when the line fell
    // silent while it was on.
    struct LampEvent
    {
        qint64 timeMs = 0;   // since the epoch
        int lamp = 0;        // in the order of the status bits (status::Lamp)
        bool on = false;
    };

    StatusHistory();
    ~StatusHistory();

    void append(const monitorrecord::Record &record);
    // The line fell silent: the next sample starts a new segment, lamps that were on go off.
    void breakHere(qint64 timeMs);

    qint64 size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // Grows with every change, so a window can tell whether to redraw.
    quint64 revision() const { return revision_; }

    qint64 timeMs(qint64 index) const;   // since the epoch
    monitorrecord::Record record(qint64 index) const;
    // Whether the line has been silent since the last sample.
    bool silentNow() const { return openBreak_; }
    // Whether series has a value at sample index (channels 3, 4 of a two-channel module don't).
    bool hasValue(Series series, qint64 index) const;
    quint16 value(Series series, qint64 index) const;

    // First sample at or after timeMs.
    qint64 lowerBound(qint64 timeMs) const;

    // The samples from fromMs up to before toMs, in `columns` equal columns: a sample at
    // time t falls in column floor((t - fromMs) * columns / (toMs - fromMs)). A column
    // that holds a segment boundary gives one bucket per segment; a column without values
    // gives none.
    std::vector<Bucket> reduce(Series series, qint64 fromMs, qint64 toMs, int columns) const;

    // Lamp events in time order.
    const std::vector<LampEvent> &lampEvents() const { return lampEvents_; }

private:
    struct Packed;
    struct Summary;
    static constexpr int ChunkShift = 16;
    static constexpr qint64 ChunkSize = qint64(1) << ChunkShift;
    // Summaries of 16, 256 and 4096 samples.
    static constexpr int LevelCount = 3;
    static constexpr int LevelShift[LevelCount] = {4, 8, 12};
    static constexpr qint64 LevelSize[LevelCount] = {16, 256, 4096};

    const Packed &at(qint64 index) const;
    bool fourChannel(qint64 index) const;
    // Extremes of series over samples [from, to), all of one segment.
    void extremes(Series series, qint64 from, qint64 to, quint16 &min, quint16 &max) const;
    void summarise(std::vector<Summary> &level, qint64 index, const Packed &p);

    std::vector<std::unique_ptr<Packed[]>> chunks_;
    qint64 size_ = 0;
    qint64 startMs_ = 0;              // time of the first sample; samples keep an offset
    std::vector<qint64> segmentStarts_;   // ascending sample indices, 0 first
    std::array<std::vector<Summary>, LevelCount> levels_;
    std::vector<LampEvent> lampEvents_;
    std::array<bool, monitorrecord::LampCount> lamps_{};   // as the last sample left them
    bool openBreak_ = true;
    quint64 revision_ = 0;
};
