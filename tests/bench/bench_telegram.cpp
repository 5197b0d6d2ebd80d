// Bytes per second through the assembler and the status decoder, to set against the
// line's 960 bytes per second at 9600 baud.
#include "link/statustelegram.h"
#include "link/telegramassembler.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

static QByteArray exampleStream(int telegrams)
{
    // fromHex() skips the blanks.
    const QByteArray telegram = QByteArray::fromHex(
        "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16");
    QByteArray stream;
    for (int i = 0; i < telegrams; ++i)
        stream += telegram;
    return stream;
}

static void AssembleAndDecode(benchmark::State &state)
{
    const QByteArray stream = exampleStream(100);
    qint64 frames = 0;
    for (auto _ : state) {
        TelegramAssembler assembler;
        for (char b : stream) {
            if (assembler.baue_string(quint8(b))) {
                const status::Decoded d = status::decode(assembler.takeFrame());
                benchmark::DoNotOptimize(d);
                ++frames;
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["telegrams"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(AssembleAndDecode);

static void AssembleNoise(benchmark::State &state)
{
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 197 + 13) & 0xFF);
    for (auto _ : state) {
        TelegramAssembler assembler;
        for (char b : noise)
            benchmark::DoNotOptimize(assembler.baue_string(quint8(b)));
    }
    state.SetBytesProcessed(state.iterations() * noise.size());
}
BENCHMARK(AssembleNoise);

BENCHMARK_MAIN();
