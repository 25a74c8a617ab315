#include "platform/Services.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include <filesystem>
#include <random>

#include "platform/Application.h"
#include "platform/AudioOutput.h"
#include "platform/PrintProbe.h"
#include "platform/QtGraphics.h"
#include "platform/QtInternal.h"
#include "platform/Sound.h"

namespace tk {
namespace {

// A printed page: drawing goes to the printer, which prints when the page
// is let go.
class PrinterPage : public PainterGraphics {
public:
    explicit PrinterPage(std::unique_ptr<QPrinter> printer)
        : PainterGraphics(nullptr, 0, 0), printer_(std::move(printer)) {
        painter_.begin(printer_.get());
        const double scale = printer_->resolution() / 72.0;
        Attach(&painter_, scale);
    }
    ~PrinterPage() override {
        if (painter_.isActive()) painter_.end();
    }
    Int32 Width() const override {
        return static_cast<Int32>(printer_->pageRect(QPrinter::Point).width());
    }
    Int32 Height() const override {
        return static_cast<Int32>(printer_->pageRect(QPrinter::Point).height());
    }

private:
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
};

std::mt19937_64& Generator() {
    static std::mt19937_64 gen{[] {
        std::random_device rd;
        std::seed_seq seq{rd(), rd(), rd(), rd()};
        return std::mt19937_64(seq);
    }()};
    return gen;
}

Services& RealServices() {
    static Services real;
    return real;
}

Services* g_services = nullptr;

}  // namespace

void Services::MsgBox(const String& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tickmoor"), Q(text), QMessageBox::Ok);
    box.exec();
}

void Services::Beep() { QApplication::beep(); }

void Services::ShowURL(const String& url) { QDesktopServices::openUrl(QUrl(Q(url))); }

std::unique_ptr<Graphics> Services::OpenPrinterDialog() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get());
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return std::make_unique<PrinterPage>(std::move(printer));
}

bool Services::PrintingSystemAnswers() {
    const PrintProbe probe(kPrintProbeLimit);
    std::optional<PrintServerState> state;
    while (!(state = probe.Result())) Yield();
    return *state != PrintServerState::Silent;
}

std::optional<Int32> Services::Gestalt(const String&) { return std::nullopt; }

double Services::Rnd() {
    // 53 random bits: uniform in [0, 1), never 1.
    return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

DateTime Services::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return DateTime{now.date().year(), now.date().month(), now.date().day(),
                    now.time().hour(), now.time().minute(), now.time().second()};
}

std::shared_ptr<const DevicePlay> Services::PlaySound(const Sound& sound) { return PlayOnAudioDevice(sound); }

String Services::ExecutablePath() {
    std::error_code ec;
    auto p = std::filesystem::canonical(S(QCoreApplication::applicationFilePath()), ec);
    return ec ? S(QCoreApplication::applicationFilePath()) : p.string();
}

Services& services() { return g_services ? *g_services : RealServices(); }
void SetServices(Services* s) { g_services = s; }

std::unique_ptr<Graphics> OpenPdfPage(const String& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(Q(path));
    return std::make_unique<PrinterPage>(std::move(printer));
}

}  // namespace tk
