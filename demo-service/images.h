#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace demo::images {

// A desktop preview: the machine's name and the time drawn on a simple desktop, PNG encoded.
// `salt` varies the picture so that two previews are never the same.
[[nodiscard]] QByteArray screenshot(const QString &name, const QString &platform, const QDateTime &when,
                                    quint32 salt);
// Banner images served under /banners/: "top-light.gif" and "top-dark.gif" are animated,
// "left-light.png" and "left-dark.png" are still. Empty for an unknown name.
[[nodiscard]] QByteArray banner(const QString &fileName);
// The product wordmark as SVG (900 x 225).
[[nodiscard]] QByteArray logoSvg(bool dark);

} // namespace demo::images
