#include "ui/qt/QtViews.h"

#include <QMouseEvent>

#include <algorithm>

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton)
{
    TShiftState s;
    if (m & Qt::ShiftModifier) s << ssShift;
    if (m & Qt::ControlModifier) s << ssCtrl;
    if (m & Qt::AltModifier) s << ssAlt;
    if (b & Qt::LeftButton) s << ssLeft;
    if (b & Qt::RightButton) s << ssRight;
    if (b & Qt::MiddleButton) s << ssMiddle;
    return s;
}

TMouseButton ButtonOf(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

Qt::CursorShape CursorOf(TCursor c)
{
    switch (c) {
    case crHandPoint: return Qt::PointingHandCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crHourGlass: return Qt::WaitCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

QColor ToQColor(TColor c) { return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c))); }

QFont ToQFont(const TFont& f)
{
    QFont q(Q(f.Name));
    q.setPointSize(std::max(1, f.Size));
    q.setBold(f.Style & fsBold);
    q.setItalic(f.Style & fsItalic);
    q.setUnderline(f.Style & fsUnderline);
    q.setStrikeOut(f.Style & fsStrikeOut);
    return q;
}

QImage ToQImage(const TBitmap& b)
{
    QImage img(std::max(1, b.Width()), std::max(1, b.Height()), QImage::Format_RGB32);
    img.fill(Qt::white);
    const TColor* pixels = b.Data().data();
    if (b.Data().size() < std::size_t(b.Width()) * std::size_t(b.Height())) return img;
    for (int y = 0; y < b.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const TColor* row = pixels + std::size_t(y) * std::size_t(b.Width());
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = row[x];
            line[x] = qRgb(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
        }
    }
    return img;
}

// ---- base -----------------------------------------------------------------------------------

QtView::QtView(QtBackend& backend, TComponent* component) : Backend(backend), Component(component)
{
    Component->View = this;
    Backend.Register(Component, this);
}

QtView::~QtView() { Backend.Unregister(Component); }

void QtView::Changed()
{
    if (!FSyncing && Widget) Sync();
}

void QtView::ChildAdded(TComponent* child)
{
    QtView* v = Backend.ViewFor(child);
    if (!v) {
        Backend.BuildViews(child, Container());
    } else if (dynamic_cast<TControl*>(child) && v->Widget && v->Widget->parentWidget() != Container()) {
        // A control moved to another parent: its widget follows.
        v->Widget->setParent(Container());
        v->Changed();
    }
}

void QtView::Destroyed()
{
    Component->View = nullptr;
    if (Widget) {
        // Nothing the widget still emits may reach this view or its control.
        Widget->blockSignals(true);
        for (QObject* o : Widget->findChildren<QObject*>()) o->blockSignals(true);
        Widget->hide();
        Widget->deleteLater();
    }
    delete this;
}

bool QtView::Mouse(QWidget* w, QMouseEvent* e)
{
    if (!w->property(kMouseProperty).toBool()) return false;
    auto* c = dynamic_cast<TControl*>(Component);
    if (!c) return false;
    // A form's coordinates are its client area's, below its menu bar.
    QPoint p = MapBetween(w, dynamic_cast<TForm*>(c) ? Container() : Widget.data(), e->position());
    TShiftState s = ShiftOf(e->modifiers(), e->buttons());
    switch (e->type()) {
    case QEvent::MouseButtonPress: c->UserMouseDown(p.x(), p.y(), ButtonOf(e->button()), s); break;
    case QEvent::MouseButtonRelease: c->UserMouseUp(p.x(), p.y(), ButtonOf(e->button()), s); break;
    case QEvent::MouseMove: c->UserMouseMove(p.x(), p.y(), s); break;
    case QEvent::MouseButtonDblClick: c->UserDoubleClicks(); break;
    default: return false;
    }
    return true;
}

void QtView::Act(const std::function<void()>& work)
{
    // The view may be gone after the ui work (a handler freeing its form): look it up again.
    TComponent* c = Component;
    QtBackend& b = Backend;
    work();
    if (QtView* v = b.ViewFor(c)) v->Changed();
}

void QtView::SyncControl()
{
    auto* c = dynamic_cast<TControl*>(Component);
    if (!c || !Widget) return;
    Widget->setGeometry(c->Left(), c->Top(), c->Width(), c->Height());
    Widget->setEnabled(c->Enabled());
    Widget->setFont(ToQFont(c->Font));
    Widget->setToolTip(Q(c->Hint));
    if (c->Cursor != crDefault) Widget->setCursor(CursorOf(c->Cursor));
    Widget->setVisible(c->Visible() && c->Parent());
    SyncFocus();
}

void QtView::SyncFocus()
{
    auto* w = dynamic_cast<TWinControl*>(Component);
    QWidget* fw = FocusWidget();
    if (!w || !fw || dynamic_cast<TForm*>(Component)) return;
    if (w->Focused()) {
        if (!fw->hasFocus() && fw->isVisible() && fw->window()->isActiveWindow()) fw->setFocus(Qt::OtherFocusReason);
    } else if (fw->hasFocus()) {
        fw->window()->setFocus(Qt::OtherFocusReason);
    }
}

QtView* MakeView(QtBackend& b, TComponent* c, QWidget* parent)
{
    if (auto* m = dynamic_cast<TMenuItem*>(c)) return MakeMenuItemView(b, m, parent);
    if (auto* f = dynamic_cast<TForm*>(c)) return MakeFormView(b, f);
    if (!parent) return nullptr;
    if (QtView* v = MakeBoxView(b, c, parent)) return v;
    return MakePlainView(b, c, parent);
}
