// Notification texts quote the service, so they are hostile input. Rendered in a real window, image
// tags (plain, nested, split, in other elements' attributes) must fetch nothing from a test server; a
// plain rich-text item with the same image is the control that shows the server would have seen a fetch.
// Links with any scheme but http(s) must not count as openable (the notifications views test shows that a
// notification opens only what counts as openable).
#include "ui/notificationpolicy.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(Vantorix_CorePlugin)
Q_IMPORT_QML_PLUGIN(VantorixPlugin)

// Counts every connection a text makes to fetch something.
class FetchCounter : public QObject {
    Q_OBJECT
public:
    FetchCounter()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                ++connections;
                socket->deleteLater();
            }
        });
    }
    [[nodiscard]] QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server.serverPort()).arg(path);
    }
    QTcpServer server;
    int connections = 0;
};

class TestHostileNotifications : public QObject {
    Q_OBJECT

private:
    QQmlEngine m_engine;
    FetchCounter m_fetches;
    QQuickWindow m_window;

    QQuickItem *show(const QByteArray &qml, const QString &text)
    {
        QQmlComponent component(&m_engine);
        component.setData(qml, QUrl(QStringLiteral("qrc:/hostile/Case.qml")));
        auto *item = qobject_cast<QQuickItem *>(component.createWithInitialProperties({{"text", text}}));
        if (!item) {
            qWarning() << component.errors();
            return nullptr;
        }
        item->setParentItem(m_window.contentItem());
        item->setWidth(600);
        return item;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QQuickStyle::setStyle(QStringLiteral("Material"));
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        m_window.resize(800, 600);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }

    void images_data()
    {
        QTest::addColumn<QString>("text");
        const QString src = m_fetches.url(QStringLiteral("pixel.png"));
        QTest::newRow("plain") << QStringLiteral("Low credits <img src=\"%1\">").arg(src);
        QTest::newRow("upper case") << QStringLiteral("<IMG SRC='%1'>").arg(src);
        QTest::newRow("spaces and line break") << QStringLiteral("< img\nsrc=%1 width=1 >").arg(src);
        QTest::newRow("nested") << QStringLiteral("<<img src=x>img src=\"%1\">").arg(src);
        QTest::newRow("split by an inner tag") << QStringLiteral("<im<img>g src=\"%1\">").arg(src);
        QTest::newRow("unclosed") << QStringLiteral("<b>bold</b> <img src=\"%1\"").arg(src);
        QTest::newRow("table background")
            << QStringLiteral("<table background=\"%1\"><tr><td>x</td></tr></table>").arg(src);
        QTest::newRow("cell background")
            << QStringLiteral("<table><tr><td background=\"%1\">x</td></tr></table>").arg(src);
        QTest::newRow("body background")
            << QStringLiteral("<html><body background=\"%1\">x</body></html>").arg(src);
        QTest::newRow("css background")
            << QStringLiteral("<p style=\"background-image: url(%1)\">x</p>").arg(src);
        QTest::newRow("protocol-relative")
            << QStringLiteral("<img src=\"//127.0.0.1:%1/p.png\">").arg(m_fetches.server.serverPort());
    }

    void images()
    {
        QFETCH(QString, text);
        const int before = m_fetches.connections;
        std::unique_ptr<QQuickItem> item(show("import Vantorix\nNotification { lifespan: 0 }", text));
        QVERIFY(item);
        QTest::qWait(400); // a fetch would have connected by now (the control below connects at once)
        QCOMPARE(m_fetches.connections, before);
    }

    // The control: a plain rich text with the same image does reach the server.
    void controlFetches()
    {
        const int before = m_fetches.connections;
        std::unique_ptr<QQuickItem> item(
            show("import QtQuick\nText { textFormat: Text.RichText }",
                 QStringLiteral("<img src=\"%1\">").arg(m_fetches.url(QStringLiteral("control.png")))));
        QVERIFY(item);
        QTRY_VERIFY_WITH_TIMEOUT(m_fetches.connections > before, 10000);
    }

    void links_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("opens");
        QTest::newRow("https") << "https://vantorix.example/faq" << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("javascript, mixed case and spaces") << " JavaScript:alert(1)" << false;
        QTest::newRow("data") << "data:text/html,<script>alert(1)</script>" << false;
        QTest::newRow("custom scheme") << "vantorix://run?cmd=x" << false;
        QTest::newRow("mailto") << "mailto:x@example.org" << false;
        QTest::newRow("ftp") << "ftp://example.org/x" << false;
        QTest::newRow("http without host") << "http:/etc/passwd" << false;
        QTest::newRow("relative") << "/etc/passwd" << false;
    }

    void links()
    {
        QFETCH(QString, link);
        QTEST(NotificationPolicy::isOpenableLink(link), "opens");
    }
};

QTEST_MAIN(TestHostileNotifications)
#include "tst_hostilenotifications.moc"
