#include "gunfireshakersettings.h"

#include "jsonreaders.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <iterator>

GunfireShakerSettings::GunfireShakerSettings()
{
    GunfireShakerSettings::setDefaults();
}

void GunfireShakerSettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    for (ShakerWithFixedFrequencySettings& gun : gunfire) {
        gun.setDefaults();
        gun.active = true;
    }
}

void GunfireShakerSettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    const QJsonArray guns = readJsonArray(object, QStringLiteral("gunfire"));
    const int count = int(std::min<qsizetype>(guns.size(), gunCount));
    for (int i = 0; i < count; ++i) {
        const QJsonValue element = guns.at(i);
        if (element.isObject())
            gunfire[i].fromJson(element.toObject());
    }
}

void GunfireShakerSettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    QJsonArray guns;
    for (const ShakerWithFixedFrequencySettings& gun : gunfire) {
        QJsonObject element;
        gun.toJson(element);
        guns.append(element);
    }
    object.insert(QStringLiteral("gunfire"), guns);
}

void GunfireShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void GunfireShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

bool GunfireShakerSettings::operator==(const GunfireShakerSettings& other) const
{
    return EffectSettingsBase::operator==(other)
        && std::equal(std::begin(gunfire), std::end(gunfire), std::begin(other.gunfire));
}
