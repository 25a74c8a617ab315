// Toolkit-layer internals shared by its sources.
#pragma once

class QWidget;

namespace tk {
class Window;
namespace detail {

// Thrown by Yield once the program is quitting; the dispatch guard absorbs it.
struct QuitUnwind {};

// Nesting of event handlers (a yielding handler lets others run inside it).
int& DispatchDepth();
// Lets go of closed windows once no handler is running.
void ReapClosedWindows();
void ScheduleReap();
// The open window a Qt widget belongs to, or null.
Window* WindowOfWidget(const QWidget* w);
// The application-wide filter for shortcuts, Return and activation.
void EnsureEventFilter();

}  // namespace detail
}  // namespace tk
