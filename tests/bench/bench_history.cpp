// What the run's history costs: resident memory after 24 hours at full line rate, and the
// reduction of a 1-minute, a 60-minute and a 24-hour view to 1000 pixel columns.
// A benchmark, not a test: it prints figures for the README and judges nothing.
#include "link/statushistory.h"
#include "processfigures.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

int main()
{
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    const qint64 rss0 = residentKiB();
    StatusHistory history;
    // 31 telegrams a second for a day, values moving, a silence every hour.
    const qint64 samples = 31LL * 86400;
    QElapsedTimer fill;
    fill.start();
    for (qint64 i = 0; i < samples; ++i) {
        monitorrecord::Record r;
        r.time = QDateTime::fromMSecsSinceEpoch(start + i * 1000 / 31);
        for (int ch = 0; ch < 4; ++ch)
            r.current[size_t(ch)] = quint16(500 + 400 * std::sin(double(i) / (300.0 + 50 * ch)));
        r.uin = quint16(2400 + 30 * std::sin(double(i) / 1000.0));
        r.lamps[0] = (i / 5000) % 2;
        history.append(r);
        if (i % (31 * 3600) == 31 * 3600 - 1)
            history.breakHere(start + i * 1000 / 31 + 500);
    }
    const double fillS = double(fill.nsecsElapsed()) / 1e9;
    const qint64 rss1 = residentKiB();
    std::printf("history of 24 h at 31 telegrams/s: %lld samples, %zu lamp events, filled in %.2f s\n",
                history.size(), history.lampEvents().size(), fillS);
    std::printf("resident memory: %.1f MiB at start, %.1f MiB after, %.1f MiB more (target: at most 100 MB more)\n",
                double(rss0) / 1024, double(rss1) / 1024, double(rss1 - rss0) / 1024);

    const qint64 end = history.timeMs(history.size() - 1) + 1;
    for (const auto &[name, span] : {std::pair{"1 minute", 60'000LL}, {"60 minutes", 3600'000LL}, {"24 hours", 86400'000LL}}) {
        std::vector<double> us;
        for (int round = 0; round < 20; ++round) {
            QElapsedTimer t;
            t.start();
            size_t buckets = 0;
            for (int s = 0; s < StatusHistory::SeriesCount; ++s)
                buckets += history.reduce(StatusHistory::Series(s), end - span, end, 1000).size();
            us.push_back(double(t.nsecsElapsed()) / 1000.0);
            if (buckets == 0)
                return 1;
        }
        std::sort(us.begin(), us.end());
        std::printf("reduction of %-10s to 1000 columns, all five series: median %.2f ms, worst %.2f ms\n", name,
                    us[us.size() / 2] / 1000, us.back() / 1000);
    }
    return 0;
}
