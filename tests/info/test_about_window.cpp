// The about window's own texts, set each time it opens.
#include <gtest/gtest.h>

#include "info/Contact.h"
#include "info/wAbout.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"
#include "InfoSupport.h"

using testing_support::Pump;

namespace {

using AboutWindow = info_test::InfoTest;

TEST_F(AboutWindow, SetsItsTextsAgainEachTimeItOpens) {
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        wAbout& w = wAbout::Instance();
        EXPECT_EQ(w.StaticText1->Text(), "version 2.0b");
        EXPECT_EQ(w.StaticText6->Text(), contact::kWebPage);
        // A stale text on the old window must not carry over.
        w.StaticText1->Text("Version -/-");
        w.Widget()->close();
        Pump();
        ASSERT_EQ(wAbout::IfOpen(), nullptr);
    }
    EXPECT_TRUE(fakes.alerts.empty());
}

}  // namespace
