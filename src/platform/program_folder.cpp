#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vm880 {

std::string ProgramFolder()
{
    QString folder = qEnvironmentVariable("VM880_HOME");
    if (folder.isEmpty()) {
        folder = QCoreApplication::applicationDirPath();
        if (folder.isEmpty() || !QFileInfo(folder).isWritable())
            folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(QDir(folder).absolutePath()).toStdString();
}

} // namespace vm880
