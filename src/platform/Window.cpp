#include "platform/Window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "platform/Application.h"
#include "platform/Internal.h"
#include "platform/QtInternal.h"

namespace tk {
namespace {

struct Entry {
    std::type_index type;
    std::unique_ptr<Window> window;
};

// Open windows, front first.
std::vector<Entry>& Registry() {
    static std::vector<Entry> reg;
    return reg;
}

// Closed windows waiting for the running handlers to return.
std::vector<std::unique_ptr<Window>>& Graveyard() {
    static std::vector<std::unique_ptr<Window>> dead;
    return dead;
}

// The content area paints its own background rather than taking a palette of
// its own: a fresh palette per window gives every control drawn on it new
// keys in the style's pixmap cache, which then fills up window by window.
class ContentWidget : public QFrame {
public:
    ContentWidget(QWidget* parent, Color back) : QFrame(parent), back_(QC(back)) {}

protected:
    void paintEvent(QPaintEvent* ev) override {
        {
            QPainter p(this);
            p.fillRect(rect(), back_);
        }
        QFrame::paintEvent(ev);
    }

private:
    QColor back_;
};

class WindowWidget : public QWidget {
public:
    WindowWidget(Window& owner, bool closeBox) : owner_(owner), closeBox_(closeBox) {}

protected:
    void closeEvent(QCloseEvent* ev) override {
        // The window closes itself (raising Close) or not at all; a window
        // without a close box ignores the window manager.
        ev->ignore();
        if (closeBox_ && !owner_.IsClosed()) Guard([this] { owner_.Close(); });
    }

private:
    Window& owner_;
    bool closeBox_;
};

// Watches every widget of the application: a window brought to the front by
// the window manager comes first in the registry too; menu shortcuts run
// their item; Return and Enter press the enabled, visible default button of
// the window that has the keyboard.
class KeyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::WindowActivate && obj->isWidgetType()) {
            if (Window* w = detail::WindowOfWidget(static_cast<QWidget*>(obj))) Window::BringToFront(w);
            return false;
        }
        if (ev->type() != QEvent::KeyPress || !obj->isWidgetType()) return false;
        auto* key = static_cast<QKeyEvent*>(ev);
        if ((key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
            ChooseMenuItemForKeys(QKeySequence(key->keyCombination())))
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Window* w = detail::WindowOfWidget(static_cast<QWidget*>(obj));
            if (!w || w->IsClosed()) return false;
            for (PushButton* b : w->DefaultButtons()) {
                if (b->Enabled() && b->Visible()) {
                    b->Push();
                    return true;
                }
            }
        }
        return false;
    }
};

}  // namespace

struct Window::Impl {
    std::unique_ptr<WindowWidget> top;
    QFrame* content = nullptr;  // owned by top
    QMenuBar* menuBar = nullptr;
    int menuHeight = 0;
};

namespace detail {

void ReapClosedWindows() {
    if (Graveyard().empty()) return;
    if (DispatchDepth() != 0) {
        ScheduleReap();
        return;
    }
    // Destroying a window can run code that closes another; take turns.
    while (!Graveyard().empty()) {
        auto dead = std::move(Graveyard());
        Graveyard().clear();
        dead.clear();
    }
}

void ScheduleReap() {
    if (qApp && !Graveyard().empty()) QTimer::singleShot(0, qApp, [] { ReapClosedWindows(); });
}

Window* WindowOfWidget(const QWidget* w) {
    if (!w) return nullptr;
    const QWidget* top = w->window();
    for (auto& e : Registry())
        if (e.window->Widget() == top) return e.window.get();
    return nullptr;
}

void EnsureEventFilter() {
    static KeyFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new KeyFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

}  // namespace detail

Window::Window() : d_(std::make_unique<Impl>()) {}

Window::~Window() {
    closed_ = true;  // nothing dispatches to a window being destroyed
    d_.reset();      // the widgets go before the controls that feed them
}

QWidget* Window::Widget() const { return d_ ? d_->top.get() : nullptr; }
QWidget* Window::Content() const { return d_ ? d_->content : nullptr; }

Window* Window::Registered(std::type_index type) {
    for (auto& e : Registry())
        if (e.type == type) return e.window.get();
    return nullptr;
}

std::vector<Window*> Window::OpenWindows() {
    std::vector<Window*> out;
    for (auto& e : Registry()) out.push_back(e.window.get());
    return out;
}

Window* Window::FrontWindow() {
    auto& reg = Registry();
    return reg.empty() ? nullptr : reg.front().window.get();
}

void Window::BringToFront(Window* w) {
    auto& reg = Registry();
    auto it = std::find_if(reg.begin(), reg.end(), [w](const Entry& e) { return e.window.get() == w; });
    if (it != reg.end() && it != reg.begin()) std::rotate(reg.begin(), it, it + 1);
}

void Window::DiscardAll() {
    auto& reg = Registry();
    for (auto& e : reg) {
        e.window->closed_ = true;
        Graveyard().push_back(std::move(e.window));
    }
    reg.clear();
    Graveyard().clear();
}

void Window::BuildRegistered(std::type_index type, std::unique_ptr<Window> w) {
    // Once the program is quitting nothing new opens.
    if (Quitting()) throw detail::QuitUnwind{};
    Window* raw = w.get();
    // Registered before it is built, so naming it inside its own Open
    // gives the window being built.
    Registry().push_back(Entry{type, std::move(w)});
    try {
        raw->Build();
    } catch (...) {
        if (!raw->closed_) {
            auto& reg = Registry();
            auto it = std::find_if(reg.begin(), reg.end(),
                                   [raw](const Entry& e) { return e.window.get() == raw; });
            if (it != reg.end()) {
                raw->closed_ = true;
                if (raw->Widget()) raw->Widget()->hide();
                Graveyard().push_back(std::move(it->window));
                reg.erase(it);
                detail::ScheduleReap();
            }
        }
        throw;
    }
}

void Window::Build() {
    detail::EnsureEventFilter();
    Layout();
    const bool closeBox = props_.closeButton && props_.frame != 5;
    d_->top = std::make_unique<WindowWidget>(*this, closeBox);
    QWidget* top = d_->top.get();
    Qt::WindowFlags flags = Qt::Window;
    if (props_.frame == 5) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (closeBox) flags |= Qt::WindowCloseButtonHint;
        if (props_.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
        if (props_.maximizeButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    top->setWindowFlags(flags);
    top->setWindowTitle(Q(props_.title));
    top->setAttribute(Qt::WA_DeleteOnClose, false);

    if (!menuBar_ && CurrentApplication()) menuBar_ = CurrentApplication()->MenuBar();
    if (props_.menuBarVisible && props_.frame != 5 && menuBar_) BuildMenuBar();

    d_->content = new ContentWidget(top, BackColor());
    if (props_.frame == 5) {
        d_->content->setFrameShape(QFrame::Box);
        d_->content->setLineWidth(1);
    }
    Width(props_.width);
    Height(props_.height);

    CreateControls();
    AddMenuHandlers();
    ApplyTabOrder();
    built_ = true;

    for (auto& c : controls_)
        if (c->Open) c->Open();
    Event_Open();
    if (closed_) return;  // its Open closed it

    if (props_.placement == 2) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect avail = screen->availableGeometry();
            const QSize size = top->size();
            top->move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
        }
    }
    top->show();
    Show();
    for (auto& t : timers_) t->Start();
}

void Window::BuildMenuBar() {
    d_->menuBar = new QMenuBar(d_->top.get());
    d_->menuBar->setNativeMenuBar(false);
    for (const auto& menu : menuBar_->Items()) {
        QMenu* qm = d_->menuBar->addMenu(Q(menu->Text));
        std::vector<std::pair<QAction*, MenuItem*>> actions;
        for (const auto& item : menu->Items()) {
            QString text = Q(item->Text);
            if (!item->KeyboardShortcut.empty()) {
                // Shown only; the toolkit's own filter acts on the keys.
                text += QChar('\t') + ShortcutKeys(item->KeyboardShortcut).toString(QKeySequence::NativeText);
            }
            QAction* a = qm->addAction(text);
            const String name = item->Name;
            QObject::connect(a, &QAction::triggered, a, [name] { ChooseMenuItem(name); });
            actions.emplace_back(a, item.get());
        }
        QObject::connect(qm, &QMenu::aboutToShow, qm, [actions] {
            RunEnablingPass();
            for (auto& [a, item] : actions) a->setEnabled(item->Enabled);
        });
    }
    d_->menuHeight = d_->menuBar->sizeHint().height();
}

void Window::ApplyTabOrder() {
    // Keyboard focus moves among the controls that take it, in TabIndex order
    // (a control on a placard ordered within its placard).
    auto key = [](const Control* c) {
        std::vector<Int32> k;
        for (const Control* p = c; p; p = p->ParentControl()) k.insert(k.begin(), p->TabIndex());
        return k;
    };
    std::vector<Control*> order;
    for (auto& c : controls_)
        if (c->Widget() && c->Widget()->focusPolicy() != Qt::NoFocus) order.push_back(c.get());
    std::stable_sort(order.begin(), order.end(),
                     [&](const Control* a, const Control* b) { return key(a) < key(b); });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->Widget(), order[i]->Widget());
}

void Window::AdoptControl(std::unique_ptr<Control> c) { controls_.push_back(std::move(c)); }

Timer& Window::AddTimer(const String& name, Int32 mode, Int32 periodMs) {
    timers_.push_back(std::make_unique<Timer>(*this, name, mode, periodMs));
    return *timers_.back();
}

Control* Window::ControlNamed(const String& name) const {
    for (auto& c : controls_)
        if (c->Name() == name) return c.get();
    return nullptr;
}

void Window::Show() {
    if (closed_ || !d_->top) return;
    if (built_) {
        d_->top->show();
        // The offscreen platform has no stacking to change (and says so).
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            d_->top->raise();
            d_->top->activateWindow();
        }
    }
    BringToFront(this);
}

void Window::Close() {
    if (closed_) return;
    closed_ = true;
    for (auto& t : timers_) t->Stop();
    struct Discard {
        Window* self;
        ~Discard() {
            if (self->d_->top) self->d_->top->hide();
            auto& reg = Registry();
            auto it = std::find_if(reg.begin(), reg.end(),
                                   [this](const Entry& e) { return e.window.get() == self; });
            if (it != reg.end()) {
                Graveyard().push_back(std::move(it->window));
                reg.erase(it);
            }
            detail::ScheduleReap();
        }
    } discard{this};
    Event_Close();
}

void Window::Dispatch(const std::function<void()>& handler) {
    if (closed_ || !handler) return;
    Guard(handler);
}

void Window::Title(const String& title) {
    props_.title = title;
    if (d_->top) d_->top->setWindowTitle(Q(title));
}

String Window::Title() const { return props_.title; }

void Window::Width(Int32 w) {
    props_.width = w;
    if (!d_->top) return;
    d_->top->setFixedSize(props_.width, props_.height + d_->menuHeight);
    if (d_->menuBar) d_->menuBar->setGeometry(0, 0, props_.width, d_->menuHeight);
    if (d_->content) d_->content->setGeometry(0, d_->menuHeight, props_.width, props_.height);
}

Int32 Window::Width() const { return props_.width; }

void Window::Height(Int32 h) {
    props_.height = h;
    Width(props_.width);
}

Int32 Window::Height() const { return props_.height; }

Color Window::BackColor() const { return props_.hasBackColor ? props_.backColor : RGB(255, 255, 255); }

}  // namespace tk
