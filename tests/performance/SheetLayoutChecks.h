// What a sheet drawn by the Qt views must keep to, for the sheets' screenshot tests: every
// control inside its parent, and every caption readable.
#pragma once

#include "ui/UI.h"
#include "ui/qt/QtViews.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

inline void Walk(TControl* c, const std::function<void(TControl*)>& visit)
{
    visit(c);
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i) Walk(w->Controls(i), visit);
}

// Every visible control below `c` lies inside its parent's client area (width x height for `c`).
inline void ExpectInsideParents(const TWinControl* c, int width, int height)
{
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (!child->Visible()) continue;
        EXPECT_GE(child->Left(), 0) << child->Name;
        EXPECT_GE(child->Top(), 0) << child->Name;
        EXPECT_LE(child->Left() + child->Width(), width) << child->Name << " in " << c->Name;
        EXPECT_LE(child->Top() + child->Height(), height) << child->Name << " in " << c->Name;
        if (auto* w = dynamic_cast<const TWinControl*>(child)) ExpectInsideParents(w, w->Width(), w->Height());
    }
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
