#include "tables/table_builders.h"

namespace vm880 {

// Nothing to write: every table is initialised at compile time (see the header).
void InitTOTResetTable() {}
void InitRemoteBaseTables() {}
void InitSchedHours() {}
void InitSchedDays() {}
void InitSchedWeeks() {}
void InitPortSelectTable() {}
void InitMeterTypes() {}
void InitMeterAlarmTypes() {}
void InitVocabularyTable() {}
void InitCWCharTable() {}
void InitIDExtrasTable() {}
void InitDTMFDigitTable() {}
void InitAccessModeTable() {}
void InitTailMessageTable() {}

} // namespace vm880
