#include "tables/initialize_tables.h"

namespace vm880 {

void InitializeTables()
{
    // The table builders are added here as the tables land, in start-up order:
    // InitTOTResetTable, InitRemoteBaseTables, InitSchedHours, InitSchedDays, InitSchedWeeks,
    // InitMacroFunctionTable, InitPortSelectTable, InitMeterTypes, InitMeterAlarmTypes,
    // InitVocabularyTable, InitCWCharTable, InitIDExtrasTable, InitDTMFDigitTable,
    // InitAccessModeTable, InitTailMessageTable.
}

} // namespace vm880
