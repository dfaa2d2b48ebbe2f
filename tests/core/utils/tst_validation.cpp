// The validators: every rule of every validator, in the order the rules are checked.
#include "utils/utils.h"

#include <QTest>

#include <functional>

using Validator = std::function<ValidationResult(const QVariant &)>;
Q_DECLARE_METATYPE(Validator)

class TestValidation : public QObject {
    Q_OBJECT

private:
    static void addRow(const char *name, const Validator &validator, const QVariant &value,
                       const QString &message)
    {
        QTest::newRow(name) << validator << value << message;
    }

private Q_SLOTS:
    void specialCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");

        // Each of the 30, alone and inside a word.
        const QString special = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_{|}");
        QCOMPARE(Utils::specialCharacters(), special);
        QCOMPARE(special.size(), 30);
        for (QChar ch : special) {
            const QByteArray alone = "alone " + QString(ch).toUtf8();
            QTest::newRow(alone.constData()) << QString(ch) << true;
            QTest::newRow(("inside " + QString(ch).toUtf8()).constData())
                << QStringLiteral("ab") + ch + QStringLiteral("cd") << true;
        }
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("letters digits") << QStringLiteral("MyPC 1") << false;
        QTest::newRow("space") << QStringLiteral(" ") << false;
        QTest::newRow("backtick") << QStringLiteral("`") << false;
        QTest::newRow("tilde") << QStringLiteral("~") << false;
        QTest::newRow("non-ascii punctuation") << QStringLiteral("€§«»¿") << false;
        QTest::newRow("fullwidth exclamation") << QStringLiteral("\uFF01") << false;
    }

    void specialCharacters()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(Utils::containsSpecialCharacters(text), expected);
    }

    void validators_data()
    {
        QTest::addColumn<Validator>("validator");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("message"); // empty: valid

        const QVariant notText = QVariant(12345678);
        const QVariant absent;
        auto s = [](const char *text) { return QVariant(QString::fromUtf8(text)); };

        // Account user name.
        const Validator username = &Utils::validateUsername;
        addRow("username: number", username, notText, "Username must be a string type.");
        addRow("username: undefined", username, absent, "Username must be a string type.");
        addRow("username: 26 chars", username, QVariant(QString(26, u'a')),
               "Username cannot be more than 25 characters in length.");
        addRow("username: 25 chars", username, QVariant(QString(25, u'a')), QString());
        addRow("username: empty passes", username, s(""), QString());
        addRow("username: specials allowed", username, s("a.b-c_d@e"), QString());

        // Account password.
        const Validator userPassword = &Utils::validateUserPassword;
        addRow("userPassword: bool", userPassword, QVariant(true), "Password must be a string type.");
        addRow("userPassword: 7 chars", userPassword, s("ab1!xyz"),
               "Password must be at least eight characters long.");
        addRow("userPassword: 7 lower + digit", userPassword, s("abcdefg1"),
               "Password must contain at least one special character.");
        addRow("userPassword: no digit", userPassword, s("abcdefg!"),
               "Password must contain at least one number.");
        addRow("userPassword: leading space", userPassword, s(" abcdef1!"),
               "Password cannot start with whitespace characters.");
        addRow("userPassword: leading tab", userPassword, s("\tabcdef1!"),
               "Password cannot start with whitespace characters.");
        addRow("userPassword: trailing space", userPassword, s("abcdef1! "),
               "Password name cannot end with whitespace characters.");
        addRow("userPassword: trailing no-break space", userPassword, s("abcdef1!\u00a0"),
               "Password name cannot end with whitespace characters.");
        addRow("userPassword: no upper case needed", userPassword, s("abcdef1!"), QString());
        addRow("userPassword: inner space fine", userPassword, s("abc def1!"), QString());
        addRow("userPassword: fullwidth digit is no number", userPassword, s("abcdefg!\uff11"),
               "Password must contain at least one number.");

        // Computer name.
        const Validator computerName = &Utils::validateComputerName;
        addRow("computerName: null", computerName, QVariant::fromValue(nullptr),
               "Machine name must be a string type.");
        addRow("computerName: two chars", computerName, s("ab"),
               "Machine name must be at least three characters long.");
        addRow("computerName: empty", computerName, s(""),
               "Machine name must be at least three characters long.");
        addRow("computerName: My PC 1", computerName, s("My PC 1"), QString());
        addRow("computerName: hyphen", computerName, s("My-PC 1"),
               "Machine name cannot contain special characters.");
        addRow("computerName: ampersand", computerName, s("a&b=c"),
               "Machine name cannot contain special characters.");
        addRow("computerName: leading space", computerName, s(" MyPC"),
               "Machine name cannot start with whitespace characters.");
        addRow("computerName: trailing newline", computerName, s("MyPC\n"),
               "Machine name cannot end with whitespace characters.");
        addRow("computerName: long", computerName, QVariant(QString(300, u'x')), QString());
        addRow("computerName: special before whitespace", computerName, s(" a-b"),
               "Machine name cannot contain special characters.");

        // Windows user name.
        const Validator computerUser = &Utils::validateComputerUserName;
        addRow("computerUser: list", computerUser, QVariant(QVariantList{1, 2}),
               "Username must be a string type.");
        addRow("computerUser: two chars", computerUser, s("ab"),
               "Username must be at least three characters long.");
        addRow("computerUser: 19 chars", computerUser, QVariant(QString(19, u'u')), QString());
        addRow("computerUser: 20 chars", computerUser, QVariant(QString(20, u'u')),
               "Username must be at less than twenty characters long.");
        addRow("computerUser: full stop", computerUser, s("john.doe"), QString());
        addRow("computerUser: leading space", computerUser, s(" john"),
               "Username cannot start with whitespace characters.");
        addRow("computerUser: trailing space", computerUser, s("john "),
               "Username cannot end with whitespace characters.");

        // Windows password.
        const Validator computerPassword = &Utils::validateComputerPassword;
        addRow("computerPassword: number", computerPassword, notText, "Password must be a string type.");
        addRow("computerPassword: 7 chars", computerPassword, s("aA1!aA1"),
               "Password must be at least eight characters long.");
        addRow("computerPassword: no lower", computerPassword, s("ABCDEFG1!"),
               "Password must contain at least one lowercase letter.");
        addRow("computerPassword: eight lower", computerPassword, s("abcdefgh"),
               "Password must contain at least one uppercase letter.");
        addRow("computerPassword: no digit", computerPassword, s("abcdEFGH!"),
               "Password must contain at least one number.");
        addRow("computerPassword: no special", computerPassword, s("abcdEFG1"),
               "Password must contain at least one special character.");
        addRow("computerPassword: leading space", computerPassword, s(" abcEFG1!"),
               "Password cannot start with whitespace characters.");
        addRow("computerPassword: trailing space", computerPassword, s("abcEFG1! "),
               "Password name cannot end with whitespace characters.");
        addRow("computerPassword: valid", computerPassword, s("abcEFG1!"), QString());
        addRow("computerPassword: accented letters do not count", computerPassword, s("ÉÀÜÖ1234!"),
               "Password must contain at least one lowercase letter.");
    }

    void validators()
    {
        QFETCH(Validator, validator);
        QFETCH(QVariant, value);
        QFETCH(QString, message);

        const ValidationResult result = validator(value);
        QCOMPARE(result.message, message);
        QCOMPARE(result.valid, message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestValidation)
#include "tst_validation.moc"
