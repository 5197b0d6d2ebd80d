// A configuration file as a user may have edited it, loaded into the two-port dialog.
#include "parameter/twoportfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("config.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    TwoPortConfig config;
    const twoportfile::LoadResult result = twoportfile::load(path, config);
    if (result.ok()) {
        // What loaded cleanly saves to lines that load to the same configuration.
        if (const auto lines = twoportfile::lines(config)) {
            TwoPortConfig again;
            if (!twoportfile::apply(*lines, again).ok() || twoportfile::lines(again) != lines)
                abort();
        }
    }
    return 0;
}
