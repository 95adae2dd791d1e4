#pragma once
// The Alarms editor (main tab 8, "Logic Alarms/R Base"): the five logic alarm inputs, the
// radio the remote base drives with its Yaesu model and command prefix, and the remote-base
// memories (40 with the real-time-clock option, else 10). A memory's frequency and offset
// digit are edited apart and stored as one text.

#include "editors/editor_base.h"

namespace vm880 {

// The parts of a stored remote-base frequency: the digits and the offset digit after them,
// each "NONE" when the memory has none. A frequency applied without an offset keeps "NONE"
// in the offset's place, so the memory stays visibly incomplete and is never uploaded.
Text FrequencyPart(const Text& freqString);
Text OffsetPart(const Text& freqString);
Text WithFrequency(const Text& freqString, const Text& frequency);
Text WithOffset(const Text& freqString, const Text& offset);

class AlarmsRemoteEditor : public EditorBase {
public:
    explicit AlarmsRemoteEditor(EditorServices services, QWidget* parent = nullptr);

    RecordSelector& Alarms() { return *alarm_; }
    RecordSelector& Memories() { return *memory_; }
    int MemoryCount() const { return memoryCount_; }

protected:
    void FillLists() override;
    void UpdateDependents() override;
    std::optional<Refusal> BeforeCopy() override;

private:
    void declareAlarms();
    void declareRemoteBase();
    void declareMemories();
    QWidget* alarmFrame();
    QWidget* setupFrame();
    QWidget* memoryFrame();
    std::optional<Refusal> inconsistentMemories();

    int memoryCount_ = 10;
    RecordSelector* alarm_ = nullptr;
    RecordSelector* memory_ = nullptr;
    Field* lowMacro_ = nullptr;
    Field* highMacro_ = nullptr;
    Field* radio_ = nullptr;
    Field* yaesu_ = nullptr;
    Field* frequency_ = nullptr;
    Field* offset_ = nullptr;
    Field* ctcss_ = nullptr;
    Field* plMode_ = nullptr;
    Field* radioMode_ = nullptr;
};

} // namespace vm880
