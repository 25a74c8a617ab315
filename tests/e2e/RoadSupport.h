// Driving whole rounds as a student does: clicks and typed answers on the
// real windows, from start-up to the results window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "clock_exercise/wArabicClock.h"
#include "flow/wExSel.h"
#include "flow/wResults.h"
#include "flow/wWelcome.h"
#include "platform/Application.h"
#include "shell/App.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

namespace road {

using testing_support::Click;
using testing_support::FakeServices;
using testing_support::RecordingGraphics;
using testing_support::Type;
using testing_support::WaitUntil;

class RoadTest : public ::testing::Test {
protected:
    FakeServices fakes;
    std::vector<std::shared_ptr<std::vector<RecordingGraphics::Call>>> pages;

    void SetUp() override {
        fakes.printAnswer = [this]() -> std::unique_ptr<tk::Graphics> {
            auto g = std::make_unique<RecordingGraphics>();
            pages.push_back(g->calls);
            return g;
        };
        shell::_Startup();
        tk::RaiseApplicationOpen();
    }

    // "Begin" in the welcome window; the selection window it leads to.
    static wExSel& Begin() {
        wWelcome* welcome = wWelcome::IfOpen();
        EXPECT_NE(welcome, nullptr);
        if (!welcome) throw std::runtime_error("no welcome window");
        Click(*welcome->BevelButton1);
        return Selection();
    }

    static wExSel& Selection() {
        wExSel* sel = wExSel::IfOpen();
        EXPECT_NE(sel, nullptr);
        if (!sel) throw std::runtime_error("no selection window");
        EXPECT_EQ(mGlobals::iScore, 0);
        EXPECT_EQ(mGlobals::sPracticeMode, "");
        return *sel;
    }

    // A mode choice by the named picture or title; the clock window it opens,
    // once its first card is up.
    wArabicClock& ChooseClockFace(wExSel& sel, const char* control) {
        const int drawsBefore = fakes.rndCalls;
        Click(*sel.ControlNamed(control));
        wArabicClock* clock = wArabicClock::IfOpen();
        EXPECT_NE(clock, nullptr);
        if (!clock) throw std::runtime_error("no clock window");
        EXPECT_EQ(clock->StaticText1->Text(), "Score: 0");
        EXPECT_EQ(clock->StaticText2->Text(), "Questions Remaining: 10");
        EXPECT_TRUE(WaitUntil([&] { return fakes.rndCalls > drawsBefore && BoxFocused(*clock); }));
        return *clock;
    }

    static bool BoxFocused(wArabicClock& w) { return w.EditField1->HasFocus() || w.EditField2->HasFocus(); }

    // The time of the card shown, as typed: the hour tens only for 10-12.
    static std::string Answer(bool right) {
        std::string minuteUnits = mGlobals::sValue4;
        if (!right) minuteUnits = minuteUnits == "0" ? "5" : "0";
        return (mGlobals::sValue1 == "1" ? "1" : "") + mGlobals::sValue2 + mGlobals::sValue3 + minuteUnits;
    }

    // Answers questions of the round shown in w, right ones first, typing into
    // the boxes and pressing "OK" (and "CONTINUE" after a wrong answer).
    static void Answer(wArabicClock& w, int questions, int right) {
        for (int q = 0; q < questions; ++q) {
            ASSERT_EQ(wArabicClock::IfOpen(), &w) << "question " << q;
            ASSERT_TRUE(BoxFocused(w)) << "question " << q;
            const bool isRight = q < right;
            Type(w, Answer(isRight));
            Click(*w.BevelButton1);
            if (!isRight) {
                ASSERT_TRUE(w.BevelButton2->Visible()) << "question " << q;
                Click(*w.BevelButton2);
            }
        }
    }

    // A whole round of 10; the results window it ends in.
    static wResults& PlayRound(wArabicClock& w, int right) {
        Answer(w, 10, right);
        wResults* results = wResults::IfOpen();
        EXPECT_NE(results, nullptr);
        if (!results) throw std::runtime_error("no results window");
        EXPECT_EQ(wArabicClock::IfOpen(), nullptr);
        EXPECT_FALSE(mGlobals::bArabicClockIsOpen);
        return *results;
    }

    static void PrintAs(wResults& r, const std::string& name) {
        Click(*r.BevelButton1);
        Type(r, name);
        Click(*r.BevelButton4);
    }

    void ExpectEnded() {
        EXPECT_TRUE(tk::Quitting());
        EXPECT_EQ(tk::ExitStatus(), 0);
        EXPECT_TRUE(tk::Window::OpenWindows().empty());
        EXPECT_TRUE(fakes.alerts.empty());
    }
};

}  // namespace road
