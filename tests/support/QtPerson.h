// A person's mouse, wheel and keys on real windows, given the way the window system gives them:
// to the window at a point of it, whence Qt finds the widget under the point, the open menu or
// list that takes every click, and the modal window that blocks the others.
#pragma once

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace person {

enum class Pointer { Move, Press, Release, DoubleClick, WheelUp, WheelDown };

inline const char* NameOf(Pointer p)
{
    static const char* const names[] = {"move", "press", "release", "double click", "wheel up", "wheel down"};
    return names[int(p)];
}

// The window a person works in now: the open menu or list, else the innermost modal window,
// else none (every shown window).
inline QWidget* TopWindow()
{
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    return QApplication::activeModalWidget();
}

// The windows a person can reach now: the top one alone, or every shown window. Held so that
// one an action ends is seen as gone by the next.
inline std::vector<QPointer<QWidget>> ReachableWindows()
{
    if (QWidget* top = TopWindow()) return {top};
    std::vector<QPointer<QWidget>> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowHandle() && !(w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup))
            out.emplace_back(w);
    return out;
}

// Where the window system gives a person's next event for a window: its handle while the window
// is still there and shown, else nowhere. Every single event asks again: the one before may
// have closed or freed the window (a context menu closes on Alt, and Qt frees it in the events
// that run right after).
inline QWindow* Shown(const QPointer<QWidget>& window)
{
    return window && window->isVisible() ? window->windowHandle() : nullptr;
}

// The pointer at `at` (the window's coordinates) of a shown window. A press comes with the
// window's activation, as a window manager gives it. What comes after the window went goes
// nowhere; a button is let go all the same.
inline void Act(const QPointer<QWidget>& window, QPoint at, Pointer act, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    // Qt's test functions take the null point for the window's centre.
    if (at.isNull()) at = QPoint(1, 1);
    const auto press = [&] {
        if (Shown(window) && !window->isActiveWindow() && window->windowType() != Qt::Popup) window->activateWindow();
        if (QWindow* handle = Shown(window)) QTest::mousePress(handle, button, mods, at);
    };
    const auto release = [&] {
        if (QWindow* handle = Shown(window))
            QTest::mouseRelease(handle, button, mods, at);
        else
            QTestPrivate::qtestMouseButtons.setFlag(button, false);
        return Shown(window) != nullptr;
    };
    switch (act) {
    case Pointer::Move:
        if (QWindow* handle = Shown(window)) QTest::mouseMove(handle, at);
        break;
    case Pointer::Press: press(); break;
    case Pointer::Release: release(); break;
    case Pointer::DoubleClick:
        // Two clicks, the second within the double-click time of the first (a release moves
        // Qt's test clock past it).
        press();
        if (!release()) break;
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        press();
        release();
        break;
    case Pointer::WheelUp:
    case Pointer::WheelDown:
        if (QWindow* handle = Shown(window)) {
            const QPoint notch(0, act == Pointer::WheelUp ? 120 : -120);
            QWheelEvent wheel(at, handle->mapToGlobal(QPointF(at)), QPoint(), notch, Qt::NoButton, mods,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(handle, &wheel);
            QApplication::processEvents();
        }
        break;
    }
}
// A window is held across a person's events: a plain pointer dangles once the first frees it.
void Act(QWidget* window, QPoint at, Pointer act, Qt::MouseButton = Qt::LeftButton,
         Qt::KeyboardModifiers = Qt::NoModifier) = delete;

// A key pressed and let go in a window (to its focused widget): its modifiers pressed before it
// and let go after it, one event at a time, each only while the window is there.
inline void Key(const QPointer<QWidget>& window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    static constexpr std::pair<Qt::KeyboardModifier, Qt::Key> modifiers[] = {{Qt::ShiftModifier, Qt::Key_Shift},
                                                                             {Qt::ControlModifier, Qt::Key_Control},
                                                                             {Qt::AltModifier, Qt::Key_Alt},
                                                                             {Qt::MetaModifier, Qt::Key_Meta}};
    const char ascii = QTest::keyToAscii(key);
    const QString text = ascii ? QString(QChar::fromLatin1(ascii)) : QString();
    Qt::KeyboardModifiers held;
    const auto send = [&](bool down, Qt::Key k, const QString& t) {
        QWindow* handle = Shown(window);
        if (handle) QTest::simulateEvent(handle, down, k, held, t, false);
        return handle != nullptr;
    };
    for (auto [modifier, k] : modifiers)
        if (mods & modifier) {
            if (!send(true, k, {})) return;
            held |= modifier;
        }
    if (!send(true, key, text) || !send(false, key, text)) return;
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        if (mods & it->first) {
            if (!send(false, it->second, {})) return;
            held &= ~it->first;
        }
}
void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) = delete;

// The points of a widget a sweep tries, in its window's coordinates: its centre and its top left
// corner; on a menu bar also each title and the empty part beside them.
inline std::vector<QPoint> SweepPoints(QWidget* w)
{
    QWidget* window = w->window();
    std::vector<QPoint> inWidget = {w->rect().center(), QPoint(1, 1)};
    if (auto* bar = qobject_cast<QMenuBar*>(w)) {
        for (QAction* a : bar->actions())
            if (a->isVisible()) inWidget.push_back(bar->actionGeometry(a).center());
        inWidget.push_back(QPoint(bar->width() - 4, bar->height() / 2));
    }
    if (auto* menu = qobject_cast<QMenu*>(w))
        for (QAction* a : menu->actions())
            if (a->isVisible()) inWidget.push_back(menu->actionGeometry(a).center());
    std::vector<QPoint> out;
    for (QPoint p : inWidget) {
        const QPoint at = w == window ? p : w->mapTo(window, p);
        if (window->rect().contains(at)) out.push_back(at);
    }
    return out;
}

} // namespace person
