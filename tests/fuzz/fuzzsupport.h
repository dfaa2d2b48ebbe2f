#pragma once

// Shared set-up of the fuzz targets: one application object for the whole run, and a silent message
// handler (the parsers log every malformed piece on purpose; printing it would slow the run down).
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

inline void quietHandler(QtMsgType, const QMessageLogContext &, const QString &)
{
}

inline void init()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = nullptr;
    if (!app)
        app = new QCoreApplication(argc, argv);
    qInstallMessageHandler(quietHandler);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace fuzzsupport
