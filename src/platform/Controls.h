// Controls: made by their window in its CreateControls, named, placed in
// window coordinates, and owned by the window.
#pragma once

#include <functional>
#include <memory>

#include "platform/FolderItem.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Types.h"

class QWidget;

namespace tk {

class Window;

struct Rect {
    Int32 left = 0, top = 0, width = 0, height = 0;
};

enum class Cursor { StandardPointer, FingerPointer };

namespace Cursors {
inline constexpr Cursor StandardPointer = Cursor::StandardPointer;
inline constexpr Cursor FingerPointer = Cursor::FingerPointer;
}  // namespace Cursors

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const String& Name() const { return name_; }
    Window& Owner() const { return owner_; }
    Control* ParentControl() const { return parent_; }

    bool Visible() const;
    void Visible(bool v);
    bool Enabled() const;
    void Enabled(bool e);
    Int32 Left() const { return rect_.left; }
    Int32 Top() const { return rect_.top; }
    Int32 Width() const { return rect_.width; }
    Int32 Height() const { return rect_.height; }
    Int32 TabIndex() const { return tabIndex_; }
    void TabIndex(Int32 i) { tabIndex_ = i; }
    // Repaints the control at once (eraseBackground: fill it first).
    void Refresh(bool eraseBackground = true);
    void MouseCursor(Cursor c);
    Cursor MouseCursor() const { return cursor_; }

    // Raised once, after every control of the window has been made.
    std::function<void()> Open;

    QWidget* Widget() const { return widget_; }

protected:
    Control(Window& owner, String name, Control* parent, Rect r);
    // Takes the Qt widget (already parented) and places it.
    void Attach(QWidget* w);
    void Fire(const std::function<void()>& fn);

private:
    Window& owner_;
    String name_;
    Control* parent_;
    Rect rect_;
    Int32 tabIndex_ = 0;
    Cursor cursor_ = Cursor::StandardPointer;
    QWidget* widget_ = nullptr;  // owned by its Qt parent
    friend class Window;
};

// A picture area: the Backdrop drawn at natural size from the top left,
// then the Paint event.
class Canvas : public Control {
public:
    void Backdrop(const Picture& p);
    const Picture& Backdrop() const { return backdrop_; }

    std::function<void(Graphics&)> Paint;
    std::function<bool(Int32 x, Int32 y)> MouseDown;
    // Whether the press MouseDown was last raised for is one the window
    // system counts as the second press of a double-click (by its own
    // interval and distance). MouseDown is raised for it all the same.
    bool DoubleClickPress() const { return doubleClickPress_; }

    Canvas(Window& owner, String name, Control* parent, Rect r);

private:
    Picture backdrop_;
    bool doubleClickPress_ = false;
    friend class CanvasWidget;
};

// Shared text styling of labels, fields and buttons.
struct TextStyle {
    String font = "System";
    Int32 size = 12;
    bool bold = false, italic = false, underline = false;
};

class StaticText : public Control {
public:
    StaticText(Window& owner, String name, Control* parent, Rect r);

    void Text(const String& t);
    String Text() const;
    void TextColor(Color c);
    Color TextColor() const { return color_; }
    void TextFont(const String& f);
    void TextSize(Int32 s);
    Int32 TextSize() const { return style_.size; }
    void Bold(bool b);
    void Italic(bool i);
    void Underline(bool u);
    // 0 left, 1 centre, 2 right
    void TextAlign(Int32 a);
    void Multiline(bool m);

    std::function<bool(Int32 x, Int32 y)> MouseDown;  // True asks for MouseUp
    std::function<void(Int32 x, Int32 y)> MouseUp;
    std::function<void()> MouseEnter;
    std::function<void()> MouseExit;

private:
    void Restyle();
    TextStyle style_;
    Color color_{};
    Int32 align_ = 0;
    bool multiline_ = false;
    friend class LabelWidget;
};

class EditField : public Control {
public:
    EditField(Window& owner, String name, Control* parent, Rect r);

    void Text(const String& t);
    String Text() const;
    void LimitText(Int32 n);
    // Focus to this field; a hidden or disabled field does not take it.
    void SetFocus();
    bool HasFocus() const;
    void TextFont(const String& f);
    void TextSize(Int32 s);
    void TextColor(Color c);
    void BackColor(Color c);
    // 0 left, 1 centre (legacy), 2 centre, 3 right
    void Alignment(Int32 a);
    void Border(bool b);

    std::function<void()> TextChange;
    // Before the key is applied; True swallows it.
    std::function<bool(const String& key)> KeyDown;

private:
    void Restyle();
    TextStyle style_;
    Color color_ = RGB(0, 0, 0), back_ = RGB(255, 255, 255);
    friend class FieldWidget;
};

class PushButton : public Control {
public:
    PushButton(Window& owner, String name, Control* parent, Rect r);

    void Caption(const String& c);
    String Caption() const;
    void Default(bool d);
    bool Default() const { return default_; }
    void Cancel(bool c) { cancel_ = c; }
    void TextFont(const String& f);
    void TextSize(Int32 s);
    void Bold(bool b);
    // Presses the button, as a click or Return does, if it is enabled.
    void Push();

    std::function<void()> Action;

private:
    void Restyle();
    TextStyle style_;
    bool default_ = false;
    bool cancel_ = false;
};

// A push button with the bevelled look; behaves the same.
class BevelButton : public PushButton {
public:
    using PushButton::PushButton;
};

// A framed panel.
class Placard : public Control {
public:
    Placard(Window& owner, String name, Control* parent, Rect r);
    void Value(bool v) { value_ = v; }

private:
    bool value_ = false;
};

class Separator : public Control {
public:
    Separator(Window& owner, String name, Control* parent, Rect r);
};

// A straight line from (x1, y1) to (x2, y2) in window coordinates; the Rect
// given when it is made is ignored.
class Line : public Control {
public:
    Line(Window& owner, String name, Control* parent, Rect r);
    void Points(Int32 x1, Int32 y1, Int32 x2, Int32 y2);
    void BorderWidth(Int32 w);
    Int32 BorderWidth() const { return width_; }
    void LineColor(Color c);

private:
    void Place();
    Int32 x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0, width_ = 1;
    Color color_{};
    friend class LineWidget;
};

// Shows a local HTML page. Every navigation the page asks for is offered to
// CancelLoad first; True cancels it. The load LoadPage starts is not.
class HTMLViewer : public Control {
public:
    HTMLViewer(Window& owner, String name, Control* parent, Rect r);

    void LoadPage(const FolderItem& file);
    // The page shown ("" when none), and its text.
    String Source() const;
    String PlainText() const;
    // What a click on a link with that address does.
    void Navigate(const String& url);

    std::function<bool(const String& url)> CancelLoad;
};

// A timer owned by its window: Mode 1 fires once, Period milliseconds after
// the window is built, and never after the window has closed.
class Timer {
public:
    Timer(Window& owner, String name, Int32 mode, Int32 periodMs);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const String& Name() const { return name_; }
    Int32 Mode() const { return mode_; }
    Int32 Period() const { return period_; }
    void Start();
    void Stop();

    std::function<void()> Action;

private:
    Window& owner_;
    String name_;
    Int32 mode_, period_;
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace tk
