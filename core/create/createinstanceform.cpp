#include "createinstanceform.h"

#include "logging.h"

#include <QSettings>
#include <QVariantMap>

namespace {
const char *const kUsernameKey = "username";
} // namespace

CreateInstanceForm::CreateInstanceForm(QObject *parent) : QObject(parent)
{
    const QSettings store;
    m_username = store.value(QLatin1String(kUsernameKey)).toString();
}

QList<ComputerTemplate *> CreateInstanceForm::templates() const
{
    QList<ComputerTemplate *> list;
    for (const auto &t : m_templates) {
        if (t)
            list.append(t);
    }
    return list;
}

QVariantList CreateInstanceForm::items() const
{
    QVariantList list;
    list.append(QVariantMap{{QStringLiteral("text"), promptText()}, {QStringLiteral("value"), QString()}});
    for (const auto &t : m_shown) {
        list.append(QVariantMap{{QStringLiteral("text"), t ? t->title() : QString()},
                                {QStringLiteral("value"), t ? t->identifier() : -1}});
    }
    return list;
}

QString CreateInstanceForm::promptText()
{
    return QStringLiteral("Select your machine type");
}

ComputerTemplate *CreateInstanceForm::selectedTemplate() const
{
    if (m_currentIndex < 1 || m_currentIndex > m_shown.size())
        return nullptr;
    return m_shown.at(m_currentIndex - 1);
}

int CreateInstanceForm::selectedIdentifier() const
{
    const ComputerTemplate *t = selectedTemplate();
    return t ? t->identifier() : -1;
}

QString CreateInstanceForm::description() const
{
    const ComputerTemplate *t = selectedTemplate();
    return t ? t->specDescription() : QString();
}

void CreateInstanceForm::setTemplates(const QList<ComputerTemplate *> &templates)
{
    m_templates.clear();
    for (ComputerTemplate *t : templates) {
        if (t)
            m_templates.append(t);
    }
    Q_EMIT templatesChanged();
    rebuild();
}

void CreateInstanceForm::setSpot(bool spot)
{
    if (spot == m_spot)
        return;
    m_spot = spot;
    Q_EMIT spotChanged();
    rebuild();
}

void CreateInstanceForm::setUsername(const QString &username)
{
    if (username == m_username)
        return;
    m_username = username;
    QSettings store;
    store.setValue(QLatin1String(kUsernameKey), username);
    Q_EMIT usernameChanged();
}

void CreateInstanceForm::setFieldsValid(bool valid)
{
    if (valid == m_fieldsValid)
        return;
    m_fieldsValid = valid;
    Q_EMIT startEnabledChanged();
}

void CreateInstanceForm::rebuild()
{
    m_shown.clear();
    for (const auto &t : m_templates) {
        if (t && t->isSpot() == m_spot)
            m_shown.append(t);
    }
    Q_EMIT itemsChanged();
    int index = m_rememberedIndex > 0 ? m_rememberedIndex : 0;
    if (index > m_shown.size()) {
        qCDebug(lcCore) << "machine type position" << index << "is not in the"
                        << (m_spot ? "spot" : "regular") << "list; the prompt item is selected";
        index = 0;
    }
    setCurrentIndex(index);
    // The combo box rebuilt its items: tell it the selection even when the number stayed the same.
    Q_EMIT currentIndexChanged();
    Q_EMIT startEnabledChanged();
}

void CreateInstanceForm::setCurrentIndex(int index)
{
    if (index == m_currentIndex)
        return;
    m_currentIndex = index;
    Q_EMIT currentIndexChanged();
    Q_EMIT startEnabledChanged();
}

void CreateInstanceForm::choose(int index)
{
    if (index < 0 || index > m_shown.size()) {
        qCWarning(lcCore) << "machine type position" << index << "does not exist; ignored";
        return;
    }
    if (index != m_rememberedIndex) {
        m_rememberedIndex = index;
        Q_EMIT rememberedIndexChanged();
    }
    setCurrentIndex(index);
}

void CreateInstanceForm::reset()
{
    choose(0);
}

bool CreateInstanceForm::canStart(bool fieldsValid) const
{
    return fieldsValid && !m_shown.isEmpty() && typeChosen() && selectedIdentifier() >= 0;
}

bool CreateInstanceForm::passwordContainsUserName(const QString &password, const QString &username)
{
    if (username.isEmpty())
        return false;
    return password.toLower().contains(username.toLower());
}

QString CreateInstanceForm::passwordContainsUserNameMessage()
{
    return QStringLiteral("Machine password can not contain the machines username.");
}
