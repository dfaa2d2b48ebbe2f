#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// One machine type the service offers for new computers. Only identifier, name, title and description are
// shown; the rest is kept as the service sent it.
class ComputerTemplate : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int identifier READ identifier WRITE setIdentifier NOTIFY identifierChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QString region READ region WRITE setRegion NOTIFY regionChanged)
    Q_PROPERTY(QString zone READ zone WRITE setZone NOTIFY zoneChanged)
    Q_PROPERTY(QString machineType READ machineType WRITE setMachineType NOTIFY machineTypeChanged)
    Q_PROPERTY(QString publicImage READ publicImage WRITE setPublicImage NOTIFY publicImageChanged)
    Q_PROPERTY(QString diskType READ diskType WRITE setDiskType NOTIFY diskTypeChanged)
    Q_PROPERTY(QString diskSize READ diskSize WRITE setDiskSize NOTIFY diskSizeChanged)
    Q_PROPERTY(QString enableDisplay READ enableDisplay WRITE setEnableDisplay NOTIFY enableDisplayChanged)
    Q_PROPERTY(QString networkTier READ networkTier WRITE setNetworkTier NOTIFY networkTierChanged)
    Q_PROPERTY(QString externalIP READ externalIP WRITE setExternalIP NOTIFY externalIPChanged)
    Q_PROPERTY(QString renameHostToInstanceName READ renameHostToInstanceName WRITE
                   setRenameHostToInstanceName NOTIFY renameHostToInstanceNameChanged)
    Q_PROPERTY(QString tags READ tags WRITE setTags NOTIFY tagsChanged)
    Q_PROPERTY(QString price READ price WRITE setPrice NOTIFY priceChanged)
    Q_PROPERTY(
        QString specDescription READ specDescription WRITE setSpecDescription NOTIFY specDescriptionChanged)
    // A name ending in "-spot" (any case) marks a spot machine: cheaper, without guaranteed uptime.
    Q_PROPERTY(bool isSpot READ isSpot NOTIFY nameChanged)

public:
    explicit ComputerTemplate(QObject *parent = nullptr);

    // Builds a template from one entry of the template list. Texts are read leniently ("" when missing
    // or null). Refuses with a warning, returning nullptr, when "template_id" is missing or not a number:
    // such a template could not be used to create a computer.
    [[nodiscard]] static ComputerTemplate *fromJson(const QJsonObject &entry, QObject *parent = nullptr);
    // Builds the templates of a reply list in order, skipping (with a warning) entries that are refused or
    // not objects.
    [[nodiscard]] static QList<ComputerTemplate *> listFromJson(const QJsonArray &entries,
                                                                QObject *parent = nullptr);

    [[nodiscard]] bool isSpot() const;
    [[nodiscard]] int identifier() const { return m_identifier; }
    [[nodiscard]] QString name() const { return m_name; }
    [[nodiscard]] QString title() const { return m_title; }
    [[nodiscard]] QString region() const { return m_region; }
    [[nodiscard]] QString zone() const { return m_zone; }
    [[nodiscard]] QString machineType() const { return m_machineType; }
    [[nodiscard]] QString publicImage() const { return m_publicImage; }
    [[nodiscard]] QString diskType() const { return m_diskType; }
    [[nodiscard]] QString diskSize() const { return m_diskSize; }
    [[nodiscard]] QString enableDisplay() const { return m_enableDisplay; }
    [[nodiscard]] QString networkTier() const { return m_networkTier; }
    [[nodiscard]] QString externalIP() const { return m_externalIP; }
    [[nodiscard]] QString renameHostToInstanceName() const { return m_renameHostToInstanceName; }
    [[nodiscard]] QString tags() const { return m_tags; }
    [[nodiscard]] QString price() const { return m_price; }
    [[nodiscard]] QString specDescription() const { return m_specDescription; }

    void setIdentifier(int value);
    void setName(const QString &value);
    void setTitle(const QString &value);
    void setRegion(const QString &value);
    void setZone(const QString &value);
    void setMachineType(const QString &value);
    void setPublicImage(const QString &value);
    void setDiskType(const QString &value);
    void setDiskSize(const QString &value);
    void setEnableDisplay(const QString &value);
    void setNetworkTier(const QString &value);
    void setExternalIP(const QString &value);
    void setRenameHostToInstanceName(const QString &value);
    void setTags(const QString &value);
    void setPrice(const QString &value);
    void setSpecDescription(const QString &value);

Q_SIGNALS:
    void identifierChanged();
    void nameChanged();
    void titleChanged();
    void regionChanged();
    void zoneChanged();
    void machineTypeChanged();
    void publicImageChanged();
    void diskTypeChanged();
    void diskSizeChanged();
    void enableDisplayChanged();
    void networkTierChanged();
    void externalIPChanged();
    void renameHostToInstanceNameChanged();
    void tagsChanged();
    void priceChanged();
    void specDescriptionChanged();

private:
    int m_identifier = -1;
    QString m_name;
    QString m_title;
    QString m_region;
    QString m_zone;
    QString m_machineType;
    QString m_publicImage;
    QString m_diskType;
    QString m_diskSize;
    QString m_enableDisplay;
    QString m_networkTier;
    QString m_externalIP;
    QString m_renameHostToInstanceName;
    QString m_tags;
    QString m_price;
    QString m_specDescription;
};
