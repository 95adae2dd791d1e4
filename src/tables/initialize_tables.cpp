#include "tables/initialize_tables.h"

#include "tables/macro_functions.h"
#include "tables/table_builders.h"

namespace vm880 {

void InitializeTables()
{
    InitTOTResetTable();
    InitRemoteBaseTables();
    InitSchedHours();
    InitSchedDays();
    InitSchedWeeks();
    InitMacroFunctionTable();
    InitPortSelectTable();
    InitMeterTypes();
    InitMeterAlarmTypes();
    InitVocabularyTable();
    InitCWCharTable();
    InitIDExtrasTable();
    InitDTMFDigitTable();
    InitAccessModeTable();
    InitTailMessageTable();
}

} // namespace vm880
