// What the controls of the performance and voice pages send, checked against the dump layout and
// against a record; and that every control that takes input has its handler.
//
// Each test shows its page in the headless main window over the in-process device "FS1R", loads
// a performance and voices that differ from the initial data, and then, place by place (a part,
// a voice, an operator, an effect type), moves every slider a person can reach there to a value
// of its own. Every parameter change that reaches the instrument must carry
//   (a) the data bytes the dump layout gives for that address from the edit buffer as it now
//       stands (ParameterChangeData), but for the variation release row (BareVariationRelease);
//   (b) exactly the bytes recorded for that place and slider in slider_messages.txt.
// The sliders are found through the parent tree under the two sheets, so the walk does not depend
// on who owns the controls; a slider that sends nothing, or that no place moves, fails. The effect
// rows are reached through the effect tab, for a type loaded with the performance or one a person
// picks from the type list.
//
// slider_messages.txt holds one line per slider and place: place, control, position, then the
// message(s) it sent. To write it again from the program as it is (only for a reviewed change of
// bytes), run the suite from the build folder with the file's path in QM_RECORD_SLIDER_MESSAGES:
//   QM_RECORD_SLIDER_MESSAGES=$PWD/../tests/pages/slider_messages.txt bin/pages_tests
// Each test then replaces its page's lines (the positions chosen afresh) instead of comparing.
// Without the variable the positions are read from the record, so a recorded line is replayed.
#include "core/DumpLayout.h"
#include "performance/PerformancePage.h"
#include "tests/support/VoicePageFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Hex(const Bytes& m)
{
    std::string s;
    char b[4];
    for (uint8_t x : m) {
        std::snprintf(b, sizeof b, s.empty() ? "%02X" : " %02X", x);
        s += b;
    }
    return s;
}

std::string Hex(const std::vector<Bytes>& messages)
{
    std::string s;
    for (const Bytes& m : messages) s += (s.empty() ? "" : " | ") + Hex(m);
    return s;
}

std::string DataBytes(uint8_t dh, uint8_t dl) { return Hex(Bytes{dh, dl}); }

// ---- the controls, found through the parent tree --------------------------------------------

bool Under(const TControl* c, const TControl* root)
{
    for (; c; c = c->Parent())
        if (c == root) return true;
    return false;
}

// Every slider under `root`, by name (so that the order, and with it the partners a packed byte
// is built from, does not follow the order the controls were made in).
std::vector<TScrollBar*> BarsUnder(TControl* root)
{
    std::vector<TScrollBar*> bars;
    Walk(root, [&](TControl* c) {
        if (auto* b = dynamic_cast<TScrollBar*>(c)) bars.push_back(b);
    });
    std::sort(bars.begin(), bars.end(), [](const TScrollBar* a, const TScrollBar* b) { return a->Name < b->Name; });
    return bars;
}

// ---- what is checked, listed and recorded ------------------------------------------------------

// One slider moved at one place.
struct TDrive {
    std::string Place;
    std::string Control;
    int Position = 0;
    int EffectBlock = -1; // the effect block whose rows the place shows
};

// Where a message and the dump layout differ on purpose: row 2 of the variation types "Noise
// Gate" and "Compressor" (display kind 12, the release time) is sent as the bare position, while
// the dump adds the kind's offset.
bool BareVariationRelease(const TMainForm& form, const TDrive& d)
{
    const int type = form.ParameterData.PfmEffect.PfmEffectBlocks[VariationBlock].EffectType;
    return d.EffectBlock == VariationBlock && d.Control == "Pfm_Effect_Para2Bar" &&
           form.EffectTypeTable[size_t(type)][VariationBlock].DisplayKind[1] == 12;
}

// The record: "place control position : message | message ...", one line per slider and place.
struct TRecordLine {
    std::string Place, Control;
    int Position = 0;
    std::string Messages;
};

std::vector<TRecordLine> ReadRecord(const std::string& path, std::vector<std::string>* header = nullptr)
{
    std::vector<TRecordLine> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            if (header && lines.empty()) header->push_back(line);
            continue;
        }
        const auto colon = line.find(" : ");
        TRecordLine r;
        std::istringstream head(line.substr(0, colon));
        head >> r.Place >> r.Control >> r.Position;
        if (colon != std::string::npos) r.Messages = line.substr(colon + 3);
        lines.push_back(r);
    }
    return lines;
}

std::string Key(const std::string& place, const std::string& control) { return place + " " + control; }

// A position of its own for each slider and place: inside the slider's range (up to `highest`),
// never 0, where the initial data put the slider, its centre or where it stands now.
int ChoosePosition(const std::string& key, const TScrollBar& bar, const std::set<int>& defaults, int highest)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : key) h = (h ^ c) * 16777619u;
    const int lo = bar.Min(), hi = std::min(bar.MaxPosition(), highest);
    std::vector<int> candidates;
    for (int p = lo; p <= hi; ++p) {
        const bool centre = std::abs(2 * p - (lo + hi)) <= 1;
        if (p != 0 && !defaults.count(p) && !centre && p != bar.Position()) candidates.push_back(p);
    }
    if (candidates.empty())
        for (int p = lo; p <= hi; ++p)
            if (p != bar.Position()) candidates.push_back(p);
    return candidates.empty() ? bar.Position() : candidates[h % candidates.size()];
}

// One place of a page: how a person gets there, and the group whose sliders are moved there.
struct TStation {
    std::string Place;
    std::function<void()> Go;
    std::string Root;
    std::vector<std::string> Leave; // groups under Root that belong to other places
    int EffectBlock = -1;
    std::function<bool(const TScrollBar*)> Moves;  // all sliders when empty
    std::function<int(const TScrollBar*)> Highest; // the highest position to choose, when not the slider's
};

// The main window of the voice tests (headless, its output open on the in-process "FS1R"), with
// the sliders' positions under the initial data noted and the record read.
class SliderMessagesTest : public VoicePageTest {
protected:
    void SetUp() override
    {
        VoicePageTest::SetUp();
        form->RefreshPerformancePages();
        form->RefreshVoicePages(0);
        for (TTabSheet* sheet : {form->Pfm_TabSheet, form->Vc_TabSheet})
            for (TScrollBar* bar : BarsUnder(sheet)) defaults[bar].insert(bar->Position());
        recordPath = std::getenv("QM_RECORD_SLIDER_MESSAGES") ? std::getenv("QM_RECORD_SLIDER_MESSAGES") : "";
        if (recordPath.empty())
            for (const TRecordLine& r : ReadRecord(QM_SLIDER_MESSAGES)) recorded[Key(r.Place, r.Control)] = r;
    }

    template <class T>
    T* Find(TTabSheet* sheet, const std::string& name)
    {
        auto* c = dynamic_cast<T*>(Named(sheet, name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    // What a run of stations moved, checked and would record.
    struct TRun {
        std::set<std::string> Places;
        std::set<std::string> Keys;
        std::vector<TRecordLine> Lines;
        std::set<const TScrollBar*> Checked;
    };

    // Moves every slider of every station as a person does and checks what reaches the
    // instrument; then every slider under `sheet` must have been checked.
    void Run(TTabSheet* sheet, const std::vector<TStation>& stations)
    {
        TRun run;
        for (const TStation& s : stations) {
            SCOPED_TRACE("place " + s.Place);
            run.Places.insert(s.Place);
            s.Go();
            TakeSent();
            TControl* root = Named(sheet, s.Root);
            ASSERT_NE(root, nullptr) << s.Root;
            for (TScrollBar* bar : BarsUnder(root)) {
                bool elsewhere = false;
                for (const std::string& other : s.Leave) elsewhere = elsewhere || Under(bar, Named(sheet, other));
                if (!elsewhere && (!s.Moves || s.Moves(bar)) && bar->AcceptsInput()) MoveAndCheck(s, *bar, run);
            }
        }

        for (TScrollBar* bar : BarsUnder(sheet))
            EXPECT_TRUE(run.Checked.count(bar)) << bar->Name << " was checked at no place";
        if (!recordPath.empty()) return WriteRecord(run.Places, run.Lines);
        for (const auto& [key, r] : recorded) {
            if (run.Places.count(r.Place)) {
                EXPECT_TRUE(run.Keys.count(key)) << key << ": recorded, but the slider could not be moved there";
            }
        }
    }

    // One slider at one place: to the recorded position (or, while recording, one of its own),
    // then (a) and (b) for what it sent.
    void MoveAndCheck(const TStation& s, TScrollBar& bar, TRun& run)
    {
        TDrive d{s.Place, bar.Name, 0, s.EffectBlock};
        const std::string key = Key(d.Place, d.Control);
        const auto r = recorded.find(key);
        if (recordPath.empty()) {
            if (r == recorded.end()) {
                ADD_FAILURE() << key << ": not in the record; record it (see the top of this file)";
                return;
            }
            d.Position = r->second.Position;
        } else {
            d.Position = ChoosePosition(key, bar, defaults[&bar], s.Highest ? s.Highest(&bar) : bar.MaxPosition());
        }
        run.Keys.insert(key);
        const std::vector<Bytes> sent = Move(bar, d);
        const std::string what = key + " at " + std::to_string(d.Position);

        if (sent.empty()) {
            ADD_FAILURE() << what << " sent nothing";
            return;
        }
        run.Checked.insert(&bar);
        for (const Bytes& m : sent) CheckAgainstLayout(d, m);
        run.Lines.push_back({d.Place, d.Control, d.Position, Hex(sent)});
        if (recordPath.empty()) {
            EXPECT_EQ(Hex(sent), r->second.Messages) << what << ": sent the first, the record holds the second";
        }
    }

    // A person drags the slider to the drive's position; what reached the instrument.
    std::vector<Bytes> Move(TScrollBar& bar, const TDrive& d)
    {
        EXPECT_GE(d.Position, bar.Min()) << d.Place << " " << d.Control;
        EXPECT_LE(d.Position, bar.MaxPosition()) << d.Place << " " << d.Control;
        EXPECT_NE(d.Position, bar.Position()) << d.Place << " " << d.Control << " already stands at " << d.Position;
        EXPECT_TRUE(bar.UserScrollsTo(d.Position)) << d.Place << " " << d.Control;
        EXPECT_EQ(bar.Position(), d.Position) << d.Place << " " << d.Control;
        return TakeSent();
    }

    // (a): a parameter change whose data bytes are those of the dump layout for its address.
    void CheckAgainstLayout(const TDrive& d, const Bytes& m)
    {
        const std::string what = d.Place + " " + d.Control + " at " + std::to_string(d.Position) + ": " + Hex(m);
        const bool frame =
            m.size() == 10 && m[0] == 0xF0 && m[1] == 0x43 && m[2] == 0x10 && m[3] == 0x5E && m[9] == 0xF7;
        if (!frame) {
            ADD_FAILURE() << what << " is no parameter change";
            return;
        }
        const std::optional<ParameterBytes> layout = ParameterChangeData(form->ParameterData, *form, m[4], m[5], m[6]);
        if (!layout) {
            ADD_FAILURE() << what << ": the dump layout has no parameter at " << Hex(Bytes{m[4], m[5], m[6]});
            return;
        }
        const bool same = m[7] == layout->DH && m[8] == layout->DL;
        if (BareVariationRelease(*form, d)) {
            bareReleaseMoved = true;
            EXPECT_FALSE(same) << what << " now agrees with the dump layout: the release goes bare no more";
            EXPECT_TRUE(m[7] == 0 && m[8] == d.Position)
                << what << " (dump layout " << DataBytes(layout->DH, layout->DL) << ") is not the bare release";
            return;
        }
        EXPECT_TRUE(same) << what << ": DH DL " << DataBytes(m[7], m[8]) << ", the dump layout gives "
                          << DataBytes(layout->DH, layout->DL);
    }

    // Replaces the lines of these places in the record file, keeping the other page's lines;
    // the performance page comes first.
    void WriteRecord(const std::set<std::string>& places, const std::vector<TRecordLine>& lines)
    {
        std::vector<std::string> header;
        std::vector<TRecordLine> all;
        for (const TRecordLine& r : ReadRecord(recordPath, &header))
            if (!places.count(r.Place)) all.push_back(r);
        all.insert(all.end(), lines.begin(), lines.end());
        std::stable_sort(all.begin(), all.end(), [](const TRecordLine& a, const TRecordLine& b) {
            return (a.Place.rfind("voice", 0) == 0) < (b.Place.rfind("voice", 0) == 0);
        });
        std::ofstream out(recordPath);
        for (const std::string& h : header) out << h << "\n";
        for (const TRecordLine& r : all)
            out << r.Place << " " << r.Control << " " << r.Position << " : " << r.Messages << "\n";
        ASSERT_TRUE(out.good()) << recordPath;
    }

    std::map<const TScrollBar*, std::set<int>> defaults;
    std::string recordPath;
    std::map<std::string, TRecordLine> recorded;
    bool bareReleaseMoved = false;
};

// ---- a performance and voices unlike the initial data -------------------------------------------

void LoadPerformance(TParameterData& d)
{
    PfmCommon& c = d.PfmCommon;
    c.Volume = 101, c.Pan = 37, c.ReverbReturn = 77, c.VariationReturn = 55, c.NoteShift = 29;
    for (int p = 0; p < 4; ++p) {
        PfmPart& q = d.PfmParts[size_t(p)];
        const int k = 3 * p;
        q.BankNum = 2, q.PrgNum = 17 + p, q.Volume = 90 + k, q.InsEffectSw = 0, q.DryLevel = 70 - k;
        q.ReverbSend = 33 + k, q.VariationSend = 21 + k, q.Formant = 70 + k, q.Fm = 58 - k, q.VNBalance = 66 + k;
        q.LFO1Speed = 71 - k, q.LFO1Pmod = 60 + k, q.LFO1Delay = 67 - k, q.FilterSw = 1, q.FilterFreq = 80 - k;
        q.FilterReso = 50 + k, q.FilterEGDepth = 75 - k, q.LFO2Speed = 62 + k, q.LFO2FltMod = 69 - k;
        q.EGAtkTime = 72 + k, q.EGDecayTime = 57 + k, q.EGReleaseTime = 61 - k, q.PEGInitLvl = 68 + k;
        q.PEGAtkTime = 59 - k, q.PEGRelLvl = 73 + k, q.PEGRelTime = 54 + k, q.Detune = 70 - k, q.NoteShift = 20 + k;
        q.PBRange = 50 + k, q.PBRangeLo = 46 - k, q.PortaSw = 1, q.PortaMode = 1, q.PortaTime = 40 + k;
        q.MonoPoly = 0, q.MonoPriority = 2, q.ReserveNote = 3, q.VelLimitLow = 10 + k, q.VelLimitHigh = 120 - k;
        q.VelSensDepth = 70 + k, q.VelSensOffset = 60 - k, q.ExpLimitLo = 12 + k, q.Pan = 30 + k;
        q.PanScale = 60 + k, q.PanMod = 11 + k;
    }
    PfmFseq& f = d.PfmFseq;
    f.Speed = 1234, f.SpeedVel = 3, f.LevelVel = 70, f.StartDelay = 12, f.StartOffset = 100, f.LoopStart = 200;
    f.LoopEnd = 300;
    // The step sliders reach as far as the loaded maxima let them.
    f.StartOffsetMax = f.LoopStartMax = f.LoopEndMax = 511;
    for (int k = 0; k < 8; ++k) {
        PfmControlSet& s = d.PfmControlSets[size_t(k)];
        s.Destination = 5 + k, s.Depth = 70 + k, s.SourceSw[size_t(k)] = 1;
        s.PartSw = {1, 0, 1, 0};
    }
    d.SystemBlock.MstrTune = 70, d.SystemBlock.MstrNote = 60;
    PfmEQ& e = d.PfmEffect.PfmEQ;
    e.LowShape = 1;
    e.HighShape = 1; // both Q rows enabled
    e.LowFreq = 10, e.MidFreq = 20, e.HighFreq = 12, e.LowGain = 15, e.MidGain = 9, e.HighGain = 17, e.LowQ = 30;
    e.MidQ = 40, e.HighQ = 50;
}

// The words voiced and unvoiced operators share (their slider rows are shared too), from a seed.
template <class Operator>
void LoadOperatorRows(Operator& o, int j)
{
    o.FseqSw = 1, o.FreqScaling = 30 + j, o.BandWidth = 40 + j, o.OutputLvl = 80 - j, o.EGHold = 10 + j;
    o.EGTime1 = 20 + j, o.EGTime2 = 30 + j, o.EGTime3 = 40 + j, o.EGTime4 = 50 + j, o.EGLv1 = 90 - j;
    o.EGLv2 = 80 - j, o.EGLv3 = 70 - j, o.EGLv4 = 5 + j, o.EGTimeScaling = 2 + j % 3, o.FrqEGInitLvl = 60 + j;
    o.FrqEGAtakLvl = 40 - j, o.FrqEGAtakTime = 30 + j, o.FrqEGDecayTime = 45 + j, o.SnsAmpVel = 10 + j % 3;
    o.SnsFreqVel = 4 + j % 2, o.SnsAmpEGBias = 9 - j % 2, o.SnsFreqBias = 11 - j % 8, o.SnsWidthBias = 3 + j % 7;
    o.AmpMod = 2 + j % 2, o.FreqMod = 6 - j % 5;
}

// Voice v: its algorithm lets operators 1 and 6 take an attenuation, and every packed byte has
// partners other than 0.
void LoadVoice(VoiceRecord& voice, int v)
{
    const int k = 2 * v;
    VoiceCommon& c = voice.VoiceCommon;
    c.Category = 5, c.LFO1Waveform = 2, c.LFO1KeySync = 1, c.LFO1Speed = 33 + k, c.LFO1Delay = 44 - k;
    c.LFO1PModDepth = 21 + k, c.LFO1AModDepth = 18 + k, c.LFO1FreqModDepth = 27 - k, c.LFO1FltModDepth = 36 + k;
    c.LFO2Speed = 90 - k, c.LFO2FltModDepth = 15 + k, c.FilterInputGain = 15, c.FilterType = 2;
    c.FilterCutoffFreq = 88 - k, c.FilterResonance = 40 + k, c.FilterFreqScaling = 80 - k, c.FilterFScaleBP = 60;
    c.FilterResoVelSns = 10, c.FilterEGTime1 = 20 + k, c.FilterEGTime2 = 30 + k, c.FilterEGTime3 = 40 + k;
    c.FilterEGTime4 = 50 + k, c.FilterEGLv1 = 20 + k, c.FilterEGLv2 = 35 + k, c.FilterEGLv3 = 65 - k;
    c.FilterEGLv4 = 80 - k, c.FilterEGTimeScaling = 3, c.FilterEGDepth = 90 - k, c.FilterEGAtkTVelSns = 5;
    c.FilterEGDepthVelSns = 11, c.PitchEGLv0 = 30 + k, c.PitchEGLv1 = 40 + k, c.PitchEGLv2 = 60 - k;
    c.PitchEGLv3 = 70 - k, c.PitchEGLv4 = 55 + k, c.PitchEGTime1 = 25 + k, c.PitchEGTime2 = 35 + k;
    c.PitchEGTime3 = 45 + k, c.PitchEGTime4 = 55 + k, c.PitchEGTimeScaling = 2, c.PitchEGRange = 1;
    c.PitchEGVelocitySens = 4;
    for (int i = 0; i < 5; ++i) {
        c.Frmt[size_t(i)] = VoiceControl{i + 1, 2, 70 + i + k};
        c.Fm[size_t(i)] = VoiceControl{9 + i, 3, 50 - i - k};
    }
    c.Algorithm = v == 0 ? 10 : 9, c.Feedback = 5, c.NoteShift = 30 - k;

    for (size_t op = 0; op < 8; ++op) {
        const int j = int(op);
        VoicedOperator& o = voice.VoicedOperators[op];
        LoadOperatorRows(o, j);
        o.FseqTrk = 2 + j % 5, o.Form = 2, o.FreqMode = 0, o.FreqCoarse = 3 + j, o.FreqCoarseMax = 31;
        o.FreqFine = 20 + j, o.FreqFineMax = 99, o.Transpose = 30, o.Detune = 20, o.Resonance = 3, o.Skirt = 5;
        o.KeySync = 1, o.LSBP = 30, o.LSLeftDepth = 20 + j, o.LSLeftCrv = 1, o.LSRightDepth = 25 + j;
        o.LSRightCrv = 2, o.OPAtt = 3, o.PitchMod = 5;

        UnvoicedOperator& u = voice.UnvoicedOperators[op];
        LoadOperatorRows(u, j + 5);
        u.FreqMode = 0, u.FreqCoarse = 10 + j, u.FreqFine = 30 + j, u.Transpose = 28, u.Resonance = 5, u.Skirt = 3;
        u.LvlScaling = 9;
    }
    // Each voiced operator's rows are enabled by its form and mode, so the two operators take
    // turns: formant-shaped at a fixed frequency, resonant (res1 at a ratio, res2 fixed).
    VoicedOperator& first = voice.VoicedOperators[0];
    VoicedOperator& sixth = voice.VoicedOperators[5];
    VoicedOperator& formant = v == 0 ? first : sixth;
    VoicedOperator& resonant = v == 0 ? sixth : first;
    formant.Form = 7, formant.FreqMode = 1, formant.FreqCoarse = 12, formant.FreqCoarseMax = 21;
    formant.FreqFine = 100, formant.FreqFineMax = 127;
    resonant.Form = v == 0 ? 5 : 6, resonant.FreqMode = v == 0 ? 0 : 1;
    // Unvoiced operator 8 of voice 4 is linked to voiced operator 8's fundamental.
    if (v == 3) voice.UnvoicedOperators[7].FreqMode = 1;
}

int EffectTypeNamed(const TMainForm& form, int block, const std::string& name)
{
    for (int t = 0; t < EffectTypeCount[size_t(block)]; ++t)
        if (form.EffectTypeTable[size_t(t)][size_t(block)].Name == name) return t;
    ADD_FAILURE() << "no effect type " << name;
    return 0;
}

} // namespace

TEST_F(SliderMessagesTest, EveryPerformanceSliderSendsTheBytesOfTheDumpLayoutAndOfTheRecord)
{
    LoadPerformance(form->ParameterData);
    form->RefreshPerformancePages();
    TTabSheet* sheet = form->Pfm_TabSheet;
    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(0) && sheet->Showing());
    auto* subPages = Find<TPageControl>(sheet, "Pfm_PageControl");
    auto* partTab = Find<TTabControl>(sheet, "Pfm_PartTab");
    auto* effectTab = Find<TTabControl>(sheet, "Pfm_Effect_Tab");
    auto* rows = Find<TWinControl>(sheet, "Pfm_Effect_ParaGrp");
    auto* partLevels = Find<TWinControl>(sheet, "Pfm_Effect_PartParaGrp");
    ASSERT_TRUE(subPages && partTab && effectTab && rows && partLevels);

    auto subPage = [=](int i) { return [=] { EXPECT_TRUE(subPages->UserSelects(i)); }; };
    auto part = [=](int p) {
        return [=] {
            EXPECT_TRUE(subPages->UserSelects(0));
            EXPECT_TRUE(partTab->UserSelects(p) || partTab->TabIndex() == p);
        };
    };
    // The effect tab: the part levels (tab 0) or a block's type and rows (tabs 1..3). A block's
    // first type comes in with the loaded performance; the next one a person picks from the
    // type list, which gives the type's defaults and the kept trailing levels.
    auto* typeList = Find<TComboBox>(sheet, "Pfm_Effect_Type");
    ASSERT_NE(typeList, nullptr);
    enum class Type { Loaded, Picked };
    auto effect = [=, this](int tab, int block, const std::string& type, Type how) {
        return [=, this] {
            if (block >= 0 && how == Type::Loaded) {
                PfmEffectBlock& b = form->ParameterData.PfmEffect.PfmEffectBlocks[size_t(block)];
                b.EffectType = EffectTypeNamed(*form, block, type);
                form->RefreshPerformancePages();
            }
            EXPECT_TRUE(subPages->UserSelects(2));
            EXPECT_TRUE(effectTab->UserSelects(tab) || effectTab->TabIndex() == tab);
            EXPECT_EQ(rows->Showing(), tab > 0);
            EXPECT_EQ(partLevels->Showing(), tab == 0);
            if (block >= 0 && how == Type::Picked) {
                EXPECT_TRUE(typeList->UserSelects(EffectTypeNamed(*form, block, type)));
            }
            if (block >= 0) {
                EXPECT_EQ(typeList->Text(), type);
            }
        };
    };
    // The rows of a block's type: row n is slot n of the type; rows past its parameter count are
    // no rows of the type, and a row's values end at its display kind's largest.
    auto rowOf = [](const TScrollBar* bar) {
        for (int n = 1; n <= 18; ++n)
            if (bar->Name == "Pfm_Effect_Para" + std::to_string(n) + "Bar") return n;
        return 0;
    };
    auto block = [=, this](const std::string& place, int b, const std::string& type, Type how) {
        TStation s{place, effect(b + 1, b, type, how), "Pfm_Effect_ParaGrp", {}, b};
        const auto setup = [=, this]() -> const TEFXSetup& {
            const int t = form->ParameterData.PfmEffect.PfmEffectBlocks[size_t(b)].EffectType;
            return form->EffectTypeTable[size_t(t)][size_t(b)];
        };
        s.Moves = [=](const TScrollBar* bar) { return rowOf(bar) >= 1 && rowOf(bar) <= setup().ParamCount; };
        s.Highest = [=, this](const TScrollBar* bar) {
            const int kind = setup().DisplayKind[size_t(rowOf(bar) - 1)];
            return form->EffectKindMax[size_t(std::clamp(kind, 0, 58))];
        };
        return s;
    };

    const std::vector<TStation> stations = {
        {"performance", [] {}, "Pfm_TabSheet", {"Pfm_PageControl"}},
        {"part1", part(0), "Pfm_PartTab"},
        {"part3", part(2), "Pfm_PartTab"},
        {"fseq", subPage(1), "Pfm_Fseq_Grp"},
        {"controllers", subPage(1), "Pfm_CntlGrp"},
        {"system", subPage(1), "Pfm_SystemGrp"},
        {"effect-parts", effect(0, -1, "", Type::Loaded), "Pfm_Effect_PartParaGrp"},
        {"eq", effect(0, -1, "", Type::Loaded), "Pfm_Effect_EQGrp"},
        block("reverb-hall1", ReverbBlock, "Hall1", Type::Loaded),
        block("reverb-delay-lcr", ReverbBlock, "Delay LCR", Type::Picked),
        block("variation-compressor", VariationBlock, "Compressor", Type::Loaded),
        block("variation-echo", VariationBlock, "Echo", Type::Picked),
        block("insertion-comp-dist", InsertionBlock, "Comp + Dist", Type::Loaded),
        block("insertion-chorus", InsertionBlock, "Chorus", Type::Picked),
    };
    Run(sheet, stations);
    // The variation release row was moved, so its difference stays in sight; the insertion release
    // row (moved at "insertion-comp-dist") agrees with the dump layout.
    EXPECT_TRUE(bareReleaseMoved);
}

TEST_F(SliderMessagesTest, EveryVoiceSliderSendsTheBytesOfTheDumpLayoutAndOfTheRecord)
{
    LoadVoice(form->ParameterData.VoiceRecords[0], 0);
    LoadVoice(form->ParameterData.VoiceRecords[3], 3);
    TTabSheet* sheet = form->Vc_TabSheet;
    ASSERT_TRUE(form->FS1R_PageControl->UserSelects(1) && sheet->Showing());
    auto* voiceTab = Find<TTabControl>(sheet, "Vc_VoiceTab");
    auto* operatorTab = Find<TTabControl>(sheet, "Vc_OperatorTab");
    auto* common = Find<TPageControl>(sheet, "Vc_CommonPageControl");
    ASSERT_TRUE(voiceTab && operatorTab && common);
    form->RefreshVoicePages(0);

    auto voice = [=](int v) { EXPECT_TRUE(voiceTab->UserSelects(v) || voiceTab->TabIndex() == v); };
    std::vector<TStation> stations;
    for (int v : {0, 3}) {
        const std::string place = "voice" + std::to_string(v + 1);
        for (int i = 0; i < common->PageCount(); ++i)
            stations.push_back({place,
                                [=] {
                                    voice(v);
                                    EXPECT_TRUE(common->UserSelects(i) || common->ActivePageIndex() == i);
                                },
                                common->Pages(i)->Name});
        stations.push_back({place, [=] { voice(v); }, "Vc_GeneralGrp"});
        for (int t : {0, 5, 9, 15}) {
            const std::string op = (t < 8 ? "VOp" : "UOp") + std::to_string(t % 8 + 1);
            stations.push_back({place + "-" + op,
                                [=] {
                                    voice(v);
                                    EXPECT_TRUE(operatorTab->UserSelects(t) || operatorTab->TabIndex() == t);
                                },
                                "Vc_OperatorTab"});
        }
    }
    // A form a person picks for operator 6 of voice 4: an odd wave at a ratio.
    auto* form6 = Find<TComboBox>(sheet, "Vc_VOpForm");
    ASSERT_NE(form6, nullptr);
    stations.push_back({"voice4-VOp6-odd1",
                        [=] {
                            voice(3);
                            EXPECT_TRUE(operatorTab->UserSelects(5) || operatorTab->TabIndex() == 5);
                            EXPECT_TRUE(form6->UserSelects(3));
                        },
                        "Vc_OperatorTab"});
    Run(sheet, stations);
}

// ---- the lists, radios, buttons, boxes and menu commands ----------------------------------------
//
// One script a person plays over the loaded performance and voices: every list and radio group
// that sends, the header, the part and operator mutes, the filter switches with the note budget,
// the controller sets' masks, the effect types, the sends after a transfer, paste and undo. Each
// step is a control's (or menu item's) name and a value: a list's or radio group's item, a
// slider's position, an up-down's button (1 up), a box's text. control_messages.txt holds what
// reached the instrument step by step; QM_RECORD_CONTROL_MESSAGES writes it again.
namespace {

struct TStep {
    const char* Control;
    int Value = 0;
    const char* Text = "";
};

// clang-format off
const TStep ControlScript[] = {
    {"FS1R_PageControl", 0}, {"Pfm_Name", 0, "Quill-7"}, {"Pfm_Category", 7}, {"Pfm_Ch", 17}, {"Pfm_Ch", 16},
    {"Pfm_Ch", 5}, {"Pfm_Pan", 20}, {"Pfm_PartMuteBtn2"}, {"Pfm_PartMuteBtn4"}, {"Pfm_PartMuteBtn2"},
    // part sheet: parts 3, 1, 4
    {"Pfm_PageControl", 0}, {"Pfm_PartTab", 2}, {"Pfm_Part_BankNum", 4}, {"Pfm_Part_PrgNum", 37},
    {"Pfm_Part_RcvCh", 9}, {"Pfm_Part_RcvCh", 17}, {"Pfm_Part_FilterSw", 0}, {"Pfm_Part_PortaSw", 0},
    {"Pfm_Part_PortaSw", 1}, {"Pfm_Part_PortaMode", 0}, {"Pfm_Part_MonoPoly", 1}, {"Pfm_Part_MonoPoly", 0},
    {"Pfm_Part_MonoPriority", 1}, {"Pfm_Part_SustainRcvSw", 0}, {"Pfm_Part_NoteLimitLow", 30},
    {"Pfm_Part_NoteLimitHigh", 100}, {"Pfm_Part_Pan", 20}, {"Pfm_Part_InsEffectSw", 1}, {"Pfm_PartTab", 0},
    {"Pfm_Part_RcvCh", 3}, {"Pfm_Part_RcvChMax", 6}, {"Pfm_Part_FilterSw", 0}, {"Pfm_Part_ReserveNoteBar", 12},
    {"Pfm_PartTab", 2}, {"Pfm_Part_FilterSw", 1}, {"Pfm_PartTab", 3}, {"Pfm_Part_BankNum", 0},
    {"Pfm_Part_PortaMode", 0}, {"Pfm_Part_NoteLimitHigh", 90},
    // formant sequence, controller sets, system
    {"Pfm_PageControl", 1}, {"Pfm_Fseq_Part", 2}, {"Pfm_Fseq_FseqBank", 0}, {"Pfm_Fseq_FseqInt", 3},
    {"Pfm_Fseq_FseqBank", 1}, {"Pfm_Fseq_FseqPre", 42}, {"Pfm_Fseq_Mode", 0}, {"Pfm_Fseq_Mode", 1},
    {"Pfm_Fseq_KeyOnTrig", 1}, {"Pfm_Fseq_SpeedSelect", 0}, {"Pfm_Fseq_Speedmidi", 3}, {"Pfm_Fseq_SpeedSelect", 1},
    {"Pfm_Fseq_Pitch", 1}, {"Pfm_Fseq_LoopMode", 1}, {"Pfm_Ctrl_Chk1_KN1"}, {"Pfm_Ctrl_Chk3_PB"},
    {"Pfm_Ctrl_Chk8_MC3"}, {"Pfm_Ctrl_Chk8_CAT"}, {"Pfm_Ctrl_Dest2", 20}, {"Pfm_Ctrl_Chk2_P2"},
    {"Pfm_Ctrl_Dest5", 30}, {"Pfm_Ctrl_Chk5_P4"}, {"Pfm_Ctrl_Dest7", 0}, {"Pfm_Cntl_AssignKN1", 40},
    {"Pfm_Cntl_AssignMC2", 29}, {"Pfm_Cntl_AssignFM", 31}, {"Pfm_SystemVelCrv", 2}, {"Pfm_SystemRcvPgmChange", 0},
    {"Pfm_SystemKNCtrlMode", 1}, {"Pfm_SystemTrnKNCtrl", 0}, {"Pfm_SystemRcvPgmMode", 1},
    {"Pfm_SystemDumpInterval", 1}, {"Pfm_Cntl_AssignDefaultBtn"},
    // effects and EQ
    {"Pfm_PageControl", 2}, {"Pfm_Effect_Tab", 0}, {"Pfm_Effect_P1InsSw", 1}, {"Pfm_Effect_P3InsSw", 0},
    {"Pfm_Effect_IndividualOutput", 2}, {"Pfm_Effect_EQ_LowShape", 0}, {"Pfm_Effect_EQ_HighShape", 0},
    {"Pfm_Effect_Tab", 1}, {"Pfm_Effect_Type", 5}, {"Pfm_Effect_Tab", 2}, {"Pfm_Effect_Type", 10},
    {"Pfm_Effect_Tab", 3}, {"Pfm_Effect_Type", 24},
    // a transfer with part 4 muted, a part pasted and taken back
    {"Pfm_Data_Send_Btn"}, {"Pfm_PageControl", 0}, {"Pfm_PartTab", 1}, {"CopyC1"},
    {"Pfm_PartTab", 3}, {"Paste"}, {"Undo"},
    // voice 1: common lists and radios, algorithm, filter switch
    {"FS1R_PageControl", 1}, {"Vc_VoiceTab", 0}, {"Vc_Name", 0, "Reed-9"}, {"Vc_Category", 9},
    {"Vc_CommonPageControl", 0}, {"Vc_LFO1Waveform", 3}, {"Vc_LFO1KeySync", 0}, {"Vc_LFO2Waveform", 4},
    {"Vc_LFO2KeySync", 0}, {"Vc_LFO2Phase", 2}, {"Vc_CommonPageControl", 1}, {"Vc_FilterType", 1},
    {"Vc_FilterFScaleBP", 40}, {"Vc_FilterPartSw", 1}, {"Vc_FilterPartSw", 0}, {"Vc_CommonPageControl", 3},
    {"Vc_PitchEGRange", 2}, {"Vc_CommonPageControl", 4}, {"Vc_Frmt2Operator", 12}, {"Vc_Frmt2Parameter", 1},
    {"Vc_CommonPageControl", 5}, {"Vc_Fm4Operator", 3}, {"Vc_Fm4Parameter", 0}, {"Vc_AlgorithmEdit", 0, "33"},
    {"Vc_AlgorithmUpDown", 1},
    // voice 1 operators: voiced 6 (res1 at a ratio), 1 and 8; unvoiced 3, 6 (linked to the formant) and 8
    {"Vc_OperatorTab", 5}, {"Vc_VOpKeySync", 0}, {"Vc_VOpLSBP", 50}, {"Vc_VOpLSLeftCrv", 3}, {"Vc_VOpLSRightCrv", 0},
    {"Vc_VOpSkirtBar", 6}, {"Vc_VOpFreqMode", 1}, {"Vc_VOpFreqCoarseBar", 9}, {"Vc_VOpForm", 7},
    {"Vc_VOpFseqSw", 0}, {"Vc_OperatorTab", 0}, {"Vc_VOpForm", 5}, {"Vc_VOpResonanceBar", 37},
    {"Vc_VOpFreqMode", 1}, {"Vc_VOpKeySync", 0}, {"Vc_OperatorTab", 7}, {"Vc_VOpFseqSw", 0},
    {"Vc_OperatorTab", 10}, {"Vc_UOpFseqSw", 0}, {"Vc_UOpFreqCoarseBar", 17}, {"Vc_UOpFreqMode", 1},
    {"Vc_UOpFreqMode", 0}, {"Vc_UOpSkirtBar", 6}, {"Vc_OperatorTab", 13}, {"Vc_UOpFreqMode", 2},
    {"Vc_UOpFreqMode", 0}, {"Vc_OperatorTab", 15}, {"Vc_UOpFseqSw", 0},
    // operator mutes of voices 1 and 4, their sends after a transfer, a voice pasted into part 4 (whose
    // bank is off) and taken back, an operator pasted
    {"Vc_OpMute_VOp2"}, {"Vc_OpMute_VOp8"}, {"Vc_OpMute_UOp5"}, {"Vc_OperatorTab", 1}, {"Vc_OpMute_VOp2"},
    {"Vc_OpMute_VOp2"}, {"DataSendVc1"}, {"Vc_VoiceTab", 3}, {"Vc_OpMute_UOp1"},
    {"V_OPAllMuteButton"}, {"V_OPAllMuteButton"}, {"Vc_OperatorTab", 0}, {"Vc_VOpKeySync", 0},
    {"Vc_VOpLSRightCrv", 1}, {"Vc_SendDataBtn"}, {"Vc_VoiceTab", 0}, {"CopyC1"},
    {"Vc_VoiceTab", 3}, {"Paste"}, {"Undo"}, {"Vc_OperatorTab", 9}, {"OPCopy"}, {"Vc_OperatorTab", 4},
    {"OPPaste"},
};
// clang-format on

// A person's act on a control of the window, or a menu command; false when it could not be done.
bool Play(TMainForm& form, const TStep& s)
{
    const std::string name = s.Control;
    TControl* c = Named(&form, name);
    if (auto* tabs = dynamic_cast<TPageControl*>(c)) return tabs->UserSelects(s.Value);
    if (auto* tabs = dynamic_cast<TTabControl*>(c)) return tabs->UserSelects(s.Value);
    if (auto* list = dynamic_cast<TComboBox*>(c)) return list->UserSelects(s.Value);
    if (auto* radio = dynamic_cast<TRadioGroup*>(c)) return radio->UserClicks(s.Value);
    if (auto* box = dynamic_cast<TEdit*>(c)) return box->UserSetsText(s.Text);
    if (auto* bar = dynamic_cast<TScrollBar*>(c)) return bar->UserScrollsTo(s.Value);
    if (auto* updown = dynamic_cast<TUpDown*>(c)) return updown->UserClicks(s.Value ? btNext : btPrev);
    if (c) return c->UserClicks();
    TMenuItem* item = FindMenuItem(form.MainMenu1->Items(), name);
    if (!item || !item->Enabled()) return false;
    item->Click();
    return true;
}

} // namespace

TEST_F(SliderMessagesTest, EveryListRadioMuteAndCommandSendsTheRecordedBytes)
{
    LoadPerformance(form->ParameterData);
    LoadVoice(form->ParameterData.VoiceRecords[0], 0);
    LoadVoice(form->ParameterData.VoiceRecords[3], 3);
    form->ParameterData.SystemBlock.MemoryMode = 1; // the internal sequences are there
    form->RefreshPerformancePages();
    form->RefreshVoicePages(0);
    TakeSent();

    std::vector<std::string> lines;
    for (const TStep& s : ControlScript) {
        const std::string step = std::string(s.Control) + " " + (*s.Text ? s.Text : std::to_string(s.Value));
        EXPECT_TRUE(Play(*form, s)) << step;
        lines.push_back(step + " : " + Hex(TakeSent()));
    }

    const char* record = std::getenv("QM_RECORD_CONTROL_MESSAGES");
    if (record) {
        std::ofstream out(record);
        out << "# The parameter changes and dumps of the script in tests/pages/SliderMessagesTest.cpp, step by\n"
               "# step: control, value : message(s). Written with QM_RECORD_CONTROL_MESSAGES set; see there.\n";
        for (const std::string& line : lines) out << line << "\n";
        ASSERT_TRUE(out.good()) << record;
        return;
    }
    std::vector<std::string> recorded;
    std::ifstream in(QM_CONTROL_MESSAGES);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') recorded.push_back(line);
    ASSERT_EQ(recorded.size(), lines.size()) << "the script and the record differ in length";
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], recorded[i]) << "step " << i;
}

// ---- every control that takes a person's input has its handler -----------------------------------
//
// The event a person's change runs (a slider's, box's, list's or tab control's OnChange, a radio
// group's, check box's or button's OnClick, an up-down's OnChanging or OnClick) is bound.
namespace {

// Whether a control takes a person's input, and if so whether the event that input runs is bound.
std::optional<bool> InputHandled(const TControl* c)
{
    if (auto* e = dynamic_cast<const TEdit*>(c)) {
        if (e->ReadOnly()) return std::nullopt;
        // A box whose text a command reads (the EG shape name) works through its keys.
        return bool(e->OnChange) || bool(e->OnKeyDown);
    }
    if (auto* b = dynamic_cast<const TScrollBar*>(c)) return bool(b->OnChange);
    if (auto* b = dynamic_cast<const TComboBox*>(c)) return bool(b->OnChange);
    if (auto* t = dynamic_cast<const TTabControl*>(c)) return bool(t->OnChange);
    if (auto* u = dynamic_cast<const TUpDown*>(c)) return bool(u->OnChanging) || bool(u->OnClick);
    if (dynamic_cast<const TRadioGroup*>(c) || dynamic_cast<const TCheckBox*>(c) ||
        dynamic_cast<const TSpeedButton*>(c) || dynamic_cast<const TButton*>(c))
        return bool(c->OnClick);
    return std::nullopt;
}

} // namespace

TEST_F(SliderMessagesTest, EveryControlThatTakesInputHasItsHandler)
{
    std::set<std::string> seen;
    for (TTabSheet* sheet : {form->Pfm_TabSheet, form->Vc_TabSheet}) {
        Walk(sheet, [&](TControl* c) {
            const std::optional<bool> handled = InputHandled(c);
            if (!handled) return;
            seen.insert(c->Name);
            EXPECT_TRUE(*handled) << c->Name << " takes a person's input but has no handler";
        });
    }
    // Both pages were walked.
    EXPECT_TRUE(seen.count("Vc_AlgorithmEdit"));
    EXPECT_TRUE(seen.count("Pfm_PartTab"));
}
