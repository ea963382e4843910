// Views: the Qt widget of each ui control, kept in step with it. Internal to ui/qt.
#pragma once

#include "ui/qt/QtBackend.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QMouseEvent;

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// A position on widget `from` in the coordinates of widget `to`, through the screen: sound for
// any two widgets, in one window or two (Qt's mapTo needs `to` among the parents of `from`, and
// across a window's edge its parent chain adds the window's place on the screen).
inline QPoint MapBetween(const QWidget* from, const QWidget* to, QPointF at)
{
    return to->mapFromGlobal(from->mapToGlobal(at)).toPoint();
}

// Widgets that show the ui's mouse events rather than acting on them themselves.
inline constexpr const char* kMouseProperty = "qm_mouse";

// Paints a ui bitmap: a form's canvas, an image's picture.
class BitmapWidget : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void(QPainter&)> PaintWith;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (PaintWith) PaintWith(p);
    }
};

class QtView : public TComponentView {
public:
    QtView(QtBackend& backend, TComponent* component);
    ~QtView() override;

    void Changed() override;
    void ChildAdded(TComponent* child) override;
    void Destroyed() override;

    // Mirrors the component's whole state into the widget (signals blocked).
    virtual void Sync() = 0;
    // Where the widgets of child controls go.
    virtual QWidget* Container() const { return Widget; }
    // The widget that takes the keyboard focus for the control.
    virtual QWidget* FocusWidget() const { return Widget; }
    // A mouse event on w (the widget or one inside it); true when it was used up.
    virtual bool Mouse(QWidget* w, QMouseEvent* e);

    QtBackend& Backend;
    TComponent* Component;
    QPointer<QWidget> Widget;

protected:
    // Position, size, visibility, enabled, font, hint and cursor of a control; then focus.
    void SyncControl();
    void SyncFocus();
    // Runs ui work and then re-mirrors this view (the ui may have refused or changed it).
    void Act(const std::function<void()>& work);
    // Builds the views of c and everything under it.
    QtView* Build(TComponent* c, QWidget* parentContainer) { return Backend.BuildViews(c, parentContainer); }
    bool FSyncing = false;
};

// Creates the view (and widget) of one component under the parent container.
QtView* MakeView(QtBackend& backend, TComponent* c, QWidget* parentContainer);
// The views of one family each, for MakeView: plain containers and graphic controls (the
// fallback for any control), buttons and boxes (nullptr for a control of another family), forms,
// menu items.
QtView* MakePlainView(QtBackend& b, TComponent* c, QWidget* parent);
QtView* MakeBoxView(QtBackend& b, TComponent* c, QWidget* parent);
QtView* MakeFormView(QtBackend& b, TForm* f);
QtView* MakeMenuItemView(QtBackend& b, TMenuItem* item, QWidget* parent);

// The QAction of a menu item's view, or nullptr.
class QAction;
QAction* MenuActionOf(QtView* v);

QImage ToQImage(const TBitmap& b);
QFont ToQFont(const TFont& f);
QColor ToQColor(TColor c);
