#include "ui/qt/QtViews.h"

#include <QAbstractSlider>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Widgets that show the ui's mouse events rather than acting on them themselves.
constexpr const char* kMouseProperty = "qm_mouse";

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
    QPoint p = w->mapTo(Widget, e->position().toPoint());
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

// ---- buttons and boxes ----------------------------------------------------------------------

class ButtonView : public QtView {
public:
    ButtonView(QtBackend& b, TButton* btn, QWidget* parent) : QtView(b, btn)
    {
        auto* q = new QPushButton(parent);
        q->setFocusPolicy(Qt::ClickFocus);
        q->setAutoDefault(false);
        QObject::connect(q, &QPushButton::clicked, [this, btn] { Act([btn] { btn->UserClicks(); }); });
        Widget = q;
    }
    void Sync() override
    {
        auto* btn = static_cast<TButton*>(Component);
        auto* q = static_cast<QPushButton*>(Widget.data());
        q->setText(Q(btn->Caption()));
        q->setDefault(btn->Default);
        if (auto* bit = dynamic_cast<TBitBtn*>(btn)) SyncGlyph(q, bit->Glyph());
        SyncControl();
    }

private:
    // The glyph's bottom-left colour is transparent, as button glyphs have always been drawn.
    static void SyncGlyph(QPushButton* q, const TBitmap& glyph)
    {
        if (glyph.Empty()) {
            q->setIcon(QIcon());
            return;
        }
        QImage image = ToQImage(glyph).convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == key) image.setPixel(x, y, qRgba(0, 0, 0, 0));
        q->setIcon(QIcon(QPixmap::fromImage(image)));
        q->setIconSize(image.size());
    }
};

class SpeedButtonView : public QtView {
public:
    SpeedButtonView(QtBackend& b, TSpeedButton* sb, QWidget* parent) : QtView(b, sb)
    {
        auto* q = new QToolButton(parent);
        q->setFocusPolicy(Qt::NoFocus);
        q->setCheckable(true);
        QObject::connect(q, &QToolButton::clicked, [this, sb] { Act([sb] { sb->UserClicks(); }); });
        Widget = q;
    }
    void Sync() override
    {
        auto* sb = static_cast<TSpeedButton*>(Component);
        auto* q = static_cast<QToolButton*>(Widget.data());
        q->setText(Q(sb->Caption()));
        q->setAutoRaise(sb->Flat);
        q->setChecked(sb->Down());
        SyncControl();
    }
};

class CheckBoxView : public QtView {
public:
    CheckBoxView(QtBackend& b, TCheckBox* cb, QWidget* parent) : QtView(b, cb)
    {
        auto* q = new QCheckBox(parent);
        q->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(q, &QCheckBox::clicked, [this, cb] { Act([cb] { cb->UserClicks(); }); });
        Widget = q;
    }
    void Sync() override
    {
        auto* cb = static_cast<TCheckBox*>(Component);
        auto* q = static_cast<QCheckBox*>(Widget.data());
        q->setText(Q(cb->Caption()));
        q->setChecked(cb->Checked());
        SyncControl();
    }
};

class GroupBoxView : public QtView {
public:
    GroupBoxView(QtBackend& b, TGroupBox* g, QWidget* parent) : QtView(b, g)
    {
        Widget = new QGroupBox(parent);
        Widget->setProperty(kMouseProperty, true);
    }
    void Sync() override
    {
        static_cast<QGroupBox*>(Widget.data())->setTitle(Q(static_cast<TGroupBox*>(Component)->Caption()));
        SyncControl();
    }
};

class RadioGroupView : public QtView {
public:
    RadioGroupView(QtBackend& b, TRadioGroup* r, QWidget* parent) : QtView(b, r)
    {
        auto* box = new QGroupBox(parent);
        Group = new QButtonGroup(box);
        Grid = new QGridLayout(box);
        Grid->setContentsMargins(6, 2, 6, 2);
        QObject::connect(Group, &QButtonGroup::idClicked, [this, r](int i) { Act([r, i] { r->UserClicks(i); }); });
        Widget = box;
    }
    QWidget* FocusWidget() const override
    {
        QAbstractButton* b = Group->checkedButton();
        return b ? b : (Group->buttons().isEmpty() ? Widget.data() : Group->buttons().first());
    }
    void Sync() override
    {
        auto* r = static_cast<TRadioGroup*>(Component);
        auto* box = static_cast<QGroupBox*>(Widget.data());
        box->setTitle(Q(r->Caption()));
        if (Shown != r->Items.Items() || ShownColumns != r->Columns()) Rebuild(r);
        Group->setExclusive(false);
        for (QAbstractButton* b : Group->buttons()) b->setChecked(Group->id(b) == r->ItemIndex());
        Group->setExclusive(true);
        SyncControl();
    }

private:
    void Rebuild(TRadioGroup* r)
    {
        for (QAbstractButton* b : Group->buttons()) {
            Group->removeButton(b);
            delete b;
        }
        int n = r->Items.Count(), cols = r->Columns(), rows = (n + cols - 1) / std::max(1, cols);
        for (int i = 0; i < n; ++i) {
            auto* rb = new QRadioButton(Q(r->Items[i]), Widget);
            rb->setFocusPolicy(Qt::ClickFocus);
            Group->addButton(rb, i);
            Grid->addWidget(rb, rows ? i % rows : 0, rows ? i / rows : 0);
        }
        Shown = r->Items.Items();
        ShownColumns = cols;
    }
    QButtonGroup* Group;
    QGridLayout* Grid;
    std::vector<std::string> Shown;
    int ShownColumns = 0;
};

class ComboView : public QtView {
public:
    ComboView(QtBackend& b, TComboBox* c, QWidget* parent) : QtView(b, c)
    {
        auto* q = new QComboBox(parent);
        q->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(q, &QComboBox::activated, [this, c](int i) { Act([c, i] { c->UserSelects(i); }); });
        Widget = q;
    }
    void Sync() override
    {
        auto* c = static_cast<TComboBox*>(Component);
        auto* q = static_cast<QComboBox*>(Widget.data());
        if (Shown != c->Items.Items()) {
            q->clear();
            for (const auto& s : c->Items.Items()) q->addItem(Q(s));
            Shown = c->Items.Items();
        }
        q->setMaxVisibleItems(std::max(1, c->DropDownCount));
        q->setCurrentIndex(c->ItemIndex());
        SyncControl();
    }

private:
    std::vector<std::string> Shown;
};

class EditView : public QtView {
public:
    EditView(QtBackend& b, TEdit* e, QWidget* parent) : QtView(b, e)
    {
        auto* q = new QLineEdit(parent);
        q->setFocusPolicy(Qt::ClickFocus);
        q->setContextMenuPolicy(Qt::NoContextMenu); // cut and paste go through the ui keys
        q->setDragEnabled(false);
        q->setAcceptDrops(false);
        auto selected = [this, e, q] {
            int start = q->selectionStart() >= 0 ? q->selectionStart() : q->cursorPosition();
            int length = q->selectionStart() >= 0 ? q->selectionLength() : 0;
            if (start != e->SelStart() || length != e->SelLength())
                Act([e, start, length] { e->UserSelects(start, length); });
        };
        QObject::connect(q, &QLineEdit::cursorPositionChanged, selected);
        QObject::connect(q, &QLineEdit::selectionChanged, selected);
        // The text is the ui's alone: anything Qt typed by itself is taken back.
        QObject::connect(q, &QLineEdit::textEdited, [this](const QString&) { Sync(); });
        Widget = q;
    }
    void Sync() override
    {
        auto* e = static_cast<TEdit*>(Component);
        auto* q = static_cast<QLineEdit*>(Widget.data());
        FSyncing = true;
        QSignalBlocker block(q);
        if (q->text() != Q(e->Text())) q->setText(Q(e->Text()));
        q->setReadOnly(e->ReadOnly());
        if (e->SelLength() > 0)
            q->setSelection(e->SelStart(), e->SelLength());
        else
            q->setCursorPosition(e->SelStart());
        FSyncing = false;
        SyncControl();
    }
};

class ScrollBarView : public QtView {
public:
    ScrollBarView(QtBackend& b, TScrollBar* s, QWidget* parent) : QtView(b, s)
    {
        auto* q = new QScrollBar(parent);
        q->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(q, &QAbstractSlider::actionTriggered, [this, &backend = Backend, s, q](int action) {
            switch (action) {
            case QAbstractSlider::SliderSingleStepAdd: Act([s] { s->UserSteps(scLineDown); }); break;
            case QAbstractSlider::SliderSingleStepSub: Act([s] { s->UserSteps(scLineUp); }); break;
            case QAbstractSlider::SliderPageStepAdd: Act([s] { s->UserSteps(scPageDown); }); break;
            case QAbstractSlider::SliderPageStepSub: Act([s] { s->UserSteps(scPageUp); }); break;
            case QAbstractSlider::SliderToMinimum: Act([s] { s->UserSteps(scTop); }); break;
            case QAbstractSlider::SliderToMaximum: Act([s] { s->UserSteps(scBottom); }); break;
            case QAbstractSlider::SliderMove: {
                int to = q->sliderPosition();
                Act([s, to] { s->UserScrollsTo(to); });
                break;
            }
            default: break;
            }
            // The action goes on from where the ui put the bar.
            if (backend.WidgetFor(s) == q) q->setSliderPosition(s->Position());
        });
        Widget = q;
    }
    void Sync() override
    {
        auto* s = static_cast<TScrollBar*>(Component);
        auto* q = static_cast<QScrollBar*>(Widget.data());
        QSignalBlocker block(q);
        q->setOrientation(s->Kind() == sbVertical ? Qt::Vertical : Qt::Horizontal);
        q->setRange(s->Min(), s->MaxPosition());
        q->setSingleStep(std::max(1, s->SmallChange));
        q->setPageStep(std::max(1, s->PageSize() > 0 ? s->PageSize() : s->LargeChange));
        q->setValue(s->Position());
        q->setSliderPosition(s->Position());
        SyncControl();
    }
};

class UpDownView : public QtView {
public:
    UpDownView(QtBackend& b, TUpDown* u, QWidget* parent) : QtView(b, u)
    {
        Widget = new QWidget(parent);
        Up = new QToolButton(Widget);
        Down = new QToolButton(Widget);
        for (QToolButton* t : {Up, Down}) {
            t->setFocusPolicy(Qt::NoFocus);
            t->setAutoRepeat(true);
        }
        QObject::connect(Up, &QToolButton::clicked, [this, u] { Act([u] { u->UserClicks(btNext); }); });
        QObject::connect(Down, &QToolButton::clicked, [this, u] { Act([u] { u->UserClicks(btPrev); }); });
    }
    void Sync() override
    {
        auto* u = static_cast<TUpDown*>(Component);
        SyncControl();
        int w = u->Width(), h = u->Height();
        if (u->Orientation == udVertical) {
            Up->setArrowType(Qt::UpArrow);
            Down->setArrowType(Qt::DownArrow);
            Up->setGeometry(0, 0, w, h / 2);
            Down->setGeometry(0, h / 2, w, h - h / 2);
        } else {
            Up->setArrowType(Qt::RightArrow);
            Down->setArrowType(Qt::LeftArrow);
            Down->setGeometry(0, 0, w / 2, h);
            Up->setGeometry(w / 2, 0, w - w / 2, h);
        }
    }

private:
    QToolButton* Up;
    QToolButton* Down;
};

class ProgressView : public QtView {
public:
    ProgressView(QtBackend& b, TProgressBar* p, QWidget* parent) : QtView(b, p)
    {
        auto* q = new QProgressBar(parent);
        q->setTextVisible(false);
        Widget = q;
    }
    void Sync() override
    {
        auto* p = static_cast<TProgressBar*>(Component);
        auto* q = static_cast<QProgressBar*>(Widget.data());
        q->setRange(p->Min(), p->Max());
        q->setValue(p->Position());
        SyncControl();
    }
};

class StatusBarView : public QtView {
public:
    StatusBarView(QtBackend& b, TStatusBar* s, QWidget* parent) : QtView(b, s)
    {
        auto* f = new QFrame(parent);
        f->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        Row = new QHBoxLayout(f);
        Row->setContentsMargins(4, 0, 4, 0);
        Widget = f;
    }
    void Sync() override
    {
        auto* s = static_cast<TStatusBar*>(Component);
        int n = s->SimplePanel() ? 1 : s->PanelCount();
        while (int(Labels.size()) > n) {
            delete Labels.back();
            Labels.pop_back();
        }
        while (int(Labels.size()) < n) {
            auto* l = new QLabel(Widget);
            l->setTextFormat(Qt::PlainText);
            Row->addWidget(l);
            Labels.push_back(l);
        }
        for (int i = 0; i < n; ++i) {
            Labels[size_t(i)]->setText(Q(s->SimplePanel() ? s->SimpleText() : s->PanelText(i)));
            if (!s->SimplePanel()) Labels[size_t(i)]->setFixedWidth(std::max(0, s->PanelWidth(i)));
        }
        SyncControl();
    }

private:
    QHBoxLayout* Row;
    std::vector<QLabel*> Labels;
};

// Page control and tab control: a tab bar the ui drives, and below it the page area.
class TabsView : public QtView {
public:
    TabsView(QtBackend& b, TWinControl* c, QWidget* parent) : QtView(b, c)
    {
        Widget = new QWidget(parent);
        Bar = new QTabBar(Widget);
        Bar->setFocusPolicy(Qt::ClickFocus);
        Bar->setDrawBase(true);
        Bar->setExpanding(false);
        auto* area = new QFrame(Widget);
        area->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        Area = area;
        Area->lower();
    }
    QWidget* Container() const override { return dynamic_cast<TPageControl*>(Component) ? Area : Widget.data(); }
    QWidget* FocusWidget() const override { return Bar; }
    bool Mouse(QWidget* w, QMouseEvent* e) override
    {
        if (w != Bar) return false;
        if (e->type() == QEvent::MouseButtonPress && e->button() == Qt::LeftButton) {
            int i = Bar->tabAt(e->position().toPoint());
            if (i >= 0) {
                if (auto* pc = dynamic_cast<TPageControl*>(Component))
                    Act([pc, i] { pc->UserSelects(i); });
                else if (auto* tc = dynamic_cast<TTabControl*>(Component))
                    Act([tc, i] { tc->UserSelects(i); });
            }
        }
        return e->type() != QEvent::MouseMove;
    }
    void Sync() override
    {
        QSignalBlocker block(Bar);
        std::vector<std::string> texts;
        std::vector<bool> visible;
        int current;
        if (auto* pc = dynamic_cast<TPageControl*>(Component)) {
            for (int i = 0; i < pc->PageCount(); ++i) {
                texts.push_back(pc->Pages(i)->Caption());
                visible.push_back(pc->Pages(i)->TabVisible());
            }
            current = pc->ActivePageIndex();
        } else {
            auto* tc = static_cast<TTabControl*>(Component);
            texts = tc->Tabs.Items();
            visible.assign(texts.size(), true);
            current = tc->TabIndex();
        }
        while (Bar->count() > int(texts.size())) Bar->removeTab(Bar->count() - 1);
        while (Bar->count() < int(texts.size())) Bar->addTab(QString());
        for (int i = 0; i < int(texts.size()); ++i) {
            Bar->setTabText(i, Q(texts[size_t(i)]));
            Bar->setTabVisible(i, visible[size_t(i)]);
        }
        Bar->setCurrentIndex(current);
        SyncControl();
        auto* c = static_cast<TControl*>(Component);
        int tabH = Bar->sizeHint().height();
        Bar->setGeometry(0, 0, c->Width(), tabH);
        Area->setGeometry(0, tabH - 2, c->Width(), std::max(0, c->Height() - tabH + 2));
        if (auto* pc = dynamic_cast<TPageControl*>(Component))
            for (int i = 0; i < pc->PageCount(); ++i)
                if (pc->Pages(i)->View) pc->Pages(i)->View->Changed();
    }

private:
    QTabBar* Bar;
    QWidget* Area;
};

// ---- forms ----------------------------------------------------------------------------------

class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* f) : Form(f) {}
    TForm* Form;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        // Qt closes every window itself when the program ends; the form has closed by then and
        // must not be asked again.
        if (Application->Terminated()) {
            e->accept();
            return;
        }
        // The form decides: OnCloseQuery, OnClose, hiding or ending the program.
        e->ignore();
        Form->UserCloses();
    }
};

class FormView : public QtView {
public:
    FormView(QtBackend& b, TForm* f) : QtView(b, f)
    {
        Qt::WindowFlags flags = f->BorderStyle == bsDialog ? Qt::Dialog : Qt::Window;
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (f->BorderIcons & biSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((f->BorderIcons & biMinimize) && f->BorderStyle != bsDialog) flags |= Qt::WindowMinimizeButtonHint;
        bool sizeable = f->BorderStyle == bsSizeable || f->BorderStyle == bsSizeToolWin;
        if ((f->BorderIcons & biMaximize) && sizeable) flags |= Qt::WindowMaximizeButtonHint;
        if (f->FormStyle == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
        auto* window = new FormWindow(f);
        window->setWindowFlags(flags);
        Layout = new QVBoxLayout(window);
        Layout->setContentsMargins(0, 0, 0, 0);
        Layout->setSpacing(0);
        auto* client = new BitmapWidget(window);
        client->setProperty(kMouseProperty, true);
        client->setMouseTracking(true);
        client->setFocusPolicy(Qt::StrongFocus); // holds the focus when no control does
        client->PaintWith = [this, f](QPainter& p) {
            // A form that draws nothing of its own shows only its colour under the controls: no
            // canvas to fill and convert each time a control over it repaints.
            if (!f->OnPaint) {
                p.fillRect(p.clipBoundingRect().isEmpty() ? QRectF(Client->rect()) : p.clipBoundingRect(),
                           ToQColor(f->Color));
                return;
            }
            FSyncing = true;
            Application->Dispatch([f] { f->Repaint(); });
            FSyncing = false;
            p.drawImage(0, 0, ToQImage(f->CanvasBitmap()));
        };
        Client = client;
        Layout->addWidget(Client);
        if (!sizeable) Layout->setSizeConstraint(QLayout::SetFixedSize);
        Widget = window;
    }
    QWidget* Container() const override { return Client; }
    void Sync() override
    {
        auto* f = static_cast<TForm*>(Component);
        Widget->setWindowTitle(Q(f->Caption()));
        Client->setFixedSize(f->ClientWidth(), f->ClientHeight());
        Widget->setEnabled(f->Enabled());
        Widget->setFont(ToQFont(f->Font));
        if (f->Menu() != ShownMenu) {
            delete Bar;
            Bar = nullptr;
            ShownMenu = f->Menu();
            if (ShownMenu) {
                Bar = new QMenuBar(Widget);
                Layout->setMenuBar(Bar);
                Build(ShownMenu->Items(), Bar);
            }
        }
        Client->update();
    }

private:
    QVBoxLayout* Layout;
    QWidget* Client;
    QPointer<QMenuBar> Bar;
    TMainMenu* ShownMenu = nullptr;
};

// ---- menus ----------------------------------------------------------------------------------

class MenuItemView : public QtView {
public:
    MenuItemView(QtBackend& b, TMenuItem* item, QWidget* parent) : QtView(b, item)
    {
        if (qobject_cast<QMenuBar*>(parent) && !item->Parent()) {
            // The invisible root: its children are the bar's menus.
            Widget = parent;
            Root = true;
            return;
        }
        Owner = parent;
        bool topLevel = qobject_cast<QMenuBar*>(parent) != nullptr;
        if (topLevel || item->Count() > 0) {
            Menu = new QMenu(parent);
            Action = Menu->menuAction();
        } else {
            Action = new QAction(parent);
        }
        QObject::connect(Action, &QAction::triggered, [&backend = Backend, item] {
            if (backend.ActionFor(item)) Application->Dispatch([item] { item->Click(); });
        });
        TMenuItem* parentItem = item->Parent();
        int at = parentItem ? parentItem->IndexOf(item) : -1;
        QAction* before = nullptr;
        if (parentItem)
            for (int i = at + 1; i < parentItem->Count() && !before; ++i)
                before = Backend.ActionFor(parentItem->Items(i));
        parent->insertAction(before, Action);
        Widget = Menu ? static_cast<QWidget*>(Menu) : parent;
    }
    ~MenuItemView() override
    {
        if (Root) return;
        if (Menu)
            Menu->deleteLater();
        else if (Action)
            Action->deleteLater();
    }
    void Destroyed() override
    {
        Component->View = nullptr;
        if (Owner && Action) Owner->removeAction(Action);
        delete this;
    }
    QWidget* Container() const override { return Root ? Widget.data() : static_cast<QWidget*>(Menu); }
    QAction* ActionOf() const { return Action; }
    void ChildAdded(TComponent* child) override
    {
        if (!Root && !Menu) return; // an item that was a plain command: rebuilt by its parent
        QtView::ChildAdded(child);
    }
    void Sync() override
    {
        if (Root || !Action) return;
        auto* item = static_cast<TMenuItem*>(Component);
        Action->setSeparator(item->IsLine());
        // A separator is a line only: Qt would draw its "-" caption beside it.
        QString text = item->IsLine() ? QString() : Q(item->Caption());
        if (item->ShortCut() != scNone) text += "\t" + Q(ShortCutToText(item->ShortCut()));
        // Only the ui menu acts on shortcuts: the text shows them, Qt does not bind them.
        Action->setText(text);
        if (Menu) Menu->setTitle(Q(item->Caption()));
        Action->setEnabled(item->Enabled());
        Action->setVisible(item->Visible());
        Action->setCheckable(item->Checked() || item->AutoCheck || item->RadioItem);
        Action->setChecked(item->Checked());
        Action->setStatusTip(Q(item->Hint));
    }

private:
    bool Root = false;
    QPointer<QWidget> Owner;
    QPointer<QMenu> Menu;
    QPointer<QAction> Action;
    friend class ::QtBackend;
};

} // namespace

QAction* MenuActionOf(QtView* v)
{
    auto* m = dynamic_cast<MenuItemView*>(v);
    return m ? m->ActionOf() : nullptr;
}

QtView* MakeView(QtBackend& b, TComponent* c, QWidget* parent)
{
    if (auto* m = dynamic_cast<TMenuItem*>(c)) return new MenuItemView(b, m, parent);
    if (auto* f = dynamic_cast<TForm*>(c)) return new FormView(b, f);
    if (!parent) return nullptr;
    // Most specific class first.
    if (auto* x = dynamic_cast<TTabSheet*>(c)) return new TabSheetView(b, x, parent);
    if (auto* x = dynamic_cast<TPageControl*>(c)) return new TabsView(b, x, parent);
    if (auto* x = dynamic_cast<TTabControl*>(c)) return new TabsView(b, x, parent);
    if (auto* x = dynamic_cast<TRadioGroup*>(c)) return new RadioGroupView(b, x, parent);
    if (auto* x = dynamic_cast<TGroupBox*>(c)) return new GroupBoxView(b, x, parent);
    if (auto* x = dynamic_cast<TButton*>(c)) return new ButtonView(b, x, parent);
    if (auto* x = dynamic_cast<TCheckBox*>(c)) return new CheckBoxView(b, x, parent);
    if (auto* x = dynamic_cast<TComboBox*>(c)) return new ComboView(b, x, parent);
    if (auto* x = dynamic_cast<TEdit*>(c)) return new EditView(b, x, parent);
    if (auto* x = dynamic_cast<TScrollBar*>(c)) return new ScrollBarView(b, x, parent);
    if (auto* x = dynamic_cast<TUpDown*>(c)) return new UpDownView(b, x, parent);
    if (auto* x = dynamic_cast<TProgressBar*>(c)) return new ProgressView(b, x, parent);
    if (auto* x = dynamic_cast<TStatusBar*>(c)) return new StatusBarView(b, x, parent);
    if (auto* x = dynamic_cast<TScrollBox*>(c)) return new ScrollBoxView(b, x, parent);
    if (auto* x = dynamic_cast<TLabel*>(c)) return new LabelView(b, x, parent);
    if (auto* x = dynamic_cast<TSpeedButton*>(c)) return new SpeedButtonView(b, x, parent);
    if (auto* x = dynamic_cast<TImage*>(c)) return new ImageView(b, x, parent);
    if (auto* x = dynamic_cast<TBevel*>(c)) return new BevelView(b, x, parent);
    if (auto* x = dynamic_cast<TShape*>(c)) return new BevelView(b, x, parent);
    if (auto* x = dynamic_cast<TWinControl*>(c)) return new PlainView(b, x, parent, true);
    if (auto* x = dynamic_cast<TControl*>(c)) return new PlainView(b, x, parent, true);
    return nullptr;
}
