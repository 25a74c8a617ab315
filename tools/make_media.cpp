// Draws the bundle's pictures and synthesises its sounds.
//
//   make_media <resources-folder> [--png <folder>]
//
// --png also writes a PNG copy of every picture, for looking at them.
// Everything is drawn from code with fixed fonts and no clock or random
// input, so each build writes the same bytes.
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "media_sound.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Palette: strong, friendly colours that stay dark enough to print in grey.
const QColor kNavy(0x1E, 0x3A, 0x66);
const QColor kInk(0x22, 0x26, 0x30);
const QColor kRed(0xD7, 0x44, 0x3E);
const QColor kRedDark(0x9E, 0x2A, 0x26);
const QColor kGold(0xF2, 0xB6, 0x31);
const QColor kGoldDark(0x9A, 0x6A, 0x00);
const QColor kSky(0x3E, 0x8E, 0xD0);
const QColor kGreen(0x2E, 0x9E, 0x5B);
const QColor kGrey(0x6B, 0x72, 0x80);
const QColor kCream(0xFF, 0xF8, 0xE8);

QFont MakeFont(const QStringList& families, int pixelSize, int weight, bool italic = false) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);  // outlines, not the hinter, set the shape
    f.setKerning(true);
    return f;
}
QFont Sans(int px, int weight = QFont::Normal) {
    return MakeFont({"Liberation Sans", "DejaVu Sans"}, px, weight);
}
QFont Serif(int px, int weight = QFont::Normal, bool italic = false) {
    return MakeFont({"Liberation Serif", "DejaVu Serif"}, px, weight, italic);
}

QPainterPath TextPath(const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// The text's outline with the centre of its ink box at `centre`.
QPainterPath CentredText(const QString& text, const QFont& font, QPointF centre) {
    QPainterPath path = TextPath(text, font);
    return path.translated(centre - path.boundingRect().center());
}

// A point at `radius` from `c`, `degrees` clockwise from twelve o'clock.
QPointF Polar(QPointF c, double radius, double degrees) {
    const double a = degrees * kPi / 180.0;
    return {c.x() + radius * std::sin(a), c.y() - radius * std::cos(a)};
}

// ---------------------------------------------------------------------------
// Clock faces

enum class Numerals { Arabic, Roman, None };
enum class Hands { Tapered, Moon, Bar };

struct DialStyle {
    Numerals numerals = Numerals::Arabic;
    bool radialNumerals = false;  // numerals turned to face the centre
    bool allNumerals = true;      // false: only 12, 3, 6 and 9
    Hands hands = Hands::Tapered;
    QColor rimOuter, rimInner;    // case ring, shaded from top-left to bottom-right
    double rim = 0.12;            // case ring width as a fraction of the radius
    QColor face = Qt::white, faceEdge = QColor(0xEE, 0xF1, 0xF5);
    QColor marks = kInk, numeralInk = kNavy, handInk = kInk, hub = kRed;
    QColor secondHand;            // invalid: no second hand
    bool minuteMarks = true;
    bool minuteTrack = false;     // the two rings of a classic chapter ring
    bool bars = false;            // modern dial: bold bars instead of ticks
    QStringList family = {"Liberation Sans", "DejaVu Sans"};
    int weight = QFont::Bold;
    double numeralSize = 0.22;    // pixel size as a fraction of the radius
    double numeralRadius = 0.70;  // numeral centres, fraction of the radius
    double handScale = 1.0;       // hand width multiplier
};

const char* const kRoman[] = {"XII", "I", "II", "III", "IV", "V",
                              "VI", "VII", "VIII", "IX", "X", "XI"};

// One hand in local coordinates: pointing up (negative y), pivot at origin.
// ringAt: where a moon hand's ring sits, as a fraction of its length.
QPainterPath HandPath(Hands style, double length, double width, double ringAt = 0.62) {
    QPainterPath p;
    switch (style) {
    case Hands::Tapered: {
        const double tail = 0.18 * length;
        p.moveTo(-width * 0.5, tail);
        p.lineTo(-width * 0.5, -length * 0.55);
        p.lineTo(-width * 0.18, -length * 0.92);
        p.lineTo(0, -length);
        p.lineTo(width * 0.18, -length * 0.92);
        p.lineTo(width * 0.5, -length * 0.55);
        p.lineTo(width * 0.5, tail);
        p.closeSubpath();
        break;
    }
    case Hands::Moon: {
        // Thin stem, an open ring part way along, then a slim point.
        const double ringY = -length * ringAt, ringR = width * 1.0;
        const double stem = width * 0.42;
        const double tail = length * 0.14;
        p.addRect(QRectF(-stem / 2, ringY + ringR, stem, tail - (ringY + ringR)));
        QPainterPath ring;
        ring.addEllipse(QPointF(0, ringY), ringR, ringR);
        QPainterPath hole;
        hole.addEllipse(QPointF(0, ringY), ringR - stem, ringR - stem);
        QPainterPath tip;
        tip.moveTo(-width * 0.45, ringY - ringR + stem * 0.5);
        tip.lineTo(0, -length);
        tip.lineTo(width * 0.45, ringY - ringR + stem * 0.5);
        tip.closeSubpath();
        p = p.united(ring).subtracted(hole).united(tip);
        break;
    }
    case Hands::Bar: {
        p.addRoundedRect(QRectF(-width / 2, -length, width, length * 1.16), width / 2, width / 2);
        break;
    }
    }
    return p;
}

void DrawHand(QPainter& p, QPointF c, double degrees, const QPainterPath& shape, const QColor& ink,
              double shadowOffset) {
    p.save();
    if (shadowOffset > 0) {
        p.save();
        p.translate(c + QPointF(shadowOffset, shadowOffset));
        p.rotate(degrees);
        p.fillPath(shape, QColor(0, 0, 0, 40));
        p.restore();
    }
    p.translate(c);
    p.rotate(degrees);
    p.fillPath(shape, ink);
    p.restore();
}

void DrawClock(QPainter& p, QPointF c, double r, const DialStyle& s, double hour, double minute,
               double second = -1) {
    p.save();
    p.setPen(Qt::NoPen);

    // Case ring.
    QLinearGradient caseGrad(c - QPointF(r, r), c + QPointF(r, r));
    caseGrad.setColorAt(0, s.rimInner);
    caseGrad.setColorAt(1, s.rimOuter);
    p.setBrush(caseGrad);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(s.rimOuter.darker(130), std::max(0.8, r * 0.02)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - r * 0.01, r - r * 0.01);

    // Face.
    const double fr = r * (1.0 - s.rim);
    QRadialGradient faceGrad(c - QPointF(fr * 0.25, fr * 0.3), fr * 1.25);
    faceGrad.setColorAt(0, s.face);
    faceGrad.setColorAt(0.7, s.face);
    faceGrad.setColorAt(1, s.faceEdge);
    p.setPen(QPen(s.rimOuter.darker(150), std::max(0.6, r * 0.012)));
    p.setBrush(faceGrad);
    p.drawEllipse(c, fr, fr);

    // Chapter ring: minute ticks and hour marks.
    const double outer = fr * 0.94;
    if (s.minuteTrack) {
        p.setPen(QPen(s.marks, std::max(0.6, fr * 0.012)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, outer, outer);
        p.drawEllipse(c, outer - fr * 0.08, outer - fr * 0.08);
    }
    for (int m = 0; m < 60; ++m) {
        const bool hourMark = m % 5 == 0;
        if (!hourMark && !s.minuteMarks) continue;
        const double a = m * 6.0;
        if (s.bars) {
            const bool quarter = m % 15 == 0;
            const double len = hourMark ? (quarter ? fr * 0.26 : fr * 0.17) : fr * 0.05;
            const double w = hourMark ? (quarter ? fr * 0.085 : fr * 0.055) : fr * 0.018;
            p.setPen(QPen(hourMark ? s.marks : s.marks.lighter(160), std::max(0.7, w),
                          Qt::SolidLine, hourMark ? Qt::RoundCap : Qt::FlatCap));
            p.drawLine(Polar(c, outer, a), Polar(c, outer - len, a));
        } else {
            const double len = hourMark ? fr * 0.10 : fr * 0.05;
            const double w = hourMark ? fr * 0.035 : fr * 0.014;
            // On a chapter ring every tick spans the ring; otherwise hour ticks are longer.
            const double bottom = s.minuteTrack ? outer - fr * 0.08 : outer - len;
            p.setPen(QPen(s.marks, std::max(hourMark ? 1.0 : 0.5, w), Qt::SolidLine, Qt::FlatCap));
            p.drawLine(Polar(c, outer, a), Polar(c, bottom, a));
        }
    }

    // Numerals.
    if (s.numerals != Numerals::None) {
        const QFont font = MakeFont(s.family, std::max(6, static_cast<int>(std::lround(fr * s.numeralSize))),
                                    s.weight);
        for (int h = 0; h < 12; ++h) {
            if (!s.allNumerals && h % 3 != 0) continue;
            const QString text = s.numerals == Numerals::Roman ? QString(kRoman[h])
                                                              : QString::number(h == 0 ? 12 : h);
            const double a = h * 30.0;
            if (s.radialNumerals) {
                p.save();
                p.translate(c);
                // The lower numerals are turned the other way up, so none
                // reads upside down.
                p.rotate(h >= 4 && h <= 8 ? a + 180.0 : a);
                const double y = h >= 4 && h <= 8 ? fr * s.numeralRadius : -fr * s.numeralRadius;
                p.fillPath(CentredText(text, font, QPointF(0, y)), s.numeralInk);
                p.restore();
            } else {
                p.fillPath(CentredText(text, font, Polar(c, fr * s.numeralRadius, a)), s.numeralInk);
            }
        }
    }

    // Hands: hour, minute, then the second hand and hub on top.
    const double hourDeg = std::fmod(hour, 12.0) * 30.0 + minute * 0.5;
    const double minuteDeg = minute * 6.0;
    const double w = fr * 0.085 * s.handScale;
    const double shadow = std::max(0.0, fr * 0.02);
    DrawHand(p, c, hourDeg, HandPath(s.hands, fr * 0.52, w * 1.25), s.handInk, shadow);
    // The minute hand's ring stays inside the numerals it sweeps past.
    DrawHand(p, c, minuteDeg, HandPath(s.hands, fr * 0.80, w * 0.9, 0.52), s.handInk, shadow);
    if (second >= 0 && s.secondHand.isValid()) {
        p.save();
        p.setPen(QPen(s.secondHand, std::max(0.7, fr * 0.02), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(Polar(c, -fr * 0.18, second * 6.0), Polar(c, fr * 0.86, second * 6.0));
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(s.hub);
    p.drawEllipse(c, fr * 0.075, fr * 0.075);
    p.setBrush(s.hub.lighter(150));
    p.drawEllipse(c, fr * 0.025, fr * 0.025);
    p.restore();
}

// The three dials of the practice modes, shared by their pictures and the logo.
DialStyle StandardDial() {
    DialStyle s;
    s.numerals = Numerals::Arabic;
    s.rimOuter = kRedDark;
    s.rimInner = kRed.lighter(115);
    s.numeralInk = kNavy;
    s.handInk = kInk;
    s.hub = kRed;
    return s;
}

DialStyle RomanDial() {
    DialStyle s;
    s.numerals = Numerals::Roman;
    s.hands = Hands::Moon;
    s.rimOuter = kGoldDark;
    s.rimInner = QColor(0xFF, 0xDE, 0x7A);
    s.rim = 0.11;
    s.face = kCream;
    s.faceEdge = QColor(0xF0, 0xE2, 0xC0);
    s.marks = QColor(0x3A, 0x2E, 0x22);
    s.numeralInk = QColor(0x2A, 0x22, 0x1A);
    s.handInk = QColor(0x1C, 0x22, 0x3A);
    s.hub = QColor(0x1C, 0x22, 0x3A);
    s.minuteTrack = true;
    s.family = {"Liberation Serif", "DejaVu Serif"};
    s.weight = QFont::Bold;
    s.numeralSize = 0.20;
    s.numeralRadius = 0.66;
    return s;
}

DialStyle ModernDial() {
    DialStyle s;
    s.numerals = Numerals::None;
    s.hands = Hands::Bar;
    s.bars = true;
    s.rimOuter = QColor(0x2B, 0x31, 0x3C);
    s.rimInner = QColor(0x5A, 0x64, 0x74);
    s.rim = 0.07;
    s.face = Qt::white;
    s.faceEdge = QColor(0xF2, 0xF4, 0xF7);
    s.marks = QColor(0x2B, 0x31, 0x3C);
    s.handInk = QColor(0x2B, 0x31, 0x3C);
    s.hub = QColor(0xF2, 0x7A, 0x1A);
    s.secondHand = QColor(0xF2, 0x7A, 0x1A);
    s.handScale = 1.1;
    return s;
}

// ---------------------------------------------------------------------------
// Small ornaments

// A four-pointed sparkle.
void Sparkle(QPainter& p, QPointF c, double r, const QColor& ink) {
    QPainterPath s;
    const double k = r * 0.22;
    s.moveTo(c.x(), c.y() - r);
    s.quadTo(c.x() + k, c.y() - k, c.x() + r, c.y());
    s.quadTo(c.x() + k, c.y() + k, c.x(), c.y() + r);
    s.quadTo(c.x() - k, c.y() + k, c.x() - r, c.y());
    s.quadTo(c.x() - k, c.y() - k, c.x(), c.y() - r);
    p.fillPath(s, ink);
}

QPolygonF StarPolygon(QPointF c, double outer, double inner) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i)
        star << Polar(c, i % 2 == 0 ? outer : inner, i * 36.0);
    return star;
}

// ---------------------------------------------------------------------------
// The pictures

QImage Canvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

void Smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Windows show this picture whole and in two crops: a banner of its left
// part (x 0..412, rows 0..68) and its right part (x 412..607) beside the
// banner, whose corner (x 497 on, rows 0..13) lies under the banner and
// whose right edge (x 583 on) under the score sentences. A separator or a
// label may lie over rows 76 on. So the wordmark and tagline stay inside
// the banner, and the clock and sparkles right of x 413, clear of that
// corner, above row 76 and left of x 583.
QImage Logo() {
    QImage img = Canvas(618, 84);
    QPainter p(&img);
    Smooth(p);

    // "Tıckmoor" with a dotless i: the dot is drawn as a red ball.
    const QFont word = Sans(60, QFont::Bold);
    QPainterPath mark = TextPath(QString::fromUtf8("T\u0131ckmoor"), word);
    const QRectF mb = mark.boundingRect();
    mark.translate(18 - mb.left(), 50 - mb.bottom());
    p.fillPath(mark, kNavy);
    // The i stem is the second glyph; place the dot from the stem's own outline.
    QPainterPath stem = TextPath(QString::fromUtf8("\u0131"), word);
    // Advance of "Tı" less that of "ı": the T's advance with any kerning pair.
    const QFontMetricsF fm(word);
    const double advanceT = fm.horizontalAdvance(QString::fromUtf8("T\u0131")) -
                            fm.horizontalAdvance(QString::fromUtf8("\u0131"));
    stem.translate(18 - mb.left() + advanceT, 50 - mb.bottom());
    const QRectF sb = stem.boundingRect();
    const double dotR = sb.width() * 0.62;
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(sb.center().x(), sb.top() - dotR - 3), dotR, dotR);

    // Tagline under the wordmark.
    const QFont tag = Sans(14, QFont::Normal);
    QPainterPath tagline = TextPath("learn to read the clock", tag);
    tagline.translate(20 - tagline.boundingRect().left(), 66);
    p.fillPath(tagline, kGrey);

    DrawClock(p, QPointF(458, 39), 35, StandardDial(), 10, 10);
    Sparkle(p, QPointF(511, 24), 7, kGold);
    Sparkle(p, QPointF(507, 61), 4.5, kSky);
    Sparkle(p, QPointF(541, 43), 5, kGreen);
    Sparkle(p, QPointF(565, 66), 6, kGold);
    return img;
}

// A classic dial at nine o'clock, drawn for the two windows that show parts
// of this picture. The Welcome window shows x 0..181, rows 34..129 (the
// logo lies over the rows above, the version label over x 0..26 of rows
// 41..60); the Results window x 123..288, from row 15 (under the logo) to
// row 61 collapsed and 180 expanded, with "Print" over x 230..288 of rows
// 27..48. So the large dial is the Welcome window's alone; a small one for
// the collapsed Results window, and its caption for the expanded one, lie
// right of x 183 or below row 129, where the Welcome window does not reach.
void RomanNine(QPainter& p, QPointF c, double r) {
    DialStyle s = RomanDial();
    s.radialNumerals = true;
    s.rim = 0.13;
    s.numeralSize = 0.19;
    s.numeralRadius = 0.70;
    if (r < 30) {  // too small for numerals to read: hour marks only
        s.numerals = Numerals::None;
        s.minuteTrack = false;
        s.minuteMarks = false;
    }
    DrawClock(p, c, r, s, 9, 0);

    // Bezel highlight: a thin bright arc on the upper left.
    const QColor shine(255, 255, 255, 150);
    p.setPen(QPen(shine, std::max(1.0, r / 30), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const double in = r * 0.05;
    p.drawArc(QRectF(c.x() - r + in, c.y() - r + in, 2 * (r - in), 2 * (r - in)), 100 * 16, 70 * 16);
}

QImage NineRoman() {
    QImage img = Canvas(289, 200);
    QPainter p(&img);
    Smooth(p);

    // The Welcome window's dial, with a soft shadow that stays in view.
    const QPointF c(74, 80);
    const double r = 42;
    QRadialGradient shade(c + QPointF(2, 3), r + 2);
    shade.setColorAt(0.85, QColor(0, 0, 0, 40));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(c + QPointF(2, 3), r + 2, r + 2);
    RomanNine(p, c, r);

    // The Results window's: a small dial beside "Print", and below it,
    // seen once the name row opens, what the dial says.
    RomanNine(p, QPointF(206, 38), 20);
    const QFont big = Serif(40, QFont::Bold);
    const QPainterPath nine = CentredText("IX", big, QPointF(206, 108));
    p.fillPath(nine, kGold);
    p.strokePath(nine, QPen(kGoldDark, 1.2));
    const QFont cap = Serif(20, QFont::Normal, true);
    p.fillPath(CentredText("nine o'clock", cap, QPointF(206, 143)), QColor(0x3A, 0x2E, 0x22));
    return img;
}

QImage ExSelStandard() {
    QImage img = Canvas(100, 100);
    QPainter p(&img);
    Smooth(p);
    DrawClock(p, QPointF(50, 50), 46, StandardDial(), 10, 10);
    return img;
}

QImage ExSelRoman() {
    QImage img = Canvas(115, 100);
    QPainter p(&img);
    Smooth(p);
    DrawClock(p, QPointF(57.5, 50), 46, RomanDial(), 1, 50);
    return img;
}

QImage ExSelModern() {
    QImage img = Canvas(118, 100);
    QPainter p(&img);
    Smooth(p);
    DrawClock(p, QPointF(59, 50), 46, ModernDial(), 4, 40, 8);
    return img;
}

// A clock asking a question: a speech bubble with "?" over a small clock.
QImage WordProblem() {
    QImage img = Canvas(100, 100);
    QPainter p(&img);
    Smooth(p);

    DialStyle s = StandardDial();
    s.allNumerals = false;
    s.numeralSize = 0.30;
    s.numeralRadius = 0.66;
    s.rimOuter = QColor(0x1E, 0x6E, 0x40);
    s.rimInner = kGreen.lighter(120);
    s.hub = kGreen;
    DrawClock(p, QPointF(35, 64), 31, s, 10, 10);

    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(50, 4, 46, 40), 13, 13);
    QPainterPath tail;
    tail.moveTo(58, 38);
    tail.lineTo(52, 54);
    tail.lineTo(70, 41);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.fillPath(bubble.translated(1.5, 1.5), QColor(0, 0, 0, 35));
    p.fillPath(bubble, QColor(0xE8, 0xF2, 0xFC));
    p.strokePath(bubble, QPen(kSky.darker(130), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(CentredText("?", Sans(32, QFont::Bold), QPointF(73, 24)), kRed);
    return img;
}

// Heading for the printed results: dark ink and outlines only, so a grey
// printer keeps every shape. It is on every page, whatever the score, so it
// carries no star, medal or other shape a reader could take for an award:
// the award star (AwardStar, drawn below the text) is printed only for a
// perfect round, and a teacher sorting the pages goes by it.
QImage ResultsBanner() {
    QImage img = Canvas(500, 80);
    QPainter p(&img);
    Smooth(p);

    DialStyle s;
    s.numerals = Numerals::Arabic;
    s.allNumerals = false;
    s.numeralSize = 0.30;
    s.numeralRadius = 0.66;
    s.rim = 0.10;
    s.rimOuter = kInk;
    s.rimInner = kNavy;
    s.faceEdge = Qt::white;
    s.numeralInk = kInk;
    s.hub = kRed;
    DrawClock(p, QPointF(40, 39), 32, s, 10, 10);

    QPainterPath title = TextPath("Tickmoor", Sans(34, QFont::Bold));
    title.translate(86 - title.boundingRect().left(), 36);
    p.fillPath(title, kNavy);
    QPainterPath sub = TextPath("Clock Reading Results", Sans(21, QFont::Normal));
    sub.translate(87 - sub.boundingRect().left(), 63);
    p.fillPath(sub, kInk);

    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(86, 71, 406, 3), kNavy);
    p.fillRect(QRectF(86, 76, 406, 1), kNavy);
    return img;
}

// A faceted gold star with a dark outline; shading splits each point into a
// lit and a shaded half, which still reads as a star in black and white.
QImage AwardStar() {
    QImage img = Canvas(150, 150);
    QPainter p(&img);
    Smooth(p);

    const QPointF c(75, 80);
    const double outer = 68, inner = 28;
    const QPolygonF star = StarPolygon(c, outer, inner);

    QPainterPath outline;
    outline.addPolygon(star);
    outline.closeSubpath();
    p.fillPath(outline.translated(3, 4), QColor(0, 0, 0, 40));

    // Ten facets: from the centre to each tip and its neighbouring notch.
    for (int i = 0; i < 10; ++i) {
        const QPointF a = star[i], b = star[(i + 1) % 10];
        QPolygonF facet;
        facet << c << a << b;
        // Light comes from the upper left: facets facing it are brighter.
        const double mid = (i * 36.0 + 18.0) * kPi / 180.0;
        const double lit = 0.5 + 0.5 * std::cos(mid + kPi / 4);  // 1 facing up-left
        const QColor light(0xFF, 0xE2, 0x6A), dark(0xE0, 0x9A, 0x10);
        const QColor col = QColor::fromRgbF(
            static_cast<float>(dark.redF() + (light.redF() - dark.redF()) * lit),
            static_cast<float>(dark.greenF() + (light.greenF() - dark.greenF()) * lit),
            static_cast<float>(dark.blueF() + (light.blueF() - dark.blueF()) * lit));
        p.setPen(Qt::NoPen);
        p.setBrush(i % 2 == 0 ? col : col.darker(112));
        p.drawPolygon(facet);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGoldDark, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(star);
    p.setPen(QPen(QColor(0x9A, 0x6A, 0x00, 110), 1.0));
    for (const QPointF& pt : star) p.drawLine(c, pt);

    Sparkle(p, QPointF(20, 22), 9, kGold);
    Sparkle(p, QPointF(131, 128), 7, kGold);
    Sparkle(p, QPointF(134, 20), 5, kGold);
    return img;
}

// ---------------------------------------------------------------------------

struct PictureJob {
    const char* name;
    std::function<QImage()> draw;
};
struct SoundJob {
    const char* name;
    std::function<media::Signal()> make;
};

bool SaveBmp(const QImage& img, const QString& path) {
    return img.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--png")) {
        std::fprintf(stderr, "usage: make_media <resources-folder> [--png <folder>]\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString pngDir = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (!QDir().mkpath(outDir) || (!pngDir.isEmpty() && !QDir().mkpath(pngDir))) {
        std::fprintf(stderr, "make_media: cannot make the output folder\n");
        return 1;
    }
    // Other fonts would draw other pixels; say so rather than drift silently.
    for (const QFont& f : {Sans(20), Serif(20)}) {
        const QString got = QFontInfo(f).family();
        if (!got.startsWith("Liberation"))
            std::fprintf(stderr, "make_media: warning: using font %s\n", got.toUtf8().constData());
    }

    const PictureJob pictures[] = {
        {"tickmoorLogo.bmp", Logo},
        {"NineRoman.bmp", NineRoman},
        {"exSel_Standard.bmp", ExSelStandard},
        {"exSel_Roman.bmp", ExSelRoman},
        {"exSel_Modern.bmp", ExSelModern},
        {"pWordProb.bmp", WordProblem},
        {"pResultsBanner.bmp", ResultsBanner},
        {"pAwardStarPrint.bmp", AwardStar},
    };
    const SoundJob sounds[] = {
        {"myBeep.wav", media::Click},
        {"CorrectAnswer.wav", media::CorrectFigure},
        {"WrongAnswer.wav", media::WrongFigure},
        {"chime.wav", media::Chime},
    };

    int failures = 0;
    for (const PictureJob& job : pictures) {
        const QImage img = job.draw();
        const QString name = QString::fromLatin1(job.name);
        if (!SaveBmp(img, outDir + "/" + name)) {
            std::fprintf(stderr, "make_media: cannot write %s\n", job.name);
            ++failures;
        }
        if (!pngDir.isEmpty()) {
            const QString png = pngDir + "/" + name.chopped(4) + ".png";
            if (!img.save(png, "PNG")) ++failures;
        }
    }
    for (const SoundJob& job : sounds) {
        const std::string path = outDir.toStdString() + "/" + job.name;
        if (!media::WriteFile(path, media::EncodeWav(job.make()))) {
            std::fprintf(stderr, "make_media: cannot write %s\n", job.name);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
