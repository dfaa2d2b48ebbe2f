// The start-up yardstick: a bare Qt Quick window (one rectangle) built with the same toolchain and Qt as
// the client. bench/startup.py starts it side by side with the client and times both to the first frame.
// With the argument "material" it is a Material-style ApplicationWindow with one button instead: the floor
// that the client's style alone sets.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    if (argc > 1 && qstrcmp(argv[1], "material") == 0) {
        QQuickStyle::setStyle(QStringLiteral("Material"));
        engine.loadData("import QtQuick\nimport QtQuick.Controls\n"
                        "ApplicationWindow { visible: true; width: 1000; height: 700\n"
                        "    Button { anchors.centerIn: parent; text: \"Sign in\" } }");
        return engine.rootObjects().isEmpty() ? 1 : app.exec();
    }
    engine.loadData("import QtQuick\n"
                    "Window { visible: true; width: 1000; height: 700\n"
                    "    Rectangle { anchors.fill: parent; color: \"white\" } }");
    if (engine.rootObjects().isEmpty())
        return 1;
    return app.exec();
}
