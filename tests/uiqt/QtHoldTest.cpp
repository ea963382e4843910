// A box that comes up while a mouse button holds a control down ends the hold: the control's
// auto-repeat does not go on behind the box, so a press whose action fails is told once.
#include "tests/support/Patience.h"
#include "tests/support/QtWindows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr const char* Failure = "The JACK server has stopped.";

class QtHoldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->Name = "MainForm";
        Form->SetClientSize(400, 200);
        Bar = new TScrollBar(Form);
        Bar->Name = "Pfm_VolumeBar";
        Bar->SetParent(Form);
        Bar->SetBounds(10, 40, 200, 17);
        Bar->SetParams(64, 0, 127);
        Bar->OnChange = [this](TObject*) { Act(); };
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 80, 40, 21);
        UpDown = new TUpDown(Form);
        UpDown->SetParent(Form);
        UpDown->SetAssociate(Edit);
        UpDown->SetMax(127);
        UpDown->SetPosition(64);
        UpDown->OnClick = [this](TObject*, TUDBtnType) { Act(); };
        Form->Show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        delete Form;
        QApplication::processEvents();
    }

    // Every action fails, as a send does once the MIDI system has gone; after a few, the test
    // lets them pass so that a chain of boxes, if there is one, ends.
    void Act()
    {
        if (++Actions <= 4) throw Exception(Failure);
    }

    // Answers every box after `shown` ms, longer than an auto-repeat waits to begin; counts the
    // boxes and the most of them up at once.
    void AnswerBoxesAfter(int shown)
    {
        QObject::connect(&Poll, &QTimer::timeout, [this, shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            if (box != Current) {
                Current = box;
                ++Boxes;
                EXPECT_EQ(box->text().toStdString(), Failure);
                Up.start();
            }
            if (Up.elapsed() >= shown) {
                Current = nullptr;
                box->button(QMessageBox::Ok)->click();
            }
        });
        Poll.start(10);
    }
    static void Press(QWidget* w, QPoint at, QEvent::Type type)
    {
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    static void RunEvents(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Runs the event loop until a box has come and been answered (at most Patience, however late
    // the hold's timers come on a busy machine); whether one was.
    bool RunEventsUntilABoxWasAnswered()
    {
        QElapsedTimer t;
        t.start();
        while ((Boxes == 0 || Current) && t.elapsed() < Patience.count())
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return Boxes > 0 && !Current;
    }

    QtTestBackend Backend;
    TForm* Form = nullptr;
    TScrollBar* Bar = nullptr;
    TEdit* Edit = nullptr;
    TUpDown* UpDown = nullptr;
    int Actions = 0;
    int Boxes = 0;
    QTimer Poll;
    QElapsedTimer Up;
    QMessageBox* Current = nullptr;
};

} // namespace

TEST_F(QtHoldTest, APressOnTheSlidersArrowWhoseStepFailsShowsOneBox)
{
    auto* bar = qobject_cast<QScrollBar*>(Backend.WidgetFor(Bar));
    ASSERT_NE(bar, nullptr);
    AnswerBoxesAfter(1200);
    // The press steps at once and would repeat every 50 ms after 500 ms while held.
    const QPoint arrow(bar->width() - 4, bar->height() / 2);
    Press(bar, arrow, QEvent::MouseButtonPress);
    ASSERT_TRUE(RunEventsUntilABoxWasAnswered()) << "the failed step showed no box";
    RunEvents(1000); // still held: twenty repeats' time
    Press(bar, arrow, QEvent::MouseButtonRelease);
    EXPECT_EQ(Boxes, 1);
    EXPECT_EQ(Actions, 1) << "the slider stepped on behind the box";
    EXPECT_EQ(Bar->Position(), 65);
}

TEST_F(QtHoldTest, HoldingTheUpDownWhoseClickFailsShowsOneBox)
{
    const auto arrows = Backend.WidgetFor(UpDown)->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    AnswerBoxesAfter(1200);
    // Held, the arrow clicks after 300 ms and then every 100 ms.
    const QPoint middle(up->width() / 2, up->height() / 2);
    Press(up, middle, QEvent::MouseButtonPress);
    ASSERT_TRUE(RunEventsUntilABoxWasAnswered()) << "the held arrow's failed click showed no box";
    RunEvents(1000); // still held: ten repeats' time
    Press(up, middle, QEvent::MouseButtonRelease);
    RunEvents(100);
    EXPECT_EQ(Boxes, 1);
    EXPECT_EQ(Actions, 1) << "the arrow clicked on behind the box";
}
