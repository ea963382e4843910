// The descriptor tables of the Voice page and the handlers they drive: one storing handler for
// every slider pair, one for every list and radio group that only stores and sends.
#include "voice/VoiceRows.h"

#include <algorithm>
#include <sstream>

namespace {

using K = TVoiceRecordKind;
using Cv = TVoiceConv;
using G = TVoiceGraph;
using Pa = TVoiceParent;

// Every slider pair of the page. PairSpec: name stem, caption, Max, LargeChange, initial position,
// display form, centre, box kind, MaxLength, keys, exit handler, vertical. Then the controls, the
// handler names, the record with its word (and the unvoiced word of a shared operator row), the
// address (AL, unvoiced AL), the data byte, the graph it redraws, where it stands.
const TVoicePairRow PairRows[] = {
    {{"Vc_LFO1Speed", "Speed", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO1SpeedBar, &TVoicePage::Vc_LFO1SpeedEdit, "Vc_LFO1SpeedBarChange Vc_LFO1SpeedEditChange Vc_LFO1SpeedEditKeyDown",
     K::Common, 6, -1, 0x11, 0x00, Cv::Position, G::None, Pa::LFO1, {6, 78, 90, 112, 36, 17}},
    {{"Vc_LFO1Delay", "Delay", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO1DelayBar, &TVoicePage::Vc_LFO1DelayEdit, "Vc_LFO1DelayBarChange Vc_LFO1DelayEditChange Vc_LFO1DelayEditKeyDown",
     K::Common, 7, -1, 0x12, 0x00, Cv::Position, G::None, Pa::LFO1, {6, 99, 90, 112, 36, 17}},
    {{"Vc_LFO1PModDepth", "PMod Depth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO1PModDepthBar, &TVoicePage::Vc_LFO1PModDepthEdit, "Vc_LFO1PModDepthBarChange Vc_LFO1PModDepthEditChange Vc_LFO1PModDepthEditKeyDown",
     K::Common, 8, -1, 0x15, 0x00, Cv::Position, G::None, Pa::LFO1, {6, 120, 90, 112, 36, 17}},
    {{"Vc_LFO1AModDepth", "AMod Depth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO1AModDepthBar, &TVoicePage::Vc_LFO1AModDepthEdit, "Vc_LFO1AModDepthBarChange Vc_LFO1AModDepthEditChange Vc_LFO1AModDepthEditKeyDown",
     K::Common, 9, -1, 0x16, 0x00, Cv::Position, G::None, Pa::LFO1, {6, 141, 90, 112, 36, 17}},
    {{"Vc_LFO1FreqModDepth", "FreqMod Depth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO1FreqModDepthBar, &TVoicePage::Vc_LFO1FreqModDepthEdit, "Vc_LFO1FreqModDepthBarChange Vc_LFO1FreqModDepthEditChange Vc_LFO1FreqModDepthEditKeyDown",
     K::Common, 10, -1, 0x17, 0x00, Cv::Position, G::None, Pa::LFO1, {6, 162, 90, 112, 36, 17}},
    {{"Vc_LFO1FltModDepth", "FltMod Depth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO1FltModDepthBar, &TVoicePage::Vc_LFO1FltModDepthEdit, "Vc_LFO1FltModDepthBarChange Vc_LFO1FltModDepthEditChange Vc_LFO1FltModDepthEditKeyDown",
     K::Common, 11, -1, 0x59, 0x00, Cv::Position, G::None, Pa::LFO1, {6, 183, 90, 112, 36, 17}},
    {{"Vc_LFO2Speed", "Speed", 127, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Capped127, 3, Keys10, false, false},
     &TVoicePage::Vc_LFO2SpeedBar, &TVoicePage::Vc_LFO2SpeedEdit, "Vc_LFO2SpeedBarChange Vc_LFO2SpeedEditChange Vc_LFO2SpeedEditKeyDown",
     K::Common, 14, -1, 0x19, 0x00, Cv::Position, G::None, Pa::LFO2, {6, 78, 90, 112, 36, 17}},
    {{"Vc_LFO2FltModDepth", "FltMod Depth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_LFO2FltModDepthBar, &TVoicePage::Vc_LFO2FltModDepthEdit, "Vc_LFO2FltModDepthBarChange Vc_LFO2FltModDepthEditChange Vc_LFO2FltModDepthEditKeyDown",
     K::Common, 16, -1, 0x5A, 0x00, Cv::Position, G::None, Pa::LFO2, {6, 142, 90, 112, 36, 17}},
    {{"Vc_FilterInputGain", "Input Gain", 24, 10, 12, TValueForm::Signed, 12, TBoxKind::Signed, 3, Keys2, true, false},
     &TVoicePage::Vc_FilterInputGainBar, &TVoicePage::Vc_FilterInputGainEdit, "Vc_FilterInputGainBarChange Vc_FilterInputGainEditChange Vc_FilterInputGainEditExit Vc_FilterInputGainEditKeyDown",
     K::Common, 18, -1, 0x5D, 0x00, Cv::Position, G::None, Pa::Filter, {4, 48, 84, 126, 40, 17}},
    {{"Vc_FilterCutoffFreq", "Cutoff Freq", 127, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Capped127, 3, Keys10, false, false},
     &TVoicePage::Vc_FilterCutoffFreqBar, &TVoicePage::Vc_FilterCutoffFreqEdit, "Vc_FilterCutoffFreqBarChange Vc_FilterCutoffFreqEditChange Vc_FilterCutoffFreqEditKeyDown",
     K::Common, 20, -1, 0x57, 0x00, Cv::Position, G::None, Pa::Filter, {4, 94, 84, 126, 40, 17}},
    {{"Vc_FilterResonance", "Resonance", 116, 10, 16, TValueForm::Signed, 16, TBoxKind::Signed, 4, Keys10, true, false},
     &TVoicePage::Vc_FilterResonanceBar, &TVoicePage::Vc_FilterResonanceEdit, "Vc_FilterResonanceBarChange Vc_FilterResonanceEditChange Vc_FilterResonanceEditExit Vc_FilterResonanceEditKeyDown",
     K::Common, 21, -1, 0x55, 0x00, Cv::Position, G::None, Pa::Filter, {4, 117, 84, 126, 40, 17}},
    {{"Vc_FilterFreqScaling", "Freq Scaling", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_FilterFreqScalingBar, &TVoicePage::Vc_FilterFreqScalingEdit, "Vc_FilterFreqScalingBarChange Vc_FilterFreqScalingEditChange Vc_FilterFreqScalingEditExit Vc_FilterFreqScalingEditKeyDown",
     K::Common, 22, -1, 0x5B, 0x00, Cv::Position, G::None, Pa::Filter, {4, 140, 84, 126, 40, 17}},
    {{"Vc_FilterResoVelSns", "Reso Vel Sns", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys1, true, false},
     &TVoicePage::Vc_FilterResoVelSnsBar, &TVoicePage::Vc_FilterResoVelSnsEdit, "Vc_FilterResoVelSnsBarChange Vc_FilterResoVelSnsEditChange Vc_FilterResoVelSnsEditExit Vc_FilterResoVelSnsEditKeyDown",
     K::Common, 24, -1, 0x56, 0x00, Cv::Position, G::None, Pa::Filter, {4, 186, 84, 126, 40, 17}},
    {{"Vc_FilterEGTime1", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_FilterEGTime1Bar, &TVoicePage::Vc_FilterEGTime1Edit, "Vc_FilterEGTime1BarChange Vc_FilterEGTime1EditChange Vc_FilterEGTime1EditKeyDown",
     K::Common, 25, -1, 0x69, 0x00, Cv::Inverted99, G::FilterEG, Pa::FilterEG, {7, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGLv1", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_FilterEGLv1Bar, &TVoicePage::Vc_FilterEGLv1Edit, "Vc_FilterEGLv1BarChange Vc_FilterEGLv1EditChange Vc_FilterEGLv1EditExit Vc_FilterEGLv1EditKeyDown",
     K::Common, 29, -1, 0x66, 0x00, Cv::Inverted100, G::FilterEG, Pa::FilterEG, {37, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGTime2", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_FilterEGTime2Bar, &TVoicePage::Vc_FilterEGTime2Edit, "Vc_FilterEGTime2BarChange Vc_FilterEGTime2EditChange Vc_FilterEGTime2EditKeyDown",
     K::Common, 26, -1, 0x6A, 0x00, Cv::Inverted99, G::FilterEG, Pa::FilterEG, {71, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGLv2", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_FilterEGLv2Bar, &TVoicePage::Vc_FilterEGLv2Edit, "Vc_FilterEGLv2BarChange Vc_FilterEGLv2EditChange Vc_FilterEGLv2EditExit Vc_FilterEGLv2EditKeyDown",
     K::Common, 30, -1, 0x67, 0x00, Cv::Inverted100, G::FilterEG, Pa::FilterEG, {101, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGTime3", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_FilterEGTime3Bar, &TVoicePage::Vc_FilterEGTime3Edit, "Vc_FilterEGTime3BarChange Vc_FilterEGTime3EditChange Vc_FilterEGTime3EditKeyDown",
     K::Common, 27, -1, 0x6B, 0x00, Cv::Inverted99, G::FilterEG, Pa::FilterEG, {135, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGLv3", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_FilterEGLv3Bar, &TVoicePage::Vc_FilterEGLv3Edit, "Vc_FilterEGLv3BarChange Vc_FilterEGLv3EditChange Vc_FilterEGLv3EditExit Vc_FilterEGLv3EditKeyDown",
     K::Common, 31, -1, 0x68, 0x00, Cv::Inverted100, G::FilterEG, Pa::FilterEG, {165, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGTime4", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_FilterEGTime4Bar, &TVoicePage::Vc_FilterEGTime4Edit, "Vc_FilterEGTime4BarChange Vc_FilterEGTime4EditChange Vc_FilterEGTime4EditKeyDown",
     K::Common, 28, -1, 0x6C, 0x00, Cv::Inverted99, G::FilterEG, Pa::FilterEG, {199, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGLv4", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_FilterEGLv4Bar, &TVoicePage::Vc_FilterEGLv4Edit, "Vc_FilterEGLv4BarChange Vc_FilterEGLv4EditChange Vc_FilterEGLv4EditExit Vc_FilterEGLv4EditKeyDown",
     K::Common, 32, -1, 0x65, 0x00, Cv::Inverted100, G::FilterEG, Pa::FilterEG, {229, 254, 0, 17, 28, 93}},
    {{"Vc_FilterEGTimeScaling", "EG Time Scaling", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_FilterEGTimeScalingBar, &TVoicePage::Vc_FilterEGTimeScalingEdit, "Vc_FilterEGTimeScalingBarChange Vc_FilterEGTimeScalingEditChange Vc_FilterEGTimeScalingEditKeyDown",
     K::Common, 33, -1, 0x6E, 0x00, Cv::FilterEGScale, G::None, Pa::FilterEG, {4, 376, 104, 106, 36, 17}},
    {{"Vc_FilterEGDepth", "EG Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_FilterEGDepthBar, &TVoicePage::Vc_FilterEGDepthEdit, "Vc_FilterEGDepthBarChange Vc_FilterEGDepthEditChange Vc_FilterEGDepthEditExit Vc_FilterEGDepthEditKeyDown",
     K::Common, 34, -1, 0x64, 0x00, Cv::Position, G::FilterEG, Pa::FilterEG, {4, 397, 104, 106, 36, 17}},
    {{"Vc_FilterEGAtkTVelSns", "EG AtkTimeVelSns", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_FilterEGAtkTVelSnsBar, &TVoicePage::Vc_FilterEGAtkTVelSnsEdit, "Vc_FilterEGAtkTVelSnsBarChange Vc_FilterEGAtkTVelSnsEditChange Vc_FilterEGAtkTVelSnsEditKeyDown",
     K::Common, 35, -1, 0x6E, 0x00, Cv::FilterEGScale, G::None, Pa::FilterEG, {4, 418, 104, 106, 36, 17}},
    {{"Vc_FilterEGDepthVelSns", "EG DepthVelSns", 14, 1, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys1, true, false},
     &TVoicePage::Vc_FilterEGDepthVelSnsBar, &TVoicePage::Vc_FilterEGDepthVelSnsEdit, "Vc_FilterEGDepthVelSnsBarChange Vc_FilterEGDepthVelSnsEditChange Vc_FilterEGDepthVelSnsEditExit Vc_FilterEGDepthVelSnsEditKeyDown",
     K::Common, 36, -1, 0x58, 0x00, Cv::Position, G::None, Pa::FilterEG, {4, 439, 104, 106, 36, 17}},
    {{"Vc_PitchEGLv0", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_PitchEGLv0Bar, &TVoicePage::Vc_PitchEGLv0Edit, "Vc_PitchEGLv0BarChange Vc_PitchEGLv0EditChange Vc_PitchEGLv0EditExit Vc_PitchEGLv0EditKeyDown",
     K::Common, 37, -1, 0x1F, 0x00, Cv::Inverted100, G::PitchEG, Pa::PitchEG, {1, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGTime1", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 3, KeysReversed, false, true},
     &TVoicePage::Vc_PitchEGTime1Bar, &TVoicePage::Vc_PitchEGTime1Edit, "Vc_PitchEGTime1BarChange Vc_PitchEGTime1EditChange Vc_PitchEGTime1EditKeyDown",
     K::Common, 42, -1, 0x23, 0x00, Cv::Inverted99, G::PitchEG, Pa::PitchEG, {31, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGLv1", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_PitchEGLv1Bar, &TVoicePage::Vc_PitchEGLv1Edit, "Vc_PitchEGLv1BarChange Vc_PitchEGLv1EditChange Vc_PitchEGLv1EditExit Vc_PitchEGLv1EditKeyDown",
     K::Common, 38, -1, 0x20, 0x00, Cv::Inverted100, G::PitchEG, Pa::PitchEG, {61, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGTime2", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 3, KeysReversed, false, true},
     &TVoicePage::Vc_PitchEGTime2Bar, &TVoicePage::Vc_PitchEGTime2Edit, "Vc_PitchEGTime2BarChange Vc_PitchEGTime2EditChange Vc_PitchEGTime2EditKeyDown",
     K::Common, 43, -1, 0x24, 0x00, Cv::Inverted99, G::PitchEG, Pa::PitchEG, {91, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGLv2", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_PitchEGLv2Bar, &TVoicePage::Vc_PitchEGLv2Edit, "Vc_PitchEGLv2BarChange Vc_PitchEGLv2EditChange Vc_PitchEGLv2EditExit Vc_PitchEGLv2EditKeyDown",
     K::Common, 39, -1, 0x21, 0x00, Cv::Inverted100, G::PitchEG, Pa::PitchEG, {122, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGTime3", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 3, KeysReversed, false, true},
     &TVoicePage::Vc_PitchEGTime3Bar, &TVoicePage::Vc_PitchEGTime3Edit, "Vc_PitchEGTime3BarChange Vc_PitchEGTime3EditChange Vc_PitchEGTime3EditKeyDown",
     K::Common, 44, -1, 0x25, 0x00, Cv::Inverted99, G::PitchEG, Pa::PitchEG, {152, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGLv3", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_PitchEGLv3Bar, &TVoicePage::Vc_PitchEGLv3Edit, "Vc_PitchEGLv3BarChange Vc_PitchEGLv3EditChange Vc_PitchEGLv3EditExit Vc_PitchEGLv3EditKeyDown",
     K::Common, 40, -1, 0x3E, 0x00, Cv::Inverted100, G::PitchEG, Pa::PitchEG, {182, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGTime4", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 3, KeysReversed, false, true},
     &TVoicePage::Vc_PitchEGTime4Bar, &TVoicePage::Vc_PitchEGTime4Edit, "Vc_PitchEGTime4BarChange Vc_PitchEGTime4EditChange Vc_PitchEGTime4EditKeyDown",
     K::Common, 45, -1, 0x26, 0x00, Cv::Inverted99, G::PitchEG, Pa::PitchEG, {212, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGLv4", "", 100, 10, 50, TValueForm::InvertedSigned, 50, TBoxKind::Signed, 3, KeysReversed, true, true},
     &TVoicePage::Vc_PitchEGLv4Bar, &TVoicePage::Vc_PitchEGLv4Edit, "Vc_PitchEGLv4BarChange Vc_PitchEGLv4EditChange Vc_PitchEGLv4EditExit Vc_PitchEGLv4EditKeyDown",
     K::Common, 41, -1, 0x22, 0x00, Cv::Inverted100, G::PitchEG, Pa::PitchEG, {242, 126, 0, 17, 26, 93}},
    {{"Vc_PitchEGTimeScaling", "EG Time Scaling", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_PitchEGTimeScalingBar, &TVoicePage::Vc_PitchEGTimeScalingEdit, "Vc_PitchEGTimeScalingBarChange Vc_PitchEGTimeScalingEditChange Vc_PitchEGTimeScalingEditKeyDown",
     K::Common, 46, -1, 0x3C, 0x00, Cv::Position, G::None, Pa::PitchEG, {4, 250, 104, 106, 36, 17}},
    {{"Vc_PitchEGVelocitySens", "Velocity Sens", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_PitchEGVelocitySensBar, &TVoicePage::Vc_PitchEGVelocitySensEdit, "Vc_PitchEGVelocitySensBarChange Vc_PitchEGVelocitySensEditChange Vc_PitchEGVelocitySensEditKeyDown",
     K::Common, 48, -1, 0x27, 0x00, Cv::Position, G::None, Pa::PitchEG, {4, 317, 104, 106, 36, 17}},
    {{"Vc_Frmt1CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Frmt1CtlDepthBar, &TVoicePage::Vc_Frmt1CtlDepthEdit, "Vc_Frmt1CtlDepthBarChange Vc_Frmt1CtlDepthEditChange Vc_Frmt1CtlDepthEditExit Vc_Frmt1CtlDepthEditKeyDown",
     K::Common, 51, -1, 0x45, 0x00, Cv::Position, G::None, Pa::Frmt1, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Frmt2CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Frmt2CtlDepthBar, &TVoicePage::Vc_Frmt2CtlDepthEdit, "Vc_Frmt2CtlDepthBarChange Vc_Frmt2CtlDepthEditChange Vc_Frmt2CtlDepthEditExit Vc_Frmt2CtlDepthEditKeyDown",
     K::Common, 54, -1, 0x46, 0x00, Cv::Position, G::None, Pa::Frmt2, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Frmt3CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Frmt3CtlDepthBar, &TVoicePage::Vc_Frmt3CtlDepthEdit, "Vc_Frmt3CtlDepthBarChange Vc_Frmt3CtlDepthEditChange Vc_Frmt3CtlDepthEditExit Vc_Frmt3CtlDepthEditKeyDown",
     K::Common, 57, -1, 0x47, 0x00, Cv::Position, G::None, Pa::Frmt3, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Frmt4CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Frmt4CtlDepthBar, &TVoicePage::Vc_Frmt4CtlDepthEdit, "Vc_Frmt4CtlDepthBarChange Vc_Frmt4CtlDepthEditChange Vc_Frmt4CtlDepthEditExit Vc_Frmt4CtlDepthEditKeyDown",
     K::Common, 60, -1, 0x48, 0x00, Cv::Position, G::None, Pa::Frmt4, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Frmt5CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Frmt5CtlDepthBar, &TVoicePage::Vc_Frmt5CtlDepthEdit, "Vc_Frmt5CtlDepthBarChange Vc_Frmt5CtlDepthEditChange Vc_Frmt5CtlDepthEditExit Vc_Frmt5CtlDepthEditKeyDown",
     K::Common, 63, -1, 0x49, 0x00, Cv::Position, G::None, Pa::Frmt5, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Fm1CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Fm1CtlDepthBar, &TVoicePage::Vc_Fm1CtlDepthEdit, "Vc_Fm1CtlDepthBarChange Vc_Fm1CtlDepthEditChange Vc_Fm1CtlDepthEditExit Vc_Fm1CtlDepthEditKeyDown",
     K::Common, 66, -1, 0x4F, 0x00, Cv::Position, G::None, Pa::Fm1, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Fm2CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Fm2CtlDepthBar, &TVoicePage::Vc_Fm2CtlDepthEdit, "Vc_Fm2CtlDepthBarChange Vc_Fm2CtlDepthEditChange Vc_Fm2CtlDepthEditExit Vc_Fm2CtlDepthEditKeyDown",
     K::Common, 69, -1, 0x50, 0x00, Cv::Position, G::None, Pa::Fm2, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Fm3CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Fm3CtlDepthBar, &TVoicePage::Vc_Fm3CtlDepthEdit, "Vc_Fm3CtlDepthBarChange Vc_Fm3CtlDepthEditChange Vc_Fm3CtlDepthEditExit Vc_Fm3CtlDepthEditKeyDown",
     K::Common, 72, -1, 0x51, 0x00, Cv::Position, G::None, Pa::Fm3, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Fm4CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Fm4CtlDepthBar, &TVoicePage::Vc_Fm4CtlDepthEdit, "Vc_Fm4CtlDepthBarChange Vc_Fm4CtlDepthEditChange Vc_Fm4CtlDepthEditExit Vc_Fm4CtlDepthEditKeyDown",
     K::Common, 75, -1, 0x52, 0x00, Cv::Position, G::None, Pa::Fm4, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Fm5CtlDepth", "Control Depth", 127, 10, 64, TValueForm::Signed, 64, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_Fm5CtlDepthBar, &TVoicePage::Vc_Fm5CtlDepthEdit, "Vc_Fm5CtlDepthBarChange Vc_Fm5CtlDepthEditChange Vc_Fm5CtlDepthEditExit Vc_Fm5CtlDepthEditKeyDown",
     K::Common, 78, -1, 0x53, 0x00, Cv::Position, G::None, Pa::Fm5, {6, 58, 84, 108, 36, 17}},
    {{"Vc_Feedback", "Feedback", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_FeedbackBar, &TVoicePage::Vc_FeedbackEdit, "Vc_FeedbackBarChange Vc_FeedbackEditChange Vc_FeedbackEditKeyDown",
     K::Common, 80, -1, 0x3D, 0x00, Cv::Position, G::None, Pa::General, {166, 58, 62, 74, 32, 17}},
    {{"Vc_NoteShift", "Note Shift", 48, 4, 24, TValueForm::Signed, 24, TBoxKind::Signed, 3, Keys4, true, false},
     &TVoicePage::Vc_NoteShiftBar, &TVoicePage::Vc_NoteShiftEdit, "Vc_NoteShiftBarChange Vc_NoteShiftEditChange Vc_NoteShiftEditExit Vc_NoteShiftEditKeyDown",
     K::Common, 81, -1, 0x1E, 0x00, Cv::Position, G::None, Pa::General, {166, 82, 62, 74, 32, 17}},
    {{"Vc_VOpFseqTrk", "FseqTrack", 7, 5, 0, TValueForm::PlusOne, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_VOpFseqTrkBar, &TVoicePage::Vc_VOpFseqTrkEdit, "Vc_VOpFseqTrkBarChange Vc_VOpFseqTrkEditChange Vc_VOpFseqTrkEditKeyDown",
     K::Voiced, 1, -1, 0x05, 0x00, Cv::VoicedByte05, G::None, Pa::VoicedOsc, {6, 51, 80, 101, 48, 17}},
    {{"Vc_VOpFreqScaling", "FreqScaling", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_VOpFreqScalingBar, &TVoicePage::Vc_VOpFreqScalingEdit, "Vc_VOpFreqScalingBarChange Vc_VOpFreqScalingEditChange Vc_VOpFreqScalingEditKeyDown",
     K::Voiced, 8, -1, 0x03, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 131, 80, 101, 48, 17}},
    {{"Vc_VOpTranspose", "Transpose", 48, 4, 24, TValueForm::Signed, 24, TBoxKind::Signed, 3, Keys4, true, false},
     &TVoicePage::Vc_VOpTransposeBar, &TVoicePage::Vc_VOpTransposeEdit, "Vc_VOpTransposeBarChange Vc_VOpTransposeEditChange Vc_VOpTransposeEditExit Vc_VOpTransposeEditKeyDown",
     K::Voiced, 9, -1, 0x00, 0x00, Cv::VoicedByte00, G::None, Pa::VoicedOsc, {6, 151, 80, 101, 48, 17}},
    {{"Vc_VOpDetune", "Detune", 30, 10, 15, TValueForm::Signed, 15, TBoxKind::Signed, 3, Keys3, true, false},
     &TVoicePage::Vc_VOpDetuneBar, &TVoicePage::Vc_VOpDetuneEdit, "Vc_VOpDetuneBarChange Vc_VOpDetuneEditChange Vc_VOpDetuneEditExit Vc_VOpDetuneEditKeyDown",
     K::Voiced, 10, -1, 0x07, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 171, 80, 101, 48, 17}},
    {{"Vc_VOpBandWidth", "Band Width", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_VOpBandWidthBar, &TVoicePage::Vc_VOpBandWidthEdit, "Vc_VOpBandWidthBarChange Vc_VOpBandWidthEditChange Vc_VOpBandWidthEditKeyDown",
     K::Voiced, 11, -1, 0x06, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 191, 80, 101, 48, 17}},
    {{"Vc_VOpResonance", "Resonance", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_VOpResonanceBar, &TVoicePage::Vc_VOpResonanceEdit, "Vc_VOpResonanceBarChange Vc_VOpResonanceEditChange Vc_VOpResonanceEditKeyDown",
     K::Voiced, 12, -1, 0x06, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 211, 80, 101, 48, 17}},
    {{"Vc_VOpSkirt", "Skirt", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_VOpSkirtBar, &TVoicePage::Vc_VOpSkirtEdit, "Vc_VOpSkirtBarChange Vc_VOpSkirtEditChange Vc_VOpSkirtEditKeyDown",
     K::Voiced, 13, -1, 0x05, 0x00, Cv::VoicedByte05, G::None, Pa::VoicedOsc, {6, 231, 80, 101, 48, 17}},
    {{"Vc_VOpOutputLvl", "Output Level", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_VOpOutputLvlBar, &TVoicePage::Vc_VOpOutputLvlEdit, "Vc_VOpOutputLvlBarChange Vc_VOpOutputLvlEditChange Vc_VOpOutputLvlEditKeyDown",
     K::Voiced, 14, -1, 0x16, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 251, 80, 101, 48, 17}},
    {{"Vc_VOpLSLeftDepth", "LSLeftDepth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_VOpLSLeftDepthBar, &TVoicePage::Vc_VOpLSLeftDepthEdit, "Vc_VOpLSLeftDepthBarChange Vc_VOpLSLeftDepthEditChange Vc_VOpLSLeftDepthEditKeyDown",
     K::Voiced, 17, -1, 0x18, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 311, 80, 101, 48, 17}},
    {{"Vc_VOpLSRightDepth", "LSRightDepth", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_VOpLSRightDepthBar, &TVoicePage::Vc_VOpLSRightDepthEdit, "Vc_VOpLSRightDepthBarChange Vc_VOpLSRightDepthEditChange Vc_VOpLSRightDepthEditKeyDown",
     K::Voiced, 19, -1, 0x19, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 331, 80, 101, 48, 17}},
    {{"Vc_VOpOPAtt", "OP Att", 15, 4, 0, TValueForm::Unsigned, 0, TBoxKind::ReadOnly, 5, Keys4, false, false},
     &TVoicePage::Vc_VOpOPAttBar, &TVoicePage::Vc_VOpOPAttEdit, "Vc_VOpOPAttBarChange Vc_VOpOPAttEditKeyDown",
     K::OpAtt, 21, -1, 0x2D, 0x00, Cv::Position, G::None, Pa::VoicedOsc, {6, 410, 80, 101, 48, 17}},
    {{"Vc_UOpFreqScaling", "FreqScaling", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_UOpFreqScalingBar, &TVoicePage::Vc_UOpFreqScalingEdit, "Vc_UOpFreqScalingBarChange Vc_UOpFreqScalingEditChange Vc_UOpFreqScalingEditKeyDown",
     K::Unvoiced, 6, -1, 0x26, 0x00, Cv::Position, G::None, Pa::UnvoicedOsc, {6, 153, 80, 101, 48, 17}},
    {{"Vc_UOpTranspose", "Transpose", 48, 4, 24, TValueForm::Signed, 24, TBoxKind::Signed, 3, Keys4, true, false},
     &TVoicePage::Vc_UOpTransposeBar, &TVoicePage::Vc_UOpTransposeEdit, "Vc_UOpTransposeBarChange Vc_UOpTransposeEditChange Vc_UOpTransposeEditExit Vc_UOpTransposeEditKeyDown",
     K::Unvoiced, 7, -1, 0x23, 0x00, Cv::Position, G::None, Pa::UnvoicedOsc, {6, 174, 80, 101, 48, 17}},
    {{"Vc_UOpBandWidth", "Band Width", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_UOpBandWidthBar, &TVoicePage::Vc_UOpBandWidthEdit, "Vc_UOpBandWidthBarChange Vc_UOpBandWidthEditChange Vc_UOpBandWidthEditKeyDown",
     K::Unvoiced, 8, -1, 0x27, 0x00, Cv::Position, G::None, Pa::UnvoicedOsc, {6, 195, 80, 101, 48, 17}},
    {{"Vc_UOpResonance", "Resonance", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_UOpResonanceBar, &TVoicePage::Vc_UOpResonanceEdit, "Vc_UOpResonanceBarChange Vc_UOpResonanceEditChange Vc_UOpResonanceEditKeyDown",
     K::Unvoiced, 9, -1, 0x29, 0x00, Cv::UnvoicedByte29, G::None, Pa::UnvoicedOsc, {6, 216, 80, 101, 48, 17}},
    {{"Vc_UOpSkirt", "Skirt", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_UOpSkirtBar, &TVoicePage::Vc_UOpSkirtEdit, "Vc_UOpSkirtBarChange Vc_UOpSkirtEditChange Vc_UOpSkirtEditKeyDown",
     K::Unvoiced, 10, -1, 0x29, 0x00, Cv::UnvoicedByte29, G::None, Pa::UnvoicedOsc, {6, 237, 80, 101, 48, 17}},
    {{"Vc_UOpOutputLvl", "Output Level", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_UOpOutputLvlBar, &TVoicePage::Vc_UOpOutputLvlEdit, "Vc_UOpOutputLvlBarChange Vc_UOpOutputLvlEditChange Vc_UOpOutputLvlEditKeyDown",
     K::Unvoiced, 11, -1, 0x2E, 0x00, Cv::Position, G::None, Pa::UnvoicedOsc, {6, 258, 80, 101, 48, 17}},
    {{"Vc_UOpLvlScaling", "Level Scaling", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys2, true, false},
     &TVoicePage::Vc_UOpLvlScalingBar, &TVoicePage::Vc_UOpLvlScalingEdit, "Vc_UOpLvlScalingBarChange Vc_UOpLvlScalingEditChange Vc_UOpLvlScalingEditExit Vc_UOpLvlScalingEditKeyDown",
     K::Unvoiced, 12, -1, 0x2F, 0x00, Cv::Position, G::None, Pa::UnvoicedOsc, {6, 279, 80, 101, 48, 17}},
    {{"Vc_OpEGHold", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGHoldBar, &TVoicePage::Vc_OpEGHoldEdit, "Vc_OpEGHoldBarChange Vc_OpEGHoldEditChange Vc_OpEGHoldEditKeyDown",
     K::Operator, 22, 13, 0x14, 0x38, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {2, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGTime1", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGTime1Bar, &TVoicePage::Vc_OpEGTime1Edit, "Vc_OpEGTime1BarChange Vc_OpEGTime1EditChange Vc_OpEGTime1EditKeyDown",
     K::Operator, 23, 14, 0x10, 0x34, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {29, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGLv1", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGLv1Bar, &TVoicePage::Vc_OpEGLv1Edit, "Vc_OpEGLv1BarChange Vc_OpEGLv1EditChange Vc_OpEGLv1EditKeyDown",
     K::Operator, 27, 18, 0x0C, 0x30, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {54, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGTime2", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGTime2Bar, &TVoicePage::Vc_OpEGTime2Edit, "Vc_OpEGTime2BarChange Vc_OpEGTime2EditChange Vc_OpEGTime2EditKeyDown",
     K::Operator, 24, 15, 0x11, 0x35, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {79, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGLv2", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGLv2Bar, &TVoicePage::Vc_OpEGLv2Edit, "Vc_OpEGLv2BarChange Vc_OpEGLv2EditChange Vc_OpEGLv2EditKeyDown",
     K::Operator, 28, 19, 0x0D, 0x31, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {103, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGTime3", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGTime3Bar, &TVoicePage::Vc_OpEGTime3Edit, "Vc_OpEGTime3BarChange Vc_OpEGTime3EditChange Vc_OpEGTime3EditKeyDown",
     K::Operator, 25, 16, 0x12, 0x36, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {128, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGLv3", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGLv3Bar, &TVoicePage::Vc_OpEGLv3Edit, "Vc_OpEGLv3BarChange Vc_OpEGLv3EditChange Vc_OpEGLv3EditKeyDown",
     K::Operator, 29, 20, 0x0E, 0x32, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {153, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGTime4", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGTime4Bar, &TVoicePage::Vc_OpEGTime4Edit, "Vc_OpEGTime4BarChange Vc_OpEGTime4EditChange Vc_OpEGTime4EditKeyDown",
     K::Operator, 26, 17, 0x13, 0x37, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {177, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGLv4", "", 99, 10, 99, TValueForm::Inverted, 99, TBoxKind::Unsigned, 2, KeysReversed, false, true},
     &TVoicePage::Vc_OpEGLv4Bar, &TVoicePage::Vc_OpEGLv4Edit, "Vc_OpEGLv4BarChange Vc_OpEGLv4EditChange Vc_OpEGLv4EditKeyDown",
     K::Operator, 30, 21, 0x0F, 0x33, Cv::Inverted99, G::OperatorEG, Pa::OperatorEG, {202, 153, 0, 17, 24, 105}},
    {{"Vc_OpEGTimeScaling", "EGTimeScaling", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_OpEGTimeScalingBar, &TVoicePage::Vc_OpEGTimeScalingEdit, "Vc_OpEGTimeScalingBarChange Vc_OpEGTimeScalingEditChange Vc_OpEGTimeScalingEditKeyDown",
     K::Operator, 31, 22, 0x15, 0x39, Cv::Position, G::None, Pa::OperatorEG, {6, 282, 90, 120, 30, 17}},
    {{"Vc_OpFrqEGInitLvl", "Init Level", 100, 10, 50, TValueForm::Signed, 50, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_OpFrqEGInitLvlBar, &TVoicePage::Vc_OpFrqEGInitLvlEdit, "Vc_OpFrqEGInitLvlBarChange Vc_OpFrqEGInitLvlEditChange Vc_OpFrqEGInitLvlEditExit Vc_OpFrqEGInitLvlEditKeyDown",
     K::Operator, 32, 23, 0x08, 0x2A, Cv::Position, G::FrequencyEG, Pa::FrequencyEG, {6, 14, 72, 80, 34, 17}},
    {{"Vc_OpFrqEGAtakLvl", "AttackLevel", 100, 10, 50, TValueForm::Signed, 50, TBoxKind::Signed, 3, Keys10, true, false},
     &TVoicePage::Vc_OpFrqEGAtakLvlBar, &TVoicePage::Vc_OpFrqEGAtakLvlEdit, "Vc_OpFrqEGAtakLvlBarChange Vc_OpFrqEGAtakLvlEditChange Vc_OpFrqEGAtakLvlEditExit Vc_OpFrqEGAtakLvlEditKeyDown",
     K::Operator, 33, 24, 0x09, 0x2B, Cv::Position, G::FrequencyEG, Pa::FrequencyEG, {6, 35, 72, 80, 34, 17}},
    {{"Vc_OpFrqEGAtakTime", "AttackTime", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_OpFrqEGAtakTimeBar, &TVoicePage::Vc_OpFrqEGAtakTimeEdit, "Vc_OpFrqEGAtakTimeBarChange Vc_OpFrqEGAtakTimeEditChange Vc_OpFrqEGAtakTimeEditKeyDown",
     K::Operator, 34, 25, 0x0A, 0x2C, Cv::Position, G::FrequencyEG, Pa::FrequencyEG, {6, 56, 72, 80, 34, 17}},
    {{"Vc_OpFrqEGDecayTime", "DecayTime", 99, 10, 0, TValueForm::Unsigned, 0, TBoxKind::Unsigned, 2, Keys10, false, false},
     &TVoicePage::Vc_OpFrqEGDecayTimeBar, &TVoicePage::Vc_OpFrqEGDecayTimeEdit, "Vc_OpFrqEGDecayTimeBarChange Vc_OpFrqEGDecayTimeEditChange Vc_OpFrqEGDecayTimeEditKeyDown",
     K::Operator, 35, 26, 0x0B, 0x2D, Cv::Position, G::FrequencyEG, Pa::FrequencyEG, {6, 77, 72, 80, 34, 17}},
    {{"Vc_OpSnsAmpVel", "AmpVelocity", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys2, true, false},
     &TVoicePage::Vc_OpSnsAmpVelBar, &TVoicePage::Vc_OpSnsAmpVelEdit, "Vc_OpSnsAmpVelBarChange Vc_OpSnsAmpVelEditChange Vc_OpSnsAmpVelEditExit Vc_OpSnsAmpVelEditKeyDown",
     K::Operator, 36, 27, 0x21, 0x3C, Cv::AmpVelMod, G::None, Pa::Sensitivity, {4, 14, 0, 72, 30, 17, true}},
    {{"Vc_OpSnsFreqVel", "FreqVelocity", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys2, true, false},
     &TVoicePage::Vc_OpSnsFreqVelBar, &TVoicePage::Vc_OpSnsFreqVelEdit, "Vc_OpSnsFreqVelBarChange Vc_OpSnsFreqVelEditChange Vc_OpSnsFreqVelEditExit Vc_OpSnsFreqVelEditKeyDown",
     K::Operator, 37, 28, 0x20, 0x3B, Cv::FreqVelMod, G::None, Pa::Sensitivity, {4, 46, 0, 72, 30, 17, true}},
    {{"Vc_OpSnsAmpEGBias", "AmpEGBias", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys2, true, false},
     &TVoicePage::Vc_OpSnsAmpEGBiasBar, &TVoicePage::Vc_OpSnsAmpEGBiasEdit, "Vc_OpSnsAmpEGBiasBarChange Vc_OpSnsAmpEGBiasEditChange Vc_OpSnsAmpEGBiasEditExit Vc_OpSnsAmpEGBiasEditKeyDown",
     K::Operator, 38, 29, 0x22, 0x3D, Cv::Position, G::None, Pa::Sensitivity, {4, 78, 0, 72, 30, 17, true}},
    {{"Vc_OpSnsFreqBias", "FreqBias", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys2, true, false},
     &TVoicePage::Vc_OpSnsFreqBiasBar, &TVoicePage::Vc_OpSnsFreqBiasEdit, "Vc_OpSnsFreqBiasBarChange Vc_OpSnsFreqBiasEditChange Vc_OpSnsFreqBiasEditExit Vc_OpSnsFreqBiasEditKeyDown",
     K::Operator, 39, 30, 0x1F, 0x3A, Cv::FreqBias, G::None, Pa::Sensitivity, {4, 110, 0, 72, 30, 17, true}},
    {{"Vc_OpSnsWidthBias", "WidthBias", 14, 2, 7, TValueForm::Signed, 7, TBoxKind::SignedRewrite, 2, Keys2, true, false},
     &TVoicePage::Vc_OpSnsWidthBiasBar, &TVoicePage::Vc_OpSnsWidthBiasEdit, "Vc_OpSnsWidthBiasBarChange Vc_OpSnsWidthBiasEditChange Vc_OpSnsWidthBiasEditExit Vc_OpSnsWidthBiasEditKeyDown",
     K::Operator, 40, 31, 0x04, 0x28, Cv::WidthBias, G::None, Pa::Sensitivity, {4, 142, 0, 72, 30, 17, true}},
    {{"Vc_OpAmpMod", "AmpMod", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_OpAmpModBar, &TVoicePage::Vc_OpAmpModEdit, "Vc_OpAmpModBarChange Vc_OpAmpModEditChange Vc_OpAmpModEditKeyDown",
     K::Operator, 41, 32, 0x21, 0x3C, Cv::AmpVelMod, G::None, Pa::Modulation, {4, 14, 0, 72, 30, 17, true}},
    {{"Vc_OpPitchMod", "PitchMod", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_OpPitchModBar, &TVoicePage::Vc_OpPitchModEdit, "Vc_OpPitchModBarChange Vc_OpPitchModEditChange Vc_OpPitchModEditKeyDown",
     K::Voiced, 42, -1, 0x1F, 0x00, Cv::PitchMod, G::None, Pa::Modulation, {4, 46, 0, 72, 30, 17, true}},
    {{"Vc_OpFreqMod", "FreqMod", 7, 1, 0, TValueForm::Unsigned, 0, TBoxKind::CappedRewrite, 1, Keys1, false, false},
     &TVoicePage::Vc_OpFreqModBar, &TVoicePage::Vc_OpFreqModEdit, "Vc_OpFreqModBarChange Vc_OpFreqModEditChange Vc_OpFreqModEditKeyDown",
     K::Operator, 43, 34, 0x20, 0x3B, Cv::FreqVelMod, G::None, Pa::Modulation, {4, 78, 0, 72, 30, 17, true}},
};

// Lists and radio groups whose handler stores the item index and sends a byte.
const TVoiceChoiceRow ChoiceRows[] = {
    {&TVoicePage::Vc_Category, nullptr, "Vc_CategoryChange", K::Common, 3, 0x0E, Cv::Position, 0},
    {&TVoicePage::Vc_LFO1Waveform, nullptr, "Vc_LFO1WaveformChange", K::Common, 4, 0x10, Cv::Position, 0},
    {nullptr, &TVoicePage::Vc_LFO1KeySync, "Vc_LFO1KeySyncClick", K::Common, 5, 0x13, Cv::Position, 0},
    {&TVoicePage::Vc_LFO2Waveform, nullptr, "Vc_LFO2WaveformChange", K::Common, 12, 0x18, Cv::Position, 0},
    {nullptr, &TVoicePage::Vc_LFO2KeySync, "Vc_LFO2KeySyncClick", K::Common, 13, 0x1D, Cv::Position, 0},
    {nullptr, &TVoicePage::Vc_LFO2Phase, "Vc_LFO2PhaseClick", K::Common, 15, 0x1C, Cv::Position, 0},
    {&TVoicePage::Vc_FilterType, nullptr, "Vc_FilterTypeChange", K::Common, 19, 0x54, Cv::Position, 0},
    {&TVoicePage::Vc_FilterFScaleBP, nullptr, "Vc_FilterFScaleBPChange", K::Common, 23, 0x5C, Cv::Position, 0},
    {nullptr, &TVoicePage::Vc_PitchEGRange, "Vc_PitchEGRangeClick", K::Common, 47, 0x3B, Cv::Position, 0},
    {&TVoicePage::Vc_Frmt1Operator, nullptr, "Vc_Frmt1OperatorChange", K::Common, 49, 0x40, Cv::Destination, 0},
    {nullptr, &TVoicePage::Vc_Frmt1Parameter, "Vc_Frmt1ParameterClick", K::Common, 50, 0x40, Cv::Destination, 0},
    {&TVoicePage::Vc_Frmt2Operator, nullptr, "Vc_Frmt2OperatorChange", K::Common, 52, 0x41, Cv::Destination, 1},
    {nullptr, &TVoicePage::Vc_Frmt2Parameter, "Vc_Frmt2ParameterClick", K::Common, 53, 0x41, Cv::Destination, 1},
    {&TVoicePage::Vc_Frmt3Operator, nullptr, "Vc_Frmt3OperatorChange", K::Common, 55, 0x42, Cv::Destination, 2},
    {nullptr, &TVoicePage::Vc_Frmt3Parameter, "Vc_Frmt3ParameterClick", K::Common, 56, 0x42, Cv::Destination, 2},
    {&TVoicePage::Vc_Frmt4Operator, nullptr, "Vc_Frmt4OperatorChange", K::Common, 58, 0x43, Cv::Destination, 3},
    {nullptr, &TVoicePage::Vc_Frmt4Parameter, "Vc_Frmt4ParameterClick", K::Common, 59, 0x43, Cv::Destination, 3},
    {&TVoicePage::Vc_Frmt5Operator, nullptr, "Vc_Frmt5OperatorChange", K::Common, 61, 0x44, Cv::Destination, 4},
    {nullptr, &TVoicePage::Vc_Frmt5Parameter, "Vc_Frmt5ParameterClick", K::Common, 62, 0x44, Cv::Destination, 4},
    {&TVoicePage::Vc_Fm1Operator, nullptr, "Vc_Fm1OperatorChange", K::Common, 64, 0x4A, Cv::Destination, 5},
    {nullptr, &TVoicePage::Vc_Fm1Parameter, "Vc_Fm1ParameterClick", K::Common, 65, 0x4A, Cv::Destination, 5},
    {&TVoicePage::Vc_Fm2Operator, nullptr, "Vc_Fm2OperatorChange", K::Common, 67, 0x4B, Cv::Destination, 6},
    {nullptr, &TVoicePage::Vc_Fm2Parameter, "Vc_Fm2ParameterClick", K::Common, 68, 0x4B, Cv::Destination, 6},
    {&TVoicePage::Vc_Fm3Operator, nullptr, "Vc_Fm3OperatorChange", K::Common, 70, 0x4C, Cv::Destination, 7},
    {nullptr, &TVoicePage::Vc_Fm3Parameter, "Vc_Fm3ParameterClick", K::Common, 71, 0x4C, Cv::Destination, 7},
    {&TVoicePage::Vc_Fm4Operator, nullptr, "Vc_Fm4OperatorChange", K::Common, 73, 0x4D, Cv::Destination, 8},
    {nullptr, &TVoicePage::Vc_Fm4Parameter, "Vc_Fm4ParameterClick", K::Common, 74, 0x4D, Cv::Destination, 8},
    {&TVoicePage::Vc_Fm5Operator, nullptr, "Vc_Fm5OperatorChange", K::Common, 76, 0x4E, Cv::Destination, 9},
    {nullptr, &TVoicePage::Vc_Fm5Parameter, "Vc_Fm5ParameterClick", K::Common, 77, 0x4E, Cv::Destination, 9},
    {nullptr, &TVoicePage::Vc_VOpKeySync, "Vc_VOpKeySyncClick", K::Voiced, 15, 0x00, Cv::VoicedByte00, 0},
    {&TVoicePage::Vc_VOpLSBP, nullptr, "Vc_VOpLSBPChange", K::Voiced, 16, 0x17, Cv::Position, 0},
    {nullptr, &TVoicePage::Vc_VOpLSLeftCrv, "Vc_VOpLSLeftCrvClick", K::Voiced, 18, 0x1A, Cv::Position, 0},
    {nullptr, &TVoicePage::Vc_VOpLSRightCrv, "Vc_VOpLSRightCrvClick", K::Voiced, 20, 0x1B, Cv::Position, 0},
};

// The operator list and parameter buttons of the ten control sets, for their destination byte.
struct TControlSetControls {
    TComboBox* TVoicePage::*Operator;
    TRadioGroup* TVoicePage::*Parameter;
};
const TControlSetControls ControlSets[10] = {
    {&TVoicePage::Vc_Frmt1Operator, &TVoicePage::Vc_Frmt1Parameter},
    {&TVoicePage::Vc_Frmt2Operator, &TVoicePage::Vc_Frmt2Parameter},
    {&TVoicePage::Vc_Frmt3Operator, &TVoicePage::Vc_Frmt3Parameter},
    {&TVoicePage::Vc_Frmt4Operator, &TVoicePage::Vc_Frmt4Parameter},
    {&TVoicePage::Vc_Frmt5Operator, &TVoicePage::Vc_Frmt5Parameter},
    {&TVoicePage::Vc_Fm1Operator, &TVoicePage::Vc_Fm1Parameter},
    {&TVoicePage::Vc_Fm2Operator, &TVoicePage::Vc_Fm2Parameter},
    {&TVoicePage::Vc_Fm3Operator, &TVoicePage::Vc_Fm3Parameter},
    {&TVoicePage::Vc_Fm4Operator, &TVoicePage::Vc_Fm4Parameter},
    {&TVoicePage::Vc_Fm5Operator, &TVoicePage::Vc_Fm5Parameter},
};

// A list or radio showing no item takes part in a packed byte as its first item.
int Index(int itemIndex) { return std::max(0, itemIndex); }

bool NameListed(const char* names, const std::string& name)
{
    std::istringstream in(names);
    for (std::string n; in >> n;)
        if (n == name) return true;
    return false;
}

} // namespace

std::span<const TVoicePairRow> VoicePairRows() { return PairRows; }
std::span<const TVoiceChoiceRow> VoiceChoiceRows() { return ChoiceRows; }

// ---- the storing handlers ----------------------------------------------------------------------

int TVoicePage::DataByte(const TVoicePairRow& row, bool unvoiced, int p) const
{
    switch (row.Conv) {
    case Cv::Position: return p;
    case Cv::Inverted99: return 99 - p;
    case Cv::Inverted100: return 100 - p;
    case Cv::FilterEGScale: return Vc_FilterEGAtkTVelSnsBar->Position() * 8 + Vc_FilterEGTimeScalingBar->Position();
    case Cv::VoicedByte05:
        return Vc_VOpFseqTrkBar->Position() + Vc_VOpSkirtBar->Position() * 8 + Index(Vc_VOpFreqMode->ItemIndex()) * 64;
    case Cv::VoicedByte00: return Vc_VOpTransposeBar->Position() + (Vc_VOpKeySync->ItemIndex() == 1 ? 0x40 : 0);
    case Cv::WidthBias: return unvoiced ? p : Index(Vc_VOpForm->ItemIndex()) + p * 8;
    case Cv::FreqBias: return unvoiced ? p : p * 8 + Vc_OpPitchModBar->Position();
    case Cv::PitchMod: return p + Vc_OpSnsFreqBiasBar->Position() * 8;
    case Cv::FreqVelMod: return Vc_OpSnsFreqVelBar->Position() + Vc_OpFreqModBar->Position() * 16;
    case Cv::AmpVelMod: return Vc_OpSnsAmpVelBar->Position() + Vc_OpAmpModBar->Position() * 16;
    case Cv::UnvoicedByte29: return Vc_UOpSkirtBar->Position() + Vc_UOpResonanceBar->Position() * 8;
    case Cv::Destination: break;
    }
    return p;
}

void TVoicePage::PairBarChange(const TVoicePairRow& row)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice();
    const int t = CurrentOperatorTab();
    if (v < 0) return;
    // The record and operator the row addresses; a row of one operator kind does nothing on a
    // tab of the other (it is hidden or disabled there), so no index ever leaves its record.
    bool unvoiced = false;
    int op = 0;
    switch (row.Record) {
    case K::Common: break;
    case K::Voiced:
    case K::OpAtt:
        if (t < 0 || t > 7) return;
        op = t;
        break;
    case K::Unvoiced:
        if (t < 8 || t > 15) return;
        op = t - 8;
        unvoiced = true;
        break;
    case K::Operator:
        if (t < 0 || t > 15) return;
        unvoiced = t >= 8;
        op = unvoiced ? t - 8 : t;
        break;
    }
    TValuePair& pair = *FPairOfBar.at(this->*row.Bar).first;
    VoiceRecord& voice = Voice(v);

    TStoringRoad road;
    road.Store = [&](int p) {
        if (row.Record == K::Common)
            SetWord(voice.VoiceCommon, row.Word, p);
        else if (unvoiced)
            SetWord(voice.UnvoicedOperators[size_t(op)], row.Record == K::Operator ? row.UWord : row.Word, p);
        else
            SetWord(voice.VoicedOperators[size_t(op)], row.Word, p);
    };
    if (row.Record == K::OpAtt) road.Show = [&] { pair.Edit->SetText(AttenuationText(pair.Bar->Position())); };
    road.Compose = [&](int p) {
        const bool common = row.Record == K::Common || row.Record == K::OpAtt;
        const ParameterChangeMessage& entry = ParameterChangeTemplate(common ? 0x40 : 0x60, 0, row.AL);
        ParameterChangeMessage m = ComposeParameterChange(entry, v, common ? 0 : op, DataByte(row, unvoiced, p));
        // A shared operator row's template holds the voiced address; the unvoiced one replaces it.
        if (unvoiced && row.Record == K::Operator) m[6] = row.UAL;
        // The attenuations of the eight operators lie side by side in the common block.
        if (row.Record == K::OpAtt) m[6] = uint8_t(m[6] + op);
        return m;
    };
    switch (row.Graph) {
    case G::FilterEG: road.AfterShow = [this] { DrawFilterEGGraph(); }; break;
    case G::PitchEG: road.AfterShow = [this] { DrawPitchEGGraph(); }; break;
    case G::OperatorEG: road.AfterShow = [this] { DrawOperatorEGGraph(); }; break;
    case G::FrequencyEG: road.AfterSend = [this] { DrawOperatorFreqEGGraph(); }; break;
    case G::None: break;
    }
    RunStoringRoad(FData, pair, road);
}

void TVoicePage::ChoiceChange(const TVoiceChoiceRow& row)
{
    if (FData.UpdatingDisplay) return;
    const int v = CurrentVoice();
    const int t = CurrentOperatorTab();
    if (v < 0 || (row.Record == K::Voiced && (t < 0 || t > 7))) return;
    const int index = row.Combo ? (this->*row.Combo)->ItemIndex() : (this->*row.Radio)->ItemIndex();
    if (index < 0) return;
    VoiceRecord& voice = Voice(v);
    int data = index;
    if (row.Record == K::Common) {
        SetWord(voice.VoiceCommon, row.Word, index);
    } else {
        SetWord(voice.VoicedOperators[size_t(t)], row.Word, index);
    }
    if (row.Conv == Cv::Destination) {
        const TControlSetControls& set = ControlSets[row.Set];
        data = Index((this->*set.Parameter)->ItemIndex()) * 16 + Index((this->*set.Operator)->ItemIndex());
    } else if (row.Conv == Cv::VoicedByte00) {
        data = Vc_VOpTransposeBar->Position() + (index == 1 ? 0x40 : 0);
    }
    SendVoiceByte(row.Record == K::Common ? 0x40 : 0x60, row.Record == K::Common ? 0 : t, row.AL, data);
    FData.MarkDataChanged();
}

void TVoicePage::SendVoiceByte(uint8_t ah, int am, uint8_t al, int data)
{
    const int v = CurrentVoice();
    const ParameterChangeMessage m = ComposeParameterChange(ParameterChangeTemplate(ah, 0, al), v, am, data);
    FData.SendSysEx(m.data(), static_cast<int>(m.size()));
}

// ---- lookups and display helpers ---------------------------------------------------------------

TValuePair* TVoicePage::Pair(const TScrollBar* bar) const
{
    const auto it = FPairOfBar.find(bar);
    return it == FPairOfBar.end() ? nullptr : it->second.first;
}

void TVoicePage::LoadPair(TScrollBar* bar, int32_t word)
{
    FPairOfBar.at(bar).first->Load(word);
}

void TVoicePage::EnableRow(TScrollBar* bar, bool on)
{
    FPairOfBar.at(bar).first->SetEnabled(on);
}

TNotifyEvent TVoicePage::Handler(const std::string& name)
{
    for (const TVoicePairRow& row : PairRows) {
        if (!NameListed(row.Handlers, name)) continue;
        TValuePair* pair = Pair(this->*row.Bar);
        const std::string stem = row.PairSpec.Name;
        if (name == stem + "BarChange") return [pair](TObject* s) { pair->Bar->OnChange(s); };
        if (name == stem + "EditChange") return [pair](TObject* s) { pair->Edit->OnChange(s); };
        if (name == stem + "EditExit") return [pair](TObject* s) { pair->Edit->OnExit(s); };
    }
    for (const TVoiceChoiceRow& row : ChoiceRows)
        if (name == row.Handler) return [this, &row](TObject*) { ChoiceChange(row); };
    return {};
}
