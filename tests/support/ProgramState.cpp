#include "support/ProgramState.h"

#include <QApplication>
#include <QWidget>

#include <typeinfo>
#include <vector>

#include "cards/mGlobals.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "shell/App.h"

namespace testing_support {
namespace {

// Every global of mGlobals; a global added there belongs here too.
struct RoundState {
    tk::String sPracticeMode;
    tk::Int32 iScore, iRemainingQuestions, iTotalNumofQuestions, iCardNum, iPreviousCard;
    tk::String sValue1, sValue2, sValue3, sValue4;
    tk::Picture pClockFace;
    bool bArabicClockIsOpen, bWordProbIsOpen;

    static RoundState Now() {
        namespace g = mGlobals;
        return {g::sPracticeMode, g::iScore,   g::iRemainingQuestions, g::iTotalNumofQuestions,
                g::iCardNum,      g::iPreviousCard, g::sValue1,         g::sValue2,
                g::sValue3,       g::sValue4,  g::pClockFace,          g::bArabicClockIsOpen,
                g::bWordProbIsOpen};
    }
    void Restore() const {
        mGlobals::sPracticeMode = sPracticeMode;
        mGlobals::iScore = iScore;
        mGlobals::iRemainingQuestions = iRemainingQuestions;
        mGlobals::iTotalNumofQuestions = iTotalNumofQuestions;
        mGlobals::iCardNum = iCardNum;
        mGlobals::iPreviousCard = iPreviousCard;
        mGlobals::sValue1 = sValue1;
        mGlobals::sValue2 = sValue2;
        mGlobals::sValue3 = sValue3;
        mGlobals::sValue4 = sValue4;
        mGlobals::pClockFace = pClockFace;
        mGlobals::bArabicClockIsOpen = bArabicClockIsOpen;
        mGlobals::bWordProbIsOpen = bWordProbIsOpen;
    }
    bool operator==(const RoundState&) const = default;
};

// mGlobals as the test program found them, before its first test.
const RoundState& Found() {
    static const RoundState found = RoundState::Now();
    return found;
}

// Top-level widgets on screen; tooltips and popups close by themselves.
std::vector<QWidget*> VisibleTopLevels() {
    std::vector<QWidget*> out;
    if (!qApp) return out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && type != Qt::ToolTip && type != Qt::Popup) out.push_back(w);
    }
    return out;
}

// Once a fault is reported: a second reset (for a window that opened as the
// others went), and widgets that are none of the toolkit's hidden, so that
// the tests after this one do not fail for it too.
void PutBackAfterAFault() {
    ResetProgramState();
    for (QWidget* w : VisibleTopLevels()) w->hide();
}

}  // namespace

void ResetProgramState() {
    Found();
    // A call the test queued to the application object (a click during the
    // next wait, say) and never let run would run in the next test, with the
    // references it holds long gone. The toolkit's own queued reaps go too:
    // there is nothing left to reap.
    if (qApp) QCoreApplication::removePostedEvents(qApp, QEvent::MetaCall);
    // Windows first: they hold the menu bar the shell lets go of.
    tk::ResetForTests();
    shell::ResetForTests();
    Found().Restore();
}

std::string ProgramStateLeftOver() {
    std::string out;
    for (tk::Window* w : tk::Window::OpenWindows())
        out += std::string("a window is open: ") + typeid(*w).name() + "\n";
    if (tk::Quitting()) out += "the program is quitting\n";
    if (tk::ExitStatus() != 0) out += "the exit status is " + std::to_string(tk::ExitStatus()) + "\n";
    if (tk::CurrentApplication()) out += "an application object is registered\n";
    if (App::Instance()) out += "the shell's application object exists\n";
    if (const auto n = VisibleTopLevels().size()) out += std::to_string(n) + " top-level widget(s) on screen\n";
    if (!(RoundState::Now() == Found())) out += "mGlobals differ from what the test program started with\n";
    return out;
}

ProgramStateGuard::ProgramStateGuard() { Found(); }

void ProgramStateGuard::OnTestStart(const ::testing::TestInfo&) {
    const std::string left = ProgramStateLeftOver();
    if (left.empty()) return;
    ADD_FAILURE() << "The test started from a changed program state:\n" << left;
    PutBackAfterAFault();
}

void ProgramStateGuard::OnTestEnd(const ::testing::TestInfo&) {
    ResetProgramState();
    // Reported against this test: gtest calls the listeners' OnTestEnd in
    // reverse order, this one before the printer's.
    const std::string left = ProgramStateLeftOver();
    if (left.empty()) return;
    ADD_FAILURE() << "The test left program state that the reset could not put back:\n" << left;
    PutBackAfterAFault();
}

}  // namespace testing_support
