#include "app/application.h"
#include "app/screenshots.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VM880 Programmer");

    // "--screenshots FOLDER": render every window into FOLDER and end (see scripts/screenshots.sh).
    const QStringList args = QApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--screenshots")); at >= 0)
        return vm880::RenderScreenshots(args.value(at + 1, QStringLiteral("docs")));

    vm880::Application program;
    program.Start();
    return app.exec();
}
