// The results page printed for real, to a PDF file, and read back with the
// poppler tools: the lines in order, and the award star only for a
// perfect round.
#include <gtest/gtest.h>

#include <QProcess>
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

class PrintPdfTest : public ::testing::TestWithParam<int> {
protected:
    FakeServices fakes;
    QTemporaryDir dir;
};

TEST_P(PrintPdfTest, PageReadsBackInOrderWithTheStarOnlyForAPerfectRound) {
    ASSERT_TRUE(dir.isValid());
    const int score = GetParam();
    const QString pdf = dir.filePath("results.pdf");
    fakes.printAnswer = [&] { return tk::OpenPdfPage(pdf.toStdString()); };
    fakes.now = tk::DateTime{2026, 12, 10, 9, 30, 0};
    mGlobals::sPracticeMode = "Arabic";
    mGlobals::iScore = score;
    mGlobals::iTotalNumofQuestions = 10;

    wResults& w = wResults::Instance();
    Click(*w.BevelButton1);
    Type(w, "Ada Lovelace");
    Click(*w.BevelButton4);
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

INSTANTIATE_TEST_SUITE_P(NineAndTen, PrintPdfTest, ::testing::Values(9, 10),
                         [](const auto& info) { return "Score" + std::to_string(info.param); });

}  // namespace
