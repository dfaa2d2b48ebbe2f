#include "screenchecks.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cmath>

namespace ScreenChecks {

namespace {

// Rounding of fractional layouts: a text may stick out of its box by this much.
constexpr double kTolerance = 1.5;

// Where a text may stand out less than WCAG's 4.5:1 (3:1 for large text), and why: the one table of
// exceptions. `where` is "disabled" (a control that takes no input) or a part of the item's path as the
// findings print it. Each row keeps a given look that measures below the rule but reads, and its floor is
// the figure measured now, so that nothing gets worse unnoticed.
struct ContrastException {
    const char *where;
    double minimum;
    const char *reason;
};
const ContrastException kContrastExceptions[] = {
    {"disabled", 0.0,
     "a control that takes no input: WCAG asks no contrast of inactive components, and the Material style "
     "fades them on purpose"},
    {"QQuickPlaceholderText", 2.5,
     "kept: a field's placeholder in Material's hint colour (38 % of the text colour, 2.6:1), the faded hint "
     "that goes as soon as the user types"},
    {"createForm/disclaimer", 3.4,
     "kept: the disclaimer's faded look (opacity 0.8) over accent links, 3.46:1 on the light page"},
    {"notificationText", 2.9,
     "kept: near-white text on the warning and error level colours (2.95 and 3.5:1), bold"},
    {"billingPage/", 3.0,
     "kept: the details popup's figures in the primary colour, Blue 500 on white (3.12:1)"},
    {"statusLabel", 1.0,
     "kept: the status caption over the desktop preview, Grey 50 on the picture's blue (4.46:1), Grey 400 "
     "when stopped (2.74:1, dimmed on purpose), and faded with the whole picture of a deleted computer "
     "(1.03:1), whose card takes no action"},
    {"favouritesStrip/Label", 3.4,
     "kept: the grid headings in Grey 600 at 14 pt (3.49:1 light, 4.25:1 dark), above the 3:1 of large text"},
    {"yourMachinesHeading", 3.4,
     "kept: the grid headings in Grey 600 at 14 pt (3.49:1 light, 4.25:1 dark), above the 3:1 of large text"},
};

struct TextInfo {
    QQuickItem *item = nullptr;
    QString text;
    QColor colour;
    QColor linkColour; // valid when the text shows links
    double opacity = 1;
    QRectF painted; // the painted content, in window coordinates
    QRectF visible; // what of it is not cut off by a clipping ancestor or the window
    int order = 0;
    bool editable = false;
    QString fitProblem;
};

struct Surface {
    QQuickItem *item;
    QRectF rect;
    int order;
};

// A Text has its own link colour; an edit draws links in the application palette's, whatever its own
// palette says.
QColor linkColour(const QQuickItem *item)
{
    if (item->inherits("QQuickText"))
        return item->property("linkColor").value<QColor>();
    return QGuiApplication::palette().link().color();
}

bool isText(const QQuickItem *item)
{
    return item->inherits("QQuickText") || item->inherits("QQuickTextInput") ||
           item->inherits("QQuickTextEdit");
}

double number(const QQuickItem *item, const char *name)
{
    return item->property(name).toDouble();
}

// A measure as the findings print it.
QString px(double value)
{
    return QString::number(value, 'f', 1);
}

// The shown text as plain text; rich text loses its tags.
QString shownText(const QQuickItem *item, bool *rich)
{
    *rich = false;
    if (item->inherits("QQuickTextInput"))
        return item->property("displayText").toString();
    const QString text = item->property("text").toString();
    const int format = item->property("textFormat").toInt(); // 0 plain, 1 rich, 2 auto, 3 markdown, 4 styled
    if (format == 3) {
        *rich = true;
        return QTextDocumentFragment::fromMarkdown(text).toPlainText();
    }
    if (format != 0 && (format == 1 || format == 4 || Qt::mightBeRichText(text))) {
        *rich = true;
        return QTextDocumentFragment::fromHtml(text).toPlainText();
    }
    return text;
}

// Offset of content of `size` in `space`, for a Qt alignment on one axis (start, end, centre).
double aligned(int alignment, int endFlag, int centreFlag, double space, double size)
{
    if (alignment & endFlag)
        return space - size;
    if (alignment & centreFlag)
        return (space - size) / 2;
    return 0;
}

// The painted content rectangle in the item's coordinates, and whether the text is all shown in its box.
QRectF paintedRect(const QQuickItem *item, bool editable, QString *fitProblem)
{
    const double left = number(item, "leftPadding"), right = number(item, "rightPadding");
    const double top = number(item, "topPadding"), bottom = number(item, "bottomPadding");
    const double width = item->width() - left - right, height = item->height() - top - bottom;
    const double contentWidth = number(item, "contentWidth"), contentHeight = number(item, "contentHeight");
    const int hAlign =
        item->property(item->inherits("QQuickText") ? "effectiveHorizontalAlignment" : "horizontalAlignment")
            .toInt();
    const int vAlign = item->property("verticalAlignment").toInt();
    if (editable) {
        // A field scrolls its text; what it paints is its box.
        const double w = std::min(width, contentWidth), h = std::min(height, contentHeight);
        return QRectF(left + aligned(hAlign, Qt::AlignRight, Qt::AlignHCenter, width, w),
                      top + aligned(vAlign, Qt::AlignBottom, Qt::AlignVCenter, height, h), w, h);
    }
    const bool truncated = item->property("truncated").toBool();
    const bool elided = item->property("elide").toInt() != 0 && truncated;
    if (truncated && !elided)
        *fitProblem = QStringLiteral("cut after %1 lines").arg(item->property("lineCount").toInt());
    else if (!elided && contentWidth > width + kTolerance)
        *fitProblem =
            QStringLiteral("painted width %1 px in a box of %2 px").arg(px(contentWidth), px(width));
    else if (!elided && contentHeight > height + kTolerance)
        *fitProblem =
            QStringLiteral("painted height %1 px in a box of %2 px").arg(px(contentHeight), px(height));
    const double w = elided ? width : contentWidth,
                 h = elided ? std::min(height, contentHeight) : contentHeight;
    const double x = left + aligned(hAlign, Qt::AlignRight, Qt::AlignHCenter, width, w);
    bool rich = false;
    const QString shown = shownText(item, &rich);
    if (!rich && !elided && item->property("lineCount").toInt() == 1) {
        // One line: what is painted is the glyphs, not the line's leading, so measure the ink around the
        // baseline (a line box taller than its item is harmless while no glyph leaves it).
        const QRectF ink = QFontMetricsF(item->property("font").value<QFont>()).tightBoundingRect(shown);
        const QRectF painted(x + std::max(0.0, ink.left()), item->baselineOffset() + ink.top(), ink.width(),
                             ink.height());
        if (fitProblem->startsWith(QLatin1String("painted height")) && painted.top() >= -kTolerance &&
            painted.bottom() <= item->height() + kTolerance)
            fitProblem->clear();
        return painted;
    }
    return QRectF(x, top + aligned(vAlign, Qt::AlignBottom, Qt::AlignVCenter, height, h), w, h);
}

// A short name for where an item is: the nearest object names above it.
QString whereIs(const QQuickItem *item)
{
    QStringList names;
    for (const QQuickItem *i = item; i && names.size() < 3; i = i->parentItem()) {
        if (!i->objectName().isEmpty())
            names.prepend(i->objectName());
    }
    names.append(QString::fromLatin1(item->metaObject()->className()).section(QLatin1Char('_'), 0, 0));
    return names.join(QLatin1Char('/'));
}

bool isAncestor(const QQuickItem *ancestor, const QQuickItem *item)
{
    for (const QQuickItem *i = item; i; i = i->parentItem()) {
        if (i == ancestor)
            return true;
    }
    return false;
}

// Cuts `text.painted` by every clipping ancestor and the window; a cut that shows less than the whole text
// is a fit problem unless it is a scrolled view cutting along its scrolling direction.
void applyClips(TextInfo &text, const QRectF &windowRect)
{
    QRectF visible = text.painted & windowRect;
    // The window's height is the gallery's choice (the frame scrolls), so only its sides cut a text.
    QString cutBy = (visible.left() > text.painted.left() + kTolerance ||
                     visible.right() < text.painted.right() - kTolerance)
                        ? QStringLiteral("the window")
                        : QString();
    for (const QQuickItem *i = text.item->parentItem(); i; i = i->parentItem()) {
        if (!i->clip())
            continue;
        const QRectF clip = i->mapRectToScene(i->boundingRect());
        QRectF cut = text.painted & clip;
        if (i->inherits("QQuickFlickable")) {
            // Scrolled content is cut where it scrolls out of view; that is not a fault.
            if (number(i, "contentHeight") > i->height() + 1)
                cut.setTop(text.painted.top()), cut.setBottom(text.painted.bottom());
            if (number(i, "contentWidth") > i->width() + 1)
                cut.setLeft(text.painted.left()), cut.setRight(text.painted.right());
        }
        if (cutBy.isEmpty() && (cut.width() < text.painted.width() - kTolerance ||
                                cut.height() < text.painted.height() - kTolerance))
            cutBy = whereIs(i);
        visible &= clip;
    }
    text.visible = visible;
    if (!visible.isEmpty() && !cutBy.isEmpty() && text.fitProblem.isEmpty() && !text.editable) {
        text.fitProblem = QStringLiteral("shows %1 x %2 px of %3 x %4 px (cut by %5)")
                              .arg(px(visible.width()), px(visible.height()), px(text.painted.width()),
                                   px(text.painted.height()), cutBy);
    }
}

// Visits the visible items in paint order (children after their parent, siblings by z).
void walk(QQuickItem *item, double parentOpacity, int &order, QList<TextInfo> &texts,
          QList<Surface> &surfaces)
{
    if (!item->isVisible())
        return;
    const double opacity = parentOpacity * item->opacity();
    if (opacity < 0.01)
        return;
    ++order;
    if (isText(item)) {
        bool rich = false;
        TextInfo text;
        text.item = item;
        text.text = shownText(item, &rich).simplified();
        text.colour = item->property("color").value<QColor>();
        const QString source = item->property("text").toString();
        if (rich && (source.contains(QLatin1String("<a "), Qt::CaseInsensitive) ||
                     source.contains(QLatin1String("]("))))
            text.linkColour = linkColour(item);
        text.opacity = opacity;
        text.order = order;
        text.editable = !item->inherits("QQuickText");
        if (!text.text.isEmpty() && text.colour.alphaF() * opacity > 0.01)
            texts.append(text);
    } else if (item->inherits("QQuickRectangle")) {
        const QColor colour = item->property("color").value<QColor>();
        if (colour.alphaF() * opacity >= 0.3)
            surfaces.append({item, item->mapRectToScene(item->boundingRect()), order});
    }
    QList<QQuickItem *> children = item->childItems();
    std::stable_sort(children.begin(), children.end(),
                     [](const QQuickItem *a, const QQuickItem *b) { return a->z() < b->z(); });
    for (QQuickItem *child : children)
        walk(child, opacity, order, texts, surfaces);
}

bool occluded(const TextInfo &text, const QList<Surface> &surfaces)
{
    for (const Surface &s : surfaces) {
        if (s.order <= text.order || isAncestor(text.item, s.item))
            continue;
        const QRectF covered = s.rect & text.visible;
        if (covered.width() * covered.height() > 4)
            return true;
    }
    return false;
}

double pixelSize(const QQuickItem *item)
{
    const QFont font = item->property("font").value<QFont>();
    if (font.pixelSize() > 0)
        return font.pixelSize();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return font.pointSizeF() * (screen ? screen->logicalDotsPerInch() : 96.0) / 72.0;
}

// The contrast a text needs, and the exception that lowers it (nullptr: none).
double requiredContrast(const TextInfo &text, const ContrastException **exception)
{
    *exception = nullptr;
    const QString where = whereIs(text.item);
    for (const ContrastException &e : kContrastExceptions) {
        const bool disabled = qstrcmp(e.where, "disabled") == 0;
        if (disabled ? !text.item->isEnabled() : where.contains(QLatin1String(e.where))) {
            *exception = &e;
            return e.minimum;
        }
    }
    // WCAG's large text: 18 pt, or 14 pt bold (24 px and 18.67 px at 96 dpi).
    const double px = pixelSize(text.item);
    const bool bold = text.item->property("font").value<QFont>().weight() >= QFont::DemiBold;
    return (px >= 24 - 0.01 || (bold && px >= 18.66)) ? 3.0 : 4.5;
}

QColor blend(const QColor &over, double alpha, const QColor &under)
{
    return QColor::fromRgbF(float(over.redF() * alpha + under.redF() * (1 - alpha)),
                            float(over.greenF() * alpha + under.greenF() * (1 - alpha)),
                            float(over.blueF() * alpha + under.blueF() * (1 - alpha)));
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + (text.size() > 60 ? text.left(57) + QStringLiteral("...") : text) +
           QLatin1Char('"');
}

// WCAG relative luminance contrast between two opaque colours (1 to 21).
double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The most common colour of `image` inside `rect` that is not close to `avoid`; invalid for an empty rect.
QColor backgroundBehind(const QImage &image, const QRect &rect, const QColor &avoid)
{
    const QRect area = rect & image.rect();
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    }
    QRgb best = 0;
    int bestCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QColor c(it.key());
        const int distance = std::abs(c.red() - avoid.red()) + std::abs(c.green() - avoid.green()) +
                             std::abs(c.blue() - avoid.blue());
        if (distance > 30 && it.value() > bestCount)
            best = it.key(), bestCount = it.value();
    }
    return bestCount > 0 ? QColor(best) : QColor();
}

} // namespace

QList<Finding> inspect(QQuickItem *content, const QImage &window)
{
    QList<TextInfo> texts;
    QList<Surface> surfaces;
    int order = 0;
    walk(content, 1.0, order, texts, surfaces);
    const QRectF windowRect(QPointF(0, 0), content->window()->size());
    const double scale = window.width() / windowRect.width();

    QList<TextInfo> shown;
    for (TextInfo &text : texts) {
        text.painted = text.item->mapRectToScene(paintedRect(text.item, text.editable, &text.fitProblem));
        applyClips(text, windowRect);
        if (text.visible.width() >= 1 && text.visible.height() >= 1 && !occluded(text, surfaces))
            shown.append(text);
    }

    QList<Finding> findings;
    for (int i = 0; i < shown.size(); ++i) {
        const TextInfo &text = shown.at(i);
        const QString where = whereIs(text.item);
        if (!text.fitProblem.isEmpty())
            findings.append({text.text, where, QStringLiteral("does not fit: ") + text.fitProblem});
        for (int j = i + 1; j < shown.size(); ++j) {
            const QRectF both = text.visible & shown.at(j).visible;
            if (both.width() > 2 && both.height() > 2 && !isAncestor(text.item, shown.at(j).item)) {
                findings.append({text.text, where,
                                 QStringLiteral("overlaps %1 (%2) by %3 x %4 px")
                                     .arg(quoted(shown.at(j).text), whereIs(shown.at(j).item),
                                          px(both.width()), px(both.height()))});
            }
        }
        if (text.visible.height() < 4)
            continue;
        const QRect pixels(
            QPoint(int(std::floor(text.visible.left() * scale)), int(std::floor(text.visible.top() * scale))),
            QPoint(int(std::ceil(text.visible.right() * scale)) - 1,
                   int(std::ceil(text.visible.bottom() * scale)) - 1));
        const ContrastException *exception = nullptr;
        const double required = requiredContrast(text, &exception);
        // What is behind the text: the most common colour that is not the text's own. Links are measured
        // against the same background (a link drawn in the background's colour must not hide it).
        const QColor background = backgroundBehind(window, pixels, QColor(text.colour.rgb()));
        if (!background.isValid())
            continue;
        const auto check = [&](const QColor &declared, const QString &what) {
            const QColor opaque = QColor(declared.rgb());
            const QColor drawn = blend(opaque, declared.alphaF() * text.opacity, background);
            const double ratio = contrastRatio(drawn, background);
            if (ratio + 1e-9 < required) {
                findings.append(
                    {text.text, where,
                     QStringLiteral("%1contrast %2:1 (%3 on %4), needs %5:1%6")
                         .arg(what)
                         .arg(ratio, 0, 'f', 2)
                         .arg(drawn.name(), background.name())
                         .arg(px(required))
                         .arg(exception
                                  ? QStringLiteral(" (exception: %1)").arg(QLatin1String(exception->where))
                                  : QString())});
            }
        };
        check(text.colour, QString());
        if (text.linkColour.isValid())
            check(text.linkColour, QStringLiteral("link "));
    }
    return findings;
}

} // namespace ScreenChecks
