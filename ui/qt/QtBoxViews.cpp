#include "ui/qt/QtViews.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace {

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

// A drop-down list whose opened list is as wide as its widest entry, however narrow the box: a
// person reads every entry whole when choosing.
class WideListComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        QAbstractItemView* list = view();
        int widest = list->sizeHintForColumn(0) + 2 * list->frameWidth();
        if (count() > maxVisibleItems()) widest += list->verticalScrollBar()->sizeHint().width();
        list->setMinimumWidth(widest);
        QComboBox::showPopup();
    }
};

class ComboView : public QtView {
public:
    ComboView(QtBackend& b, TComboBox* c, QWidget* parent) : QtView(b, c)
    {
        auto* q = new WideListComboBox(parent);
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
        q->setFrame(e->BorderStyle != bsNone);
        QPalette pal = q->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            pal.setColor(group, QPalette::Base, ToQColor(e->Color));
        q->setPalette(pal);
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

// The style of a tab strip, with the padding beside each tab's text as the strip sets it.
class TabStripStyle : public QProxyStyle {
public:
    int Padding = -1; // both sides together, in pixels; -1: the style's own
    int pixelMetric(PixelMetric m, const QStyleOption* option, const QWidget* w) const override
    {
        if (m == PM_TabBarTabHSpace && Padding >= 0) return Padding;
        return QProxyStyle::pixelMetric(m, option, w);
    }
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
        Style = new TabStripStyle;
        Style->setParent(Widget);
        Bar->setStyle(Style);
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
            // Only a real change: an equal value would drop the new text's layout of a hidden bar.
            if (Bar->isTabVisible(i) != visible[size_t(i)]) Bar->setTabVisible(i, visible[size_t(i)]);
        }
        Bar->setCurrentIndex(current);
        SyncControl();
        auto* c = static_cast<TControl*>(Component);
        int tabH = Bar->sizeHint().height();
        Bar->setGeometry(0, 0, c->Width(), tabH);
        FitTabs(c->Width());
        Area->setGeometry(0, tabH - 2, c->Width(), std::max(0, c->Height() - tabH + 2));
        if (auto* pc = dynamic_cast<TPageControl*>(Component))
            for (int i = 0; i < pc->PageCount(); ++i)
                if (pc->Pages(i)->View) pc->Pages(i)->View->Changed();
    }

private:
    // Tabs that would not all fit the strip give up part of the padding beside their text (down
    // to 2 pixels a side), so that a person sees every tab at once rather than scroll arrows.
    void FitTabs(int width)
    {
        const int own = Style->baseStyle()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, Bar);
        const int now = Style->Padding < 0 ? own : Style->Padding;
        int total = 0, shown = 0;
        for (int i = 0; i < Bar->count(); ++i)
            if (Bar->isTabVisible(i)) total += Bar->tabRect(i).width(), ++shown;
        // A tab's width grows with its padding, pixel for pixel.
        const int atOwn = total + shown * (own - now);
        const int padding = atOwn <= width ? -1 : std::max(4, own - (atOwn - width + shown - 1) / shown);
        if (padding == Style->Padding) return;
        Style->Padding = padding;
        QEvent changed(QEvent::StyleChange);
        QCoreApplication::sendEvent(Bar, &changed);
    }

    QTabBar* Bar;
    QWidget* Area;
    TabStripStyle* Style;
};

} // namespace

QtView* MakeBoxView(QtBackend& b, TComponent* c, QWidget* parent)
{
    // Most specific class first.
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
    if (auto* x = dynamic_cast<TSpeedButton*>(c)) return new SpeedButtonView(b, x, parent);
    return nullptr;
}
