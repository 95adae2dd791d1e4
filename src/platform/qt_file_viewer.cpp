#include "platform/qt_file_viewer.h"

#include <QDesktopServices>
#include <QUrl>

namespace vm880 {

bool QtFileViewer::Open(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

} // namespace vm880
