#include "ui/qt/QtViews.h"

#include <QAbstractSlider>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

// ---- plain containers and graphic controls --------------------------------------------------

class PlainView : public QtView {
public:
    PlainView(QtBackend& b, TControl* c, QWidget* parent, bool mouse) : QtView(b, c)
    {
        auto* f = new QFrame(parent);
        if (dynamic_cast<TPanel*>(c)) f->setFrameStyle(QFrame::Panel | QFrame::Raised);
        f->setProperty(kMouseProperty, mouse);
        f->setMouseTracking(mouse);
        Widget = f;
    }
    void Sync() override { SyncControl(); }
};

class TabSheetView : public QtView {
public:
    TabSheetView(QtBackend& b, TTabSheet* s, QWidget* parent) : QtView(b, s)
    {
        Widget = new QWidget(parent);
        Widget->setProperty(kMouseProperty, true);
    }
    void Sync() override
    {
        auto* s = static_cast<TTabSheet*>(Component);
        // A sheet fills its page control's page area, wherever its own bounds say.
        if (QWidget* area = Widget->parentWidget()) Widget->setGeometry(area->rect().adjusted(2, 2, -2, -2));
        Widget->setEnabled(s->Enabled());
        Widget->setVisible(s->Visible());
    }
};

class ScrollBoxView : public QtView {
public:
    ScrollBoxView(QtBackend& b, TScrollBox* s, QWidget* parent) : QtView(b, s)
    {
        auto* area = new QScrollArea(parent);
        Inner = new QWidget;
        Inner->setAutoFillBackground(true);
        area->setWidget(Inner);
        area->setWidgetResizable(false);
        // The ui's border: sunken, 2 pixels, inside the bounds.
        area->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        area->setLineWidth(2);
        // A person's drag or step of a bar moves the ui's position, which the view then shows;
        // what the view or Qt itself sets is not a person's.
        for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()}) {
            const bool vertical = bar == area->verticalScrollBar();
            QObject::connect(bar, &QAbstractSlider::actionTriggered, [this, s, bar, vertical](int) {
                const int to = bar->sliderPosition();
                Act([s, to, vertical] { s->UserScrollsTo(to, vertical); });
            });
        }
        Widget = area;
    }
    QWidget* Container() const override { return Inner; }
    void Sync() override
    {
        auto* s = static_cast<TScrollBox*>(Component);
        auto* area = static_cast<QScrollArea*>(Widget.data());
        SyncControl();
        area->setFrameStyle(s->BorderStyle == bsNone ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
        area->setHorizontalScrollBarPolicy(s->HorzScrollBar.Visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(s->VertScrollBar.Visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        QPalette pal = Inner->palette();
        pal.setColor(QPalette::Window, ToQColor(s->Color));
        Inner->setPalette(pal);
        Inner->resize(
            std::max(s->HorzScrollBar.Range(), s->ClientWidth() - area->verticalScrollBar()->sizeHint().width()),
            std::max(s->VertScrollBar.Range(), s->ClientHeight()));
        // The ranges as the area will find them once it is laid out, so that a position set
        // before the window shows is kept.
        for (auto [bar, ui] : {std::pair{area->verticalScrollBar(), &s->VertScrollBar},
                               std::pair{area->horizontalScrollBar(), &s->HorzScrollBar}}) {
            bar->setTracking(ui->Tracking);
            bar->setRange(0, ui->MaxPosition());
            bar->setValue(ui->Position());
        }
    }
    void ChildAdded(TComponent* child) override
    {
        QtView::ChildAdded(child);
        Sync();
    }

private:
    QWidget* Inner;
};

class LabelView : public QtView {
public:
    LabelView(QtBackend& b, TLabel* l, QWidget* parent) : QtView(b, l)
    {
        auto* q = new QLabel(parent);
        q->setTextFormat(Qt::PlainText);
        q->setProperty(kMouseProperty, true);
        Widget = q;
    }
    void Sync() override
    {
        auto* l = static_cast<TLabel*>(Component);
        auto* q = static_cast<QLabel*>(Widget.data());
        q->setText(Q(StripHotkey(l->Caption())));
        q->setWordWrap(l->WordWrap);
        Qt::Alignment h = l->Alignment == taCenter         ? Qt::AlignHCenter
                          : l->Alignment == taRightJustify ? Qt::AlignRight
                                                           : Qt::AlignLeft;
        Qt::Alignment v = l->Layout == tlCenter   ? Qt::AlignVCenter
                          : l->Layout == tlBottom ? Qt::AlignBottom
                                                  : Qt::AlignTop;
        q->setAlignment(h | v);
        QPalette pal = q->palette();
        // A disabled label keeps the style's greyed text, as a disabled Windows label is drawn.
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            pal.setColor(group, QPalette::WindowText, ToQColor(l->Font.Color));
        q->setPalette(pal);
        q->setAutoFillBackground(!l->Transparent && l->Color != clBtnFace);
        SyncControl();
        if (l->AutoSize && !l->WordWrap) q->resize(q->sizeHint());
    }
};

class ImageView : public QtView {
public:
    ImageView(QtBackend& b, TImage* i, QWidget* parent) : QtView(b, i)
    {
        auto* w = new BitmapWidget(parent);
        w->setProperty(kMouseProperty, true);
        w->setMouseTracking(true);
        w->PaintWith = [i](QPainter& p) {
            if (i->Picture.Empty()) return;
            QImage img = ToQImage(i->Picture.Bitmap());
            QRect r(0, 0, i->Width(), i->Height());
            if (i->Stretch) {
                const QRect box = r;
                if (i->Proportional) r.setSize(img.size().scaled(box.size(), Qt::KeepAspectRatio));
                if (i->Center) r.moveCenter(box.center());
                // Averaged, not sampled: a picture drawn smaller keeps its thin lines (the bus and
                // drop lines of the algorithm diagrams would lose every other row and column).
                p.drawImage(r.topLeft(), img.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            } else if (i->Center)
                p.drawImage((i->Width() - img.width()) / 2, (i->Height() - img.height()) / 2, img);
            else
                p.drawImage(0, 0, img);
        };
        Widget = w;
    }
    void Sync() override
    {
        SyncControl();
        Widget->update();
    }
};

class BevelView : public QtView {
public:
    BevelView(QtBackend& b, TControl* c, QWidget* parent) : QtView(b, c)
    {
        auto* w = new BitmapWidget(parent);
        w->setProperty(kMouseProperty, true);
        w->PaintWith = [this](QPainter& p) { Paint(p); };
        Widget = w;
    }
    void Sync() override
    {
        SyncControl();
        Widget->update();
    }

private:
    void Paint(QPainter& p)
    {
        QRect r = Widget->rect().adjusted(0, 0, -1, -1);
        if (auto* s = dynamic_cast<TShape*>(Component)) {
            p.setPen(s->Pen.Style == psClear ? QPen(Qt::NoPen) : QPen(ToQColor(s->Pen.Color), s->Pen.Width));
            p.setBrush(s->Brush.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(s->Brush.Color)));
            if (s->Shape == stEllipse || s->Shape == stCircle)
                p.drawEllipse(r);
            else
                p.drawRect(r);
            return;
        }
        auto* bv = static_cast<TBevel*>(Component);
        QColor dark = ToQColor(clBtnShadow), light = ToQColor(clBtnHighlight);
        if (bv->Style == bsRaised) std::swap(dark, light);
        auto line = [&](int x1, int y1, int x2, int y2) {
            p.setPen(dark);
            p.drawLine(x1, y1, x2, y2);
            p.setPen(light);
            p.drawLine(x1 + (x1 == x2), y1 + (y1 == y2), x2 + (x1 == x2), y2 + (y1 == y2));
        };
        switch (bv->Shape) {
        case bsTopLine: line(0, 0, r.right(), 0); break;
        case bsBottomLine: line(0, r.bottom() - 1, r.right(), r.bottom() - 1); break;
        case bsLeftLine: line(0, 0, 0, r.bottom()); break;
        case bsRightLine: line(r.right() - 1, 0, r.right() - 1, r.bottom()); break;
        case bsSpacer: break;
        default:
            p.setPen(dark);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(light);
            p.drawRect(r.adjusted(1, 1, 0, 0));
        }
    }
};

} // namespace

QtView* MakePlainView(QtBackend& b, TComponent* c, QWidget* parent)
{
    // Most specific class first.
    if (auto* x = dynamic_cast<TTabSheet*>(c)) return new TabSheetView(b, x, parent);
    if (auto* x = dynamic_cast<TScrollBox*>(c)) return new ScrollBoxView(b, x, parent);
    if (auto* x = dynamic_cast<TLabel*>(c)) return new LabelView(b, x, parent);
    if (auto* x = dynamic_cast<TImage*>(c)) return new ImageView(b, x, parent);
    if (auto* x = dynamic_cast<TBevel*>(c)) return new BevelView(b, x, parent);
    if (auto* x = dynamic_cast<TShape*>(c)) return new BevelView(b, x, parent);
    if (auto* x = dynamic_cast<TWinControl*>(c)) return new PlainView(b, x, parent, true);
    if (auto* x = dynamic_cast<TControl*>(c)) return new PlainView(b, x, parent, true);
    return nullptr;
}
