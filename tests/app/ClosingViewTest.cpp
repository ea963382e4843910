// Closing the real main window drawn by the Qt views, with Qt's own event loop running: the save
// question comes once, and its answer holds. (A close refused: tests/uiqt/QtViewsTest.cpp; a
// cancelled close keeping the devices: tests/transfers/WholeBufferTransfersTest.cpp.)
#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"
#include "tests/support/QtWindows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Question {
    std::string Text, Caption;
};

class ClosingViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = std::make_unique<QtTestWindows>();
        form = std::make_unique<TMainForm>(nullptr, midi, QM_PROGRAM_DIR);
        form->OnShow = nullptr; // no start-up: the devices are opened here
        Application->SetMainForm(form.get());
        form->Show();
        form->Midi.OpenMidiPorts(0, 0, -1);
        form->MarkDataChanged();
    }
    void TearDown() override
    {
        Application->SetMainForm(nullptr);
        form.reset();
        backend.reset();
    }

    // Runs Qt's event loop: `act` once it runs, every message box answered with `answers` in
    // turn (the last one again when they run out), until the program ends.
    void RunLoop(const std::function<void()>& act, std::vector<QMessageBox::StandardButton> answers)
    {
        QTimer poll;
        std::size_t answered = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (!box->isVisible()) return;
                questions.push_back({box->text().toStdString(), box->windowTitle().toStdString()});
                const auto answer = answers[std::min(answered++, answers.size() - 1)];
                if (QAbstractButton* button = box->button(answer)) button->click();
            }
        });
        poll.start(10);
        QTimer::singleShot(50, act);
        // A program that has not ended after half a minute, however busy the machine, never will.
        QTimer::singleShot(30000, [&] {
            timedOut = true;
            Application->Terminate();
        });
        Application->Run();
    }

    std::unique_ptr<QtTestWindows> backend;
    platform::InProcessMidi midi;
    std::shared_ptr<platform::InProcessMidi::Device> fs1r = midi.AddDevice("FS1R");
    std::unique_ptr<TMainForm> form;
    std::vector<Question> questions;
    bool timedOut = false;
};

TEST_F(ClosingViewTest, ExitAndTheCloseButtonAskOnceAndNoEndsTheProgram)
{
    for (bool byMenu : {true, false}) {
        SCOPED_TRACE(byMenu ? "File > Exit" : "close button");
        if (!byMenu) SetUp();
        questions.clear();
        RunLoop(
            [&] {
                if (byMenu)
                    backend->ActionFor(form->FileExitItem)->trigger();
                else
                    backend->WindowFor(form.get())->close();
            },
            {QMessageBox::No});
        EXPECT_FALSE(timedOut);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0].Text, "Do you want to save changes to file ?");
        EXPECT_EQ(questions[0].Caption, "LQuillmarven");
        EXPECT_FALSE(form->Midi.MidiPortsOpen);
        TearDown();
    }
}

} // namespace
