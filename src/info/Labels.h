// The plain labels the help and about windows share: "Geneva" 12,
// left-aligned, one line.
#pragma once

#include "platform/Controls.h"

namespace info {

inline void PlainLabel(tk::StaticText& t, const tk::String& text, tk::Color color) {
    t.Text(text);
    t.TextFont("Geneva");
    t.TextSize(12);
    t.TextColor(color);
    t.TextAlign(0);
    t.Multiline(false);
}

}  // namespace info
