#pragma once

// Shared set-up of the fuzz targets, each of which includes this header in its one source file: the
// fuzzer's initialisation makes one application object for the whole run and installs a silent message
// handler (the parsers log every malformed piece on purpose; printing it would slow the run down).
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

namespace fuzzsupport {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace fuzzsupport
