#include "records/banner.h"

#include "records/assign.h"

Banner::Banner(QObject *parent) : QObject(parent)
{
}

Banner::Banner(Position position, QObject *parent) : QObject(parent), m_position(position)
{
}

void Banner::setPosition(Position value)
{
    Records::assign(this, m_position, value, &Banner::positionChanged);
}

void Banner::setLink(const QString &value)
{
    Records::assign(this, m_link, value, &Banner::linkChanged);
}

void Banner::setSource(const QString &value)
{
    Records::assign(this, m_source, value, &Banner::sourceChanged);
}
