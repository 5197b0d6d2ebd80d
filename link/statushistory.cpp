#include "statushistory.h"

#include <algorithm>

// 28 bytes: the time as an offset from the first sample (49 days fit), the ten 16-bit
// values, the four rated-current nibbles, the lamps in bits 0..9 and the variant in 10..12.
struct StatusHistory::Packed
{
    quint32 offsetMs;
    std::array<quint16, 10> values;   // i1..i4, i1_max..i4_max, uin, uin_min
    std::array<quint8, 2> rated;      // low nibble channel 1 (3), high nibble channel 2 (4)
    quint16 lampsAndVariant;
};

struct StatusHistory::Summary
{
    std::array<quint16, SeriesCount> min;
    std::array<quint16, SeriesCount> max;
};

namespace {

constexpr std::array<ModuleVariant, 5> Variants = {
    ModuleVariant::TwoChannel6A, ModuleVariant::TwoChannel10A, ModuleVariant::FourChannelTwoPort,
    ModuleVariant::FourChannel10A, ModuleVariant::FourChannel6A,
};

int variantIndex(ModuleVariant v)
{
    return int(std::find(Variants.begin(), Variants.end(), v) - Variants.begin());
}

// Where each series sits in Packed::values.
constexpr std::array<int, StatusHistory::SeriesCount> ValueSlot = {0, 1, 2, 3, 8};

} // namespace

StatusHistory::StatusHistory() = default;
StatusHistory::~StatusHistory() = default;

const StatusHistory::Packed &StatusHistory::at(qint64 index) const
{
    return chunks_[size_t(index >> ChunkShift)][size_t(index & (ChunkSize - 1))];
}

bool StatusHistory::fourChannel(qint64 index) const
{
    return isFourChannel(Variants[size_t(at(index).lampsAndVariant >> 10)]);
}

void StatusHistory::append(const monitorrecord::Record &r)
{
    static_assert(sizeof(Packed) == 28);
    const qint64 ms = r.time.toMSecsSinceEpoch();
    if (size_ == 0)
        startMs_ = ms;
    // A clock set back does not reorder the store: its samples keep the last time.
    const qint64 last = size_ > 0 ? at(size_ - 1).offsetMs : 0;
    const quint32 offset = quint32(std::clamp<qint64>(ms - startMs_, last, 0xFFFFFFFFLL));
    const bool four = isFourChannel(r.variant);
    if (openBreak_ || size_ == 0 || fourChannel(size_ - 1) != four)
        segmentStarts_.push_back(size_);
    openBreak_ = false;

    Packed p;
    p.offsetMs = offset;
    for (int ch = 0; ch < monitorrecord::ChannelCount; ++ch) {
        p.values[size_t(ch)] = r.current[size_t(ch)];
        p.values[size_t(4 + ch)] = r.maxCurrent[size_t(ch)];
    }
    p.values[8] = r.uin;
    p.values[9] = r.uinMin;
    p.rated = {quint8((r.rated[0] & 0x0F) | r.rated[1] << 4), quint8((r.rated[2] & 0x0F) | r.rated[3] << 4)};
    quint16 bits = quint16(variantIndex(r.variant) << 10);
    for (int lamp = 0; lamp < monitorrecord::LampCount; ++lamp) {
        if (r.lamps[size_t(lamp)])
            bits |= quint16(1 << lamp);
        if (r.lamps[size_t(lamp)] != lamps_[size_t(lamp)])
            lampEvents_.push_back({ms, lamp, r.lamps[size_t(lamp)]});
    }
    lamps_ = r.lamps;
    p.lampsAndVariant = bits;

    if ((size_ & (ChunkSize - 1)) == 0)
        chunks_.emplace_back(new Packed[size_t(ChunkSize)]);
    chunks_.back()[size_t(size_ & (ChunkSize - 1))] = p;
    for (int level = 0; level < LevelCount; ++level)
        summarise(levels_[size_t(level)], size_ >> LevelShift[level], p);
    ++size_;
    ++revision_;
}

void StatusHistory::summarise(std::vector<Summary> &level, qint64 index, const Packed &p)
{
    if (size_t(index) == level.size()) {
        Summary s;
        for (int series = 0; series < SeriesCount; ++series)
            s.min[size_t(series)] = s.max[size_t(series)] = p.values[size_t(ValueSlot[size_t(series)])];
        level.push_back(s);
        return;
    }
    Summary &s = level.back();
    for (int series = 0; series < SeriesCount; ++series) {
        const quint16 v = p.values[size_t(ValueSlot[size_t(series)])];
        s.min[size_t(series)] = std::min(s.min[size_t(series)], v);
        s.max[size_t(series)] = std::max(s.max[size_t(series)], v);
    }
}

void StatusHistory::breakHere(qint64 timeMs)
{
    if (openBreak_)
        return;
    openBreak_ = true;
    for (int lamp = 0; lamp < monitorrecord::LampCount; ++lamp) {
        if (lamps_[size_t(lamp)])
            lampEvents_.push_back({timeMs, lamp, false});
    }
    lamps_ = {};
    ++revision_;
}

qint64 StatusHistory::timeMs(qint64 index) const
{
    return startMs_ + at(index).offsetMs;
}

monitorrecord::Record StatusHistory::record(qint64 index) const
{
    const Packed &p = at(index);
    monitorrecord::Record r;
    r.time = QDateTime::fromMSecsSinceEpoch(timeMs(index));
    r.variant = Variants[size_t(p.lampsAndVariant >> 10)];
    r.channels = isFourChannel(r.variant) ? 4 : 2;
    for (int ch = 0; ch < monitorrecord::ChannelCount; ++ch) {
        r.current[size_t(ch)] = p.values[size_t(ch)];
        r.maxCurrent[size_t(ch)] = p.values[size_t(4 + ch)];
    }
    r.uin = p.values[8];
    r.uinMin = p.values[9];
    r.rated = {quint8(p.rated[0] & 0x0F), quint8(p.rated[0] >> 4), quint8(p.rated[1] & 0x0F), quint8(p.rated[1] >> 4)};
    for (int lamp = 0; lamp < monitorrecord::LampCount; ++lamp)
        r.lamps[size_t(lamp)] = p.lampsAndVariant & (1 << lamp);
    return r;
}

bool StatusHistory::hasValue(Series series, qint64 index) const
{
    return (series != I3 && series != I4) || fourChannel(index);
}

quint16 StatusHistory::value(Series series, qint64 index) const
{
    return at(index).values[size_t(ValueSlot[size_t(series)])];
}

qint64 StatusHistory::lowerBound(qint64 ms) const
{
    qint64 lo = 0, hi = size_;
    while (lo < hi) {
        const qint64 mid = lo + (hi - lo) / 2;
        if (timeMs(mid) < ms)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void StatusHistory::extremes(Series series, qint64 from, qint64 to, quint16 &min, quint16 &max) const
{
    min = 0xFFFF;
    max = 0;
    const size_t s = size_t(series);
    for (qint64 i = from; i < to;) {
        // The largest summary that starts here and ends inside the range, else one sample.
        int level = LevelCount - 1;
        while (level >= 0 && ((i & (LevelSize[level] - 1)) != 0 || i + LevelSize[level] > to))
            --level;
        if (level < 0) {
            const quint16 v = value(series, i);
            min = std::min(min, v);
            max = std::max(max, v);
            ++i;
        } else {
            const Summary &sum = levels_[size_t(level)][size_t(i >> LevelShift[level])];
            min = std::min(min, sum.min[s]);
            max = std::max(max, sum.max[s]);
            i += LevelSize[level];
        }
    }
}

std::vector<StatusHistory::Bucket> StatusHistory::reduce(Series series, qint64 fromMs, qint64 toMs, int columns) const
{
    std::vector<Bucket> buckets;
    if (toMs <= fromMs || columns <= 0 || size_ == 0)
        return buckets;
    const qint64 span = toMs - fromMs;
    // The first time of column c: the smallest t with (t - fromMs) * columns >= c * span.
    const auto columnStart = [&](qint64 c) { return fromMs + (c * span + columns - 1) / columns; };
    const qint64 end = lowerBound(toMs);
    qint64 a = lowerBound(fromMs);
    size_t seg = size_t(std::upper_bound(segmentStarts_.begin(), segmentStarts_.end(), a) - segmentStarts_.begin() - 1);
    size_t lastSeg = size_t(-1);
    while (a < end) {
        const qint64 column = (timeMs(a) - fromMs) * columns / span;
        const qint64 b = std::min(end, lowerBound(columnStart(column + 1)));
        while (a < b) {
            const qint64 segEnd = seg + 1 < segmentStarts_.size() ? segmentStarts_[seg + 1] : size_;
            const qint64 e = std::min(b, segEnd);
            if (hasValue(series, a)) {
                Bucket bucket;
                bucket.column = int(column);
                extremes(series, a, e, bucket.min, bucket.max);
                bucket.startsSegment = seg != lastSeg;
                lastSeg = seg;
                buckets.push_back(bucket);
            }
            a = e;
            if (a == segEnd)
                ++seg;
        }
    }
    return buckets;
}
