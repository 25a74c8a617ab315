// A surface to draw on: a canvas during its Paint event, or a printed page.
#pragma once

#include "platform/Picture.h"
#include "platform/Types.h"

namespace tk {

class Graphics {
public:
    virtual ~Graphics() = default;

    virtual void ForeColor(Color c) = 0;
    virtual void TextFont(const String& name) = 0;
    virtual void TextSize(Int32 pixels) = 0;
    // Text with the first line's baseline at (x, y); each carriage return
    // (or line feed) starts a new line. wrapWidth 0 means no wrapping.
    virtual void DrawString(const String& text, Int32 x, Int32 y, Int32 wrapWidth = 0,
                            bool condense = false) = 0;
    // Picture at its natural size, top-left corner at (x, y). A nil picture
    // draws nothing.
    virtual void DrawPicture(const Picture& pic, Int32 x, Int32 y) = 0;
    virtual Int32 Width() const = 0;
    virtual Int32 Height() const = 0;
};

}  // namespace tk
