// Every kind of mouse event, the wheel both ways included, on every widget of every window the
// program shows: the main window on each page and tab, the keyboard window, each dialog its menu
// commands and buttons open, the boxes that come up and the menus and lists that open. Nothing
// may end the program: a crash or a sanitizer's report fails the test, naming the last events.
#include "mainform/MainForm.h"
#include "tests/input/ProgramAtHand.h"
#include "tests/support/ControlTree.h"
#include "tests/support/MenuItems.h"
#include "tests/support/QtPerson.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using person::Pointer;

class Sweep {
public:
    explicit Sweep(ProgramAtHand& program) : P(program) {}

    // One turn: a window that came up is swept and then ended; otherwise the next step.
    bool Act(QWidget* top)
    {
        if (top) {
            const QPointer<QWidget> window = top;
            SweepWindow(window);
            P.GiveUp(window);
            return true;
        }
        TMainForm* main = P.Main();
        if (!main || !main->Visible() || !main->Enabled()) return true; // not up yet, or locked
        if (Steps.empty()) Plan(*main);
        if (Next == Steps.size()) return false;
        Steps[Next++]();
        // The windows now shown (the main window, the keyboard window, a progress window).
        for (const QPointer<QWidget>& w : person::ReachableWindows())
            if (w) SweepWindow(w);
        return true;
    }

    std::size_t Events = 0;
    std::size_t Widgets = 0;
    std::set<std::string> Windows;
    std::set<std::string> Commands;
    std::set<std::string> TabsShown;
    std::size_t Tabs = 0;

private:
    // The steps, by the names of what they use: a step after the program started again finds
    // the new window's.
    void Plan(TMainForm& main)
    {
        Steps.push_back([] {});
        // Each page and tab, shown as a person does, by a click on its tab.
        std::vector<std::pair<std::string, int>> tabs;
        Walk(&main, [&](TControl* c) {
            if (auto* pc = dynamic_cast<TPageControl*>(c))
                for (int i = 0; i < pc->PageCount(); ++i) tabs.emplace_back(c->Name, i);
            if (auto* tc = dynamic_cast<TTabControl*>(c))
                for (int i = 0; i < tc->Tabs.Count(); ++i) tabs.emplace_back(c->Name, i);
        });
        Tabs = tabs.size();
        // Twice: a sweep that moves to another page leaves that page's widgets for the second.
        for (int round = 0; round < 2; ++round)
            for (const auto& [name, index] : tabs) Steps.push_back([this, name, index] { ShowTab(name, index); });
        // Each menu of the menu bar, opened by a click on its title.
        for (int i = 0; i < main.MainMenu1->Items()->Count(); ++i)
            Steps.push_back([this, name = main.MainMenu1->Items()->Items(i)->Name] { OpenMenu(name); });
        // Each menu command, the program's end the last.
        std::vector<std::string> items;
        std::function<void(TMenuItem*)> collect = [&](TMenuItem* item) {
            for (int i = 0; i < item->Count(); ++i) {
                TMenuItem* child = item->Items(i);
                if (child->Count() > 0)
                    collect(child);
                else if (!child->IsLine() && child != main.FileExitItem)
                    items.push_back(child->Name);
            }
        };
        collect(main.MainMenu1->Items());
        items.push_back(main.FileExitItem->Name);
        for (const std::string& name : items) Steps.push_back([this, name] { Command(name); });
    }

    void ShowTab(const std::string& name, int index)
    {
        TMainForm* main = P.Main();
        TControl* control = main ? Named(main, name) : nullptr;
        if (!control) return;
        // Its own page first.
        for (TWinControl* p = control->Parent(); p; p = p->Parent())
            if (auto* sheet = dynamic_cast<TTabSheet*>(p)) ShowTab(sheet->Parent()->Name, sheet->PageIndex());
        QWidget* widget = P.Backend.WidgetFor(control);
        QTabBar* bar = widget ? widget->findChild<QTabBar*>() : nullptr;
        if (!bar || !bar->isVisible() || index >= bar->count() || !bar->isTabVisible(index)) return;
        const QPoint at = bar->mapTo(bar->window(), bar->tabRect(index).center());
        const QPointer<QWidget> window = bar->window();
        Send(window, at, Pointer::Press);
        Send(window, at, Pointer::Release);
        auto* pc = dynamic_cast<TPageControl*>(control);
        auto* tc = dynamic_cast<TTabControl*>(control);
        if ((pc && pc->ActivePageIndex() == index) || (tc && tc->TabIndex() == index))
            TabsShown.insert(name + " " + std::to_string(index));
    }

    void OpenMenu(const std::string& name)
    {
        TMainForm* main = P.Main();
        TMenuItem* item = main ? FindMenuItem(main->MainMenu1->Items(), name) : nullptr;
        QAction* action = item ? P.Backend.ActionFor(item) : nullptr;
        auto* bar = main ? P.Backend.WindowFor(main)->findChild<QMenuBar*>() : nullptr;
        if (!action || !bar || !action->isVisible()) return;
        const QPoint at = bar->mapTo(bar->window(), bar->actionGeometry(action).center());
        const QPointer<QWidget> window = bar->window();
        Send(window, at, Pointer::Press);
        Send(window, at, Pointer::Release);
        if (const QPointer<QWidget> menu = QApplication::activePopupWidget()) {
            SweepWindow(menu);
            P.GiveUp(menu);
        }
    }

    void Command(const std::string& name)
    {
        TMainForm* main = P.Main();
        TMenuItem* item = main ? FindMenuItem(main->MainMenu1->Items(), name) : nullptr;
        QAction* action = item ? P.Backend.ActionFor(item) : nullptr;
        if (!action || !action->isEnabled()) return;
        Commands.insert(name);
        P.Log.Note("menu command " + name);
        action->trigger();
    }

    // Every event at each sweep point of each widget of the window not swept before, until the
    // window goes. A menu gets no clicks: its commands are given one by one.
    void SweepWindow(const QPointer<QWidget>& window)
    {
        const bool menu = qobject_cast<QMenu*>(window) != nullptr;
        static const std::vector<Pointer> all = {Pointer::Move,        Pointer::Press,   Pointer::Release,
                                                 Pointer::DoubleClick, Pointer::WheelUp, Pointer::WheelDown};
        static const std::vector<Pointer> hover = {Pointer::Move, Pointer::WheelUp, Pointer::WheelDown};
        std::vector<QPointer<QWidget>> widgets{window};
        for (QWidget* w : window->findChildren<QWidget*>()) widgets.emplace_back(w);
        bool any = false;
        for (const QPointer<QWidget>& w : widgets) {
            WaitWhileLocked(window);
            if (!person::Shown(window)) break;
            if (!w || w->window() != window || !w->isVisible() || Swept(w)) continue;
            SweptWidgets[w.data()] = w;
            ++Widgets;
            any = true;
            for (QPoint at : person::SweepPoints(w)) {
                for (Pointer kind : menu ? hover : all) {
                    if (!person::Shown(window) || !w) break;
                    Send(window, at, kind);
                }
            }
        }
        if (any && window) Windows.insert(P.Describe(window));
    }

    // A transfer locks the windows until it ends: the sweep waits for that, a while at most.
    static void WaitWhileLocked(const QPointer<QWidget>& window)
    {
        QElapsedTimer waited;
        waited.start();
        while (window && window->isVisible() && !window->isEnabled() && waited.elapsed() < 20000) QTest::qWait(5);
    }

    void Send(const QPointer<QWidget>& window, QPoint at, Pointer kind)
    {
        if (!window) return;
        P.Log.Note(P.Describe(window, at, person::NameOf(kind)));
        ++Events;
        person::Act(window, at, kind);
    }

    bool Swept(const QWidget* w) const
    {
        auto it = SweptWidgets.find(w);
        return it != SweptWidgets.end() && it->second == w;
    }

    ProgramAtHand& P;
    std::vector<std::function<void()>> Steps;
    std::size_t Next = 0;
    std::unordered_map<const QWidget*, QPointer<QWidget>> SweptWidgets;
};

} // namespace

TEST(EveryWidget, TakesEveryMouseEventAndTheWheelWithoutEndingTheProgram)
{
    ProgramAtHand program(ProgramAtHand::Instrument::Silent);
    program.Log.SetHeading("every widget");
    Sweep sweep(program);
    const int starts = program.Run([&](QWidget* top) { return sweep.Act(top); });

    printf("%zu events on %zu widgets of %zu windows, %zu of %zu pages and tabs, %zu menu commands, %d starts\n",
           sweep.Events, sweep.Widgets, sweep.Windows.size(), sweep.TabsShown.size(), sweep.Tabs, sweep.Commands.size(),
           starts);
    for (const std::string& w : sweep.Windows) printf("  %s\n", w.c_str());
    EXPECT_EQ(sweep.TabsShown.size(), sweep.Tabs) << "pages or tabs the sweep did not show";
    EXPECT_GT(sweep.Widgets, 2000u);
    // The keyboard window, the dialogs of the menus and of the pages, boxes, file dialogs, menus.
    for (const char* kind : {"\"Virtual MIDI Keyboard\"", "\"MIDI Interface Setup\"", "\"Version Information\"",
                             "\"Algorithm Select\"", "\"Store\"", "QMessageBox", "QFileDialog", "QMenu"}) {
        const bool swept = std::any_of(sweep.Windows.begin(), sweep.Windows.end(),
                                       [&](const std::string& w) { return w.find(kind) != std::string::npos; });
        EXPECT_TRUE(swept) << kind;
    }
    if (HasFailure()) printf("%s", program.Log.Last().c_str());
}
