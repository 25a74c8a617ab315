// Fakes of the system services: they record what the program asked for and
// answer as the test says.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/Services.h"
#include "platform/Sound.h"

namespace testing_support {

// A page that records every drawing call as a line of text.
class RecordingGraphics : public tk::Graphics {
public:
    struct Call {
        std::string op;  // "ForeColor", "TextFont", "TextSize", "DrawString", "DrawPicture"
        std::string text;
        int a = 0, b = 0, c = 0;
        tk::Picture picture;
    };
    std::shared_ptr<std::vector<Call>> calls = std::make_shared<std::vector<Call>>();
    std::shared_ptr<bool> released = std::make_shared<bool>(false);

    ~RecordingGraphics() override { *released = true; }
    void ForeColor(tk::Color c) override { calls->push_back({"ForeColor", "", c.r, c.g, c.b, {}}); }
    void TextFont(const tk::String& n) override { calls->push_back({"TextFont", n, 0, 0, 0, {}}); }
    void TextSize(tk::Int32 s) override { calls->push_back({"TextSize", "", s, 0, 0, {}}); }
    void DrawString(const tk::String& t, tk::Int32 x, tk::Int32 y, tk::Int32 w, bool) override {
        calls->push_back({"DrawString", t, x, y, w, {}});
    }
    void DrawPicture(const tk::Picture& p, tk::Int32 x, tk::Int32 y) override {
        calls->push_back({"DrawPicture", "", x, y, 0, p});
    }
    tk::Int32 Width() const override { return 612; }
    tk::Int32 Height() const override { return 792; }
};

class FakeServices : public tk::Services {
public:
    // The random source starts from the seed: the same seed draws the same
    // cards and problems.
    explicit FakeServices(unsigned long long seed = 12345);
    ~FakeServices() override;

    void MsgBox(const tk::String& text) override;
    void Beep() override { ++beeps; }
    void ShowURL(const tk::String& url) override { urls.push_back(url); }
    std::unique_ptr<tk::Graphics> OpenPrinterDialog() override;
    bool PrintingSystemAnswers() override;
    std::optional<tk::Int32> Gestalt(const tk::String&) override { return gestalt; }
    double Rnd() override;
    tk::DateTime Now() override { return now; }
    std::shared_ptr<const tk::DevicePlay> PlaySound(const tk::Sound& s) override {
        played.push_back(s);
        return realSound ? tk::Services::PlaySound(s) : devicePlay;
    }
    tk::String ExecutablePath() override { return executable; }

    // What was asked.
    std::vector<tk::String> alerts;
    int beeps = 0;
    std::vector<tk::String> urls;
    std::vector<tk::Sound> played;
    int printDialogs = 0;
    int printProbes = 0;

    // How to answer.
    std::optional<tk::Int32> gestalt;
    std::deque<double> rnd;        // scripted values, then the generator
    tk::DateTime now{2026, 12, 10, 9, 30, 0};
    tk::String executable;         // defaults to the built bundle's executable
    // What the sound output gives back for each play: none, as with no device.
    std::shared_ptr<const tk::DevicePlay> devicePlay;
    // Sounds go to the real audio device as well (for a run with a device).
    bool realSound = false;
    // Whether the printing system answers before the print dialog opens;
    // with realPrintProbe the real probe asks the one the environment names.
    bool printingAnswers = true;
    bool realPrintProbe = false;
    // The print dialog: null cancels; otherwise the page it returns.
    std::function<std::unique_ptr<tk::Graphics>()> printAnswer;
    // Runs when an alert is shown (the alert is modal, so the test can look
    // at the program while it stands).
    std::function<void(const tk::String&)> onAlert;
    int rndCalls = 0;

private:
    unsigned long long state_;
};

// Path of the built bundle's executable.
std::string BundleExecutable();
std::string BundleResources();

}  // namespace testing_support
