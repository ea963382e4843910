// A person's mouse, wheel and keys on real windows, given the way the window system gives them:
// to the window at a point of it, whence Qt finds the widget under the point, the open menu or
// list that takes every click, and the modal window that blocks the others.
#pragma once

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <string>
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

// The windows a person can reach now: the top one alone, or every shown window.
inline std::vector<QWidget*> ReachableWindows()
{
    if (QWidget* top = TopWindow()) return {top};
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowHandle() && !(w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup))
            out.push_back(w);
    return out;
}

// The pointer at `at` (the window's coordinates) of a shown window. A press comes with the
// window's activation, as a window manager gives it.
inline void Act(QWidget* window, QPoint at, Pointer act, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWindow* handle = window->windowHandle();
    if (!handle || !window->isVisible()) return;
    // Qt's test functions take the null point for the window's centre.
    if (at.isNull()) at = QPoint(1, 1);
    switch (act) {
    case Pointer::Move: QTest::mouseMove(handle, at); break;
    case Pointer::Press:
        if (!window->isActiveWindow() && window->windowType() != Qt::Popup) window->activateWindow();
        QTest::mousePress(handle, button, mods, at);
        break;
    case Pointer::Release: QTest::mouseRelease(handle, button, mods, at); break;
    case Pointer::DoubleClick: QTest::mouseDClick(handle, button, mods, at); break;
    case Pointer::WheelUp:
    case Pointer::WheelDown: {
        const QPoint notch(0, act == Pointer::WheelUp ? 120 : -120);
        QWheelEvent wheel(at, handle->mapToGlobal(QPointF(at)), QPoint(), notch, Qt::NoButton, mods, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(handle, &wheel);
        QApplication::processEvents();
        break;
    }
    }
}

// A key pressed and let go in a window (to its focused widget).
inline void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    if (QWindow* handle = window->windowHandle(); handle && window->isVisible()) QTest::keyClick(handle, key, mods);
}

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
