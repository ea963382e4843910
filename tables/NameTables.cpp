#include "tables/NameTables.h"

#include "tables/CatalogueSteps.h"

void InitNameTables(TNameTables& tables)
{
    // Each step writes its own arrays only. The edit buffer's initial values, given right
    // after this returns, read FseqPresetInfo and the effect defaults.
    FillVoiceNameTable(tables);
    FillFseqPresetInfo(tables);
    FillFixedFreqText(tables);
    FillAlgorithmOpAttEnable(tables);
    FillEGShapeTable(tables);
    FillEffectTypeTable(tables);
    FillEffectValueTables(tables);
    FillInsertionDestinationText(tables);
    FillControlDestinationText(tables);
}
