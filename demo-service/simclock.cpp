#include "simclock.h"

#include <QDateTime>

namespace demo {

SimClock::SimClock(double timeScale) : m_scale(timeScale > 0 ? timeScale : 1.0)
{
    restart();
}

void SimClock::restart()
{
    m_baseSecs = QDateTime::currentSecsSinceEpoch();
    m_advancedSecs = 0;
    m_elapsed.start();
}

qint64 SimClock::nowSecs() const
{
    return m_baseSecs + qint64(double(m_elapsed.elapsed()) / 1000.0 * m_scale + m_advancedSecs);
}

void SimClock::advanceMinutes(double minutes)
{
    if (minutes > 0)
        m_advancedSecs += minutes * 60.0;
}

} // namespace demo
