// The create-computer form's choices: machine type items by kind, the remembered position across kind
// changes, the description of the selected type, the start rule, the password refusal and the stored
// user name.
#include "create/createinstanceform.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCreateInstanceForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void itemsByKind();
    void spotToggleKeepsPosition_data();
    void spotToggleKeepsPosition();
    void unpairedListDescribesTheSelectedType();
    void resetSelectsPrompt();
    void newTemplateListKeepsChoiceWhenItExists();
    void canStart_data();
    void canStart();
    void passwordContainsUserName_data();
    void passwordContainsUserName();
    void usernameIsStored();

private:
    // name, title, identifier, description
    QList<ComputerTemplate *> makeTemplates(const QList<std::tuple<QString, QString, int>> &spec);
    QList<ComputerTemplate *> pairedTemplates();
    QTemporaryDir m_config;
};

void TestCreateInstanceForm::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    QCoreApplication::setOrganizationName(QStringLiteral("vantorix-form-test"));
    QCoreApplication::setApplicationName(QStringLiteral("vantorix-form-test"));
}

QList<ComputerTemplate *>
TestCreateInstanceForm::makeTemplates(const QList<std::tuple<QString, QString, int>> &spec)
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
QList<ComputerTemplate *> TestCreateInstanceForm::pairedTemplates()
{
    return makeTemplates({{"small", "Small", 1},
                          {"small-spot", "Small (spot)", 2},
                          {"gpu", "GPU", 3},
                          {"GPU-SPOT", "GPU (spot)", 4},
                          {"big", "Big", 5},
                          {"big-spot", "Big (spot)", 6}});
}

void TestCreateInstanceForm::itemsByKind()
{
    CreateInstanceForm form;
    QCOMPARE(form.items().size(), 1);
    QCOMPARE(form.items().at(0).toMap().value("text").toString(), QStringLiteral("Select your machine type"));
    QCOMPARE(form.items().at(0).toMap().value("value").toString(), QString());

    form.setTemplates(pairedTemplates());
    QStringList titles;
    for (const QVariant &item : form.items())
        titles << item.toMap().value("text").toString();
    QCOMPARE(titles, QStringList({"Select your machine type", "Small", "GPU", "Big"}));
    QCOMPARE(form.items().at(2).toMap().value("value").toInt(), 3);

    form.setSpot(true);
    titles.clear();
    for (const QVariant &item : form.items())
        titles << item.toMap().value("text").toString();
    // "GPU-SPOT" counts as spot in any letter case.
    QCOMPARE(titles, QStringList({"Select your machine type", "Small (spot)", "GPU (spot)", "Big (spot)"}));
    QCOMPARE(form.currentIndex(), 0);
    QVERIFY(form.description().isEmpty());
}

void TestCreateInstanceForm::spotToggleKeepsPosition_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("spotIdentifier");
    QTest::addColumn<QString>("spotDescription");
    QTest::newRow("first") << 1 << 2 << "about small-spot";
    // The second regular type, then spot: the second spot type, described by position 3 of the list.
    QTest::newRow("second") << 2 << 4 << "about GPU-SPOT";
    QTest::newRow("third") << 3 << 6 << "about big-spot";
}

void TestCreateInstanceForm::spotToggleKeepsPosition()
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
    QCOMPARE(form.description(), templates.at(2 * (chosen - 1) + 1)->specDescription());

    form.setSpot(false);
    QCOMPARE(form.selectedIdentifier(), regularIdentifier);
    QCOMPARE(form.description(), regularDescription);
}

void TestCreateInstanceForm::unpairedListDescribesTheSelectedType()
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

void TestCreateInstanceForm::resetSelectsPrompt()
{
    CreateInstanceForm form;
    form.setTemplates(pairedTemplates());
    form.setSpot(true);
    form.choose(2);
    form.reset();
    QCOMPARE(form.currentIndex(), 0);
    QVERIFY(form.spot());
    // A later change of kind keeps the prompt item.
    form.setSpot(false);
    QCOMPARE(form.currentIndex(), 0);
}

void TestCreateInstanceForm::newTemplateListKeepsChoiceWhenItExists()
{
    CreateInstanceForm form;
    form.setTemplates(pairedTemplates());
    form.choose(3);
    form.setTemplates({});
    QCOMPARE(form.currentIndex(), 0);
    QVERIFY(!form.canStart(true));
    form.setTemplates(pairedTemplates());
    QCOMPARE(form.currentIndex(), 3);
    QCOMPARE(form.selectedIdentifier(), 5);
}

void TestCreateInstanceForm::canStart_data()
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

void TestCreateInstanceForm::canStart()
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

void TestCreateInstanceForm::passwordContainsUserName_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("username");
    QTest::addColumn<bool>("contains");
    QTest::newRow("start") << "aliceX1!aaaa"
                           << "alice" << true;
    QTest::newRow("middle, other case") << "Xy1!ALiCe9z"
                                        << "alice" << true;
    QTest::newRow("user name in capitals") << "xx-bob-77A!"
                                           << "BOB" << true;
    QTest::newRow("end") << "Secret1!carol"
                         << "carol" << true;
    QTest::newRow("not contained") << "Secret1!alic"
                                   << "alice" << false;
    QTest::newRow("empty user name") << "Secret1!"
                                     << "" << false;
}

void TestCreateInstanceForm::passwordContainsUserName()
{
    QFETCH(QString, password);
    QFETCH(QString, username);
    QFETCH(bool, contains);
    QCOMPARE(CreateInstanceForm::passwordContainsUserName(password, username), contains);
}

void TestCreateInstanceForm::usernameIsStored()
{
    {
        CreateInstanceForm form;
        form.setUsername(QStringLiteral("operator"));
    }
    QCOMPARE(QSettings().value("username").toString(), QStringLiteral("operator"));
    CreateInstanceForm again;
    QCOMPARE(again.username(), QStringLiteral("operator"));
    // Cleared is remembered as cleared.
    again.setUsername(QString());
    QCOMPARE(CreateInstanceForm().username(), QString());
    QVERIFY(QSettings().contains("username"));
}

QTEST_GUILESS_MAIN(TestCreateInstanceForm)
#include "tst_createinstanceform.moc"
