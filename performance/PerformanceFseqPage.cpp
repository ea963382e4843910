// The formant-sequence, controller-set and system sheet: its handlers. Its display is the
// window's for now (TPerformanceServices::DisplayPerformanceFseqCtrlSystem), and its pairs take
// the shared road (PerformancePage.cpp).
#include "performance/PerformancePage.h"

#include <algorithm>
#include <string>
#include <vector>

void TPerformancePage::BindFseqCtrlSystemPage()
{
    Pfm_SystemRcvBtn->OnClick = ServiceHandler(&TPerformanceServices::ReceiveSystem);
    Pfm_SystemSendBtn->OnClick = ServiceHandler(&TPerformanceServices::TransmitSystem);
}

void TPerformancePage::FillDestinationLists()
{
    const int32_t stored = FData.ParameterData.PfmEffect.PfmEffectBlocks[InsertionBlock].EffectType;
    const auto type = static_cast<std::size_t>(std::clamp(stored, 0, EffectTypeCount[InsertionBlock] - 1));
    std::vector<std::string> names{"off"};
    names.insert(names.end(), FData.InsertionDestinationText[type].begin(), FData.InsertionDestinationText[type].end());
    names.insert(names.end(), FData.ControlDestinationText.begin(), FData.ControlDestinationText.end());
    for (std::size_t k = 0; k < Pfm_Ctrl_Dest.size(); ++k) {
        Pfm_Ctrl_Dest[k]->Items.Clear();
        Pfm_Ctrl_Dest[k]->Items.AddStrings(names);
        Pfm_Ctrl_Dest[k]->SetItemIndex(FData.ParameterData.PfmControlSets[k].Destination);
    }
}
