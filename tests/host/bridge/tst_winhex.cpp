// The hexadecimal form of the Windows backend's protected blocks (plain C++, so it runs here too).

#include "hex.h"

#include <QtTest>

class TestWinHex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toLowerHex_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("hex");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("line feed byte") << QByteArray("\x0a", 1) << QStringLiteral("0a");
        QTest::newRow("zero and high") << QByteArray("\x00\xff\x10\xab", 4) << QStringLiteral("00ff10ab");
    }

    void toLowerHex()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, hex);
        const std::string text = vantorix::win::toLowerHex(
            reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
        QCOMPARE(QString::fromStdString(text), hex);

        std::vector<unsigned char> back;
        QVERIFY(vantorix::win::fromHex(text, back));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(back.data()), static_cast<qsizetype>(back.size())),
                 bytes);
    }

    void fromHexRejects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("odd length") << QStringLiteral("abc");
        QTest::newRow("not a digit") << QStringLiteral("0g");
        QTest::newRow("blank") << QStringLiteral("0a 1b");
    }

    void fromHexRejects()
    {
        QFETCH(QString, text);
        std::vector<unsigned char> bytes{1, 2};
        QVERIFY(!vantorix::win::fromHex(text.toStdString(), bytes));
        QVERIFY(bytes.empty());
    }
};

QTEST_APPLESS_MAIN(TestWinHex)
#include "tst_winhex.moc"
