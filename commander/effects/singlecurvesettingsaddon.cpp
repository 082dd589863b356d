#include "singlecurvesettingsaddon.h"

#include <QJsonValue>

SingleCurveSettingsAddon::SingleCurveSettingsAddon()
{
    curve1.setPoints(genericCurveTable);
}

void SingleCurveSettingsAddon::reset()
{
    curve1.setPoints(genericCurveTable);
}

void SingleCurveSettingsAddon::fromJson(const QJsonObject& object)
{
    const QJsonValue member = object.value(QLatin1String("curve1"));
    if (member.isArray())
        curve1.fromJson(member.toArray());
}

void SingleCurveSettingsAddon::toJson(QJsonObject& object) const
{
    object.insert(QStringLiteral("curve1"), curve1.toJson());
}
