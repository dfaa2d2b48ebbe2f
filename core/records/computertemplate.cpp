#include "records/computertemplate.h"

#include "logging.h"
#include "records/assign.h"
#include "utils/jsonread.h"

ComputerTemplate::ComputerTemplate(QObject *parent) : QObject(parent)
{
}

ComputerTemplate *ComputerTemplate::fromJson(const QJsonObject &entry, QObject *parent)
{
    const int identifier = JsonRead::integer(entry.value(QLatin1String("template_id")), -1);
    if (identifier < 0) {
        qCWarning(lcCore) << "Template without a usable \"template_id\" skipped:"
                          << JsonRead::text(entry.value(QLatin1String("name")));
        return nullptr;
    }
    auto text = [&entry](const char *key) { return JsonRead::text(entry.value(QLatin1String(key))); };

    auto *result = new ComputerTemplate(parent);
    result->m_identifier = identifier;
    result->m_name = text("name");
    result->m_title = text("vm_template_title");
    result->m_region = text("region");
    result->m_zone = text("zone");
    result->m_machineType = text("machine_type");
    result->m_publicImage = text("public_image");
    result->m_diskType = text("disk_types");
    result->m_diskSize = text("disk_size");
    result->m_enableDisplay = text("enable_display");
    result->m_networkTier = text("network_tier");
    result->m_externalIP = text("external_ip");
    result->m_renameHostToInstanceName = text("rename_host_to_instance_name");
    result->m_tags = text("tags");
    result->m_price = text("price");
    result->m_specDescription = text("spec_description");
    return result;
}

QList<ComputerTemplate *> ComputerTemplate::listFromJson(const QJsonArray &entries, QObject *parent)
{
    QList<ComputerTemplate *> result;
    for (const QJsonValue &entry : entries) {
        if (!entry.isObject()) {
            qCWarning(lcCore) << "Template entry that is not an object skipped:" << entry;
            continue;
        }
        if (ComputerTemplate *item = fromJson(entry.toObject(), parent))
            result.append(item);
    }
    return result;
}

bool ComputerTemplate::isSpot() const
{
    return m_name.endsWith(QLatin1String("-spot"), Qt::CaseInsensitive);
}

void ComputerTemplate::setIdentifier(int value)
{
    Records::assign(this, m_identifier, value, &ComputerTemplate::identifierChanged);
}

void ComputerTemplate::setName(const QString &value)
{
    Records::assign(this, m_name, value, &ComputerTemplate::nameChanged);
}

void ComputerTemplate::setTitle(const QString &value)
{
    Records::assign(this, m_title, value, &ComputerTemplate::titleChanged);
}

void ComputerTemplate::setRegion(const QString &value)
{
    Records::assign(this, m_region, value, &ComputerTemplate::regionChanged);
}

void ComputerTemplate::setZone(const QString &value)
{
    Records::assign(this, m_zone, value, &ComputerTemplate::zoneChanged);
}

void ComputerTemplate::setMachineType(const QString &value)
{
    Records::assign(this, m_machineType, value, &ComputerTemplate::machineTypeChanged);
}

void ComputerTemplate::setPublicImage(const QString &value)
{
    Records::assign(this, m_publicImage, value, &ComputerTemplate::publicImageChanged);
}

void ComputerTemplate::setDiskType(const QString &value)
{
    Records::assign(this, m_diskType, value, &ComputerTemplate::diskTypeChanged);
}

void ComputerTemplate::setDiskSize(const QString &value)
{
    Records::assign(this, m_diskSize, value, &ComputerTemplate::diskSizeChanged);
}

void ComputerTemplate::setEnableDisplay(const QString &value)
{
    Records::assign(this, m_enableDisplay, value, &ComputerTemplate::enableDisplayChanged);
}

void ComputerTemplate::setNetworkTier(const QString &value)
{
    Records::assign(this, m_networkTier, value, &ComputerTemplate::networkTierChanged);
}

void ComputerTemplate::setExternalIP(const QString &value)
{
    Records::assign(this, m_externalIP, value, &ComputerTemplate::externalIPChanged);
}

void ComputerTemplate::setRenameHostToInstanceName(const QString &value)
{
    Records::assign(this, m_renameHostToInstanceName, value,
                    &ComputerTemplate::renameHostToInstanceNameChanged);
}

void ComputerTemplate::setTags(const QString &value)
{
    Records::assign(this, m_tags, value, &ComputerTemplate::tagsChanged);
}

void ComputerTemplate::setPrice(const QString &value)
{
    Records::assign(this, m_price, value, &ComputerTemplate::priceChanged);
}

void ComputerTemplate::setSpecDescription(const QString &value)
{
    Records::assign(this, m_specDescription, value, &ComputerTemplate::specDescriptionChanged);
}
