// Closing the real main window drawn by the Qt views, with Qt's own event loop running: the save
// question comes once, and its answer holds; the session's end closes the box and the window. (A close refused: tests/uiqt/QtViewsTest.cpp; a
// cancelled close keeping the devices: tests/transfers/WholeBufferTransfersTest.cpp.)
#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"
#include "tests/app/SignalsCaught.h"
#include "tests/support/QtWindows.h"
#include "voice/VoicePage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <unistd.h>
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

    // Runs Qt's event loop: `act` once it runs, every message box answered by `answer`, until
    // the program ends.
    void RunLoop(const std::function<void()>& act, const std::function<void(QMessageBox&)>& answer)
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (!box->isVisible()) return;
                questions.push_back({box->text().toStdString(), box->windowTitle().toStdString()});
                answer(*box);
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

    // A shape recorded in the EG shape library of the Voice page, as a person records it.
    void RecordShape()
    {
        form->FS1R_PageControl->SetActivePage(form->Vc_TabSheet);
        ASSERT_TRUE(form->VoicePage->Vc_OpPresetEGEdit->UserSetsText("Mine"));
        ASSERT_TRUE(form->VoicePage->Vc_OpEGShapeWrite->UserClicks());
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
            [](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
        EXPECT_FALSE(timedOut);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0].Text, "Do you want to save changes to file ?");
        EXPECT_EQ(questions[0].Caption, "LQuillmarven");
        EXPECT_FALSE(form->Midi.MidiPortsOpen);
        TearDown();
    }
}

// A shape recorded in the EG shape library: after the edit buffer's question comes the
// library's, and No to both ends the program.
TEST_F(ClosingViewTest, ARecordedShapeIsAskedAboutAfterTheEditBuffer)
{
    RecordShape();
    RunLoop([&] { backend->ActionFor(form->FileExitItem)->trigger(); },
            [](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_FALSE(timedOut);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].Text, "Do you want to save changes to file ?");
    EXPECT_EQ(questions[1].Text, "Do you want to save changes to EG Shape file ?");
    EXPECT_EQ(questions[1].Caption, "Quillmarven");
    EXPECT_FALSE(form->Midi.MidiPortsOpen);
}

} // namespace

// The session ends while the save question is open: the box goes unanswered, the program ends
// through its closing (every note off), and the changes stay unsaved; the shape library's
// question does not follow.
TEST_F(ClosingViewTest, AnEndSignalWhileTheSaveQuestionIsOpenClosesTheBoxAndTheProgram)
{
    RecordShape();
    RunLoop([&] { backend->ActionFor(form->FileExitItem)->trigger(); },
            [](QMessageBox& box) {
                // (Without a handler of the program's, the signal would end the test.)
                if (Catches(getpid(), SIGTERM)) return void(raise(SIGTERM));
                ADD_FAILURE() << "the program does not catch SIGTERM";
                box.button(QMessageBox::Cancel)->click();
                Application->Terminate();
            });
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_FALSE(form->Midi.MidiPortsOpen);
    const auto sent = fs1r->Received();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent.back(), (std::vector<uint8_t>{0xBF, 123, 0}));
    EXPECT_EQ(form->DataChanged, 1);
}
