#include "platform/Controls.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "platform/QtGraphics.h"
#include "platform/QtInternal.h"
#include "platform/Window.h"

namespace tk {

// ---- Control ---------------------------------------------------------------

Control::Control(Window& owner, String name, Control* parent, Rect r)
    : owner_(owner), name_(std::move(name)), parent_(parent), rect_(r) {}

Control::~Control() = default;

void Control::Attach(QWidget* w) {
    widget_ = w;
    const Int32 px = parent_ ? parent_->Left() : 0;
    const Int32 py = parent_ ? parent_->Top() : 0;
    w->setGeometry(rect_.left - px, rect_.top - py, rect_.width, rect_.height);
    w->setVisible(true);
}

void Control::Fire(const std::function<void()>& fn) {
    if (fn) owner_.Dispatch(fn);
}

bool Control::Visible() const { return widget_ && !widget_->isHidden(); }
void Control::Visible(bool v) {
    if (widget_) widget_->setVisible(v);
}
bool Control::Enabled() const { return widget_ && widget_->isEnabled(); }
void Control::Enabled(bool e) {
    if (widget_) widget_->setEnabled(e);
}

void Control::Refresh(bool eraseBackground) {
    if (!widget_) return;
    widget_->setAttribute(Qt::WA_OpaquePaintEvent, !eraseBackground);
    widget_->repaint();
}

void Control::MouseCursor(Cursor c) {
    cursor_ = c;
    if (widget_)
        widget_->setCursor(c == Cursor::FingerPointer ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

namespace {
QWidget* ParentWidget(Window& owner, Control* parent) {
    return parent ? parent->Widget() : owner.Content();
}
}  // namespace

// ---- Canvas ----------------------------------------------------------------

class CanvasWidget : public QWidget {
public:
    CanvasWidget(Canvas& c, QWidget* parent) : QWidget(parent), c_(c) {
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!testAttribute(Qt::WA_OpaquePaintEvent))
            p.fillRect(rect(), QC(c_.Owner().BackColor()));
        if (c_.backdrop_) p.drawImage(QPoint(0, 0), c_.backdrop_.data()->image);
        if (c_.Paint) {
            PainterGraphics g(&p, width(), height());
            c_.Owner().Dispatch([&] { c_.Paint(g); });
        }
    }
    void mousePressEvent(QMouseEvent* ev) override { Press(*ev, false); }
    // Qt sends the second press of a double-click (by the style hints'
    // interval and distance) as this event alone, in place of a press.
    void mouseDoubleClickEvent(QMouseEvent* ev) override { Press(*ev, true); }

private:
    void Press(const QMouseEvent& ev, bool doubleClick) {
        if (ev.button() != Qt::LeftButton || !c_.MouseDown) return;
        c_.doubleClickPress_ = doubleClick;
        const QPoint pos = ev.position().toPoint();
        c_.Owner().Dispatch([&] { c_.MouseDown(pos.x(), pos.y()); });
    }

    Canvas& c_;
};

Canvas::Canvas(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    Attach(new CanvasWidget(*this, ParentWidget(owner, parent)));
}

void Canvas::Backdrop(const Picture& p) {
    backdrop_ = p;
    if (Widget()) Widget()->update();
}

// ---- StaticText --------------------------------------------------------------

class LabelWidget : public QLabel {
public:
    LabelWidget(StaticText& t, QWidget* parent) : QLabel(parent), t_(t) {
        setTextFormat(Qt::PlainText);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void enterEvent(QEnterEvent*) override { Fire(t_.MouseEnter); }
    void leaveEvent(QEvent*) override { Fire(t_.MouseExit); }
    void mousePressEvent(QMouseEvent* ev) override {
        tracking_ = false;
        if (ev->button() != Qt::LeftButton || !t_.MouseDown) {
            ev->ignore();
            return;
        }
        const QPoint pos = ev->position().toPoint();
        bool wantUp = false;
        t_.Owner().Dispatch([&] { wantUp = t_.MouseDown(pos.x(), pos.y()); });
        tracking_ = wantUp;
    }
    void mouseReleaseEvent(QMouseEvent* ev) override {
        if (!tracking_ || ev->button() != Qt::LeftButton) return;
        tracking_ = false;
        const QPoint pos = ev->position().toPoint();
        if (t_.MouseUp) t_.Owner().Dispatch([&] { t_.MouseUp(pos.x(), pos.y()); });
    }

private:
    void Fire(const std::function<void()>& fn) {
        if (fn) t_.Owner().Dispatch(fn);
    }
    StaticText& t_;
    bool tracking_ = false;
};

StaticText::StaticText(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    Attach(new LabelWidget(*this, ParentWidget(owner, parent)));
    Restyle();
}

void StaticText::Text(const String& t) { static_cast<QLabel*>(Widget())->setText(Q(t)); }
String StaticText::Text() const { return S(static_cast<QLabel*>(Widget())->text()); }
void StaticText::TextColor(Color c) {
    color_ = c;
    Restyle();
}
void StaticText::TextFont(const String& f) {
    style_.font = f;
    Restyle();
}
void StaticText::TextSize(Int32 s) {
    style_.size = s;
    Restyle();
}
void StaticText::Bold(bool b) {
    style_.bold = b;
    Restyle();
}
void StaticText::Italic(bool i) {
    style_.italic = i;
    Restyle();
}
void StaticText::Underline(bool u) {
    style_.underline = u;
    Restyle();
}
void StaticText::TextAlign(Int32 a) {
    align_ = a;
    Restyle();
}
void StaticText::Multiline(bool m) {
    multiline_ = m;
    Restyle();
}

void StaticText::Restyle() {
    auto* label = static_cast<QLabel*>(Widget());
    label->setFont(MakeFont(style_.font, style_.size, style_.bold, style_.italic, style_.underline));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QC(color_));
    label->setPalette(pal);
    const Qt::Alignment h = align_ == 1 ? Qt::AlignHCenter : align_ == 2 ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(h | Qt::AlignTop);
    label->setWordWrap(multiline_);
}

// ---- EditField ---------------------------------------------------------------

class FieldWidget : public QLineEdit {
public:
    FieldWidget(EditField& f, QWidget* parent) : QLineEdit(parent), f_(f) {
        QObject::connect(this, &QLineEdit::textChanged, this, [this] {
            if (f_.TextChange) f_.Owner().Dispatch(f_.TextChange);
        });
    }

protected:
    void keyPressEvent(QKeyEvent* ev) override {
        const String key = KeyText(ev);
        if (f_.KeyDown && !key.empty()) {
            bool swallow = false;
            f_.Owner().Dispatch([&] { swallow = f_.KeyDown(key); });
            if (swallow || f_.Owner().IsClosed()) return;
        }
        QLineEdit::keyPressEvent(ev);
    }

private:
    static String KeyText(const QKeyEvent* ev) {
        switch (ev->key()) {
            case Qt::Key_Backspace: return Chr(8);
            case Qt::Key_Delete: return Chr(127);
            case Qt::Key_Return: return Chr(13);
            case Qt::Key_Enter: return Chr(3);
            case Qt::Key_Tab: return Chr(9);
            case Qt::Key_Escape: return Chr(27);
            case Qt::Key_Left: return Chr(28);
            case Qt::Key_Right: return Chr(29);
            case Qt::Key_Up: return Chr(30);
            case Qt::Key_Down: return Chr(31);
            default: return S(ev->text());
        }
    }
    EditField& f_;
};

EditField::EditField(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    Attach(new FieldWidget(*this, ParentWidget(owner, parent)));
    Restyle();
}

void EditField::Text(const String& t) { static_cast<QLineEdit*>(Widget())->setText(Q(t)); }
String EditField::Text() const { return S(static_cast<QLineEdit*>(Widget())->text()); }
void EditField::LimitText(Int32 n) {
    static_cast<QLineEdit*>(Widget())->setMaxLength(n > 0 ? n : 32767);
}
void EditField::SetFocus() {
    QWidget* w = Widget();
    if (w->isHidden() || !w->isEnabled()) return;
    w->setFocus(Qt::OtherFocusReason);
}
bool EditField::HasFocus() const {
    const QWidget* w = Widget();
    return w->window()->focusWidget() == w;
}
void EditField::TextFont(const String& f) {
    style_.font = f;
    Restyle();
}
void EditField::TextSize(Int32 s) {
    style_.size = s;
    Restyle();
}
void EditField::TextColor(Color c) {
    color_ = c;
    Restyle();
}
void EditField::BackColor(Color c) {
    back_ = c;
    Restyle();
}
void EditField::Alignment(Int32 a) {
    auto* e = static_cast<QLineEdit*>(Widget());
    e->setAlignment(a == 1 || a == 2 ? Qt::AlignHCenter : a == 3 ? Qt::AlignRight : Qt::AlignLeft);
}
void EditField::Border(bool b) { static_cast<QLineEdit*>(Widget())->setFrame(b); }

void EditField::Restyle() {
    auto* e = static_cast<QLineEdit*>(Widget());
    e->setFont(MakeFont(style_.font, style_.size, style_.bold, style_.italic, style_.underline));
    // Only a field whose colours differ from the default gets a palette of
    // its own (see the window's content area).
    QPalette pal = QApplication::palette(e);
    if (pal.color(QPalette::Text) != QC(color_) || pal.color(QPalette::Base) != QC(back_)) {
        pal.setColor(QPalette::Text, QC(color_));
        pal.setColor(QPalette::Base, QC(back_));
        e->setPalette(pal);
    } else {
        e->setPalette(QPalette());
    }
    e->setTextMargins(0, 0, 0, 0);
}

// ---- PushButton ----------------------------------------------------------------

PushButton::PushButton(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    auto* b = new QPushButton(ParentWidget(owner, parent));
    // Buttons never take the keyboard focus from the answer fields.
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, b, [this] { Fire(Action); });
    Attach(b);
    Restyle();
}

void PushButton::Caption(const String& c) { static_cast<QPushButton*>(Widget())->setText(Q(c)); }
String PushButton::Caption() const { return S(static_cast<QPushButton*>(Widget())->text()); }
void PushButton::Default(bool d) {
    if (d && !default_) Owner().RegisterDefault(this);
    default_ = d;
    static_cast<QPushButton*>(Widget())->setDefault(d);
}
void PushButton::TextFont(const String& f) {
    style_.font = f;
    Restyle();
}
void PushButton::TextSize(Int32 s) {
    style_.size = s;
    Restyle();
}
void PushButton::Bold(bool b) {
    style_.bold = b;
    Restyle();
}
void PushButton::Push() {
    if (Enabled() && Visible()) static_cast<QPushButton*>(Widget())->click();
}
void PushButton::Restyle() {
    Widget()->setFont(MakeFont(style_.font, style_.size, style_.bold, style_.italic, style_.underline));
}

// ---- Placard, Separator, Line ----------------------------------------------------

namespace {
// Paints its own panel colour, for the same reason as a window's content.
class PlacardWidget : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent* ev) override {
        {
            QPainter p(this);
            p.fillRect(rect(), QColor(0xEE, 0xEE, 0xEE));
        }
        QFrame::paintEvent(ev);
    }
};
}  // namespace

Placard::Placard(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    auto* f = new PlacardWidget(ParentWidget(owner, parent));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    Attach(f);
}

Separator::Separator(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    auto* f = new QFrame(ParentWidget(owner, parent));
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    Attach(f);
}

class LineWidget : public QWidget {
public:
    LineWidget(Line& l, QWidget* parent) : QWidget(parent), l_(l) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(QC(l_.color_), l_.width_, Qt::SolidLine, Qt::FlatCap));
        const QPoint o = geometry().topLeft();
        const Int32 px = l_.ParentControl() ? l_.ParentControl()->Left() : 0;
        const Int32 py = l_.ParentControl() ? l_.ParentControl()->Top() : 0;
        p.drawLine(QPointF(l_.x1_ - px - o.x(), l_.y1_ - py - o.y()),
                   QPointF(l_.x2_ - px - o.x(), l_.y2_ - py - o.y()));
    }

private:
    Line& l_;
};

Line::Line(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    Attach(new LineWidget(*this, ParentWidget(owner, parent)));
}

void Line::Points(Int32 x1, Int32 y1, Int32 x2, Int32 y2) {
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    Place();
}
void Line::BorderWidth(Int32 w) {
    width_ = w;
    Place();
}
void Line::LineColor(Color c) {
    color_ = c;
    if (Widget()) Widget()->update();
}
void Line::Place() {
    const Int32 px = ParentControl() ? ParentControl()->Left() : 0;
    const Int32 py = ParentControl() ? ParentControl()->Top() : 0;
    const Int32 pad = width_ / 2 + 1;
    const Int32 left = std::min(x1_, x2_) - pad, top = std::min(y1_, y2_) - pad;
    const Int32 right = std::max(x1_, x2_) + pad, bottom = std::max(y1_, y2_) + pad;
    Widget()->setGeometry(left - px, top - py, right - left, bottom - top);
    Widget()->update();
}

// ---- HTMLViewer ------------------------------------------------------------------

class ViewerWidget : public QTextBrowser {
public:
    ViewerWidget(HTMLViewer& v, QWidget* parent) : QTextBrowser(parent), v_(v) {
        setOpenLinks(false);
        setOpenExternalLinks(false);
        QObject::connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            // Offer the address as a browser would report it: resolved
            // against the page shown.
            const QUrl full = source().isEmpty() ? url : source().resolved(url);
            v_.Navigate(S(full.toString()));
        });
    }

private:
    HTMLViewer& v_;
};

HTMLViewer::HTMLViewer(Window& owner, String name, Control* parent, Rect r)
    : Control(owner, std::move(name), parent, r) {
    Attach(new ViewerWidget(*this, ParentWidget(owner, parent)));
}

void HTMLViewer::LoadPage(const FolderItem& file) {
    static_cast<QTextBrowser*>(Widget())->setSource(QUrl::fromLocalFile(Q(file.Path())));
}

String HTMLViewer::Source() const {
    return S(static_cast<QTextBrowser*>(Widget())->source().toString());
}

String HTMLViewer::PlainText() const {
    return S(static_cast<QTextBrowser*>(Widget())->toPlainText());
}

void HTMLViewer::Navigate(const String& url) {
    bool cancelled = false;
    if (CancelLoad) Owner().Dispatch([&] { cancelled = CancelLoad(url); });
    if (cancelled || Owner().IsClosed()) return;
    // The viewer itself shows local pages only.
    const QUrl u(Q(url));
    if (u.isLocalFile() || u.isRelative()) static_cast<QTextBrowser*>(Widget())->setSource(u);
}

// ---- Timer -----------------------------------------------------------------------

struct Timer::Impl {
    QTimer timer;
};

Timer::Timer(Window& owner, String name, Int32 mode, Int32 periodMs)
    : owner_(owner), name_(std::move(name)), mode_(mode), period_(periodMs),
      d_(std::make_unique<Impl>()) {
    d_->timer.setSingleShot(mode_ == 1);
    d_->timer.setInterval(period_ > 0 ? period_ : 0);
    d_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&d_->timer, &QTimer::timeout, &d_->timer, [this] {
        if (mode_ == 0) return;
        if (Action) owner_.Dispatch(Action);
    });
}

Timer::~Timer() = default;

void Timer::Start() {
    if (mode_ != 0) d_->timer.start();
}
void Timer::Stop() { d_->timer.stop(); }

}  // namespace tk
