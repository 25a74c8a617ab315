// The help window: the help page stays in the viewer and every link in it
// goes to the system; a missing page leaves the viewer empty and quiet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "info/Contact.h"
#include "info/wHelp.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "InfoSupport.h"

using testing_support::Pump;
using namespace info_test;

namespace {

const std::string kPage = "file://" + testing_support::BundleResources() + "/help.htm";
const std::string kTeachers = "file://" + testing_support::BundleResources() + "/teachers.htm";

using HelpWindow = InfoTest;

TEST_F(HelpWindow, ShowsTheHelpPageInsideTheViewer) {
    wHelp& w = wHelp::Instance();
    EXPECT_EQ(w.HTMLViewer1->Source(), kPage);
    EXPECT_NE(w.HTMLViewer1->PlainText().find("Getting started"), std::string::npos);
    EXPECT_TRUE(w.bOpenNewWindow);
    EXPECT_TRUE(fakes.urls.empty());
    EXPECT_TRUE(fakes.alerts.empty());
}

TEST_F(HelpWindow, EachLinkInThePageGoesToTheSystemOnceAndThePageStays) {
    // The page's web and mail links are written out by hand: the hrefs come
    // from Contact.h, so the page and the labels cannot drift apart.
    struct Case {
        QString href;
        std::string url;
    };
    const Case cases[] = {
        {QString::fromUtf8(contact::kWebPage), contact::kWebPage},
        {QString::fromStdString(contact::SupportMailURL()), contact::SupportMailURL()},
        {"teachers.htm", kTeachers},  // beside it
    };
    wHelp& w = wHelp::Instance();
    const std::string text = w.HTMLViewer1->PlainText();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.href.toStdString());
        fakes.urls.clear();
        ClickLink(*w.HTMLViewer1, c.href);
        Pump();
        EXPECT_EQ(fakes.urls, std::vector<std::string>{c.url});
        EXPECT_EQ(w.HTMLViewer1->Source(), kPage);
        EXPECT_EQ(w.HTMLViewer1->PlainText(), text);
    }
    // The page has no links to places in itself, but such a navigation,
    // reported by the viewer, would go to the system all the same.
    fakes.urls.clear();
    w.HTMLViewer1->Navigate(kPage + "#top");
    EXPECT_EQ(fakes.urls, std::vector<std::string>{kPage + "#top"});
    EXPECT_EQ(w.HTMLViewer1->Source(), kPage);
    EXPECT_TRUE(fakes.alerts.empty());
}

// Every link leaves the window (a click in the viewer goes to the system),
// so the page links only to mail, the web and files beside it, never to a
// place in itself.
TEST(HelpPage, LinksOnlyToMailTheWebAndFilesBesideIt) {
    namespace fs = std::filesystem;
    const fs::path dir = testing_support::BundleResources();
    std::ifstream in(dir / "help.htm");
    ASSERT_TRUE(in) << "no help.htm in the bundle";
    std::stringstream html;
    html << in.rdbuf();
    const std::string page = html.str();

    const std::regex href(R"re(\bhref\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re", std::regex::icase);
    int links = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it) {
        const std::string h = (*it)[1].matched ? (*it)[1].str() : (*it)[2].matched ? (*it)[2].str() : (*it)[3].str();
        SCOPED_TRACE(h);
        ++links;
        if (h.starts_with("mailto:") || h.starts_with("http://") || h.starts_with("https://")) continue;
        EXPECT_EQ(h.find_first_of(":#?/\\"), std::string::npos) << "not a file beside help.htm";
        EXPECT_TRUE(!h.empty() && fs::is_regular_file(dir / h)) << "no such file beside help.htm";
    }
    EXPECT_GE(links, 3);  // the teachers' page, the web page, the mail address
    EXPECT_FALSE(std::regex_search(page, std::regex(R"re(<a\s[^>]*\bname\s*=)re", std::regex::icase)))
        << "a named anchor: nothing in the window can reach it";
}

TEST_F(HelpWindow, WithoutTheHelpPageTheViewerStaysEmptyAndQuietAndTheLabelsWork) {
    struct Case {
        const char* what;
        std::initializer_list<const char*> drop;  // parts of the bundle copy left out
        const char* executable;                   // instead of the copy's, when set
    };
    const Case cases[] = {
        {"no help.htm", {"Resources/help.htm"}, nullptr},
        {"no Resources folder", {"Resources"}, nullptr},
        {"executable at the root", {}, "/Tickmoor"},
        {"no executable path", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BundleCopy bundle(fakes, c.drop);
        if (c.executable) fakes.executable = c.executable;
        fakes.urls.clear();

        wHelp& w = wHelp::Instance();
        EXPECT_EQ(w.HTMLViewer1->Source(), "");
        EXPECT_EQ(w.HTMLViewer1->PlainText(), "");
        EXPECT_FALSE(w.bOpenNewWindow);
        EXPECT_TRUE(fakes.alerts.empty());

        // Nothing is cancelled, so nothing goes to the system.
        w.HTMLViewer1->Navigate("https://elsewhere.example/");
        EXPECT_TRUE(fakes.urls.empty());

        Press(*w.StaticText4);
        Release(*w.StaticText4);
        Press(*w.StaticText6);
        Release(*w.StaticText6);
        EXPECT_EQ(fakes.urls, (std::vector<std::string>{contact::SupportMailURL(), contact::kWebPage}));

        w.Close();
        Pump();
    }
    EXPECT_TRUE(fakes.alerts.empty());
}

TEST_F(HelpWindow, ClosingAndReopeningLoadsThePageAfresh) {
    wHelp& first = wHelp::Instance();
    ClickLink(*first.HTMLViewer1, "teachers.htm");
    ASSERT_EQ(fakes.urls.size(), 1u);
    first.Widget()->close();  // the close box
    Pump();
    ASSERT_EQ(wHelp::IfOpen(), nullptr);

    wHelp& second = wHelp::Instance();
    EXPECT_EQ(second.HTMLViewer1->Source(), kPage);
    EXPECT_TRUE(second.bOpenNewWindow);
    EXPECT_EQ(second.StaticText6->Text(), contact::kWebPage);
    ClickLink(*second.HTMLViewer1, contact::kWebPage);
    EXPECT_EQ(fakes.urls, (std::vector<std::string>{kTeachers, contact::kWebPage}));
    EXPECT_EQ(second.HTMLViewer1->Source(), kPage);
}

}  // namespace
