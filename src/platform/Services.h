// The system services the program reaches through the toolkit, as one
// replaceable set. The program runs on the real ones; tests install fakes
// that record what was asked and answer as the test says.
#pragma once

#include <memory>
#include <optional>

#include "platform/Date.h"
#include "platform/Types.h"

namespace tk {

class Graphics;
class Sound;
struct DevicePlay;

class Services {
public:
    virtual ~Services() = default;

    // Modal alert with one OK button; returns when dismissed.
    virtual void MsgBox(const String& text);
    // The alert sound.
    virtual void Beep();
    // Hands a web or mail address to the system.
    virtual void ShowURL(const String& url);
    // The system print dialog: the page to draw on, or nothing if cancelled.
    // The page prints when it is let go.
    virtual std::unique_ptr<Graphics> OpenPrinterDialog();
    // Whether the print dialog can open without waiting on a hung printing
    // system: false only where one is there and gives no reply within
    // kPrintProbeLimit (PrintProbe.h). Asked on a thread of its own; the
    // event loop turns meanwhile.
    virtual bool PrintingSystemAnswers();
    // Gestalt: no answer on this platform.
    virtual std::optional<Int32> Gestalt(const String& selector);
    // A uniform Double in [0, 1).
    virtual double Rnd();
    // The local date and time.
    virtual DateTime Now();
    // Sound output: sends a sound that has just started to the audio device,
    // and gives back its play there, or nothing where there is no device.
    virtual std::shared_ptr<const DevicePlay> PlaySound(const Sound& sound);
    // Path of the running executable, links resolved.
    virtual String ExecutablePath();
};

// The services in force. SetServices(nullptr) restores the real ones; the
// caller keeps ownership of what it installs.
Services& services();
void SetServices(Services* s);

// A page like the print dialog's, written as a PDF file to path when it is
// let go.
std::unique_ptr<Graphics> OpenPdfPage(const String& path);

}  // namespace tk
