// Opens a BMP map and saves it again, once, as "Öffnen..." and "Speichern"
// do, then prints the process's peak resident memory in KiB: before the open
// (what the program held already) and at the end. Started by bench_files.
//
//     bmp_open_save <map.bmp> <saved.bmp>

#include "bmpcodec.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// The peak resident memory of this process (VmHWM). (getrusage's maxrss
// would also count the process that started this one.)
long peakKib()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kib = std::atol(line + 6);
    std::fclose(status);
    return kib;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const long before = peakKib();
    raster::BmpFormat format;
    const QImage picture = raster::readBmpFile(QString::fromLocal8Bit(argv[1]), &format);
    raster::writeBmpFile(picture, QString::fromLocal8Bit(argv[2]), format);
    std::printf("%ld %ld %lld\n", before, peakKib(), static_cast<long long>(picture.sizeInBytes()));
    return 0;
}
