// The formant-sequence, controller-set and system sheet: its handlers. Its display is the
// window's for now (TPerformanceServices::DisplayPerformanceFseqCtrlSystem), and its pairs take
// the shared road (PerformancePage.cpp).
#include "performance/PerformancePage.h"

void TPerformancePage::BindFseqCtrlSystemPage()
{
    Pfm_SystemRcvBtn->OnClick = ServiceHandler(&TPerformanceServices::ReceiveSystem);
    Pfm_SystemSendBtn->OnClick = ServiceHandler(&TPerformanceServices::TransmitSystem);
}
