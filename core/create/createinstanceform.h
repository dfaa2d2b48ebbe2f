#pragma once

#include "records/computertemplate.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The choices of the create-computer form: the machine type items built from the service's templates
// (regular or spot), the selected item and the position the user last chose, the description of the
// selected machine type, the rules of the "Start Machine" button and the remembered user name.
//
// Items: the prompt item first (empty value), then the templates of the selected kind in the service's
// order, each shown by its title with its identifier as value. Toggling the kind keeps the position the
// user chose, so a machine type keeps its place between its regular and spot variant; a position the
// other list does not have falls back to the prompt item (the user then chooses again, nothing else is
// picked for them). The description is the selected template's own, whatever the list's order.
//
// The user name is kept in the settings store under "username" (top level), written on every change,
// so the last name typed (or cleared) is offered again next time.
class CreateInstanceForm : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QList<ComputerTemplate *> templates READ templates WRITE setTemplates NOTIFY templatesChanged)
    Q_PROPERTY(bool spot READ spot WRITE setSpot NOTIFY spotChanged)
    // [{ "text": title, "value": identifier }], the prompt item first with the value "".
    Q_PROPERTY(QVariantList items READ items NOTIFY itemsChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
    // The position the user last chose; -1 before any choice.
    Q_PROPERTY(int rememberedIndex READ rememberedIndex NOTIFY rememberedIndexChanged)
    Q_PROPERTY(bool typeChosen READ typeChosen NOTIFY currentIndexChanged)
    // The chosen template's identifier; -1 while the prompt item is selected.
    Q_PROPERTY(int selectedIdentifier READ selectedIdentifier NOTIFY currentIndexChanged)
    Q_PROPERTY(QString description READ description NOTIFY currentIndexChanged)
    Q_PROPERTY(QString username READ username WRITE setUsername NOTIFY usernameChanged)
    Q_PROPERTY(QString promptText READ promptText CONSTANT)
    // Whether the name, user-name and password fields pass their rules (set by the view).
    Q_PROPERTY(bool fieldsValid READ fieldsValid WRITE setFieldsValid NOTIFY startEnabledChanged)
    // canStart(fieldsValid), for the "Start Machine" button.
    Q_PROPERTY(bool startEnabled READ startEnabled NOTIFY startEnabledChanged)

public:
    explicit CreateInstanceForm(QObject *parent = nullptr);

    [[nodiscard]] QList<ComputerTemplate *> templates() const;
    [[nodiscard]] bool spot() const { return m_spot; }
    [[nodiscard]] QVariantList items() const;
    [[nodiscard]] int currentIndex() const { return m_currentIndex; }
    [[nodiscard]] int rememberedIndex() const { return m_rememberedIndex; }
    [[nodiscard]] bool typeChosen() const { return m_currentIndex > 0; }
    [[nodiscard]] int selectedIdentifier() const;
    [[nodiscard]] QString description() const;
    [[nodiscard]] QString username() const { return m_username; }
    [[nodiscard]] static QString promptText();
    [[nodiscard]] bool fieldsValid() const { return m_fieldsValid; }
    [[nodiscard]] bool startEnabled() const { return canStart(m_fieldsValid); }

    void setTemplates(const QList<ComputerTemplate *> &templates);
    void setSpot(bool spot);
    void setUsername(const QString &username);
    void setFieldsValid(bool valid);

    // The user picked the item at `index` (remembered for the next change of kind).
    Q_INVOKABLE void choose(int index);
    // Back to the prompt item; the kind stays as it is.
    Q_INVOKABLE void reset();
    // "Start Machine" is enabled: templates are loaded, a machine type is chosen and the fields are valid.
    Q_INVOKABLE [[nodiscard]] bool canStart(bool fieldsValid) const;
    // The password holds the user name, in any letter case (refused before anything is sent). An empty
    // user name is contained in nothing.
    Q_INVOKABLE [[nodiscard]] static bool passwordContainsUserName(const QString &password,
                                                                   const QString &username);
    // The refusal shown for such a password.
    Q_INVOKABLE [[nodiscard]] static QString passwordContainsUserNameMessage();

Q_SIGNALS:
    void templatesChanged();
    void spotChanged();
    void itemsChanged();
    void currentIndexChanged();
    void rememberedIndexChanged();
    void usernameChanged();
    void startEnabledChanged();

private:
    void rebuild();
    void setCurrentIndex(int index);
    [[nodiscard]] ComputerTemplate *selectedTemplate() const;

    QList<QPointer<ComputerTemplate>> m_templates;
    QList<QPointer<ComputerTemplate>> m_shown; // the templates behind items 1..n
    bool m_spot = false;
    int m_currentIndex = 0;
    int m_rememberedIndex = -1;
    QString m_username;
    bool m_fieldsValid = false;
};
