#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace demo {

// Writes an endlessly looping animated GIF (GIF89a, one global 256-colour palette, LZW-compressed
// frames). Qt reads GIF but cannot write it, and the client's animated banner needs one.
class GifEncoder {
public:
    [[nodiscard]] static QByteArray encode(const QList<QImage> &frames, int delayCentiseconds);
    [[nodiscard]] static QList<QRgb> palette();
    // LZW data of one frame of palette indices (minimum code size 8), split into sub-blocks.
    [[nodiscard]] static QByteArray compress(const QByteArray &indices);
};

} // namespace demo
