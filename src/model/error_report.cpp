#include "model/error_report.h"

#include "interfaces/prompts.h"

namespace vm880 {

std::string SystemErrorText(int number, std::string_view description, std::string_view moduleName,
                            std::string_view procName, std::string_view stepName,
                            std::string_view extraText)
{
    std::string text = "Error Number = " + std::to_string(number) + "\r\n";
    text += "Error = ";
    text += description;
    text += "\r\nLocation = ";
    text += moduleName;
    text += ": ";
    text += procName;
    if (!stepName.empty()) {
        text += ": ";
        text += stepName;
    }
    text += "\r\n\r\n";
    text += extraText;
    text += "\r\n\r\nPlease save this information for support assistance";
    return text;
}

void ReportSystemError(Prompts& prompts, const std::exception& error, std::string_view moduleName,
                       std::string_view procName, std::string_view stepName,
                       std::string_view extraText)
{
    int number = error_number::Internal;
    if (auto* system = dynamic_cast<const SystemError*>(&error))
        number = system->number();
    else if (dynamic_cast<const std::out_of_range*>(&error))
        number = error_number::OutOfRange;
    prompts.Message(style::OkOnly + style::Critical, kSystemErrorTitle,
                    SystemErrorText(number, error.what(), moduleName, procName, stepName,
                                    extraText));
}

} // namespace vm880
