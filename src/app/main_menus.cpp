#include "app/main_menus.h"

#include "app/toolbar_icons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace vm880 {

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption, bool checkable = false)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

QAction* separator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* tool(QToolBar* bar, const QString& name, ToolIcon icon, const QString& tip)
{
    QAction* action = bar->addAction(ToolbarIcon(icon), name);
    action->setObjectName(QStringLiteral("Toolbar1_") + QString(name).remove(QLatin1Char(' ')));
    action->setToolTip(tip);
    return action;
}

} // namespace

MainMenus BuildMenus(QMainWindow& window)
{
    MainMenus m;
    QMenuBar* bar = window.menuBar();

    m.file = menu(bar, "mnuFile", QObject::tr("&File"));
    m.fileOpen = item(m.file, "mnuFileOpen", QObject::tr("&Open"));
    separator(m.file, "dash1");
    m.fileSave = item(m.file, "mnuFileSave", QObject::tr("&Save"));
    m.fileSaveAs = item(m.file, "mnuFileSaveAs", QObject::tr("Save &As"));
    separator(m.file, "dash3");
    m.errorLog = item(m.file, "mnuErrorLog", QObject::tr("View Error Log"));
    separator(m.file, "dash2");
    m.fileExit = item(m.file, "mnuFileExit", QObject::tr("E&xit"));
    m.filesListSeparator = separator(m.file, "mnuFilesList(0)");
    m.filesListSeparator->setVisible(false);
    for (int i = 1; i <= 4; ++i) {
        QAction* recent = item(m.file, "", QString());
        recent->setObjectName(QStringLiteral("mnuFilesList(%1)").arg(i));
        recent->setVisible(false);
        m.filesList[static_cast<std::size_t>(i - 1)] = recent;
    }

    QMenu* config = m.config = menu(bar, "mnuFileConfig", QObject::tr("Con&figure Zel"));
    QMenu* serial = config->addMenu(QObject::tr("&Use Serial Port"));
    serial->setObjectName(QStringLiteral("mnuConfigSerialPort"));
    m.serialDelay = item(serial, "mnuSerialDelay", QObject::tr("DelayTime"));
    for (int i = 1; i <= 8; ++i) {
        QAction* com = item(serial, "", QStringLiteral("Com%1").arg(i), true);
        com->setObjectName(QStringLiteral("mnuCom(%1)").arg(i));
        m.com[static_cast<std::size_t>(i - 1)] = com;
    }
    QMenu* dtmf = config->addMenu(QObject::tr("&Use DTMF"));
    dtmf->setObjectName(QStringLiteral("mnuConfigDTMF"));
    m.dtmfDelay = item(dtmf, "mnuDTMFDelay", QObject::tr("Set Interdigit Delay"));
    m.txDelay = item(dtmf, "mnuConfigureTXDelay", QObject::tr("Set KeyUp Delay"));
    for (int i = 1; i <= 8; ++i) {
        QAction* com = item(dtmf, "", QStringLiteral("Use Com%1 for PTT").arg(i), true);
        com->setObjectName(QStringLiteral("mnuDTMFCom(%1)").arg(i));
        m.dtmfCom[static_cast<std::size_t>(i - 1)] = com;
    }
    m.useRTS = item(dtmf, "mnuUseDTMFRTS", QObject::tr("RTS for PTT"), true);
    m.useDTR = item(dtmf, "mnuUseDTMFDTR", QObject::tr("DTR for PTT"), true);

    m.testPad = bar->addAction(QObject::tr("&DTMF Test Pad"));
    m.testPad->setObjectName(QStringLiteral("MnuTestPad"));
    m.manualData = bar->addAction(QObject::tr("&Manual Data Send"));
    m.manualData->setObjectName(QStringLiteral("MnuManualData"));

    QMenu* vm880 = m.vm880 = menu(bar, "mnuVM880", QObject::tr("&VM880"));
    m.upload = item(vm880, "mnuVM880Upload", QObject::tr("Upload to VM880"));
    m.download = item(vm880, "mnuVM880Download", QObject::tr("Download from VM880"));
    m.importLinux = item(vm880, "mnuImportLinux", QObject::tr("Import a Linux Download File"));

    m.rtc = menu(bar, "mnuRTC", QObject::tr("R&TC"));
    m.rtcYes = item(m.rtc, "mnuRTCyes", QObject::tr("RTC-YES"), true);
    m.rtcNo = item(m.rtc, "mnuRTCno", QObject::tr("RTC-NO"), true);
    m.dvr = menu(bar, "mnuDVR", QObject::tr("D&VR"));
    m.dvrWrite = item(m.dvr, "mnuDVRWrite", QObject::tr("Write DVR Track info"), true);
    m.dvrNoWrite = item(m.dvr, "mnuDVRNoWrite", QObject::tr("Don't Write DVR Track Info"), true);

    QMenu* help = menu(bar, "mnuHelp", QObject::tr("&Help"));
    m.about = item(help, "mnuAbout", QObject::tr("&About"));
    m.company = item(help, "mnuCompany", QObject::tr("&Company Information"));

    m.toolbar = window.addToolBar(QObject::tr("Toolbar"));
    m.toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m.toolbar->setMovable(false);
    m.toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m.toolbar->setIconSize(QSize(32, 32));
    m.toolOpen = tool(m.toolbar, QObject::tr("Open"), ToolIcon::Open, QObject::tr("Open DAT File"));
    m.toolSave = tool(m.toolbar, QObject::tr("Save"), ToolIcon::Save, QObject::tr("Save DAT File"));
    m.toolbar->addSeparator();
    m.toolDownload = tool(m.toolbar, QObject::tr("Download"), ToolIcon::Download,
                          QObject::tr("Download from Controller"));
    m.toolUpload = tool(m.toolbar, QObject::tr("Upload"), ToolIcon::Upload, QObject::tr("Upload to Controller"));
    m.toolbar->addSeparator();
    m.toolReset = tool(m.toolbar, QObject::tr("Reset 880"), ToolIcon::Reset, QObject::tr("Reset VM880"));
    m.toolSetClock = tool(m.toolbar, QObject::tr("Set Clock"), ToolIcon::Clock, QObject::tr("Set Clock/Calendar"));

    // The toolbar's file and transfer buttons are the menu commands themselves.
    QObject::connect(m.toolOpen, &QAction::triggered, m.fileOpen, &QAction::trigger);
    QObject::connect(m.toolSave, &QAction::triggered, m.fileSave, &QAction::trigger);
    QObject::connect(m.toolDownload, &QAction::triggered, m.download, &QAction::trigger);
    QObject::connect(m.toolUpload, &QAction::triggered, m.upload, &QAction::trigger);
    return m;
}

} // namespace vm880
