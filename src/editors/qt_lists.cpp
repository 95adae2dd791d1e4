#include "editors/qt_lists.h"

#include "tables/code_lookup.h"
#include "tables/cw_chars.h"
#include "tables/dtmf_digits.h"
#include "tables/meter_tables.h"
#include "tables/option_tables.h"
#include "tables/port_select.h"
#include "tables/remote_base_tables.h"
#include "tables/scheduler_tables.h"
#include "tables/vocabulary.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace vm880 {

namespace {

// Table texts are Latin-1 bytes, like every settings text.
QString toQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void addListItem(QListWidget* list, std::string_view text, int data)
{
    auto* item = new QListWidgetItem(toQString(text));
    item->setData(Qt::UserRole, data);
    list->addItem(item);
}

const char* const kNumericOnlyName = "vm880NumericOnly";

} // namespace

void FillCodeList(QComboBox* box, vm880::CodeTable table)
{
    for (const CodeRow& row : table)
        box->addItem(toQString(row.text), CodeValue(row.code));
}

void FillCodeList(QListWidget* list, vm880::CodeTable table)
{
    for (const CodeRow& row : table)
        addListItem(list, row.text, CodeValue(row.code));
}

void FillNumberList(QComboBox* box, int first, int last, bool twoDigits)
{
    for (int n = first; n <= last; ++n)
        box->addItem(twoDigits ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                               : QString::number(n),
                     n);
}

void SelectByItemData(QComboBox* box, std::string_view value)
{
    const double wanted = LeadingNumber(value);
    for (int i = 0; i < box->count(); ++i) {
        bool ok = false;
        const double data = box->itemData(i).toDouble(&ok);
        if (ok && data == wanted) {
            box->setCurrentIndex(i);
            return;
        }
    }
}

void SetNumericOnly(QLineEdit* box)
{
    // Qt's own digit test also passes non-ASCII digits, which no check downstream accepts.
    const QValidator* current = box->validator();
    if (current && current->objectName() == QLatin1String(kNumericOnlyName))
        return;
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box);
    validator->setObjectName(QLatin1String(kNumericOnlyName));
    box->setValidator(validator);
}

void FillTOTResetList(QComboBox* box) { FillCodeList(box, TOTResetTable); }
void FillRadioTypeList(QComboBox* box) { FillCodeList(box, RadioTypes); }
void FillYaesuTypeList(QComboBox* box) { FillCodeList(box, YaesuTypes); }
void FillSchedHourList(QComboBox* box) { FillCodeList(box, SchedHours); }
void FillSchedDayList(QComboBox* box) { FillCodeList(box, SchedDays); }
void FillSchedWeekList(QComboBox* box) { FillCodeList(box, SchedWeeks); }
void FillMeterTypeList(QComboBox* box) { FillCodeList(box, MeterTypes); }
void FillMeterAlarmTypeList(QComboBox* box) { FillCodeList(box, MeterAlarmTypes); }
void FillVocabList(QListWidget* list) { FillCodeList(list, VocabularyTable); }
void FillCWList(QListWidget* list) { FillCodeList(list, CWCharTable); }
void FillIDExtrasList(QComboBox* box) { FillCodeList(box, IDExtrasTable); }
void FillAccessModeList(QComboBox* box) { FillCodeList(box, AccessModeTable); }
void FillTailMessageList(QComboBox* box) { FillCodeList(box, TailMessageTable); }

void FillPortSelectList(QComboBox* box, int mode)
{
    FillCodeList(box, PortSelectRows(mode));
}

// The row number of a DTMF digit is its code.
void FillDTMFList(QListWidget* list)
{
    for (std::size_t i = 0; i < DTMFDigitTable.size(); ++i)
        addListItem(list, DTMFDigitTable[i], static_cast<int>(i) + 1);
}

void FillCourtesyToneList(QComboBox* box) { FillNumberList(box, 1, 10); }
void FillMeterAlarmNumList(QComboBox* box) { FillNumberList(box, 1, 8); }
void FillMeterNumList(QComboBox* box) { FillNumberList(box, 1, 8); }
void FillPortList(QComboBox* box) { FillNumberList(box, 1, 3); }
void FillSetPointNumList(QComboBox* box) { FillNumberList(box, 1, 20); }
void FillMinuteList(QComboBox* box) { FillNumberList(box, 0, 59, true); }

} // namespace vm880
