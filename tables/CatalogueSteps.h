// The steps of InitNameTables, one per catalogue array (or group of arrays filled together).
// Each writes only its own arrays, so the steps can run and be tested one by one.
#pragma once

#include "tables/NameTables.h"

void FillVoiceNameTable(TNameTables& tables);
void FillFseqPresetInfo(TNameTables& tables);
void FillFixedFreqText(TNameTables& tables);
void FillAlgorithmOpAttEnable(TNameTables& tables);
void FillEGShapeTable(TNameTables& tables);
void FillEffectTypeTable(TNameTables& tables);
void FillEffectValueTables(TNameTables& tables);
void FillInsertionDestinationText(TNameTables& tables);
void FillControlDestinationText(TNameTables& tables);
