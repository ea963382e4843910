// The keyboard in a real Qt window on the offscreen platform: it looks like a piano keyboard, and
// a click and a key on it reach the instrument.
#include "KeyboardFixture.h"
#include "tests/support/QtWindows.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <functional>
#include <optional>

class KeyboardView : public KeyboardWindowTest {
protected:
    void SetUp() override
    {
        KeyboardWindowTest::SetUp();
        backend.emplace();
    }
    std::optional<QtTestWindows> backend; // outlives the windows

    // Runs the events until `holds` does; whether it came within a generous number of rounds.
    bool AfterEvents(const std::function<bool()>& holds)
    {
        for (int round = 0; round < 200 && !holds(); ++round) backend->ProcessMessages();
        return holds();
    }
    // The notes sent since the last take, the controllers left out.
    Msgs TakeNotes()
    {
        auto sent = TakeAllSent();
        std::erase_if(sent, [](const Bytes& m) { return (m[0] & 0xF0) != 0x90; });
        return sent;
    }
};

TEST_F(KeyboardView, LooksLikeAPianoAndPlaysFromMouseAndKeys)
{
    keyboard->Show();
    backend->ProcessMessages();

    QWidget* window = backend->WindowFor(keyboard.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "Virtual MIDI Keyboard");
    const std::string png = ScreenshotFile("quillmarven-keyboard.png");
    ASSERT_TRUE(backend->GrabPng(keyboard.get(), png));
    QImage shot(QString::fromStdString(png));
    ASSERT_GE(shot.width(), 672);
    ASSERT_GE(shot.height(), 198);
    // White keys with black outlines, black keys in twos and threes.
    EXPECT_EQ(shot.pixel(10, 80), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(20, 80), qRgb(0, 0, 0));
    for (int x : {40, 60, 100, 120, 140}) EXPECT_EQ(shot.pixel(x, 30), qRgb(0, 0, 0)) << x;
    for (int x : {75, 155}) EXPECT_EQ(shot.pixel(x, 30), qRgb(255, 255, 255)) << x;
    // The controls below the keys carry their texts.
    EXPECT_GT(DarkPixels(shot, QRect(0, 104, 672, 76)), 200);

    // A click on the drawn key and a computer key reach the instrument.
    QWidget* client = window->childAt(40, 80);
    ASSERT_NE(client, nullptr);
    MouseDown(client, QPointF(40, 80));
    MouseUp(client, QPointF(40, 80));
    Press(client, Qt::Key_Z, Qt::NoModifier, "z");
    backend->ProcessMessages();
    EXPECT_EQ(keyboard->StatusBar->SimpleText(), "KEY = C 1");
    // The activation's controller resets left out.
    EXPECT_EQ(TakeNotes(), (Msgs{{0x90, 36, 100}, {0x90, 36, 0}, {0x90, 60, 100}, {0x90, 60, 0}}));
    keyboard->Hide();
}

// Whichever way the keys go elsewhere while a computer key holds a note, the note ends in the real
// window too: another program's window takes the activation (its window system tells the
// application so as well), or the window manager minimizes the window.
TEST_F(KeyboardView, HeldNoteEndsWhenAnotherProgramTakesTheKeysOrTheWindowIsMinimized)
{
    keyboard->Show();
    QWidget* window = backend->WindowFor(keyboard.get());
    ASSERT_NE(window, nullptr);
    QWidget* client = window->childAt(40, 80);
    ASSERT_NE(client, nullptr);
    QWidget other; // none of the program's windows, as another program's is
    auto sendToApplication = [](QEvent::Type type) {
        QEvent e(type);
        QCoreApplication::sendEvent(qApp, &e);
    };
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"another window activated",
         [&] {
             other.show();
             other.activateWindow();
         }},
        {"the application deactivated", [&] { sendToApplication(QEvent::ApplicationDeactivate); }},
        {"the window minimized", [&] { window->showMinimized(); }},
    };
    for (const auto& [what, road] : roads) {
        SCOPED_TRACE(what);
        other.hide();
        window->showNormal();
        window->activateWindow();
        sendToApplication(QEvent::ApplicationActivate);
        ASSERT_TRUE(AfterEvents([&] { return QApplication::activeWindow() == window; }));
        TakeAllSent();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
        QApplication::sendEvent(client, &down);
        EXPECT_EQ(TakeNotes(), (Msgs{{0x90, 60, 100}}));
        road();
        Msgs notes;
        EXPECT_TRUE(AfterEvents([&] {
            for (const Bytes& m : TakeNotes()) notes.push_back(m);
            return !notes.empty();
        }));
        EXPECT_EQ(notes, (Msgs{{0x90, 60, 0}}));
    }
    keyboard->Hide();
}
