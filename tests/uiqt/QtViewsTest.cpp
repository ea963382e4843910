// The Qt views on the offscreen platform: widgets mirror the ui controls and a person's input on
// the widgets reaches the ui handlers. (What the windows draw: the screenshot tests of
// tests/voice and tests/app.)
#include "tests/support/QtWindows.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>

#include <filesystem>

namespace {

using Strings = std::vector<std::string>;

class QtViewsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Backend = new QtTestBackend; }
    static void TearDownTestSuite()
    {
        delete Backend;
        Backend = nullptr;
    }

    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->Name = "MainForm";
        Form->SetCaption("Quillmarven");
        Form->SetClientSize(941, 637);
        Form->BorderStyle = bsSingle;
        Form->BorderIcons = biSystemMenu | biMinimize;
        Form->Position = poScreenCenter;

        Menu = new TMainMenu(Form);
        Form->SetMenu(Menu);
        auto* file = NewItem(Menu->Items(), "File1", "&File");
        Open = NewItem(file, "FileOpenItem", "&Open...", ShortCut('O', {ssCtrl}),
                       [this](TObject*) { Log.push_back("open"); });
        Line = NewItem(file, "N1", "-");
        NewItem(file, "FileExitItem", "E&xit", ShortCut(VK_F4, {ssAlt}), [this](TObject*) { Form->Close(); });

        Label = Add<TLabel>("VolumeText", 10, 10, 120, 20);
        Label->SetCaption("Name&&Category");
        Bar = Add<TScrollBar>("Pfm_VolumeBar", 10, 40, 200, 17);
        Bar->SetParams(100, 0, 127);
        Bar->LargeChange = 10;
        Bar->OnChange = [this](TObject*) {
            Log.push_back("bar " + IntToStr(Bar->Position()));
            Box->SetText(IntToStr(Bar->Position()));
        };
        Box = Add<TEdit>("Pfm_VolumeEdit", 220, 38, 40, 21);
        Box->MaxLength = 3;
        Box->SetText("100");
        Box->OnChange = [this](TObject*) { Log.push_back("box " + Box->Text()); };
        Box->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
            if (key == VK_PRIOR) Bar->SetPosition(Bar->Position() + 10);
        };
        Combo = Add<TComboBox>("Pfm_Category", 10, 70, 120, 21);
        Combo->Items = {"--", "Pf:Piano", "Cp:Chromatic Percussion"};
        Combo->OnChange = [this](TObject*) { Log.push_back("combo " + IntToStr(Combo->ItemIndex())); };
        Check = Add<TCheckBox>("Pfm_Part_FilterSw", 10, 100, 120, 20);
        Check->SetCaption("Filter");
        Check->OnClick = [this](TObject*) { Log.push_back(Check->Checked() ? "check on" : "check off"); };
        Button = Add<TButton>("Pfm_Data_Request_Btn", 10, 130, 80, 25);
        Button->SetCaption("Receive");
        Button->OnClick = [this](TObject*) { Log.push_back("receive"); };
        Image = Add<TImage>("Vc_FilterEGGraph", 300, 10, 260, 232);
        Image->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            Log.push_back("image " + IntToStr(x) + "," + IntToStr(y));
        };
        Tabs = Add<TTabControl>("Pfm_PartTab", 10, 260, 280, 120);
        Tabs->Tabs = {"Part1", "Part2", "Part3", "Part4"};
        Tabs->OnChange = [this](TObject*) { Log.push_back("tab " + IntToStr(Tabs->TabIndex())); };

        Form->Show();
        Window = Backend->WindowFor(Form);
        ASSERT_NE(Window, nullptr);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        delete Form;
        QApplication::processEvents();
        Application->SetMainForm(nullptr);
    }

    template <class T>
    T* Add(const std::string& name, int l, int t, int w, int h)
    {
        T* c = new T(Form);
        c->Name = name;
        c->SetParent(Form);
        c->SetBounds(l, t, w, h);
        return c;
    }
    template <class W>
    W* WidgetOf(const TComponent* c)
    {
        auto* w = qobject_cast<W*>(Backend->WidgetFor(c));
        EXPECT_NE(w, nullptr) << c->Name;
        return w;
    }

    static inline QtTestBackend* Backend = nullptr;
    TForm* Form = nullptr;
    TMainMenu* Menu = nullptr;
    TMenuItem* Open = nullptr;
    TMenuItem* Line = nullptr;
    TLabel* Label = nullptr;
    TScrollBar* Bar = nullptr;
    TEdit* Box = nullptr;
    TComboBox* Combo = nullptr;
    TCheckBox* Check = nullptr;
    TButton* Button = nullptr;
    TImage* Image = nullptr;
    TTabControl* Tabs = nullptr;
    QWidget* Window = nullptr;
    Strings Log;
};

TEST_F(QtViewsTest, WidgetsMirrorTheControls)
{
    EXPECT_EQ(Window->windowTitle(), "Quillmarven");
    EXPECT_FALSE(Window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QWidget* client = Backend->WidgetFor(Label)->parentWidget();
    EXPECT_EQ(client->size(), QSize(941, 637));

    EXPECT_EQ(WidgetOf<QLabel>(Label)->text(), "Name&Category");
    auto* bar = WidgetOf<QScrollBar>(Bar);
    EXPECT_EQ(bar->maximum(), 127);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(bar->pageStep(), 10);
    EXPECT_EQ(bar->geometry(), QRect(10, 40, 200, 17));
    EXPECT_EQ(WidgetOf<QLineEdit>(Box)->text(), "100");
    auto* combo = WidgetOf<QComboBox>(Combo);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(WidgetOf<QPushButton>(Button)->text(), "Receive");

    // Menus: captions with their access keys, shortcuts shown but left to the ui.
    auto* menuBar = Window->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    ASSERT_EQ(menuBar->actions().size(), 1);
    EXPECT_EQ(menuBar->actions()[0]->text(), "&File");
    QAction* open = Backend->ActionFor(Open);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), "&Open...\tCtrl+O");
    EXPECT_TRUE(open->shortcut().isEmpty());
    // A separator is a plain line.
    ASSERT_NE(Backend->ActionFor(Line), nullptr);
    EXPECT_TRUE(Backend->ActionFor(Line)->isSeparator());
    EXPECT_TRUE(Backend->ActionFor(Line)->text().isEmpty());

    // Changes by code show at once, new controls too.
    Bar->SetPosition(5);
    Combo->SetItemIndex(2);
    Check->SetChecked(true);
    Button->SetEnabled(false);
    Open->SetEnabled(false);
    Label->Hide();
    EXPECT_EQ(bar->value(), 5);
    EXPECT_EQ(WidgetOf<QLineEdit>(Box)->text(), "5");
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_TRUE(WidgetOf<QCheckBox>(Check)->isChecked());
    EXPECT_FALSE(WidgetOf<QPushButton>(Button)->isEnabled());
    EXPECT_FALSE(open->isEnabled());
    EXPECT_FALSE(Backend->WidgetFor(Label)->isVisible());
    auto* later = Add<TEdit>("Later", 10, 200, 50, 21);
    later->SetText("new");
    EXPECT_EQ(WidgetOf<QLineEdit>(later)->text(), "new");
    Combo->Items.Add("Or:Organ");
    EXPECT_EQ(combo->count(), 4);
    Bar->SetKind(sbVertical); // position 0 at the top, as Qt draws a vertical bar
    EXPECT_EQ(bar->orientation(), Qt::Vertical);
    EXPECT_FALSE(bar->invertedAppearance());

    // The keyboard focus follows the ui's.
    Box->SetFocus();
    EXPECT_TRUE(Backend->WidgetFor(Box)->hasFocus());
    Check->SetFocus();
    EXPECT_TRUE(Backend->WidgetFor(Check)->hasFocus());
}

TEST_F(QtViewsTest, TypingInTheLineEditGoesThroughTheUiRules)
{
    auto* edit = WidgetOf<QLineEdit>(Box);
    Box->SetFocus();
    EXPECT_EQ(Box->SelLength(), 3);
    Press(edit, Qt::Key_7, Qt::NoModifier, "7");
    Press(edit, Qt::Key_A, Qt::NoModifier, "a");
    Press(edit, Qt::Key_1, Qt::NoModifier, "1");
    Press(edit, Qt::Key_2, Qt::NoModifier, "2"); // MaxLength 3 stops it
    EXPECT_EQ(Box->Text(), "7a1");
    EXPECT_EQ(edit->text(), "7a1");
    EXPECT_EQ(Log, (Strings{"box 7", "box 7a", "box 7a1"}));

    Log.clear();
    Press(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "7a");
    Press(edit, Qt::Key_PageUp); // the key handler moves the slider, which writes the box
    EXPECT_EQ(Bar->Position(), 110);
    EXPECT_EQ(edit->text(), "110");
    EXPECT_EQ(WidgetOf<QScrollBar>(Bar)->value(), 110);

    // A menu shortcut wins over the focused box.
    Log.clear();
    Press(edit, Qt::Key_O, Qt::ControlModifier, QString(QChar(15)));
    EXPECT_EQ(Log, (Strings{"open"}));
    EXPECT_EQ(Box->Text(), "110");
}

TEST_F(QtViewsTest, ClicksAndStepsReachTheUiHandlers)
{
    auto* bar = WidgetOf<QScrollBar>(Bar);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar->Position(), 110);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Bar->Position(), 109);
    EXPECT_EQ(bar->value(), 109);
    EXPECT_TRUE(Bar->Focused() || Box->Focused());

    auto* combo = WidgetOf<QComboBox>(Combo);
    emit combo->activated(1);
    emit combo->activated(1);
    WidgetOf<QCheckBox>(Check)->click();
    WidgetOf<QPushButton>(Button)->click();
    Backend->ActionFor(Open)->trigger();

    MouseDown(Backend->WidgetFor(Image), QPointF(30, 40));

    auto* tabBar = Backend->WidgetFor(Tabs)->findChild<QTabBar*>();
    ASSERT_NE(tabBar, nullptr);
    EXPECT_EQ(tabBar->count(), 4);
    MouseDown(tabBar, tabBar->tabRect(2).center());
    EXPECT_EQ(tabBar->currentIndex(), 2);

    EXPECT_EQ(Log, (Strings{"bar 110", "box 110", "bar 109", "box 109", "combo 1", "combo 1", "check on", "receive",
                            "open", "image 30,40", "tab 2"}));

    // The close button asks the form.
    bool asked = false;
    Form->OnCloseQuery = [&](TObject*, bool& canClose) {
        asked = true;
        canClose = false;
    };
    Window->close();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(Form->Visible());
}

TEST_F(QtViewsTest, TimersRunOnTheEventLoop)
{
    auto* timer = new TTimer(Form);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 3) timer->SetEnabled(false);
    };
    // However busy the machine, the ticks come, and once the timer is off no more.
    for (int i = 0; i < 1000 && ticks < 3; ++i) Application->AdvanceMs(10);
    Application->AdvanceMs(50);
    EXPECT_EQ(ticks, 3);
    auto before = Application->NowMs();
    Application->Sleep(20);
    EXPECT_GE(Application->NowMs() - before, 20u);
}

} // namespace

TEST_F(QtViewsTest, BitButtonsShowTheirGlyphWithTheCornerColourTransparent)
{
    TBitmap glyph(16, 16);
    glyph.Canvas.Brush.Color = clFuchsia;
    glyph.Canvas.FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas.Brush.Color = clBlue;
    glyph.Canvas.FillRect(Rect(4, 4, 12, 12));
    const std::string path = ScreenshotFile("qm-glyph-test.bmp");
    glyph.SaveToFile(path);

    auto* button = Add<TBitBtn>("Vc_OpEGShapeWrite", 200, 130, 19, 21);
    button->LoadGlyph(path + ".missing"); // no picture: the button still stands, without one
    EXPECT_TRUE(button->Glyph().Empty());
    button->LoadGlyph(path);
    ASSERT_EQ(button->Glyph().Width(), 16);
    Backend->ProcessMessages();

    auto* q = qobject_cast<QPushButton*>(Backend->WidgetFor(button));
    ASSERT_NE(q, nullptr);
    const QImage icon = q->icon().pixmap(16, 16).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(qAlpha(icon.pixel(0, 15)), 0);
    EXPECT_EQ(qBlue(icon.pixel(8, 8)), 255);
    std::filesystem::remove(path);
}

TEST_F(QtViewsTest, AScrollBoxShowsItsPositionAndTakesAPersonsScrolling)
{
    auto* box = Add<TScrollBox>("AlgSelectScrollBox", 600, 10, 200, 104);
    box->Color = clWhite;
    box->HorzScrollBar.Visible = false;
    box->VertScrollBar.Margin = 5;
    auto* top = new TImage(Form);
    top->SetParent(box);
    top->SetBounds(5, 5, 150, 90);
    auto* bottom = new TImage(Form);
    bottom->SetParent(box);
    bottom->SetBounds(5, 485, 150, 90);
    // Set before anything is drawn, the position holds once the box is laid out.
    box->VertScrollBar.SetPosition(300);
    Backend->ProcessMessages();

    auto* area = qobject_cast<QAbstractScrollArea*>(Backend->WidgetFor(box));
    ASSERT_NE(area, nullptr);
    QScrollBar* bar = area->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 480); // 580 of content and margin less a client height of 100
    EXPECT_EQ(bar->value(), 300);
    QWidget* picture = Backend->WidgetFor(bottom);
    EXPECT_EQ(picture->mapTo(area->viewport(), QPoint(0, 0)).y(), 485 - 300);
    EXPECT_EQ(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // A person's steps and drags move the ui's position.
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(box->VertScrollBar.Position(), 300 - bar->pageStep());
    // Without tracking a drag counts where the thumb is let go.
    bar->setSliderDown(true);
    bar->setSliderPosition(450);
    bar->setSliderDown(false);
    EXPECT_EQ(box->VertScrollBar.Position(), 450);
    // The wheel belongs to the form, which leaves the box alone here.
    int wheels = 0;
    Form->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++wheels; };
    QWheelEvent wheel(QPointF(20, 20), area->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->viewport(), &wheel);
    EXPECT_EQ(wheels, 1);
    EXPECT_EQ(box->VertScrollBar.Position(), 450);
    EXPECT_EQ(bar->value(), 450);
}

// Keys in an open menu are the menu's: the arrows walk it, Return chooses, Escape closes it; none
// reaches the control that has the focus behind it.
TEST_F(QtViewsTest, KeysInAnOpenMenuAreTheMenus)
{
    Bar->SetFocus();
    auto* menuBar = Window->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    auto* fileMenu = qobject_cast<QMenu*>(menuBar->actions()[0]->menu());
    ASSERT_NE(fileMenu, nullptr);
    const struct {
        std::vector<int> keys;
        std::vector<std::string> log;
    } cases[] = {
        {{Qt::Key_Down, Qt::Key_Return}, {"open"}},
        {{Qt::Key_Down, Qt::Key_Up, Qt::Key_Escape}, {}},
    };
    for (const auto& c : cases) {
        Log.clear();
        fileMenu->popup(Window->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        for (int key : c.keys) Press(fileMenu, key);
        QApplication::processEvents();
        EXPECT_EQ(Log, c.log);
        EXPECT_FALSE(fileMenu->isVisible()) << "the menu stayed open";
        EXPECT_EQ(Bar->Position(), 100) << "a key reached the slider behind the menu";
    }
}

// The wheel belongs to the form wherever the pointer is in its window, the menu bar and its empty
// part included (above the client area: a negative height), and is told in client coordinates;
// an open menu is a window of its own, whose wheel is Qt's. The form's own mouse is told in
// client coordinates too.
TEST_F(QtViewsTest, TheWheelAndTheMouseOfTheFormAreToldInClientCoordinates)
{
    std::vector<TPoint> wheels;
    Form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint at, bool& handled) {
        wheels.push_back(at);
        handled = true;
    };
    std::vector<TPoint> downs;
    Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
    QWidget* client = Backend->WidgetFor(Label)->parentWidget();
    auto* menuBar = Window->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    const int barHeight = client->mapTo(Window, QPoint(0, 0)).y();
    ASSERT_GT(barHeight, 0);
    const QPoint file = menuBar->actionGeometry(menuBar->actions()[0]).center();
    const QPoint empty(menuBar->width() - 5, menuBar->height() / 2);
    auto* fileMenu = qobject_cast<QMenu*>(menuBar->actions()[0]->menu());
    ASSERT_NE(fileMenu, nullptr);

    const struct {
        const char* where;
        QWidget* widget;
        QPoint at;
        bool toForm;
        TPoint told;
    } cases[] = {
        {"client", client, {20, 30}, true, {20, 30}},
        {"label", Backend->WidgetFor(Label), {5, 5}, true, {15, 15}},
        {"slider", Backend->WidgetFor(Bar), {5, 5}, true, {15, 45}},
        {"menu bar title", menuBar, file, true, {file.x(), file.y() - barHeight}},
        {"empty menu bar", menuBar, empty, true, {empty.x(), empty.y() - barHeight}},
        {"open menu", fileMenu, {5, 5}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        wheels.clear();
        if (c.widget == fileMenu) {
            fileMenu->popup(Window->mapToGlobal(QPoint(0, 0)));
            QApplication::processEvents();
        }
        for (int delta : {120, -120}) {
            QWheelEvent wheel(c.at, c.widget->mapToGlobal(QPointF(c.at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(c.widget, &wheel);
        }
        ASSERT_EQ(wheels.size(), c.toForm ? 2u : 0u);
        for (const TPoint& told : wheels) {
            EXPECT_EQ(told.X, c.told.X);
            EXPECT_EQ(told.Y, c.told.Y);
        }
    }
    fileMenu->hide();

    MouseDown(client, QPointF(30, 40));
    MouseUp(client, QPointF(30, 40));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].X, 30);
    EXPECT_EQ(downs[0].Y, 40);
}
