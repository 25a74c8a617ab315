// Draws the 276 clock cards and writes them as 'PICT' resources into the two
// card picture files.
//
//   make_cards <resources-folder>
//       the two card files, each card under the picture id the loader asks
//       for (cards::kCardFiles and cards::PictureOfCard in cards/CardTable.h)
//   make_cards --png <folder> <card>...
//       PNG copies of single cards, to look at
//   make_cards --seed <file> [--scale <s>] [--direct] <card>...
//       a small resource file of a few cards (ids the cards' keys,
//       cards::KeyOfCard), drawn at s times the card size; --direct stores
//       them as 32-bit pixels
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <numbers>
#include <string>
#include <unordered_map>
#include <vector>

#include "PictWriter.h"
#include "cards/CardTable.h"

namespace {

constexpr int kCardWidth = 369;
constexpr int kCardHeight = 314;
// The card is shown from x = 10 on; the dial is centred in what is shown.
constexpr QPointF kCentre(189.5, 157.5);
constexpr double kRimOuter = 147;

// Shared by all faces so that every card reads the same way: the hour hand
// stops well short of the numerals, the minute hand reaches into them.
constexpr double kHourLength = 70;
constexpr double kHourHalfWidth = 7;
constexpr double kMinuteLength = 116;
constexpr double kMinuteHalfWidth = 3.5;
constexpr double kHubRadius = 9;

struct Palette {
    QColor background, rim, dial, ink, accent;
};

const Palette kStandard{Qt::white, QColor(0x2F, 0x6B, 0xD8), QColor(0xFF, 0xF9, 0xE0),
                        QColor(0x1B, 0x2A, 0x5C), QColor(0xB3, 0x26, 0x1E)};
const Palette kRoman{Qt::white, QColor(0x6B, 0x3A, 0x1E), QColor(0xF8, 0xEF, 0xD8),
                     QColor(0x2B, 0x1B, 0x0E), QColor(0xC9, 0xA1, 0x3B)};
const Palette kModern{Qt::white, QColor(0x2E, 0x33, 0x38), QColor(0xE4, 0xF3, 0xF0),
                      QColor(0x22, 0x27, 0x2B), QColor(0x0F, 0x8B, 0x8D)};

const Palette& PaletteOf(cards::Face face) {
    switch (face) {
    case cards::Face::Standard: return kStandard;
    case cards::Face::Roman: return kRoman;
    case cards::Face::Modern: return kModern;
    }
    return kStandard;
}

QPointF Polar(double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {radius * std::sin(a), -radius * std::cos(a)};
}

void Disc(QPainter& p, QPointF at, double radius, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(at, radius, radius);
}

void Ring(QPainter& p, double radius, double width, const QColor& c) {
    p.setPen(QPen(c, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), radius, radius);
}

void Tick(QPainter& p, double degrees, double from, double to, double width, const QColor& c,
          Qt::PenCapStyle cap = Qt::FlatCap) {
    p.setPen(QPen(c, width, Qt::SolidLine, cap));
    p.drawLine(Polar(from, degrees), Polar(to, degrees));
}

// Text centred on its ink at `at`, turned by `degrees` about that point.
void Numeral(QPainter& p, const QString& text, const QFont& font, QPointF at, double degrees,
             const QColor& c) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    p.save();
    p.translate(at);
    p.rotate(degrees);
    p.translate(-box.center());
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
    p.restore();
}

void StandardDial(QPainter& p, const Palette& c) {
    Disc(p, {0, 0}, kRimOuter, c.rim);
    Disc(p, {0, 0}, 137, c.dial);
    for (int m = 0; m < 60; ++m) {
        if (m % 5 == 0)
            Tick(p, m * 6, 119, 133, 4, c.ink);
        else
            Tick(p, m * 6, 127, 133, 1.6, c.ink);
    }
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(28);
    font.setBold(true);
    for (int h = 1; h <= 12; ++h) Numeral(p, QString::number(h), font, Polar(104, h * 30), 0, c.ink);
}

void RomanDial(QPainter& p, const Palette& c) {
    Disc(p, {0, 0}, kRimOuter, c.rim);
    Disc(p, {0, 0}, 140, c.accent);
    Disc(p, {0, 0}, 136, c.dial);
    // The minute track: two thin circles with the marks between them.
    Ring(p, 132, 1.2, c.ink);
    Ring(p, 123, 1.2, c.ink);
    for (int m = 0; m < 60; ++m) Tick(p, m * 6, 123, 132, m % 5 == 0 ? 3.5 : 1.2, c.ink);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(25);
    static const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI",
                                         "VII", "VIII", "IX", "X", "XI", "XII"};
    // Numerals stand on the circle, their feet towards the centre.
    for (int h = 1; h <= 12; ++h)
        Numeral(p, QString::fromLatin1(kRoman[h - 1]), font, Polar(106, h * 30), h * 30,
                c.ink);
}

void ModernDial(QPainter& p, const Palette& c) {
    Disc(p, {0, 0}, kRimOuter, c.rim);
    Disc(p, {0, 0}, 141, c.dial);
    for (int m = 0; m < 60; ++m)
        if (m % 5 != 0) Disc(p, Polar(134, m * 6), 1.6, c.ink);
    for (int h = 0; h < 12; ++h) {
        if (h % 3 == 0)
            Tick(p, h * 30, 102, 132, 11, c.accent, Qt::RoundCap);
        else
            Tick(p, h * 30, 112, 132, 6, c.accent, Qt::RoundCap);
    }
}

// A hand pointing up from the centre, drawn turned to its angle.
void Hand(QPainter& p, const QPolygonF& shape, double degrees, const QColor& c) {
    p.save();
    p.rotate(degrees);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(shape);
    p.restore();
}

void RoundHand(QPainter& p, double length, double tail, double halfWidth, double degrees,
               const QColor& c) {
    p.save();
    p.rotate(degrees);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(-halfWidth, -length, 2 * halfWidth, length + tail), halfWidth, halfWidth);
    p.restore();
}

void Hands(QPainter& p, cards::Face face, const Palette& c, double hourDeg, double minuteDeg) {
    const double h = kHourHalfWidth, m = kMinuteHalfWidth;
    switch (face) {
    case cards::Face::Standard:
        Hand(p, QPolygonF({{-h, 12}, {-h, -kHourLength + 12}, {0, -kHourLength}, {h, -kHourLength + 12},
                           {h, 12}}),
             hourDeg, c.ink);
        Hand(p, QPolygonF({{-m, 18}, {-m, -kMinuteLength + 12}, {0, -kMinuteLength},
                           {m, -kMinuteLength + 12}, {m, 18}}),
             minuteDeg, c.accent);
        Disc(p, {0, 0}, kHubRadius, c.ink);
        Disc(p, {0, 0}, 4, c.accent);
        break;
    case cards::Face::Roman:
        // A spade-tipped hour hand and a lance of a minute hand.
        Hand(p, QPolygonF({{-h + 2, 14}, {-h, 0}, {-h + 1, -48}, {-h - 3, -56}, {0, -kHourLength},
                           {h + 3, -56}, {h - 1, -48}, {h, 0}, {h - 2, 14}}),
             hourDeg, c.ink);
        Hand(p, QPolygonF({{-m - 0.5, 20}, {-m, 0}, {-m + 1, -100}, {0, -kMinuteLength}, {m - 1, -100},
                           {m, 0}, {m + 0.5, 20}}),
             minuteDeg, c.ink);
        Disc(p, {0, 0}, kHubRadius, c.ink);
        Disc(p, {0, 0}, 5, c.accent);
        break;
    case cards::Face::Modern:
        RoundHand(p, kHourLength, 14, h, hourDeg, c.ink);
        RoundHand(p, kMinuteLength, 20, m, minuteDeg, c.ink);
        Disc(p, {0, 0}, kHubRadius, c.accent);
        Disc(p, {0, 0}, 3.5, c.ink);
        break;
    }
}

// Maps every pixel to the nearest of a face's colours or of the blends
// between two of them, which is what antialiased edges are made of. That
// keeps a card within 256 colours, so it is stored as 8-bit pixels.
class Quantiser {
public:
    explicit Quantiser(const Palette& c) {
        const QColor bases[] = {c.background, c.rim, c.dial, c.ink, c.accent};
        const int n = std::size(bases);
        const int pairs = n * (n - 1) / 2;
        const int steps = (256 - n) / pairs + 1;  // blends per pair plus one
        for (const QColor& b : bases) colours_.push_back(b.rgb());
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                for (int k = 1; k < steps; ++k) {
                    auto mix = [&](int a, int b) { return (a * (steps - k) + b * k + steps / 2) / steps; };
                    colours_.push_back(qRgb(mix(bases[i].red(), bases[j].red()),
                                            mix(bases[i].green(), bases[j].green()),
                                            mix(bases[i].blue(), bases[j].blue())));
                }
    }

    void Apply(QImage& img) {
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) line[x] = Nearest(line[x] | 0xFF000000u);
        }
    }

private:
    QRgb Nearest(QRgb px) {
        if (auto it = cache_.find(px); it != cache_.end()) return it->second;
        QRgb best = colours_.front();
        int bestDistance = INT32_MAX;
        for (QRgb c : colours_) {
            const int dr = qRed(c) - qRed(px), dg = qGreen(c) - qGreen(px), db = qBlue(c) - qBlue(px);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = c;
            }
        }
        cache_.emplace(px, best);
        return best;
    }

    std::vector<QRgb> colours_;
    std::unordered_map<QRgb, QRgb> cache_;
};

QImage DrawCard(int card, double scale = 1.0) {
    const cards::CardTime t = cards::kCardTimes[card - 1];
    const cards::Face face = cards::FaceOfCard(card);
    const Palette& c = PaletteOf(face);
    QImage img(static_cast<int>(std::lround(kCardWidth * scale)),
               static_cast<int>(std::lround(kCardHeight * scale)), QImage::Format_RGB32);
    img.fill(c.background);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        p.translate(kCentre);
        switch (face) {
        case cards::Face::Standard: StandardDial(p, c); break;
        case cards::Face::Roman: RomanDial(p, c); break;
        case cards::Face::Modern: ModernDial(p, c); break;
        }
        const double minuteDeg = 6.0 * t.minute;
        const double hourDeg = 30.0 * (t.hour % 12) + 0.5 * t.minute;
        Hands(p, face, c, hourDeg, minuteDeg);
    }
    Quantiser(c).Apply(img);
    return img;
}

bool WriteAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return false;
    const std::string tmp = path + ".tmp";
    if (!pictwriter::WriteFile(tmp, bytes)) return false;
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    return !ec;
}

bool WriteCards(const std::string& path, int first, int last, double scale,
                pictwriter::Encoding encoding) {
    std::vector<pictwriter::Resource> resources;
    for (int card = first; card <= last; ++card) {
        auto pict = pictwriter::EncodePict(DrawCard(card, scale), encoding);
        if (pict.empty()) return false;
        resources.push_back({{'P', 'I', 'C', 'T'}, static_cast<std::int16_t>(cards::PictureOfCard(card).id),
                             std::move(pict)});
    }
    return WriteAtomically(path, pictwriter::BuildResourceFile(resources));
}

int Usage() {
    std::fprintf(stderr,
                 "usage: make_cards <resources-folder>\n"
                 "       make_cards --png <folder> <card>...\n"
                 "       make_cards --seed <file> [--scale <s>] [--direct] <card>...\n");
    return 2;
}

bool ParseCard(const QString& arg, int& card) {
    bool ok = false;
    card = arg.toInt(&ok);
    return ok && cards::IsCard(card);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && !args[1].startsWith(QLatin1String("--"))) {
        const std::filesystem::path dir = args[1].toStdString();
        for (const cards::CardFile& f : cards::kCardFiles) {
            if (!WriteCards((dir / f.name).string(), f.firstCard, f.lastCard, 1.0, pictwriter::Encoding::Auto)) {
                std::fprintf(stderr, "make_cards: cannot write the card files into %s\n", dir.c_str());
                return 1;
            }
        }
        return 0;
    }
    if (args.size() >= 4 && args[1] == QLatin1String("--png")) {
        for (int i = 3; i < args.size(); ++i) {
            int card = 0;
            if (!ParseCard(args[i], card)) return Usage();
            const QString path = args[2] + QStringLiteral("/card%1.png").arg(card, 3, 10, QLatin1Char('0'));
            if (!DrawCard(card).save(path)) return 1;
        }
        return 0;
    }
    if (args.size() >= 4 && args[1] == QLatin1String("--seed")) {
        double scale = 1.0;
        auto encoding = pictwriter::Encoding::Auto;
        std::vector<int> cardList;
        for (int i = 3; i < args.size(); ++i) {
            int card = 0;
            if (args[i] == QLatin1String("--direct")) {
                encoding = pictwriter::Encoding::Direct;
            } else if (args[i] == QLatin1String("--scale") && i + 1 < args.size()) {
                scale = args[++i].toDouble();
                if (!(scale > 0.01 && scale <= 1.0)) return Usage();
            } else if (ParseCard(args[i], card)) {
                cardList.push_back(card);
            } else {
                return Usage();
            }
        }
        std::vector<pictwriter::Resource> resources;
        for (int card : cardList)
            resources.push_back({{'P', 'I', 'C', 'T'}, static_cast<std::int16_t>(cards::KeyOfCard(card)),
                                 pictwriter::EncodePict(DrawCard(card, scale), encoding)});
        return WriteAtomically(args[2].toStdString(), pictwriter::BuildResourceFile(resources)) ? 0 : 1;
    }
    return Usage();
}
