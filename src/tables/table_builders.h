#pragma once
// The named start-up steps that make the code tables ready. The tables are constant data,
// complete before any code runs, so each builder has nothing left to write: it stays so that
// start-up runs the same named steps in the same order, and running one again (or never)
// changes nothing.
//
// Start-up order: InitTOTResetTable, InitRemoteBaseTables, InitSchedHours, InitSchedDays,
// InitSchedWeeks, InitMacroFunctionTable (with the macro function table), InitPortSelectTable,
// InitMeterTypes, InitMeterAlarmTypes, InitVocabularyTable, InitCWCharTable,
// InitIDExtrasTable, InitDTMFDigitTable, InitAccessModeTable, InitTailMessageTable.

namespace vm880 {

void InitTOTResetTable();
void InitRemoteBaseTables();
void InitSchedHours();
void InitSchedDays();
void InitSchedWeeks();
void InitPortSelectTable();
void InitMeterTypes();
void InitMeterAlarmTypes();
void InitVocabularyTable();
void InitCWCharTable();
void InitIDExtrasTable();
void InitDTMFDigitTable();
void InitAccessModeTable();
void InitTailMessageTable();

} // namespace vm880
