// A person's slider step in the real window (Qt views, offscreen): the QScrollBar that views the
// part volume slider of the performance part page gets the step as Qt delivers a person's input;
// the view turns it into the ui step (UserSteps), the handler stores, shows and sends, and the
// parameter change reaches the in-process port. Goal: under 50 microseconds.
#include "bench/BenchWindow.h"

#include <QAbstractSlider>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <benchmark/benchmark.h>

namespace {

struct TVolumeSlider {
    TQtBenchWindow& QtWindow = TQtBenchWindow::Shared();
    TBenchWindow& Window = QtWindow.Window();
    TScrollBar& Bar = Window.Control<TScrollBar>("Pfm_Part_VolumeBar");
    QScrollBar& View = QtWindow.WidgetFor<QScrollBar>(Bar);

    TVolumeSlider()
    {
        Window.ShowPart(0);
        Bar.UserScrollsTo(64); // room to step both ways
        QtWindow.Backend().ProcessMessages();
        Window.TakeSysEx();
    }
    // Empty when one step stored a new volume and sent it; otherwise what went wrong.
    std::string CheckOneStep(const std::function<void()>& step)
    {
        const int before = Window.Form->ParameterData.PfmParts[0].Volume;
        step();
        QtWindow.Backend().ProcessMessages();
        if (Window.Form->ParameterData.PfmParts[0].Volume == before) return "the step stored no new volume";
        if (View.value() != Bar.Position()) return "the Qt slider does not show the slider's position";
        return Window.PartOneVolumeArrived();
    }
};

// Steps up and down in turn, so that every step changes the value and sends.
template <class Step>
void RunSteps(benchmark::State& state, TVolumeSlider& slider, Step step, bool paint)
{
    for (int i = 0; i < 2; ++i)
        if (const std::string wrong = slider.CheckOneStep([&] { step(i % 2 == 0); }); !wrong.empty()) {
            state.SkipWithError(wrong.c_str());
            return;
        }
    bool up = true;
    std::size_t sent = 0;
    for (auto _ : state) {
        step(up);
        up = !up;
        if (paint) slider.QtWindow.Backend().ProcessMessages();
        if (++sent % 4096 == 0) {
            state.PauseTiming();
            slider.Window.Instrument->ClearReceived();
            state.ResumeTiming();
        }
    }
    slider.QtWindow.Backend().ProcessMessages();
    slider.Window.Instrument->ClearReceived();
}

// The step as QAbstractSlider delivers an arrow click or an arrow key to its action signal;
// with `paint`, Qt's pending events (the repaints the step asked for) are processed too.
void QtSliderStep(benchmark::State& state, bool paint)
{
    TVolumeSlider slider;
    auto step = [&](bool up) {
        slider.View.triggerAction(up ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
    };
    RunSteps(state, slider, step, paint);
}
void BM_QtSliderStep(benchmark::State& state) { QtSliderStep(state, false); }
void BM_QtSliderStepPainted(benchmark::State& state) { QtSliderStep(state, true); }
BENCHMARK(BM_QtSliderStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QtSliderStepPainted)->Unit(benchmark::kMicrosecond);

// A click on one of the slider's arrow buttons: mouse press and release sent to the QScrollBar
// as the window system delivers them, then Qt's pending events processed.
void BM_QtSliderArrowClick(benchmark::State& state)
{
    TVolumeSlider slider;
    QScrollBar& view = slider.View;
    QStyleOptionSlider option;
    option.initFrom(&view);
    option.subControls = QStyle::SC_All;
    option.orientation = view.orientation();
    option.minimum = view.minimum();
    option.maximum = view.maximum();
    option.sliderPosition = view.sliderPosition();
    option.sliderValue = view.value();
    option.singleStep = view.singleStep();
    option.pageStep = view.pageStep();
    option.upsideDown = view.invertedAppearance();
    auto centreOf = [&](QStyle::SubControl arrow) {
        return QPointF(view.style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, &view).center());
    };
    const QPointF add = centreOf(QStyle::SC_ScrollBarAddLine), sub = centreOf(QStyle::SC_ScrollBarSubLine);
    auto click = [&](bool up) {
        const QPointF at = up ? add : sub;
        const QPointF global = view.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &release);
    };
    RunSteps(state, slider, click, true);
}
BENCHMARK(BM_QtSliderArrowClick)->Unit(benchmark::kMicrosecond);

} // namespace
