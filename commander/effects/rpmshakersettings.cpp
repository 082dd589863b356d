#include "rpmshakersettings.h"

void RPMShakerSettings::setDefaults()
{
    SingleCurveEffectSettings::setDefaults();
    frequency_multiplier = 1;
}

void RPMShakerSettings::fromJson(const QJsonObject& object)
{
    SingleCurveEffectSettings::fromJson(object);
    FrequencyMultiplierSettingsAddon::fromJson(object);
}

void RPMShakerSettings::toJson(QJsonObject& object) const
{
    SingleCurveEffectSettings::toJson(object);
    FrequencyMultiplierSettingsAddon::toJson(object);
}
