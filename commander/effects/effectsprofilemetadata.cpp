#include "effectsprofilemetadata.h"

#include "jsonreaders.h"

void EffectsProfileMetadata::setDefaults()
{
    source = Telemetry::TELEMETRY_SOURCE_NONE;
    flightModule.clear();
    comment.clear();
}

void EffectsProfileMetadata::fromJson(const QJsonObject& object)
{
    // Consumers index per-simulator tables with the source, so out-of-range values never get in.
    const int value = readJsonInt(object, QStringLiteral("flight_data_source"), 0);
    const bool simulator = value >= Telemetry::TELEMETRY_SOURCE_NONE && value <= Telemetry::TELEMETRY_SOURCE_X_PLANE;
    source = simulator ? static_cast<Telemetry::Source>(value) : Telemetry::TELEMETRY_SOURCE_NONE;
    flightModule = readJsonString(object, QStringLiteral("flight_module"), QString());
    comment = readJsonString(object, QStringLiteral("comment"), QString());
}

QJsonObject EffectsProfileMetadata::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("flight_data_source"), int(source));
    object.insert(QStringLiteral("flight_module"), flightModule);
    object.insert(QStringLiteral("comment"), comment);
    return object;
}
