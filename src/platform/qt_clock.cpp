#include "platform/qt_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>

namespace vm880 {

QtClock::QtClock()
{
    elapsed_.start();
}

std::int64_t QtClock::NowMs()
{
    return elapsed_.elapsed();
}

void QtClock::SleepMs(std::int64_t ms)
{
    if (ms <= 0)
        return;
    if (!QCoreApplication::instance()) {
        // No event loop to keep alive (a command-line tool).
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtClock::Yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace vm880
