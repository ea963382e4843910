// What a page drawn by the Qt views must keep to, for the screenshot tests: every control inside
// its parent, every caption readable, every tab of a strip in sight and every list readable when
// opened.
#pragma once

#include "tests/support/ControlTree.h"
#include "ui/qt/QtBackend.h"
#include "ui/qt/QtViews.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

// Every visible control below `c` lies inside its parent's client area (width x height for `c`);
// the sheets of a page control fill it under its tabs.
inline void ExpectInsideParents(const TWinControl* c, int width, int height)
{
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (!child->Visible() || dynamic_cast<const TTabSheet*>(child)) continue;
        EXPECT_GE(child->Left(), 0) << child->Name;
        EXPECT_GE(child->Top(), 0) << child->Name;
        EXPECT_LE(child->Left() + child->Width(), width) << child->Name << " in " << c->Name;
        EXPECT_LE(child->Top() + child->Height(), height) << child->Name << " in " << c->Name;
        if (auto* pc = dynamic_cast<const TPageControl*>(child)) {
            for (int p = 0; p < pc->PageCount(); ++p)
                ExpectInsideParents(pc->Pages(p), pc->Width() - 4, pc->Height() - 28);
        } else if (auto* w = dynamic_cast<const TWinControl*>(child)) {
            ExpectInsideParents(w, w->Width(), w->Height());
        }
    }
}

// Every tab strip shown below `root` shows all its tabs at once: no scroll arrows, each tab inside
// the strip.
inline void ExpectEveryTabInSight(const QtBackend& backend, TControl* root)
{
    Walk(root, [&](TControl* c) {
        if (!c->Showing() || !(dynamic_cast<TPageControl*>(c) || dynamic_cast<TTabControl*>(c))) return;
        const auto* bar = backend.WidgetFor(c)->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_NE(bar, nullptr) << c->Name;
        for (const QToolButton* arrow : bar->findChildren<QToolButton*>())
            EXPECT_FALSE(arrow->isVisible()) << c->Name << " hides tabs behind scroll arrows";
        for (int i = 0; i < bar->count(); ++i)
            EXPECT_TRUE(!bar->isTabVisible(i) || bar->rect().contains(bar->tabRect(i)))
                << c->Name << " tab \"" << bar->tabText(i).toStdString() << "\" is out of sight";
    });
}

// Every list box shown below `root`, opened as a person opens it, is at least as wide as its
// widest entry in the list's own font (the entries may be cut in the closed box, never here).
inline void ExpectListsOpenWide(const QtBackend& backend, TControl* root)
{
    Walk(root, [&](TControl* c) {
        auto* list = dynamic_cast<TComboBox*>(c);
        if (!list || !list->Showing() || list->Items.Count() == 0) return;
        auto* q = qobject_cast<QComboBox*>(backend.WidgetFor(list));
        ASSERT_NE(q, nullptr) << list->Name;
        q->showPopup();
        const QAbstractItemView* view = q->view();
        int widest = 0;
        QString entry;
        for (int i = 0; i < q->count(); ++i)
            if (const int w = view->fontMetrics().horizontalAdvance(q->itemText(i)); w > widest)
                widest = w, entry = q->itemText(i);
        // The entry's text and the margins the list draws around it.
        widest = std::max(widest, view->sizeHintForColumn(0));
        EXPECT_TRUE(view->isVisible()) << list->Name;
        EXPECT_GE(view->viewport()->width(), widest) << list->Name << " opened cuts \"" << entry.toStdString() << "\"";
        q->hidePopup();
    });
}

// Where a label's text is drawn, left to right, in its parent.
struct Extent {
    int Left, Right;
};
inline Extent TextExtent(const TLabel& l)
{
    const int width = QFontMetrics(ToQFont(l.Font)).horizontalAdvance(QString::fromStdString(l.Caption()));
    if (l.AutoSize || l.Alignment == taLeftJustify) return {l.Left(), l.Left() + width};
    if (l.Alignment == taRightJustify) return {l.Left() + l.Width() - width, l.Left() + l.Width()};
    const int left = l.Left() + (l.Width() - width) / 2;
    return {left, left + width};
}

inline bool SameBand(const TControl& a, const TControl& b)
{
    return a.Top() < b.Top() + b.Height() && b.Top() < a.Top() + a.Height();
}

inline void ExpectCaptionsReadable(TWinControl* sheet)
{
    std::vector<TLabel*> labels;
    Walk(sheet, [&](TControl* c) {
        if (auto* l = dynamic_cast<TLabel*>(c); l && l->Visible() && !l->Caption().empty()) labels.push_back(l);
    });
    ASSERT_GT(labels.size(), 40u);
    for (TLabel* l : labels) {
        const Extent text = TextExtent(*l);
        if (!l->AutoSize) {
            EXPECT_LE(text.Right - text.Left, l->Width()) << l->Name << " \"" << l->Caption() << "\" is cut";
        }
        TWinControl* parent = l->Parent();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            const TControl* other = parent->Controls(i);
            if (other == l || !other->Visible() || !SameBand(*l, *other)) continue;
            if (dynamic_cast<const TImage*>(other)) continue; // captions laid over a picture on purpose
            Extent o{other->Left(), other->Left() + other->Width()};
            if (auto* ol = dynamic_cast<const TLabel*>(other)) o = TextExtent(*ol);
            // A gap of at least 2 pixels between a caption and its neighbour.
            EXPECT_TRUE(text.Right + 2 <= o.Left || o.Right + 2 <= text.Left)
                << l->Name << " \"" << l->Caption() << "\" runs into " << other->Name;
        }
    }
}
