// The results page printed for real, to a PDF file, and read back with the
// poppler tools: the lines in order, and the award star only for a
// perfect round, both as an image and as gold ink on the rasterised page.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <sstream>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "flow/wResults.h"
#include "platform/Date.h"
#include "platform/Services.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

using testing_support::Click;
using testing_support::FakeServices;
using testing_support::Type;

namespace {

std::string RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return "<" + program.toStdString() + " failed>";
    return p.readAllStandardOutput().toStdString();
}

// Words of a line, one space apart: text extraction does not keep runs of
// spaces (the two before the time are checked on the recorded page).
std::string Words(const std::string& line) {
    std::istringstream in(line);
    std::string out, word;
    while (in >> word) out += (out.empty() ? "" : " ") + word;
    return out;
}

std::vector<std::string> NonEmptyLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!Words(line).empty()) out.push_back(Words(line));
    return out;
}

struct Image {
    int width, height;
};

// The images of page 1, from "pdfimages -list".
std::vector<Image> Images(const QString& pdf) {
    std::vector<Image> out;
    std::istringstream in(RunTool("pdfimages", {"-list", pdf}));
    std::string line;
    std::getline(in, line);  // header
    std::getline(in, line);  // rule
    while (std::getline(in, line)) {
        std::istringstream row(line);
        int page = 0, num = 0, w = 0, h = 0;
        std::string type;
        if (row >> page >> num >> type >> w >> h && page == 1) out.push_back({w, h});
    }
    return out;
}

// Page 1 rasterised at 72 dpi, one pixel to a point of the page; null if
// pdftoppm failed.
QImage Raster72(const QString& pdf, const QString& root) {
    RunTool("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, root});
    return QImage(root + ".png").convertToFormat(QImage::Format_RGB32);
}

// The paper and its printable area, whose top-left corner is the origin of
// the page's Graphics, in points: those of a printer set up as
// tk::OpenPdfPage sets up its own (the paper size follows the locale).
QPageLayout PdfPageLayout() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return printer.pageLayout();
}

// The gold of the star pictures in tools/make_media.cpp: kGold F2B631, the
// award star's facets from E09A10 (shaded down to C8890E) to FFE26A and its
// outline 9A6A00 all have hues of 39 to 49 degrees, a saturation of 0.58 or
// more and at least 60 % value. The bounds leave room for JPEG and anti-aliasing
// drift inside a gold area, and leave out the pale edge pixels where gold
// fades into the paper. The banner's navy 1E3A66 and ink 222630 (hues near
// 220), its red D7443E (hue 2) and their blends with the paper and with each
// other are far from these hues; greys and black have no hue at all.
bool IsStarGold(QRgb rgb) {
    const QColor c = QColor::fromRgb(rgb);
    const int hue = c.hsvHue();  // -1 for greys
    return hue >= 30 && hue <= 60 && c.hsvSaturationF() >= 0.5f && c.valueF() >= 0.45f;
}

struct GoldCount {
    int inside = 0, outside = 0;
    QRect outsideBounds;  // of the gold pixels outside the box
};

GoldCount CountStarGold(const QImage& page, const QRect& box) {
    GoldCount n;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (!IsStarGold(row[x])) continue;
            if (box.contains(x, y)) {
                ++n.inside;
            } else {
                ++n.outside;
                n.outsideBounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return n;
}

class PrintPdfTest : public ::testing::TestWithParam<int> {
protected:
    FakeServices fakes;
    QTemporaryDir dir;

    // Prints the results page of a round of ten at the test's score, for
    // Ada Lovelace, to results.pdf in the temporary folder.
    QString PrintPage() {
        const QString pdf = dir.filePath("results.pdf");
        fakes.printAnswer = [pdf] { return tk::OpenPdfPage(pdf.toStdString()); };
        fakes.now = tk::DateTime{2026, 12, 10, 9, 30, 0};
        mGlobals::sPracticeMode = "Arabic";
        mGlobals::iScore = GetParam();
        mGlobals::iTotalNumofQuestions = 10;

        wResults& w = wResults::Instance();
        Click(*w.BevelButton1);
        Type(w, "Ada Lovelace");
        Click(*w.BevelButton4);
        return pdf;
    }
};

TEST_P(PrintPdfTest, PageReadsBackInOrderWithTheStarOnlyForAPerfectRound) {
    ASSERT_TRUE(dir.isValid());
    const int score = GetParam();
    const QString pdf = PrintPage();
    ASSERT_EQ(fakes.printDialogs, 1);

    const tk::Date date(fakes.now);
    const std::vector<std::string> expected = {
        "Ada Lovelace",
        "You scored " + std::to_string(score) + " out of 10",
        "practicing standard clock face.",
        Words(date.ShortDate() + "  " + date.ShortTime()),
    };
    EXPECT_EQ(NonEmptyLines(RunTool("pdftotext", {"-layout", pdf, "-"})), expected);

    const std::vector<Image> images = Images(pdf);
    ASSERT_EQ(images.size(), score == 10 ? 2u : 1u);
    EXPECT_EQ(images[0].width, 500);  // the banner
    EXPECT_EQ(images[0].height, 80);
    if (score == 10) {
        EXPECT_EQ(images[1].width, 150);  // the star
        EXPECT_EQ(images[1].height, 150);
    }
}

// What a teacher sorting the pages sees: star gold on the page of a perfect
// round, only where the award star is drawn, and on no other page at all.
TEST_P(PrintPdfTest, StarGoldOnlyWhereTheAwardStarIsDrawn) {
    ASSERT_TRUE(dir.isValid());
    const int score = GetParam();
    const QString pdf = PrintPage();
    ASSERT_EQ(fakes.printDialogs, 1);

    const QPageLayout layout = PdfPageLayout();
    const QImage page = Raster72(pdf, dir.filePath("page"));
    ASSERT_FALSE(page.isNull()) << "pdftoppm gave no page";
    ASSERT_EQ(page.size(), layout.fullRectPoints().size());  // one pixel to a point

    // pAwardStarPrint is drawn whole at (50, 400) of the page's Graphics, at
    // its own size as read from the PDF (150 by 150 in the bundle). A page
    // without it has no box: all of its gold is outside.
    const std::vector<Image> images = Images(pdf);
    ASSERT_EQ(images.size(), score == 10 ? 2u : 1u);
    const QPoint origin = layout.paintRectPoints().topLeft();
    const QRect starBox =
        score == 10 ? QRect(origin + QPoint(50, 400), QSize(images[1].width, images[1].height))
                    : QRect();

    const GoldCount gold = CountStarGold(page, starBox);
    const QRect& b = gold.outsideBounds;
    EXPECT_EQ(gold.outside, 0) << "star gold outside the award star's box, within x " << b.left()
                               << ".." << b.right() << ", y " << b.top() << ".." << b.bottom()
                               << " of the page (the Graphics origin is at " << origin.x() << ", "
                               << origin.y() << ")";
    if (score == 10) {
        EXPECT_GT(gold.inside, 4000);  // most of the star (6,455 gold pixels of its own)
    }
}

INSTANTIATE_TEST_SUITE_P(NineAndTen, PrintPdfTest, ::testing::Values(9, 10),
                         [](const auto& info) { return "Score" + std::to_string(info.param); });

}  // namespace
