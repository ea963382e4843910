#include "tests/performance/PerformanceFixture.h"

#include "mainform/Pictures.h"

Message ParameterChange(uint8_t ah, uint8_t am, uint8_t al, uint8_t dh, uint8_t dl, uint8_t device)
{
    return {0xF0, 0x43, static_cast<uint8_t>(0x10 + device), 0x5E, ah, am, al, dh, dl, 0xF7};
}

void PerformancePageTest::SetUp()
{
    Application->SetBackend(nullptr);
    Application->Headless().Reset();
    InstallPictureDecoders();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientSize(941, 637);
    pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(0, 0, 941, 637);
    sheet = new TTabSheet(form.get());
    sheet->SetPageControl(pages);

    TPerformanceServices services;
    services.StartVoiceFetch = [this](int p) { fetches.push_back(p); };
    services.ShowOperatorMenuItems = [this](bool visible) { operatorItems.push_back(visible); };
    services.UpdateNoteReserveLimits = [this] { ++limitRuns; };
    page = std::make_unique<TPerformancePage>(form.get(), data, sheet, QM_PROGRAM_DIR, services);
    form->Show();
    Refresh();
}

void PerformancePageTest::TearDown()
{
    form->Hide();
    page.reset();
    form.reset();
}

std::vector<Message> PerformancePageTest::Sent()
{
    std::vector<Message> out;
    out.swap(data.Sent);
    return out;
}

void PerformancePageTest::ShowPart(int p) { ASSERT_TRUE(page->Pfm_PartTab->UserSelects(p)); }

void PerformancePageTest::Refresh()
{
    page->RefreshPerformancePages();
    data.Sent.clear();
    data.DataChanged = 0;
}
