#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcessEnvironment>
#include <QString>

class QSettings;

// The three stored appearance settings become environment variables that Qt and the Material style read
// when the GUI application is created. They must be put before QApplication exists.
namespace Appearance {

struct Stored {
    QString scalingFactor = QStringLiteral("1");
    QString materialVariant = QStringLiteral("Dense");
    QString materialTheme = QStringLiteral("Dark");
};

using Assignments = QList<QPair<QByteArray, QByteArray>>;

// Reads "scalingFactor", "materialVariant" and "materialTheme" as text, with their defaults.
[[nodiscard]] Stored readStored(QSettings &settings);

// The variables to put, in order, given the stored values and the inherited environment:
// the scale factor always; variant and theme from the inherited value when non-empty, else the stored one;
// the dark palette (accent, primary, foreground, background) unless the resulting theme is exactly "Light".
[[nodiscard]] Assignments compute(const Stored &stored, const QProcessEnvironment &inherited);

// Puts the assignments into this process's environment.
void apply(const Assignments &assignments);

} // namespace Appearance
