#include "platform/qt_file_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace vm880 {

namespace {

QString fromText(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// File names go to the file system as its own bytes.
std::string pathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

QString QtFileDialogs::QtFilter(std::string_view filter)
{
    const QStringList parts = fromText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*"); // every file, also those without an extension
        }
        // Qt reads the patterns from the parentheses at the end of the entry, so those of
        // the description give way to the pattern list.
        if (description.endsWith(QLatin1Char(')')) && description.lastIndexOf(QLatin1Char('(')) > 0)
            description = description.left(description.lastIndexOf(QLatin1Char('('))).trimmed();
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::string QtFileDialogs::OpenFile(std::string_view filter, std::string_view title)
{
    const QString path = QFileDialog::getOpenFileName(parent_, fromText(title), QString(), QtFilter(filter),
                                                      nullptr, QFileDialog::ReadOnly);
    return path.isEmpty() ? std::string() : pathBytes(path);
}

std::string QtFileDialogs::SaveFile(std::string_view filter, std::string_view title,
                                    std::string_view presetPath)
{
    const QString preset = QFile::decodeName(QByteArray(presetPath.data(), static_cast<qsizetype>(presetPath.size())));
    const QString path = QFileDialog::getSaveFileName(parent_, fromText(title), preset, QtFilter(filter), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    return path.isEmpty() ? std::string() : pathBytes(path);
}

} // namespace vm880
