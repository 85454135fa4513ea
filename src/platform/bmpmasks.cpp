#include "bmpmasks.h"

#include <QtEndian>

namespace {

// Where a mask's channel lies: its lowest bit and its width.
struct Channel {
    int shift = 0;
    int bits = 0;
};

Channel channelOf(quint32 mask)
{
    Channel channel;
    if (mask == 0)
        return channel;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++channel.shift;
    }
    while (mask) { // gaps in a mask count as part of the channel
        mask >>= 1;
        ++channel.bits;
    }
    return channel;
}

struct Channels {
    explicit Channels(const bmpmasks::Masks &masks)
        : red(channelOf(masks.red)), green(channelOf(masks.green)), blue(channelOf(masks.blue)),
          alpha(channelOf(masks.alpha))
    {
    }
    Channel red, green, blue, alpha;
};

quint32 take(quint32 pixel, const Channel &c)
{
    const quint64 all = (quint64(1) << c.bits) - 1;
    return bmpmasks::widen(quint32((pixel >> c.shift) & all), c.bits);
}

quint32 put(quint32 value, const Channel &c)
{
    return c.bits ? bmpmasks::narrow(value, c.bits) << c.shift : 0u;
}

} // namespace

bmpmasks::Masks bmpmasks::defaultMasks(int bitsPerPixel)
{
    if (bitsPerPixel == 16)
        return {0x7c00u, 0x03e0u, 0x001fu, 0u};
    return {0x00ff0000u, 0x0000ff00u, 0x000000ffu, 0u};
}

quint32 bmpmasks::widen(quint32 value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return (value >> (bits - 8)) & 0xffu;
    quint32 wide = 0;
    int filled = 0;
    while (filled < 8) {
        wide = (wide << bits) | value;
        filled += bits;
    }
    return wide >> (filled - 8);
}

quint32 bmpmasks::narrow(quint32 value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits <= 8)
        return value >> (8 - bits);
    quint64 wide = 0;
    int filled = 0;
    while (filled < bits) {
        wide = (wide << 8) | value;
        filled += 8;
    }
    return quint32((wide >> (filled - bits)) & ((quint64(1) << bits) - 1));
}

bmpmasks::FileLayout bmpmasks::fileLayout(const QImage &picture, int fileBits,
                                          const Masks &fileMasks)
{
    FileLayout layout;
    if (picture.format() == QImage::Format_Indexed8) {
        layout.table = picture.colorTable();
        const bool fits = (fileBits == 1 || fileBits == 4 || fileBits == 8) &&
                          layout.table.size() <= (1 << fileBits);
        layout.bits = fits ? fileBits : layout.table.size() <= 16 ? 4 : 8;
        // An 8-bit file of up to 16 colours gets 17 entries, as Qt's writer
        // needs to keep it 8-bit.
        while (layout.bits == 8 && layout.table.size() <= 16)
            layout.table.append(qRgb(0, 0, 0));
        return layout;
    }
    if (fileBits != 16 && fileBits != 32)
        return layout;
    layout.bits = fileBits;
    const Masks usual = defaultMasks(fileBits);
    layout.masks = fileMasks == Masks() ? usual : fileMasks;
    if (layout.masks != usual) {
        layout.compression = 3;
        if (layout.masks.alpha)
            layout.infoSize = 108;
        else
            layout.maskBytes = 12;
    }
    return layout;
}

void bmpmasks::decodeRow(const uchar *in, int width, int bytesPerPixel, const Masks &masks,
                         QRgb *out)
{
    // The common layout, eight bits a channel in the pixel's own order: the
    // pixels as they are (most 32-bit files, the program's own icon).
    if (bytesPerPixel == 4 && masks.red == 0x00ff0000u && masks.green == 0x0000ff00u &&
        masks.blue == 0x000000ffu && (masks.alpha == 0xff000000u || masks.alpha == 0u)) {
        const quint32 opaque = masks.alpha ? 0u : 0xff000000u;
        for (int x = 0; x < width; ++x)
            out[x] = qFromLittleEndian<quint32>(in + 4 * x) | opaque;
        return;
    }
    const Channels c(masks);
    for (int x = 0; x < width; ++x) {
        const quint32 pixel = bytesPerPixel == 2 ? qFromLittleEndian<quint16>(in + 2 * x)
                                                 : qFromLittleEndian<quint32>(in + 4 * x);
        const quint32 alpha = c.alpha.bits ? take(pixel, c.alpha) : 0xffu;
        out[x] = alpha << 24 | take(pixel, c.red) << 16 | take(pixel, c.green) << 8 |
                 take(pixel, c.blue);
    }
}

void bmpmasks::encodeRow(const QRgb *in, int width, int bytesPerPixel, const Masks &masks,
                         uchar *out)
{
    const Channels c(masks);
    for (int x = 0; x < width; ++x) {
        const QRgb v = in[x];
        const quint32 pixel = put(quint32(qRed(v)), c.red) | put(quint32(qGreen(v)), c.green) |
                              put(quint32(qBlue(v)), c.blue) | put(quint32(qAlpha(v)), c.alpha);
        if (bytesPerPixel == 2)
            qToLittleEndian<quint16>(quint16(pixel), out + 2 * x);
        else
            qToLittleEndian<quint32>(pixel, out + 4 * x);
    }
}
