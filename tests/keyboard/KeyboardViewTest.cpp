// The keyboard in a real Qt window on the offscreen platform: it looks like a piano keyboard, and
// a click and a key on it reach the instrument.
#include "mainform/MainForm.h"
#include "mainform/keyboard/midikey.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>

TEST(KeyboardView, LooksLikeAPianoAndPlaysFromMouseAndKeys)
{
    QtTestWindows backend;
    platform::InProcessMidi midi;
    auto fs1r = midi.AddDevice("FS1R");
    TMainForm main(nullptr, midi, QM_PROGRAM_DIR);
    main.Midi.OpenMidiOut(0);
    TV_MIDIKeyboard keyboard(nullptr, main);
    keyboard.Show();
    backend.ProcessMessages();

    QWidget* window = backend.WindowFor(&keyboard);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "Virtual MIDI Keyboard");
    const std::string png = (std::filesystem::temp_directory_path() / "quillmarven-keyboard.png").string();
    ASSERT_TRUE(backend.GrabPng(&keyboard, png));
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
    backend.ProcessMessages();
    EXPECT_EQ(keyboard.StatusBar->SimpleText(), "KEY = C 1");
    auto sent = fs1r->Received();
    std::erase_if(sent, [](const std::vector<uint8_t>& m) { return (m[0] & 0xF0) == 0xB0; }); // activation resets
    EXPECT_EQ(sent, (std::vector<std::vector<uint8_t>>{{0x90, 36, 100}, {0x90, 36, 0}, {0x90, 60, 100}, {0x90, 60, 0}}));
    keyboard.Hide();
}
