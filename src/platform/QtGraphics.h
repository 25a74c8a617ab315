// Graphics on a QPainter: canvases during Paint, and the printed page.
#pragma once

#include <QPainter>

#include "platform/Graphics.h"

namespace tk {

class PainterGraphics : public Graphics {
public:
    // scale: device units per layout unit (1 on screen; dpi / 72 on paper).
    PainterGraphics(QPainter* painter, int width, int height, double scale = 1.0);

    void ForeColor(Color c) override;
    void TextFont(const String& name) override;
    void TextSize(Int32 pixels) override;
    void DrawString(const String& text, Int32 x, Int32 y, Int32 wrapWidth = 0,
                    bool condense = false) override;
    void DrawPicture(const Picture& pic, Int32 x, Int32 y) override;
    Int32 Width() const override { return width_; }
    Int32 Height() const override { return height_; }

protected:
    void Attach(QPainter* painter, double scale);

private:
    void ApplyFont();
    QPainter* painter_ = nullptr;
    int width_ = 0, height_ = 0;
    Color color_{};
    String font_ = "System";
    Int32 size_ = 12;
};

}  // namespace tk
