#include "dualcurvesettingsaddon.h"

#include <QJsonValue>

DualCurveSettingsAddon::DualCurveSettingsAddon()
{
    curve2.setPoints(genericCurveTable);
}

void DualCurveSettingsAddon::reset()
{
    SingleCurveSettingsAddon::reset();
    curve2.setPoints(genericCurveTable);
}

void DualCurveSettingsAddon::fromJson(const QJsonObject& object)
{
    SingleCurveSettingsAddon::fromJson(object);
    const QJsonValue member = object.value(QLatin1String("curve2"));
    if (member.isArray())
        curve2.fromJson(member.toArray());
}

void DualCurveSettingsAddon::toJson(QJsonObject& object) const
{
    SingleCurveSettingsAddon::toJson(object);
    object.insert(QStringLiteral("curve2"), curve2.toJson());
}
