#include "computer/computer.h"

Computer::Computer(QObject *parent) : QObject(parent)
{
}
