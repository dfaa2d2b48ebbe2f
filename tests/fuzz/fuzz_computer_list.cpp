// The computer-list merge: two polls read from the input (split at the first NUL byte) are merged one
// after the other into a session, with the derived lists and grid models recomputed after each. The
// models must agree with the visible lists afterwards.
#include "fuzzsupport.h"
#include "records/user.h"
#include "session/machinelistmodel.h"
#include "session/maincontext.h"

#include <QJsonDocument>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzsupport::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    const QList<QByteArray> polls =
        split < 0 ? QList<QByteArray>{input} : QList<QByteArray>{input.left(split), input.mid(split + 1)};

    User user;
    user.setEmail(QStringLiteral("fuzz@example.org"));
    MainContext session(nullptr, nullptr, nullptr, &user, nullptr);
    for (const QByteArray &poll : polls) {
        const QJsonDocument document = QJsonDocument::fromJson(poll);
        if (document.isArray())
            session.updateNewVmInstances(document.array());
        else if (document.isObject())
            session.updateNewVmInstances(document.object());
        else
            continue;
        session.flushDerivedLists();
        const int shown = session.visibleFavouriteMachinesModel()->rowCount() +
                          session.visibleStandardMachinesModel()->rowCount();
        if (shown != session.visibleComputers().size())
            std::abort(); // the grids lost or duplicated a computer
        for (Computer *computer : session.computers()) {
            if (session.computerById(computer->identifier()) != computer)
                std::abort(); // two records under one identifier
        }
    }
    return 0;
}
