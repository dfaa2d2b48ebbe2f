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

std::unique_ptr<QQmlIncubationController> install(QQmlEngine *engine)
{
    if (!engine)
        return nullptr;
    auto controller = std::make_unique<Controller>();
    engine->setIncubationController(controller.get());
    return controller;
}

} // namespace IdleIncubator
