#pragma once
// Conversions between the model's settings texts (8-bit, Latin-1) and what the windows show.

#include "base/text.h" // LeadingWholeNumber
#include "base/types.h"

#include <QString>

#include <string_view>

namespace vm880 {

inline QString FromSetting(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline Text ToSetting(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace vm880
