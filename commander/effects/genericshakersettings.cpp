#include "genericshakersettings.h"

#include "defaultcurvetables.h"

GenericShakerSettings::GenericShakerSettings()
{
    GenericShakerSettings::setDefaults();
}

void GenericShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(identityCurve0To100);
}

void GenericShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void GenericShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& GenericShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Mapping of shaking magnitude"),
        QStringLiteral("In (%)"), QStringLiteral("Out (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
