#include "gifencoder.h"

#include <QHash>

namespace demo {

namespace {

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// Packs variable-width codes least significant bit first and cuts them into sub-blocks of 255 bytes.
class BitWriter {
public:
    void write(int code, int bits)
    {
        m_acc |= quint32(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            pushByte(char(m_acc & 0xff));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            pushByte(char(m_acc & 0xff));
        flushBlock();
        m_out.append(char(0)); // block terminator
        return m_out;
    }

private:
    void pushByte(char byte)
    {
        m_block.append(byte);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }
    quint32 m_acc = 0;
    int m_count = 0;
    QByteArray m_block;
    QByteArray m_out;
};

} // namespace

QList<QRgb> GifEncoder::palette()
{
    QList<QRgb> colors;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colors.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; colors.size() < 256; ++i)
        colors.append(qRgb(i * 6 + 8, i * 6 + 8, i * 6 + 8));
    return colors;
}

QByteArray GifEncoder::compress(const QByteArray &indices)
{
    constexpr int kClear = 256;
    constexpr int kEnd = 257;
    constexpr int kMaxCode = 4095;
    BitWriter writer;
    QHash<quint32, int> table;
    int nextCode = kEnd + 1;
    int bits = 9;
    int limit = 1 << bits;
    const auto output = [&](int code) {
        writer.write(code, bits);
        // A code that no longer fits the width widens it; the decoder follows the same rule.
        if (nextCode >= limit && code <= kMaxCode && bits < 12) {
            ++bits;
            limit = 1 << bits;
        }
    };
    output(kClear);
    if (indices.isEmpty()) {
        output(kEnd);
        return writer.finish();
    }
    int current = quint8(indices.at(0));
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const int pixel = quint8(indices.at(i));
        const quint32 key = (quint32(current) << 8) | quint32(pixel);
        const auto it = table.constFind(key);
        if (it != table.constEnd()) {
            current = it.value();
            continue;
        }
        output(current);
        current = pixel;
        if (nextCode >= kMaxCode) {
            output(kClear);
            table.clear();
            nextCode = kEnd + 1;
            bits = 9;
            limit = 1 << bits;
        } else {
            table.insert(key, nextCode++);
        }
    }
    output(current);
    output(kEnd);
    return writer.finish();
}

QByteArray GifEncoder::encode(const QList<QImage> &frames, int delayCentiseconds)
{
    if (frames.isEmpty())
        return {};
    const QList<QRgb> colors = palette();
    const int width = frames.first().width();
    const int height = frames.first().height();
    QByteArray out("GIF89a");
    put16(out, width);
    put16(out, height);
    out.append(char(0xF7)); // global colour table of 256 entries
    out.append(char(0));    // background colour index
    out.append(char(0));    // pixel aspect ratio
    for (QRgb c : colors) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // Loop forever.
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (const QImage &frame : frames) {
        const QImage indexed = frame.convertToFormat(QImage::Format_RGB32)
                                   .scaled(width, height)
                                   .convertToFormat(QImage::Format_Indexed8, colors, Qt::ThresholdDither);
        QByteArray indices;
        indices.reserve(width * height);
        for (int y = 0; y < height; ++y)
            indices.append(reinterpret_cast<const char *>(indexed.constScanLine(y)), width);
        out.append("\x21\xF9\x04\x04", 4); // graphic control: keep the previous frame, no transparency
        put16(out, delayCentiseconds);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2C)); // image descriptor
        put16(out, 0);
        put16(out, 0);
        put16(out, width);
        put16(out, height);
        out.append(char(0));
        out.append(char(8)); // LZW minimum code size
        out.append(compress(indices));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace demo
