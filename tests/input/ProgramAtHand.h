// The real program (RunQuillmarven, its main window, keyboard window, dialogs and boxes) in real
// Qt windows, under a test's hand: over the in-process MIDI system with the simulated instrument
// on "FS1R", in a folder of its own (HOME, the settings folder, the current folder and every
// file dialog stay in it). The test acts once a turn, as a person does, also while a box or
// dialog holds the program in its own loop; the program is started again when it ends, until
// the test is done. Transfers take their steps 10 ms apart: the tests are about input, not the
// instrument's pace (a receive-all would lock the windows for half a minute). What was done last
// is printed when the process dies (a crash, a sanitizer's report) or stops acting for a minute.
#pragma once

#include "tests/platform/TempFolder.h"
#include "tests/support/QtWindows.h"
#include "tests/support/SimulatedInstrument.h"

#include "platform/MidiInProcess.h"

#include <QPointer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class TMainForm;

// The last actions, kept where a dying process can still print them.
class ActionLog {
public:
    ActionLog();
    ~ActionLog();
    // What a person needs to replay the run, printed above the actions (e.g. the seed).
    void SetHeading(const std::string& heading);
    void Note(const std::string& action);
    uint64_t Count() const { return FCount; }
    // The heading and the last actions, oldest first.
    std::string Last() const;

private:
    friend void PrintLastActions();
    static constexpr int Kept = 40;
    static constexpr int Width = 240;
    char FHeading[Width] = {};
    char FLines[Kept][Width] = {};
    std::atomic<uint64_t> FCount{0};
    std::atomic<bool> FStop{false};
    std::thread FWatchdog;
};

class ProgramAtHand {
public:
    // An instrument that does not answer ends every receive at its first block, with the box
    // that tells a person so.
    enum class Instrument { Answers, Silent };
    explicit ProgramAtHand(Instrument instrument = Instrument::Answers);
    ~ProgramAtHand();
    ProgramAtHand(const ProgramAtHand&) = delete;
    ProgramAtHand& operator=(const ProgramAtHand&) = delete;

    // Runs the program, again each time it ends, calling `act` once a turn with the window a
    // person works in (see person::TopWindow) until it returns false; then ends the program.
    // Returns how many times the program started.
    int Run(const std::function<bool(QWidget* top)>& act);

    // The main window of the running program, or null.
    TMainForm* Main() const;
    // A widget, its control and its window, in words.
    std::string Describe(const QWidget* w) const;
    // What a person does at a point of a window, and the widget there, in words.
    std::string Describe(QWidget* window, QPoint at, const std::string& what) const;
    // Ends a window that is still up: an open menu or list, a box, a dialog.
    void GiveUp(const QPointer<QWidget>& window);
    const std::filesystem::path& Folder() const { return FTemp.Path(); }

    QtTestWindows Backend;
    ActionLog Log;

private:
    void Turn(int generation);
    void HurryTransfers();
    // Every file dialog shown stays in the test's folder and changes nothing but by saving a
    // file: no deleting, renaming or new folders.
    void ConfineFileDialogs();

    TempFolder FTemp;
    std::vector<std::pair<std::string, std::string>> FSavedEnvironment;
    std::filesystem::path FSavedFolder;
    platform::InProcessMidi FMidi;
    std::shared_ptr<platform::InProcessMidi::Device> FInstrumentPort = FMidi.AddDevice("FS1R");
    SimulatedInstrument FInstrument;
    std::function<bool(QWidget*)> FAct;
    // The windows the turns under way act on, outermost first.
    std::vector<QWidget*> FActingOn;
    int FGeneration = 0;
    uint64_t FTurns = 0;
    bool FDone = false;
};
