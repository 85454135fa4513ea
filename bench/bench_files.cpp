// Opening and saving a large map: a 10,000 x 10,000 8-bit BMP file (95 MiB)
// read as "Öffnen..." reads it and written back as "Speichern" writes it
// (to the disk, synced), against a copy of the same file with a sync in the
// same run: what the disk allows. The peak memory of one open and save is
// measured in a process of its own (bmp_open_save).

#include "bmpcodec.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSide = 10000;

// The map file, written once for all runs.
const QString &mapFile()
{
    static QTemporaryDir dir(QStringLiteral("/var/tmp/bench_files-XXXXXX"));
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("karte.bmp"));
        QImage picture(kSide, kSide, QImage::Format_Indexed8);
        QVector<QRgb> table;
        for (int i = 0; i < 256; ++i)
            table << qRgb(i, i, i);
        picture.setColorTable(table);
        for (int y = 0; y < kSide; ++y) {
            uchar *line = picture.scanLine(y);
            for (int x = 0; x < kSide; ++x)
                line[x] = uchar((x / 32 + y / 32) % 2 ? 255 : (x * 7 + y) % 256);
        }
        raster::writeBmpFile(picture, file);
        return file;
    }();
    return path;
}

QString outFile(const char *name)
{
    return mapFile().section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

// readBmpFile, then writeBmpFile of the same picture at its file's depth.
static void OpenAndSave10kMap(benchmark::State &state)
{
    const QString in = mapFile();
    const QString out = outFile("gespeichert.bmp");
    for (auto _ : state) {
        raster::BmpFormat format;
        const QImage picture = raster::readBmpFile(in, &format);
        raster::writeBmpFile(picture, out, format);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(in).size());
}
BENCHMARK(OpenAndSave10kMap)->Unit(benchmark::kMillisecond)->MinTime(3);

// The reference: the file copied as cp copies it (copy_file_range) and synced.
static void CopyAndSync10kMap(benchmark::State &state)
{
    const QByteArray in = QFile::encodeName(mapFile());
    const QByteArray out = QFile::encodeName(outFile("kopie.bmp"));
    for (auto _ : state) {
        const int from = open(in.constData(), O_RDONLY);
        const int to = open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool ok = from >= 0 && to >= 0;
        while (ok) {
            const ssize_t n = copy_file_range(from, nullptr, to, nullptr, size_t(1) << 30, 0);
            ok = n > 0;
            if (n == 0)
                break;
        }
        if (to >= 0 && fsync(to) != 0)
            state.SkipWithError("sync failed");
        close(from);
        close(to);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(mapFile()).size());
}
BENCHMARK(CopyAndSync10kMap)->Unit(benchmark::kMillisecond)->MinTime(3);

// Peak resident memory of a process that opens and saves the map once, in
// MiB, and as a multiple of the picture's size ("picture_mib").
static void OpenAndSave10kMapPeakMemory(benchmark::State &state)
{
    double peak = 0, before = 0, picture = 0;
    for (auto _ : state) {
        QProcess driver;
        driver.start(QStringLiteral(DK_OPEN_SAVE_DRIVER), {mapFile(), outFile("driver.bmp")});
        if (!driver.waitForFinished(120000) || driver.exitCode() != 0) {
            state.SkipWithError("bmp_open_save failed");
            break;
        }
        const QList<QByteArray> figures = driver.readAllStandardOutput().trimmed().split(' ');
        before = figures.value(0).toDouble() / 1024;
        peak = figures.value(1).toDouble() / 1024;
        picture = figures.value(2).toDouble() / (1024 * 1024);
    }
    state.counters["peak_mib"] = peak;
    state.counters["before_open_mib"] = before;
    state.counters["picture_mib"] = picture;
    state.counters["peak_per_picture"] = picture > 0 ? peak / picture : 0;
}
BENCHMARK(OpenAndSave10kMapPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
