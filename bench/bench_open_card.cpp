// Loading one card: mGlobals::mOpenCard() (find the bundle, open the card
// file, read and decode one picture, close) for every card, against Qt
// decoding the same pixels from PNG held in memory, in the same run.
#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cards/CardTable.h"
#include "cards/mGlobals.h"
#include "platform/Services.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCards = cards::kLastCard;
constexpr int kCardsInFile1 = cards::kCardFiles[0].lastCard;  // the rest are in the second file
constexpr int kWarmup = 1;
constexpr int kPasses = 7;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

// The real services, but the bundle is the one the build made; an alert
// would stand modal, so it is only counted.
class BenchServices : public tk::Services {
public:
    tk::String ExecutablePath() override { return std::string(TICKMOOR_BUNDLE_DIR) + "/Contents/MacOS/Tickmoor"; }
    void MsgBox(const tk::String& text) override {
        ++alerts;
        std::fprintf(stderr, "alert: %s\n", text.c_str());
    }
    int alerts = 0;
};

// The picture as a QImage of the format the program holds it in.
QImage ToImage(const tk::Picture& p) {
    QImage img(p.Width(), p.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) line[x] = p.PixelAt(x, y);
    }
    return img;
}

bool OpenCard(int card) {
    mGlobals::iCardNum = card;
    mGlobals::mOpenCard();
    return !mGlobals::pClockFace.IsNil();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchServices services;
    tk::SetServices(&services);

    // Every card once, as PNG in memory (Qt's default compression).
    std::vector<QByteArray> png(kCards + 1);
    std::size_t pngBytes = 0, pixels = 0;
    int minW = 1 << 30, maxW = 0, minH = 1 << 30, maxH = 0;
    for (int card = 1; card <= kCards; ++card) {
        if (!OpenCard(card)) {
            std::fprintf(stderr, "card %d did not load\n", card);
            return 1;
        }
        const QImage img = ToImage(mGlobals::pClockFace);
        minW = std::min(minW, img.width());
        maxW = std::max(maxW, img.width());
        minH = std::min(minH, img.height());
        maxH = std::max(maxH, img.height());
        pixels += static_cast<std::size_t>(img.width()) * img.height();
        QBuffer buf(&png[card]);
        buf.open(QIODevice::WriteOnly);
        if (!img.save(&buf, "PNG")) {
            std::fprintf(stderr, "card %d: PNG encoding failed\n", card);
            return 1;
        }
        pngBytes += static_cast<std::size_t>(png[card].size());
    }

    // Alternating per card, so both see the same machine state.
    std::vector<double> ours, qt, ours1, ours2;
    ours.reserve(kCards * kPasses);
    qt.reserve(kCards * kPasses);
    for (int pass = 0; pass < kWarmup + kPasses; ++pass) {
        for (int card = 1; card <= kCards; ++card) {
            const Clock::time_point t0 = Clock::now();
            const bool ok = OpenCard(card);
            const Clock::time_point t1 = Clock::now();
            QImage decoded;
            const bool pngOk = decoded.loadFromData(png[card], "PNG");
            const Clock::time_point t2 = Clock::now();
            if (!ok || !pngOk) {
                std::fprintf(stderr, "card %d failed in pass %d\n", card, pass);
                return 1;
            }
            if (pass < kWarmup) continue;
            ours.push_back(Ms(t1 - t0));
            (card <= kCardsInFile1 ? ours1 : ours2).push_back(Ms(t1 - t0));
            qt.push_back(Ms(t2 - t1));
        }
    }
    mGlobals::ReleaseAll();
    tk::SetServices(nullptr);
    if (services.alerts) return 1;

    const double mOurs = Median(ours), mQt = Median(qt);
    std::printf("Card load, %d cards x %d passes (after %d warm-up pass)\n", kCards, kPasses, kWarmup);
    std::printf("  cards %d..%d x %d..%d px; PNG in memory %.1f KB per card on average\n", minW, maxW, minH,
                maxH, static_cast<double>(pngBytes) / kCards / 1024.0);
    std::printf("  mOpenCard (bundle, open, read, decode, close)  median %6.3f ms   p90 %6.3f ms\n", mOurs,
                Percentile(ours, 0.9));
    std::printf("    cards 1..%d (%s)                median %6.3f ms\n", kCardsInFile1,
                cards::kCardFiles[0].name, Median(ours1));
    std::printf("    cards %d..%d (%s)              median %6.3f ms\n", kCardsInFile1 + 1, kCards,
                cards::kCardFiles[1].name, Median(ours2));
    std::printf("  QImage::loadFromData, same pixels as PNG       median %6.3f ms   p90 %6.3f ms\n", mQt,
                Percentile(qt, 0.9));
    std::printf("  median load                                    %6.3f ms   (target < 2 ms)\n", mOurs);
    std::printf("  ratio mOpenCard / PNG decode                   %.2fx   (target <= 1.00x)\n", mOurs / mQt);
    std::printf("  (%.1f Mpixel decoded per pass)\n", static_cast<double>(pixels) / 1e6);
    return 0;
}
