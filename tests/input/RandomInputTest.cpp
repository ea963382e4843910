// A person at the program's windows at random: clicks, drags, wheel notches and keys at random
// points of every window shown, the boxes and dialogs that come up included, for
// QM_RANDOM_INPUT_SECONDS seconds (30 unless set). The seed (QM_RANDOM_INPUT_SEED, else the
// clock's) and the number of actions are printed; a crash or a sanitizer's report prints the
// seed and the last actions, so that a person can replay the run. A box or dialog left open is
// given up after a while, and the program, when a person ends it, is started again and counted.
#include "tests/input/ProgramAtHand.h"
#include "tests/support/QtPerson.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using person::Pointer;
using Clock = std::chrono::steady_clock;

// A window that holds the program in its own loop gets this many actions or seconds.
constexpr int ActionsPerBox = 60;
constexpr auto TimePerBox = std::chrono::seconds(4);

uint64_t FromEnvironment(const char* name, uint64_t otherwise)
{
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : otherwise;
}

class RandomPerson {
public:
    RandomPerson(ProgramAtHand& program, uint64_t seed, std::chrono::seconds length)
        : P(program), Random(seed), End(Clock::now() + length)
    {}

    bool Act(QWidget* top)
    {
        if (Clock::now() >= End) return false;
        if (top && Overstayed(top)) {
            P.Log.Note("give up " + P.Describe(top));
            ++GivenUp;
            P.GiveUp(top);
            return true;
        }
        const std::vector<QPointer<QWidget>> windows = person::ReachableWindows();
        if (windows.empty()) return true;
        const QPointer<QWidget> window = windows[Pick(windows.size())];
        const QPoint at = AnyPoint(window);
        ++Actions;
        const int roll = int(Pick(100));
        if (roll < 30) {
            const Qt::MouseButton button = Pick(10) == 0 ? Qt::RightButton : Qt::LeftButton;
            Note(window, at, button == Qt::LeftButton ? "click" : "right click");
            person::Act(window, at, Pointer::Press, button);
            person::Act(window, at, Pointer::Release, button);
        } else if (roll < 36) {
            Note(window, at, "double click");
            person::Act(window, at, Pointer::DoubleClick);
        } else if (roll < 46) {
            const QPoint to = AnyPoint(window);
            Note(window, at, "drag to " + std::to_string(to.x()) + "," + std::to_string(to.y()) + " from");
            person::Act(window, at, Pointer::Press);
            for (int step = 1; step <= 4; ++step) person::Act(window, at + (to - at) * step / 4, Pointer::Move);
            person::Act(window, to, Pointer::Release);
        } else if (roll < 54) {
            Note(window, at, "move");
            person::Act(window, at, Pointer::Move);
        } else if (roll < 74) {
            const bool up = Pick(2) == 0;
            const int notches = 1 + int(Pick(3));
            Note(window, at, std::to_string(notches) + (up ? " wheel up" : " wheel down"));
            for (int i = 0; i < notches; ++i) person::Act(window, at, up ? Pointer::WheelUp : Pointer::WheelDown);
        } else {
            // Keys go where the keyboard is: the top window, else the active one.
            QWidget* active = QApplication::activeWindow();
            const QPointer<QWidget> to = top ? top : active && active->isVisible() ? active : window.data();
            const KeyRow& key = Keys()[Pick(Keys().size())];
            P.Log.Note(std::string("key ") + key.Name + " in " + P.Describe(to));
            person::Key(to, key.Key, key.Mods);
        }
        return true;
    }

    uint64_t Actions = 0;
    int GivenUp = 0;

private:
    struct KeyRow {
        Qt::Key Key;
        Qt::KeyboardModifiers Mods;
        std::string Name;
    };
    // Letters, digits and the keys that move, choose, end and edit; the menu and edit shortcuts.
    // No '.' or '/': a file name typed stays in the folder its dialog shows.
    static const std::vector<KeyRow>& Keys()
    {
        static const std::vector<KeyRow> keys = [] {
            std::vector<KeyRow> k;
            for (int c = Qt::Key_A; c <= Qt::Key_Z; ++c)
                k.push_back({Qt::Key(c), Qt::NoModifier, std::string(1, char(c))});
            for (int c = Qt::Key_0; c <= Qt::Key_9; ++c)
                k.push_back({Qt::Key(c), Qt::NoModifier, std::string(1, char(c))});
            const KeyRow named[] = {
                {Qt::Key_Space, Qt::NoModifier, "Space"},       {Qt::Key_Return, Qt::NoModifier, "Return"},
                {Qt::Key_Escape, Qt::NoModifier, "Escape"},     {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                {Qt::Key_Tab, Qt::ShiftModifier, "Shift+Tab"},  {Qt::Key_Left, Qt::NoModifier, "Left"},
                {Qt::Key_Right, Qt::NoModifier, "Right"},       {Qt::Key_Up, Qt::NoModifier, "Up"},
                {Qt::Key_Down, Qt::NoModifier, "Down"},         {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},
                {Qt::Key_PageDown, Qt::NoModifier, "PageDown"}, {Qt::Key_Home, Qt::NoModifier, "Home"},
                {Qt::Key_End, Qt::NoModifier, "End"},           {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
                {Qt::Key_Delete, Qt::NoModifier, "Delete"},     {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
                {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},     {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
                {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},     {Qt::Key_F, Qt::AltModifier, "Alt+F"},
                {Qt::Key_E, Qt::AltModifier, "Alt+E"},          {Qt::Key_T, Qt::AltModifier, "Alt+T"},
                {Qt::Key_O, Qt::AltModifier, "Alt+O"},          {Qt::Key_F4, Qt::AltModifier, "Alt+F4"},
            };
            k.insert(k.end(), std::begin(named), std::end(named));
            return k;
        }();
        return keys;
    }

    uint64_t Pick(uint64_t n) { return std::uniform_int_distribution<uint64_t>(0, n - 1)(Random); }

    // Half the time anywhere in the window, half the time in one of its widgets: small controls
    // get their share.
    QPoint AnyPoint(QWidget* window)
    {
        QWidget* in = window;
        if (Pick(2) == 0) {
            std::vector<QWidget*> shown;
            for (QWidget* w : window->findChildren<QWidget*>())
                if (w->window() == window && w->isVisible() && w->width() > 0 && w->height() > 0) shown.push_back(w);
            if (!shown.empty()) in = shown[Pick(shown.size())];
        }
        const QPoint p(int(Pick(uint64_t(std::max(1, in->width())))), int(Pick(uint64_t(std::max(1, in->height())))));
        const QPoint at = in == window ? p : in->mapTo(window, p);
        return QPoint(std::clamp(at.x(), 0, window->width() - 1), std::clamp(at.y(), 0, window->height() - 1));
    }

    void Note(QWidget* window, QPoint at, const std::string& what) { P.Log.Note(P.Describe(window, at, what)); }

    // The window that holds the program has had its share.
    bool Overstayed(QWidget* top)
    {
        std::erase_if(Boxes, [](const Box& b) { return !b.Window || !b.Window->isVisible(); });
        auto it = std::find_if(Boxes.begin(), Boxes.end(), [top](const Box& b) { return b.Window == top; });
        if (it == Boxes.end()) {
            Boxes.push_back({top, Actions, Clock::now()});
            return false;
        }
        return Actions - it->FirstAction > ActionsPerBox || Clock::now() - it->Since > TimePerBox;
    }

    struct Box {
        QPointer<QWidget> Window;
        uint64_t FirstAction;
        Clock::time_point Since;
    };

    ProgramAtHand& P;
    std::mt19937_64 Random;
    Clock::time_point End;
    std::vector<Box> Boxes;
};

} // namespace

TEST(RandomInput, ClicksDragsWheelAndKeysEverywhereNeverEndTheProgram)
{
    const uint64_t seed =
        FromEnvironment("QM_RANDOM_INPUT_SEED", uint64_t(Clock::now().time_since_epoch().count()) % 1000000007);
    const auto length = std::chrono::seconds(FromEnvironment("QM_RANDOM_INPUT_SECONDS", 30));
    ProgramAtHand program;
    program.Log.SetHeading("seed " + std::to_string(seed) + ": QM_RANDOM_INPUT_SEED=" + std::to_string(seed) +
                           " replays it");
    printf("Random input: seed %llu, %lld s\n", static_cast<unsigned long long>(seed),
           static_cast<long long>(length.count()));
    fflush(stdout);
    RandomPerson person(program, seed, length);
    const auto began = Clock::now();
    const int starts = program.Run([&](QWidget* top) { return person.Act(top); });
    const auto took = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - began).count();

    printf("Random input: seed %llu, %llu actions in %lld s, the program started %d times (ended by the "
           "person %d), %d boxes or dialogs given up\n",
           static_cast<unsigned long long>(seed), static_cast<unsigned long long>(person.Actions),
           static_cast<long long>(took), starts, starts - 1, person.GivenUp);
    EXPECT_GT(person.Actions, 0u);
    if (HasFailure()) printf("%s", program.Log.Last().c_str());
}
