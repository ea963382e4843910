// The performance page on a plain window over a recording edit buffer: every message the page
// sends lands in data.Sent, and the window services are recorded (voice fetches, the operator
// menu items, note-limit runs).
#pragma once

#include "performance/PerformancePage.h"
#include "tests/support/RecordingMainData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using Message = std::vector<uint8_t>;

// F0 43 1n 5E AH AM AL DH DL F7.
Message ParameterChange(uint8_t ah, uint8_t am, uint8_t al, uint8_t dh, uint8_t dl, uint8_t device = 0);

class PerformancePageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The messages sent since the last call, and forgets them.
    std::vector<Message> Sent();
    // Shows part p (a person's click on its tab).
    void ShowPart(int p);
    TEdit* Edit(PfmPair id) { return page->Pair(id).Edit; }
    TScrollBar* Bar(PfmPair id) { return page->Pair(id).Bar; }
    PfmPart& Part(int p) { return data.ParameterData.PfmParts[static_cast<std::size_t>(p)]; }
    // Redisplays everything and forgets what was sent and the changed mark.
    void Refresh();

    RecordingMainData data;
    std::unique_ptr<TForm> form;
    TPageControl* pages = nullptr;
    TTabSheet* sheet = nullptr;
    std::unique_ptr<TPerformancePage> page;
    std::vector<int> fetches;
    std::vector<bool> operatorItems;
    int limitRuns = 0;
};
