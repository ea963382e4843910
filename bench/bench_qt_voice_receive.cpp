// A received voice in the real window (Qt views, offscreen): while the Voice1 receive of the Tools
// menu waits for its dump, the in-process instrument delivers a voice bulk dump through the MIDI
// input road (input port, transport, post to the UI thread, TMainForm::Dispatch, the dump
// receiver); the receive's last timer step ends it and refreshes the voice page; Qt's pending
// events are processed, so every Qt view of the page shows the new voice, drawn.
// Two voices that differ in most of what the page shows are received in turn.
// Goal: under 5 milliseconds.
#include "bench/BenchWindow.h"
#include "core/Latin1.h"

#include <QAbstractSlider>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QObject>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

namespace {

// A voice unlike the initial one in its name, LFOs, filter, envelopes, controls, algorithm and
// in every operator's level, envelope and sensitivities.
VoiceRecord AnotherVoice(VoiceRecord v)
{
    VoiceCommon& c = v.VoiceCommon;
    c.Name.fill(0);
    std::memcpy(c.Name.data(), "BenchVoice", 10); // all ten characters: no padding
    c.Category = 5;
    c.LFO1Waveform = 3;
    c.LFO1KeySync = 0;
    c.LFO1Speed = 63;
    c.LFO1Delay = 30;
    c.LFO1PModDepth = 41;
    c.LFO1AModDepth = 22;
    c.LFO1FreqModDepth = 11;
    c.LFO1FltModDepth = 9;
    c.LFO2Waveform = 2;
    c.LFO2KeySync = 0;
    c.LFO2Speed = 90;
    c.LFO2Phase = 2;
    c.LFO2FltModDepth = 17;
    c.FilterInputGain = 6;
    c.FilterType = 2;
    c.FilterCutoffFreq = 40;
    c.FilterResonance = 60;
    c.FilterFreqScaling = 80;
    c.FilterFScaleBP = 48;
    c.FilterResoVelSns = 10;
    c.FilterEGTime1 = 30, c.FilterEGTime2 = 40, c.FilterEGTime3 = 50, c.FilterEGTime4 = 60;
    c.FilterEGLv1 = 20, c.FilterEGLv2 = 30, c.FilterEGLv3 = 40, c.FilterEGLv4 = 60;
    c.FilterEGTimeScaling = 3;
    c.FilterEGDepth = 90;
    c.FilterEGAtkTVelSns = 2;
    c.FilterEGDepthVelSns = 10;
    c.PitchEGLv0 = 40, c.PitchEGLv1 = 60, c.PitchEGLv2 = 45, c.PitchEGLv3 = 55, c.PitchEGLv4 = 52;
    c.PitchEGTime1 = 30, c.PitchEGTime2 = 45, c.PitchEGTime3 = 60, c.PitchEGTime4 = 75;
    c.PitchEGTimeScaling = 2;
    c.PitchEGRange = 1;
    c.PitchEGVelocitySens = 3;
    for (int i = 0; i < 5; ++i) {
        c.Frmt[std::size_t(i)] = VoiceControl{i, 1, 70 + i};
        c.Fm[std::size_t(i)] = VoiceControl{8 + i, 2, 50 + i};
    }
    c.Algorithm = 12;
    c.Feedback = 5;
    c.NoteShift = 30;
    auto envelopes = [](auto& o, int k) {
        o.EGHold = 50;
        o.EGTime1 = 40 + k, o.EGTime2 = 50 + k, o.EGTime3 = 60 + k, o.EGTime4 = 70 + k;
        o.EGLv1 = 10 + k, o.EGLv2 = 20 + k, o.EGLv3 = 30 + k, o.EGLv4 = 90;
        o.EGTimeScaling = 2;
        o.FrqEGInitLvl = 40, o.FrqEGAtakLvl = 60, o.FrqEGAtakTime = 30, o.FrqEGDecayTime = 40;
        o.SnsAmpVel = 3, o.SnsFreqVel = 5, o.SnsAmpEGBias = 4, o.SnsFreqBias = 9, o.SnsWidthBias = 2;
        o.AmpMod = 3, o.FreqMod = 1;
        o.Transpose = 20 + k;
        o.BandWidth = 30 + k;
        o.Skirt = 2;
        o.OutputLvl = 90 - 5 * k;
    };
    for (int k = 0; k < 8; ++k) {
        VoicedOperator& o = v.VoicedOperators[std::size_t(k)];
        envelopes(o, k);
        o.PitchMod = 2;
        o.Detune = 15 - k;
        o.LSLeftDepth = 10 + k, o.LSRightDepth = 20 + k;
        o.OPAtt = 3;
        envelopes(v.UnvoicedOperators[std::size_t(k)], k);
    }
    return v;
}

// Counts the paint events of the whole application while it lives.
class TPaintCounter : public QObject {
public:
    TPaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~TPaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

class TVoiceReceive {
public:
    TVoiceReceive()
    {
        Window.ShowVoice(0);
        TMainForm& f = *Window.Form;
        // The two dumps, built by the program's own builder from the two voice records.
        const VoiceRecord shown = f.ParameterData.VoiceRecords[0];
        First = DumpOf(shown);
        Second = DumpOf(AnotherVoice(shown));
        QtWindow.Backend().ProcessMessages();
        Window.TakeSysEx();
    }

    // The Voice1 receive up to the point where it waits for its dump at the last step: the menu
    // command, then the timer steps (the dump request goes out at the first one).
    void StartReceive()
    {
        TMainForm& f = *Window.Form;
        f.DataRcvVc1->Click();
        for (int step = 0; step < 3; ++step) f.Vc_Timer->Tick();
        Window.Instrument->ClearReceived();
        QtWindow.Backend().ProcessMessages();
    }
    // The dump arrives on the input and the receive ends; false when the receiver did not take
    // it (the receive is then called off before its last step, which would ask for the cable).
    bool Receive(const Bytes& dump)
    {
        TMainForm& f = *Window.Form;
        Window.Instrument->Play(dump);
        QtWindow.Backend().ProcessMessages();
        if (f.DumpReceived != 1) {
            f.Vc_Timer->SetEnabled(false);
            f.Midi.StopMidiInBuffer();
            f.UnlockWindows();
            return false;
        }
        f.Vc_Timer->Tick();
        QtWindow.Backend().ProcessMessages();
        return true;
    }
    // Empty when every Qt slider and edit box of the voice page mirrors its control, and the
    // page shows `name` and LFO1 speed `lfo1Speed`; otherwise what is wrong.
    std::string CheckShown(const std::string& name, int lfo1Speed)
    {
        const auto& nameView = QtWindow.WidgetFor<QLineEdit>(Window.Control<TEdit>("Vc_Name"));
        if (nameView.text().toStdString() != name)
            return "the Qt name box shows '" + nameView.text().toStdString() + "'";
        const auto& speedView = QtWindow.WidgetFor<QAbstractSlider>(Window.Control<TScrollBar>("Vc_LFO1SpeedBar"));
        if (speedView.value() != lfo1Speed)
            return "the Qt LFO1 speed slider shows " + std::to_string(speedView.value());
        const auto& speedBox = QtWindow.WidgetFor<QLineEdit>(Window.Control<TEdit>("Vc_LFO1SpeedEdit"));
        if (speedBox.text().toStdString() != std::to_string(lfo1Speed)) return "the Qt LFO1 speed box is not updated";
        return Mirrors(*Window.Form->Vc_TabSheet);
    }

    TQtBenchWindow& QtWindow = TQtBenchWindow::Shared();
    TBenchWindow& Window = QtWindow.Window();
    Bytes First, Second;

private:
    Bytes DumpOf(const VoiceRecord& voice)
    {
        TMainForm& f = *Window.Form;
        const VoiceRecord kept = f.ParameterData.VoiceRecords[0];
        f.ParameterData.VoiceRecords[0] = voice;
        f.BuildVoiceDump(0, 0);
        f.ParameterData.VoiceRecords[0] = kept;
        return Bytes(f.VoiceDumpBuffer.begin(), f.VoiceDumpBuffer.end());
    }
    std::string Mirrors(const TWinControl& root)
    {
        for (int i = 0; i < root.ControlCount(); ++i) {
            const TControl* c = root.Controls(i);
            if (auto* bar = dynamic_cast<const TScrollBar*>(c)) {
                if (QtWindow.WidgetFor<QAbstractSlider>(*bar).value() != bar->Position())
                    return bar->Name + " differs in Qt";
            } else if (auto* edit = dynamic_cast<const TEdit*>(c)) {
                if (QtWindow.WidgetFor<QLineEdit>(*edit).text().toStdString() != edit->Text())
                    return edit->Name + " differs in Qt";
            }
            if (auto* w = dynamic_cast<const TWinControl*>(c))
                if (std::string wrong = Mirrors(*w); !wrong.empty()) return wrong;
        }
        return {};
    }
};

void BM_QtVoiceReceive(benchmark::State& state)
{
    TVoiceReceive rig;
    // Once, outside the timed loop: both voices arrive, every Qt view shows them, drawn at once.
    {
        TPaintCounter paints;
        rig.StartReceive();
        paints.Paints = 0;
        if (!rig.Receive(rig.Second)) return state.SkipWithError("the receiver did not take the dump");
        if (const std::string wrong = rig.CheckShown("BenchVoice", 63); !wrong.empty())
            return state.SkipWithError(wrong.c_str());
        if (paints.Paints == 0) return state.SkipWithError("the received voice was not drawn");
        paints.Paints = 0;
        rig.QtWindow.Backend().ProcessMessages();
        if (paints.Paints != 0) return state.SkipWithError("drawing went on after the events were processed");
        rig.StartReceive();
        if (!rig.Receive(rig.First)) return state.SkipWithError("the receiver did not take the dump");
        const VoiceCommon& shown = rig.Window.Form->ParameterData.VoiceRecords[0].VoiceCommon;
        if (const std::string wrong = rig.CheckShown(FromLatin1(shown.Name.data(), shown.Name.size()), shown.LFO1Speed);
            !wrong.empty())
            return state.SkipWithError(wrong.c_str());
    }
    bool second = true;
    for (auto _ : state) {
        state.PauseTiming();
        rig.StartReceive();
        state.ResumeTiming();
        if (!rig.Receive(second ? rig.Second : rig.First)) {
            state.SkipWithError("the receiver did not take the dump");
            break;
        }
        second = !second;
    }
}
BENCHMARK(BM_QtVoiceReceive)->Unit(benchmark::kMillisecond);

} // namespace
