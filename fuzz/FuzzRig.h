// What the fuzz targets share: a headless main window on an in-process MIDI system, scratch
// files, and the checks of the properties every reader must keep.
//
// A target is one file: LLVMFuzzerTestOneInput feeds the input to one reader through the
// program's own code and calls Fail when a property does not hold; libFuzzer then keeps the
// input as a finding, as it does for a crash or a sanitizer report.
#pragma once

#include "mainform/MainForm.h"
#include "platform/MidiInProcess.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

using Bytes = std::vector<uint8_t>;

// Stops the run with the property that failed (in the test build that replays kept inputs,
// throws std::runtime_error instead).
[[noreturn]] void Fail(const std::string& what);

// The main window, headless, on an in-process MIDI system: device "FS1R" is the instrument
// (input and output), device "Keyboard" a master keyboard played through to the output. Made
// once per process; Reset brings it back to its state after start between inputs.
class Rig {
public:
    static Rig& Get();

    TMainForm& Form() { return *form_; }
    platform::InProcessMidi::Device& Instrument() { return *fs1r_; }
    platform::InProcessMidi::Device& Keyboard() { return *keyboard_; }

    // The initial edit buffer, no file, nothing running, no records, no responders, nothing
    // answering on the instrument, the instrument's inbox empty.
    void Reset();
    // Runs a command as the message loop does: an exception reaches the last-resort display.
    void Run(const std::function<void()>& command);
    // Lets virtual time pass until no transfer runs any more.
    void RunTransfers();
    // The window shown on screen, so that a person can reach its controls (it is not the
    // program's main window: showing it starts nothing).
    void ShowWindow();
    // Every file dialog is answered with `path` (and filter entry `filter`); a save dialog
    // with `savePath` when that is not empty.
    void AnswerFileDialogs(const std::string& path, int filter, const std::string& savePath = {});

    // The messages the instrument got since the last call.
    std::vector<Bytes> TakeSent();
    // The edit buffer as bytes.
    Bytes EditBuffer() const;

    // A file of the rig's own scratch folder, holding `size` bytes.
    std::string ScratchFile(const std::string& name, const uint8_t* data, std::size_t size);
    std::filesystem::path ScratchFolder() const { return scratch_; }

    // Fails when an exception reached the last-resort display (a box with the error icon).
    void CheckNoFailureShown(const char* when);
    // Fails when a message box with `text` was not shown.
    void CheckShown(const std::string& text, const char* when);
    // Every page shown again from the edit buffer: the performance pages, the voice pages of
    // each part, both page flips. Then parameters and the whole buffer are sent (parameter
    // changes for addresses chosen from the buffer, a send-all), and all that reaches the instrument
    // must be whole messages with every byte inside below 80 hex.
    void RefreshEveryPageAndSendEverything(const char* when);

private:
    Rig();

    platform::InProcessMidi midi_;
    std::shared_ptr<platform::InProcessMidi::Device> fs1r_;
    std::shared_ptr<platform::InProcessMidi::Device> keyboard_;
    std::unique_ptr<TMainForm> form_;
    TParameterData initial_{};
    std::filesystem::path scratch_;
};

// Fails unless every message is whole and 7-bit inside: a system-exclusive message F0, data
// bytes below 80 hex, F7; a short message a status byte and data bytes below 80 hex.
void CheckSevenBit(const std::vector<Bytes>& sent, const char* when);

// Measuring how far a target gets: with QM_FUZZ_REACHED naming a file, each kind of outcome a
// target notes is added to that file as a line, once per process (sort -u over it counts the
// kinds a corpus or a run reached). Without it, nothing.
void NoteReached(const std::string& kind);

// Fails with `what` and the first word where the edit buffer differs from `expected`.
void CheckEditBuffer(const Bytes& now, const Bytes& expected, const std::string& what);

// Cuts a byte stream into packets as a back end may deliver them: at every point where the
// generator seeded by `seed` says so (seed 0: one packet).
std::vector<Bytes> CutIntoPackets(const uint8_t* data, std::size_t size, uint16_t seed);

} // namespace fuzz
