#pragma once
// Fills the editors' lists and combo boxes from the code tables. Each item shows the row's
// text and keeps the whole-number value of its code as item data (Qt::UserRole), so a
// selection maps straight back to the stored code. Fillers append; they never clear first.

#include "tables/code_table.h"

#include <string_view>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace vm880 {

void FillCodeList(QComboBox* box, vm880::CodeTable table);
void FillCodeList(QListWidget* list, vm880::CodeTable table);

// The numbers first..last in ascending order, data = the number; with `twoDigits` the
// text has a leading zero below 10 ("00".."59").
void FillNumberList(QComboBox* box, int first, int last, bool twoDigits = false);

// Selects the first item whose data equals the number `value` begins with (0 when it
// begins with none, so an empty value selects the item with data 0). When no item
// matches, or the box is empty, the selection stays as it was.
void SelectByItemData(QComboBox* box, std::string_view value);

// Lets the operator type only the ASCII digits 0-9 into the box. Calling it again on
// the same box changes nothing.
void SetNumericOnly(QLineEdit* box);

// The editors' named fillers.
void FillTOTResetList(QComboBox* box);
void FillRadioTypeList(QComboBox* box);
void FillYaesuTypeList(QComboBox* box);
void FillSchedHourList(QComboBox* box);
void FillSchedDayList(QComboBox* box);
void FillSchedWeekList(QComboBox* box);
void FillMeterTypeList(QComboBox* box);
void FillMeterAlarmTypeList(QComboBox* box);
void FillVocabList(QListWidget* list);
void FillCWList(QListWidget* list);
void FillIDExtrasList(QComboBox* box);
void FillDTMFList(QListWidget* list);
void FillAccessModeList(QComboBox* box);
void FillTailMessageList(QComboBox* box);
void FillPortSelectList(QComboBox* box, int mode);

void FillCourtesyToneList(QComboBox* box); // 1..10
void FillMeterAlarmNumList(QComboBox* box); // 1..8
void FillMeterNumList(QComboBox* box);      // 1..8
void FillPortList(QComboBox* box);          // 1..3
void FillSetPointNumList(QComboBox* box);   // 1..20
void FillMinuteList(QComboBox* box);        // "00".."59"

} // namespace vm880
