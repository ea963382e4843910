#include "ui/qt/QtViews.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

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

QtView* MakeMenuItemView(QtBackend& b, TMenuItem* item, QWidget* parent) { return new MenuItemView(b, item, parent); }
