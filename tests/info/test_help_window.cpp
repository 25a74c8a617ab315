// The help window: the help page stays in the viewer and every link in it
// goes to the system; a missing page leaves the viewer empty and quiet.
#include <gtest/gtest.h>

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
    struct Case {
        const char* href;
        std::string url;
    };
    const Case cases[] = {
        {"https://tickmoor.example/", contact::kWebPage},
        {"mailto:support@tickmoor.example", contact::SupportMailURL()},
        {"#modes", kPage + "#modes"},                                        // in the page itself
        {"teachers.htm", "file://" + testing_support::BundleResources() + "/teachers.htm"},  // beside it
    };
    wHelp& w = wHelp::Instance();
    const std::string text = w.HTMLViewer1->PlainText();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.href);
        fakes.urls.clear();
        ClickLink(*w.HTMLViewer1, c.href);
        Pump();
        EXPECT_EQ(fakes.urls, std::vector<std::string>{c.url});
        EXPECT_EQ(w.HTMLViewer1->Source(), kPage);
        EXPECT_EQ(w.HTMLViewer1->PlainText(), text);
    }
    EXPECT_TRUE(fakes.alerts.empty());
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
    ClickLink(*first.HTMLViewer1, "#modes");
    ASSERT_EQ(fakes.urls.size(), 1u);
    first.Widget()->close();  // the close box
    Pump();
    ASSERT_EQ(wHelp::IfOpen(), nullptr);

    wHelp& second = wHelp::Instance();
    EXPECT_EQ(second.HTMLViewer1->Source(), kPage);
    EXPECT_TRUE(second.bOpenNewWindow);
    EXPECT_EQ(second.StaticText6->Text(), contact::kWebPage);
    ClickLink(*second.HTMLViewer1, "https://tickmoor.example/");
    EXPECT_EQ(fakes.urls, (std::vector<std::string>{kPage + "#modes", contact::kWebPage}));
    EXPECT_EQ(second.HTMLViewer1->Source(), kPage);
}

}  // namespace
