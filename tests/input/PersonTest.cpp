// The simulated person gives each event only to a window that is still there, as the window
// system does: a key or a click whose window closes, or is freed (a line edit's context menu
// closes on Alt and Qt frees it at once), between two of its events gives the rest to nobody, and
// a button whose window went is let go all the same.
#include "tests/support/QtPerson.h"
#include "tests/support/QtWindows.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <utility>

namespace {

// Counts the presses and releases (keys and buttons) a window's handle gets and ends the window
// at the `at`th: hidden, or freed.
class EndsAt : public QObject {
public:
    EndsAt(QWidget* window, int at, bool freed) : Window(window), At(at), Freed(freed)
    {
        window->windowHandle()->installEventFilter(this);
    }
    int Got = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        const bool counted = t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::MouseButtonPress ||
                             t == QEvent::MouseButtonRelease;
        if (counted && ++Got == At) Freed ? Window->deleteLater() : Window->hide();
        return false;
    }

private:
    QPointer<QWidget> Window;
    int At;
    bool Freed;
};

QPointer<QWidget> ShownWindow()
{
    QPointer<QWidget> window = new QWidget;
    window->resize(200, 100);
    window->show();
    QApplication::processEvents();
    return window;
}

} // namespace

TEST(Person, GivesNothingMoreToAWindowThatEndsBetweenTwoEventsOfOneAction)
{
    QtTestBackend backend;
    const std::pair<int, std::function<void(const QPointer<QWidget>&)>> actions[] = {
        {4, [](const QPointer<QWidget>& w) { person::Key(w, Qt::Key_F4, Qt::AltModifier); }},
        {6, [](const QPointer<QWidget>& w) { person::Key(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }},
        {4, [](const QPointer<QWidget>& w) { person::Act(w, QPoint(50, 50), person::Pointer::DoubleClick); }},
    };
    for (std::size_t a = 0; a < std::size(actions); ++a)
        for (bool freed : {false, true})
            for (int at = 1; at <= actions[a].first; ++at) {
                QPointer<QWidget> window = ShownWindow();
                EndsAt spy(window, at, freed);
                actions[a].second(window);
                const std::string what =
                    "action " + std::to_string(a) + (freed ? " freed" : " hidden") + " at event " + std::to_string(at);
                EXPECT_EQ(spy.Got, at) << what;
                EXPECT_EQ(window.isNull(), freed) << what;
                delete window;
            }
}

TEST(Person, LetsGoOfAButtonWhoseWindowWentAndStillDoubleClicksAndHoldsModifiers)
{
    QtTestBackend backend;
    QPointer<QWidget> going = ShownWindow(), staying = ShownWindow();
    person::Act(going, QPoint(50, 50), person::Pointer::Press);
    delete going;
    person::Act(going, QPoint(50, 50), person::Pointer::Release);

    // The next move over another window comes with no button down; two clicks make a double click.
    struct Seen : QObject {
        Qt::MouseButtons OnMove = Qt::NoButton;
        int DoubleClicks = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::MouseMove) OnMove = static_cast<QMouseEvent*>(e)->buttons();
            DoubleClicks += e->type() == QEvent::MouseButtonDblClick;
            return false;
        }
    } seen;
    staying->windowHandle()->installEventFilter(&seen);
    person::Act(staying, QPoint(60, 60), person::Pointer::Move);
    EXPECT_EQ(seen.OnMove, Qt::NoButton);
    person::Act(staying, QPoint(60, 60), person::Pointer::DoubleClick);
    EXPECT_EQ(seen.DoubleClicks, 1);
    delete staying;

    // A key comes with its modifiers held: Ctrl+A selects all that Backspace then erases.
    QWidget form;
    auto* edit = new QLineEdit(&form);
    form.show();
    edit->setFocus();
    QApplication::processEvents();
    const QPointer<QWidget> window = &form;
    person::Key(window, Qt::Key_A);
    person::Key(window, Qt::Key_B);
    EXPECT_EQ(edit->text(), "ab");
    person::Key(window, Qt::Key_A, Qt::ControlModifier);
    person::Key(window, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "");
}
