// Every view file must compile against the QML modules installed on this machine (a missing runtime
// module is only noticed when a file that imports it loads), and every icon and view file that a view,
// the core or the program names must be compiled in.

#include "computer/computer.h"

#include <QDirIterator>
#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Vantorix_CorePlugin)
Q_IMPORT_QML_PLUGIN(VantorixPlugin)

class TestViewResources : public QObject {
    Q_OBJECT

    static QStringList viewFiles()
    {
        QStringList files;
        QDirIterator it(QStringLiteral(":/Vantorix"), {QStringLiteral("*.qml")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        files.sort();
        return files;
    }

    static QString read(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }

private Q_SLOTS:
    void everyViewCompiles_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &file : viewFiles())
            QTest::newRow(qPrintable(file)) << file;
    }

    // With Qt 6.4, every visible HoverHandler is recorded again in a per-device list at each animated frame
    // while the mouse rests over the window, and the list empties only on the next real mouse event: a
    // signed-in window with a few dozen cards grew by about 0.8 MB a minute. Hover and cursor shapes come
    // from MouseArea instead (hover-enabled, or with no buttons for a cursor shape only).
    void everyViewCompiles()
    {
        QFETCH(QString, path);
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc") + path));
        QTRY_VERIFY_WITH_TIMEOUT(!component.isLoading(), 10000);
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));

        static const QRegularExpression handler(QStringLiteral("\\bHoverHandler\\s*\\{"));
        const QString text = read(path);
        const auto match = handler.match(text);
        QVERIFY2(!match.hasMatch(), qPrintable(QStringLiteral("HoverHandler at line %1")
                                                   .arg(text.left(match.capturedStart()).count(u'\n') + 1)));
    }

    // Icons by their resource path, views by a file name relative to the view naming them, and the files
    // the program itself loads.
    void everyNamedResourceIsCompiledIn_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("namedIn");
        static const QRegularExpression iconPath(
            QStringLiteral("qrc:/{0,3}(assets/icons/[A-Za-z0-9_.\\-]+)"));
        static const QRegularExpression viewPath(
            QStringLiteral("(?:resolvedUrl|createComponent|setSource)\\(\"([^\":]+\\.qml)\""));
        QSet<QString> seen;
        for (const QString &file : viewFiles()) {
            const QString text = read(file);
            QStringList named;
            for (auto m = iconPath.globalMatch(text); m.hasNext();)
                named.append(m.next().captured(1));
            for (auto m = viewPath.globalMatch(text); m.hasNext();)
                named.append(
                    QUrl(QLatin1String("qrc") + file).resolved(QUrl(m.next().captured(1))).path().mid(1));
            for (const QString &resource : named) {
                if (!seen.contains(resource + file)) {
                    seen.insert(resource + file);
                    QTest::newRow(qPrintable(file + QLatin1Char(' ') + resource)) << resource << file;
                }
            }
        }
        for (int platform = 0; platform <= 3; ++platform) {
            const QString icon = Computer::platformIcon(platform);
            if (!icon.isEmpty())
                QTest::newRow(qPrintable(QStringLiteral("platform %1").arg(platform)))
                    << icon.mid(icon.indexOf(QLatin1String("assets/icons/"))) << QStringLiteral("Computer");
        }
        QTest::newRow("root view") << "Vantorix/main.qml"
                                   << "main.cpp";
        QTest::newRow("plain effect") << "Vantorix/controls/PlainElevationEffect.qml"
                                      << "plaineffects.cpp";
    }

    void everyNamedResourceIsCompiledIn()
    {
        QFETCH(QString, resource);
        QFETCH(QString, namedIn);
        QFile file(QStringLiteral(":/") + resource);
        QVERIFY2(file.exists(), qPrintable(resource + QStringLiteral(" named in ") + namedIn));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.size() > 0);
    }

    void everyIconFileIsAnSvgDocument()
    {
        QDirIterator it(QStringLiteral(":/assets/icons"), {QStringLiteral("*.svg")}, QDir::Files);
        int count = 0;
        while (it.hasNext()) {
            const QString content = read(it.next());
            QVERIFY2(content.contains(QLatin1String("<svg")), qPrintable(it.filePath()));
            ++count;
        }
        QVERIFY(count >= 30);
    }
};

QTEST_MAIN(TestViewResources)
#include "tst_viewresources.moc"
