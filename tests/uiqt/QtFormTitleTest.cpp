// A form's window while its caption changes with every MIDI message received: the title follows
// the caption at most once a frame and ends on the newest one, and a new caption redraws nothing
// inside the window.
#include "tests/support/Patience.h"
#include "tests/support/QtWindows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

// Counts the events of one type a widget receives.
class EventCount : public QObject {
public:
    EventCount(QWidget* w, QEvent::Type type) : FWidget(w), FType(type) { w->installEventFilter(this); }
    ~EventCount() override
    {
        if (FWidget) FWidget->removeEventFilter(this);
    }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == FType) ++Count;
        return false;
    }

private:
    QPointer<QWidget> FWidget;
    QEvent::Type FType;
};

// A shown window with one control on it, drawn, and more than a frame since its title was drawn.
class QtFormTitleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form->SetCaption("Quillmarven");
        Form->SetClientSize(400, 300);
        Button->SetParent(Form.get());
        Button->SetBounds(10, 10, 80, 25);
        Form->Show();
        Window = Backend.WindowFor(Form.get());
        ASSERT_NE(Window, nullptr);
        Client = Backend.WidgetFor(Button)->parentWidget();
        Backend.AdvanceMs(50);
    }
    void TearDown() override { Application->SetMainForm(nullptr); }

    static std::string Received(int n)
    {
        return "Quillmarven          Received MIDI Data : NOTE ON " + std::to_string(n);
    }

    QtTestBackend Backend;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TButton* Button = new TButton(Form.get());
    QWidget* Window = nullptr;
    QWidget* Client = nullptr;
};

TEST_F(QtFormTitleTest, TitleFollowsABurstOfCaptionsAtMostOnceAFrameAndEndsOnTheLast)
{
    // After a quiet spell a new caption is drawn at once.
    Form->SetCaption(Received(0));
    EXPECT_EQ(Window->windowTitle().toStdString(), Received(0));

    // A burst: a new caption every half millisecond or so, the event loop running in between, as
    // messages arrive; for 300 ms, and on a busy machine until there were more than 100 captions
    // and the title had followed them three times (at most Patience).
    EventCount titles(Window, QEvent::WindowTitleChange);
    QElapsedTimer clock;
    clock.start();
    int last = 0;
    while (clock.elapsed() < 300 || ((last <= 100 || titles.Count < 3) && clock.elapsed() < Patience.count())) {
        Form->SetCaption(Received(++last));
        ASSERT_EQ(Form->Caption(), Received(last)); // the form's own caption is current at once
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const double frames = double(clock.elapsed()) / 16;
    const int during = titles.Count;
    Backend.AdvanceMs(50); // the frame in which the last caption came ends

    EXPECT_EQ(Window->windowTitle().toStdString(), Received(last));
    EXPECT_EQ(Form->Caption(), Received(last));
    ASSERT_GT(last, 100);
    // At most one title a frame (a timer may come a little early), and it did follow the
    // captions during the burst, not only at its end.
    EXPECT_LE(titles.Count, int(frames * 1.1) + 2) << last << " captions";
    EXPECT_GE(during, 3) << "titles drawn during a burst of " << int(frames * 16) << " ms";

    // Quiet again: the next caption is drawn at once.
    Form->SetCaption("Quillmarven");
    EXPECT_EQ(Window->windowTitle().toStdString(), "Quillmarven");
}

TEST_F(QtFormTitleTest, NewCaptionRedrawsNothingInsideTheWindow)
{
    EventCount clientPaints(Client, QEvent::Paint);
    EventCount buttonPaints(Backend.WidgetFor(Button), QEvent::Paint);
    for (int n = 1; n <= 50; ++n) {
        Form->SetCaption(Received(n));
        QApplication::processEvents();
    }
    Backend.AdvanceMs(50);
    EXPECT_EQ(Window->windowTitle().toStdString(), Received(50));
    EXPECT_EQ(clientPaints.Count, 0);
    EXPECT_EQ(buttonPaints.Count, 0);

    // What the client shows of the form itself, its colour, is still drawn when it changes.
    Form->Color = clRed;
    Form->Invalidate();
    Backend.AdvanceMs(50);
    EXPECT_GT(clientPaints.Count, 0);
}

} // namespace
