// The create-computer form's choices: machine type items by kind, the remembered position across kind
// changes, the description of the selected type, the start rule and the password refusal. The stored user
// name and the reset are proven through the view (tst_createinstance.qml).
#include "create/createinstanceform.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCreateInstanceForm : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

    // name, title, identifier; each described as "about <name>"
    QList<ComputerTemplate *> makeTemplates(const QList<std::tuple<QString, QString, int>> &spec)
    {
        QList<ComputerTemplate *> list;
        for (const auto &[name, title, id] : spec) {
            auto *t = new ComputerTemplate(this);
            t->setName(name);
            t->setTitle(title);
            t->setIdentifier(id);
            t->setSpecDescription(QStringLiteral("about ") + name);
            list.append(t);
        }
        return list;
    }

    // Each regular type followed by its spot variant, as the service lists them.
    QList<ComputerTemplate *> pairedTemplates()
    {
        return makeTemplates({{"small", "Small", 1},
                              {"small-spot", "Small (spot)", 2},
                              {"gpu", "GPU", 3},
                              {"GPU-SPOT", "GPU (spot)", 4},
                              {"big", "Big", 5},
                              {"big-spot", "Big (spot)", 6}});
    }

    static QStringList titles(const CreateInstanceForm &form)
    {
        QStringList list;
        for (const QVariant &item : form.items())
            list << item.toMap().value("text").toString();
        return list;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
        QCoreApplication::setOrganizationName(QStringLiteral("vantorix-form-test"));
        QCoreApplication::setApplicationName(QStringLiteral("vantorix-form-test"));
    }

    void itemsByKind()
    {
        CreateInstanceForm form;
        QCOMPARE(titles(form), QStringList({"Select your machine type"}));
        QCOMPARE(form.items().at(0).toMap().value("value").toString(), QString());

        form.setTemplates(pairedTemplates());
        QCOMPARE(titles(form), QStringList({"Select your machine type", "Small", "GPU", "Big"}));
        QCOMPARE(form.items().at(2).toMap().value("value").toInt(), 3);

        form.setSpot(true);
        // "GPU-SPOT" counts as spot in any letter case.
        QCOMPARE(titles(form),
                 QStringList({"Select your machine type", "Small (spot)", "GPU (spot)", "Big (spot)"}));
        QCOMPARE(form.currentIndex(), 0);
        QVERIFY(form.description().isEmpty());
    }

    void spotToggleKeepsPosition_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("spotIdentifier");
        QTest::addColumn<QString>("spotDescription");
        QTest::newRow("first") << 1 << 2 << "about small-spot";
        // The second regular type, then spot: the second spot type, described by position 3 of the list.
        QTest::newRow("second") << 2 << 4 << "about GPU-SPOT";
        QTest::newRow("third") << 3 << 6 << "about big-spot";
    }

    void spotToggleKeepsPosition()
    {
        QFETCH(int, chosen);
        QFETCH(int, spotIdentifier);
        QFETCH(QString, spotDescription);
        CreateInstanceForm form;
        const QList<ComputerTemplate *> templates = pairedTemplates();
        form.setTemplates(templates);
        form.choose(chosen);
        const QString regularDescription = form.description();
        const int regularIdentifier = form.selectedIdentifier();
        QCOMPARE(regularDescription, templates.at(2 * (chosen - 1))->specDescription());

        QSignalSpy indexSpy(&form, &CreateInstanceForm::currentIndexChanged);
        form.setSpot(true);
        QVERIFY(indexSpy.count() >= 1); // the combo box is told even though the number stays
        QCOMPARE(form.currentIndex(), chosen);
        QCOMPARE(form.selectedIdentifier(), spotIdentifier);
        QCOMPARE(form.description(), spotDescription);

        form.setSpot(false);
        QCOMPARE(form.selectedIdentifier(), regularIdentifier);
        QCOMPARE(form.description(), regularDescription);
    }

    void unpairedListDescribesTheSelectedType()
    {
        // Two regular types and one spot type, not in pairs.
        CreateInstanceForm form;
        form.setTemplates(makeTemplates({{"a", "A", 10}, {"b", "B", 11}, {"b-spot", "B (spot)", 12}}));
        form.choose(2);
        QCOMPARE(form.selectedIdentifier(), 11);
        QCOMPARE(form.description(), QStringLiteral("about b"));

        // Position 2 does not exist among the spot types: back to the prompt, nothing is picked for the user.
        form.setSpot(true);
        QCOMPARE(form.items().size(), 2);
        QCOMPARE(form.currentIndex(), 0);
        QVERIFY(!form.typeChosen());
        QCOMPARE(form.selectedIdentifier(), -1);
        QVERIFY(form.description().isEmpty());
        QVERIFY(!form.canStart(true));

        // The remembered position still stands when going back.
        form.setSpot(false);
        QCOMPARE(form.currentIndex(), 2);
        QCOMPARE(form.selectedIdentifier(), 11);

        form.setSpot(true);
        form.choose(1);
        QCOMPARE(form.selectedIdentifier(), 12);
        QCOMPARE(form.description(), QStringLiteral("about b-spot"));
        form.choose(5); // no such item
        QCOMPARE(form.currentIndex(), 1);
    }

    // After a reset (the prompt item), a change of kind keeps the prompt; a new template list brings back
    // the chosen position where it exists.
    void promptAndChoiceAcrossChanges()
    {
        CreateInstanceForm form;
        form.setTemplates(pairedTemplates());
        form.setSpot(true);
        form.choose(2);
        form.reset();
        QCOMPARE(form.currentIndex(), 0);
        form.setSpot(false);
        QCOMPARE(form.currentIndex(), 0);

        form.choose(3);
        form.setTemplates({});
        QCOMPARE(form.currentIndex(), 0);
        QVERIFY(!form.canStart(true));
        form.setTemplates(pairedTemplates());
        QCOMPARE(form.currentIndex(), 3);
        QCOMPARE(form.selectedIdentifier(), 5);
    }

    void canStart_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("fieldsValid");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no templates") << false << 0 << true << false;
        QTest::newRow("prompt selected") << true << 0 << true << false;
        QTest::newRow("invalid fields") << true << 1 << false << false;
        QTest::newRow("all set") << true << 1 << true << true;
    }

    void canStart()
    {
        QFETCH(bool, loaded);
        QFETCH(int, chosen);
        QFETCH(bool, fieldsValid);
        QFETCH(bool, enabled);
        CreateInstanceForm form;
        if (loaded)
            form.setTemplates(pairedTemplates());
        QSignalSpy spy(&form, &CreateInstanceForm::startEnabledChanged);
        form.choose(chosen);
        form.setFieldsValid(fieldsValid);
        QCOMPARE(form.canStart(fieldsValid), enabled);
        QCOMPARE(form.startEnabled(), enabled);
        if (enabled)
            QVERIFY(spy.count() >= 1);
        // Emptying the template list (a new visit) disables the button at once.
        form.setTemplates({});
        QVERIFY(!form.startEnabled());
    }

    void passwordContainsUserName_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("contains");
        QTest::addColumn<QString>("username");
        QTest::newRow("start") << "aliceX1!aaaa" << true << "alice";
        QTest::newRow("middle, other case") << "Xy1!ALiCe9z" << true << "alice";
        QTest::newRow("user name in capitals") << "xx-bob-77A!" << true << "BOB";
        QTest::newRow("end") << "Secret1!carol" << true << "carol";
        QTest::newRow("not contained") << "Secret1!alic" << false << "alice";
        QTest::newRow("empty user name") << "Secret1!" << false << "";
    }

    void passwordContainsUserName()
    {
        QFETCH(QString, password);
        QFETCH(QString, username);
        QFETCH(bool, contains);
        QCOMPARE(CreateInstanceForm::passwordContainsUserName(password, username), contains);
    }
};

QTEST_GUILESS_MAIN(TestCreateInstanceForm)
#include "tst_createinstanceform.moc"
