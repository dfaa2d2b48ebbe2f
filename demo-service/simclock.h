#pragma once

#include <QElapsedTimer>

namespace demo {

// The service's clock: real time since start, sped up by the time scale, plus minutes added by tests.
class SimClock {
public:
    explicit SimClock(double timeScale = 1.0);

    [[nodiscard]] qint64 nowSecs() const;
    [[nodiscard]] double timeScale() const { return m_scale; }
    void advanceMinutes(double minutes);
    void restart();

private:
    QElapsedTimer m_elapsed;
    double m_scale = 1.0;
    qint64 m_baseSecs = 0;
    double m_advancedSecs = 0;
};

} // namespace demo
