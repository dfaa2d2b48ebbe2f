#include "serviceconfig.h"

#include <QTest>

class TestServiceConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resolve_data()
    {
        QTest::addColumn<QString>("overrideText");
        QTest::addColumn<QString>("expected");
        const QString fallback = QStringLiteral(VANTORIX_DEFAULT_SERVICE_URL);
        QTest::newRow("empty gives the default") << "" << fallback;
        QTest::newRow("blank gives the default") << "   " << fallback;
        QTest::newRow("https remote") << "https://cloud.example.org" << "https://cloud.example.org";
        QTest::newRow("http loopback v4") << "http://127.0.0.1:8123" << "http://127.0.0.1:8123";
        QTest::newRow("http localhost") << "http://localhost:9000" << "http://localhost:9000";
        QTest::newRow("http loopback v6") << "http://[::1]:9000" << "http://[::1]:9000";
        QTest::newRow("http remote refused") << "http://cloud.example.org" << fallback;
        QTest::newRow("http private address refused") << "http://192.168.1.5:80" << fallback;
        QTest::newRow("http host that only starts like loopback") << "http://127.0.0.1.evil.example" << fallback;
        QTest::newRow("ftp refused") << "ftp://127.0.0.1" << fallback;
        QTest::newRow("file refused") << "file:///etc/passwd" << fallback;
        QTest::newRow("no scheme refused") << "vantorix.example" << fallback;
        QTest::newRow("garbage refused") << "::::" << fallback;
    }
    void resolve()
    {
        QFETCH(QString, overrideText);
        QFETCH(QString, expected);
        if (QUrl(expected) == QUrl(QStringLiteral(VANTORIX_DEFAULT_SERVICE_URL)) && !overrideText.trimmed().isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Refusing service URL")));
        QCOMPARE(ServiceConfig::resolve(overrideText), QUrl(expected));
    }

    void origin_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("origin");
        QTest::newRow("path and query dropped") << "https://vantorix.example/a/b?x=1" << "https://vantorix.example";
        QTest::newRow("port kept") << "http://127.0.0.1:8123/" << "http://127.0.0.1:8123";
        QTest::newRow("user info dropped") << "https://u:p@vantorix.example" << "https://vantorix.example";
    }
    void origin()
    {
        QFETCH(QString, url);
        QFETCH(QString, origin);
        QCOMPARE(ServiceConfig::origin(QUrl(url)), origin);
    }
};

QTEST_GUILESS_MAIN(TestServiceConfig)
#include "tst_serviceconfig.moc"
