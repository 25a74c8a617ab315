#include "platform/QtGraphics.h"

#include <QStringList>

#include "platform/QtInternal.h"

namespace tk {

PainterGraphics::PainterGraphics(QPainter* painter, int width, int height, double scale)
    : width_(width), height_(height) {
    Attach(painter, scale);
}

void PainterGraphics::Attach(QPainter* painter, double scale) {
    painter_ = painter;
    if (painter_ && scale != 1.0) painter_->scale(scale, scale);
    if (painter_) {
        painter_->setRenderHint(QPainter::Antialiasing, true);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
        ApplyFont();
        painter_->setPen(QC(color_));
    }
}

void PainterGraphics::ApplyFont() {
    if (painter_) painter_->setFont(MakeFont(font_, size_));
}

void PainterGraphics::ForeColor(Color c) {
    color_ = c;
    if (painter_) painter_->setPen(QC(c));
}

void PainterGraphics::TextFont(const String& name) {
    font_ = name;
    ApplyFont();
}

void PainterGraphics::TextSize(Int32 pixels) {
    size_ = pixels;
    ApplyFont();
}

void PainterGraphics::DrawString(const String& text, Int32 x, Int32 y, Int32, bool) {
    if (!painter_) return;
    QString t = Q(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    const QStringList lines = t.split(QChar('\n'));
    const int step = painter_->fontMetrics().lineSpacing();
    int baseline = y;
    for (const QString& line : lines) {
        painter_->drawText(QPoint(x, baseline), line);
        baseline += step;
    }
}

void PainterGraphics::DrawPicture(const Picture& pic, Int32 x, Int32 y) {
    if (!painter_ || !pic) return;
    painter_->drawImage(QPoint(x, y), pic.data()->image);
}

}  // namespace tk
