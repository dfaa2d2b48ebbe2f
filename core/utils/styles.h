#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Colour and spacing constants that follow the Material theme. The theme is fixed for the run (appearance
// settings take effect at the next start), so every value is constant.
class Styles : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool isLightTheme READ isLightTheme CONSTANT)
    Q_PROPERTY(QColor updateUserDataPaneBackgroundColor READ updateUserDataPaneBackgroundColor CONSTANT)
    Q_PROPERTY(QColor sidebarBackgroundColor READ sidebarBackgroundColor CONSTANT)
    Q_PROPERTY(QColor sidebarGreetingsColor READ sidebarGreetingsColor CONSTANT)
    Q_PROPERTY(QColor sidebarCreditsColor READ sidebarCreditsColor CONSTANT)
    Q_PROPERTY(QColor appBackgroundColor READ appBackgroundColor CONSTANT)
    Q_PROPERTY(QColor computersFilterButton READ computersFilterButton CONSTANT)
    Q_PROPERTY(QColor sidebarSeparatorColor READ sidebarSeparatorColor CONSTANT)
    Q_PROPERTY(QColor accentTextColor READ accentTextColor CONSTANT)
    Q_PROPERTY(int notificationSpacing READ notificationSpacing CONSTANT)

public:
    // The variable the Material style reads its theme from; set at start from the stored appearance.
    static constexpr const char *kThemeVariable = "QT_QUICK_CONTROLS_MATERIAL_THEME";

    // Values for the theme named in the environment (light exactly when it is "Light").
    explicit Styles(QObject *parent = nullptr);
    // Values for the given Material theme name (light exactly when it is "Light", else dark).
    explicit Styles(const QString &materialTheme, QObject *parent = nullptr);

    [[nodiscard]] bool isLightTheme() const { return m_light; }
    [[nodiscard]] QColor updateUserDataPaneBackgroundColor() const;
    [[nodiscard]] QColor sidebarBackgroundColor() const;
    [[nodiscard]] QColor sidebarGreetingsColor() const;
    [[nodiscard]] QColor sidebarCreditsColor() const;
    [[nodiscard]] QColor appBackgroundColor() const;
    [[nodiscard]] QColor computersFilterButton() const;
    [[nodiscard]] QColor sidebarSeparatorColor() const;
    // Text in the accent colour (links, flat buttons, selected tabs, headings): the accent where it reads on
    // the light backgrounds, a light blue of the Material palette (Blue 300) on the dark ones, where the
    // accent is too dark to read as text.
    [[nodiscard]] QColor accentTextColor() const;
    [[nodiscard]] int notificationSpacing() const { return 15; }

private:
    [[nodiscard]] QColor pick(const char *light, const char *dark) const;

    bool m_light = false;
};
