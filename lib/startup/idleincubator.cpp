#include "idleincubator.h"

#include <QQmlEngine>
#include <QQmlIncubationController>
#include <QTimer>

namespace IdleIncubator {

namespace {

constexpr int kSliceMs = 12;

class Controller : public QQmlIncubationController {
public:
    Controller()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            incubateFor(kSliceMs);
            if (incubatingObjectCount() == 0)
                m_timer.stop();
        });
    }

protected:
    void incubatingObjectCountChanged(int count) override
    {
        if (count > 0 && !m_timer.isActive())
            m_timer.start();
    }

private:
    QTimer m_timer;
};

} // namespace

void install(QQmlEngine *engine)
{
    if (!engine)
        return;
    // One controller per engine, gone with it (the engine does not own its controller; a static one would
    // keep a timer past the application).
    auto *controller = new Controller;
    engine->setIncubationController(controller);
    QObject::connect(engine, &QObject::destroyed, [controller] { delete controller; });
}

} // namespace IdleIncubator
