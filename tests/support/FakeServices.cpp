#include "support/FakeServices.h"

namespace testing_support {

FakeServices::FakeServices(unsigned long long seed) : executable(BundleExecutable()), state_(seed) {
    tk::SetServices(this);
}

FakeServices::~FakeServices() { tk::SetServices(nullptr); }

void FakeServices::MsgBox(const tk::String& text) {
    alerts.push_back(text);
    if (onAlert) onAlert(text);
}

std::unique_ptr<tk::Graphics> FakeServices::OpenPrinterDialog() {
    ++printDialogs;
    return printAnswer ? printAnswer() : nullptr;
}

bool FakeServices::PrintingSystemAnswers() {
    ++printProbes;
    return realPrintProbe ? tk::Services::PrintingSystemAnswers() : printingAnswers;
}

double FakeServices::Rnd() {
    ++rndCalls;
    if (!rnd.empty()) {
        const double v = rnd.front();
        rnd.pop_front();
        return v;
    }
    // splitmix64: reproducible for a seed.
    unsigned long long z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

std::string BundleExecutable() { return std::string(TICKMOOR_BUNDLE_DIR) + "/Contents/MacOS/Tickmoor"; }
std::string BundleResources() { return std::string(TICKMOOR_BUNDLE_DIR) + "/Contents/Resources"; }

}  // namespace testing_support
