// System services as the program calls them; each goes through the
// replaceable set of Services.
#pragma once

#include <memory>
#include <optional>

#include "platform/Graphics.h"
#include "platform/Services.h"
#include "platform/Types.h"

namespace tk {

inline void MsgBox(const String& text) { services().MsgBox(text); }
inline void Beep() { services().Beep(); }
inline void ShowURL(const String& url) { services().ShowURL(url); }
inline double Rnd() { return services().Rnd(); }
inline std::unique_ptr<Graphics> OpenPrinterDialog() { return services().OpenPrinterDialog(); }
inline bool PrintingSystemAnswers() { return services().PrintingSystemAnswers(); }

namespace System {
// Whether Gestalt answered for the selector, and its answer.
inline bool Gestalt(const String& selector, Int32& result) {
    if (auto answer = services().Gestalt(selector)) {
        result = *answer;
        return true;
    }
    return false;
}
}  // namespace System

}  // namespace tk
