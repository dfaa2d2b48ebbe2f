#include "images.h"

#include "gifencoder.h"

#include <QBuffer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace demo::images {

namespace {

QByteArray toPng(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

QImage topBannerFrame(bool dark, int frame, int frames)
{
    QImage image(720, 160, QImage::Format_RGB32);
    image.fill(dark ? QColor(0x13, 0x17, 0x20) : QColor(0xe3, 0xee, 0xfa));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A band of light sweeps across the banner, one step per frame.
    const int x = -200 + frame * (image.width() + 200) / frames;
    p.fillRect(QRect(x, 0, 200, image.height()), dark ? QColor(0x22, 0x2c, 0x3c) : QColor(0xc4, 0xda, 0xf3));
    p.setPen(dark ? Qt::white : QColor(0x00, 0x60, 0xb2));
    QFont font;
    font.setPixelSize(34);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(30, 20, 660, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Cloud desktops by the hour"));
    font.setPixelSize(20);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(30, 85, 660, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Buy 50 credits this month and get 5 extra. See the pricing page."));
    p.setBrush(QColor(0xff, 0x99, 0x00));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(680, 130), 6 + (frame % 3) * 3, 6 + (frame % 3) * 3);
    return image;
}

QImage leftBanner(bool dark)
{
    QImage image(300, 500, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, image.height());
    gradient.setColorAt(0, dark ? QColor(0x0e, 0x12, 0x19) : QColor(0xee, 0xee, 0xee));
    gradient.setColorAt(1, dark ? QColor(0x22, 0x2c, 0x3c) : QColor(0xc4, 0xda, 0xf3));
    p.fillRect(image.rect(), gradient);
    p.setPen(dark ? Qt::white : QColor(0x00, 0x60, 0xb2));
    QFont font;
    font.setPixelSize(28);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(20, 40, 260, 200), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("Start a new machine in minutes"));
    font.setPixelSize(18);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(20, 260, 260, 200), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("Windows and Linux desktops, regular or spot."));
    return image;
}

} // namespace

QByteArray screenshot(const QString &name, const QString &platform, const QDateTime &when, quint32 salt)
{
    QImage image(640, 400, QImage::Format_RGB32);
    const bool windows = platform == QLatin1String("windows");
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, windows ? QColor(0x00, 0x4e, 0x9a) : QColor(0x4a, 0x1a, 0x3a));
    gradient.setColorAt(1, windows ? QColor(0x00, 0x8b, 0xd8) : QColor(0xe9, 0x54, 0x20));
    p.fillRect(image.rect(), gradient);
    // Task bar and a window whose position depends on the salt.
    p.fillRect(QRect(0, image.height() - 32, image.width(), 32), QColor(0, 0, 0, 170));
    const QRect window(40 + int(salt % 160), 60 + int((salt >> 8) % 100), 320, 180);
    p.fillRect(window, QColor(0xf5, 0xf5, 0xf5));
    p.fillRect(QRect(window.topLeft(), QSize(window.width(), 24)), QColor(0x33, 0x33, 0x33));
    p.setPen(Qt::white);
    QFont font;
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(20, 10, 600, 40), Qt::AlignLeft | Qt::AlignVCenter, name);
    font.setPixelSize(14);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(image.width() - 230, image.height() - 32, 220, 32), Qt::AlignRight | Qt::AlignVCenter,
               when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" UTC"));
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.drawText(window.adjusted(10, 30, -10, -10), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("%1 desktop\nSession %2")
                   .arg(windows ? QStringLiteral("Windows") : QStringLiteral("Linux"))
                   .arg(salt, 8, 16, QLatin1Char('0')));
    p.end();
    return toPng(image);
}

QByteArray banner(const QString &fileName)
{
    static QHash<QString, QByteArray> cache;
    if (const auto it = cache.constFind(fileName); it != cache.constEnd())
        return it.value();
    QByteArray data;
    if (fileName == QLatin1String("top-light.gif") || fileName == QLatin1String("top-dark.gif")) {
        const bool dark = fileName.contains(QLatin1String("dark"));
        QList<QImage> frames;
        constexpr int kFrames = 8;
        for (int i = 0; i < kFrames; ++i)
            frames.append(topBannerFrame(dark, i, kFrames));
        data = GifEncoder::encode(frames, 25);
    } else if (fileName == QLatin1String("left-light.png") || fileName == QLatin1String("left-dark.png")) {
        data = toPng(leftBanner(fileName.contains(QLatin1String("dark"))));
    }
    if (!data.isEmpty())
        cache.insert(fileName, data);
    return data;
}

QByteArray logoSvg(bool dark)
{
    const QByteArray text = dark ? "#ffffff" : "#0060b2";
    const QByteArray accent = "#ff9900";
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"900\" height=\"225\" viewBox=\"0 0 900 225\">"
           "<rect x=\"20\" y=\"37\" width=\"150\" height=\"150\" rx=\"28\" fill=\"" +
           text +
           "\"/>"
           "<path d=\"M55 72 L95 152 L135 72\" fill=\"none\" stroke=\"" +
           accent +
           "\" stroke-width=\"18\" "
           "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>"
           "<text x=\"200\" y=\"148\" font-family=\"Roboto, Arial, sans-serif\" font-size=\"112\" "
           "font-weight=\"700\" fill=\"" +
           text +
           "\">Vantorix</text>"
           "</svg>";
}

} // namespace demo::images
