#include "effectssettings.h"

#include <QJsonValue>

#include <algorithm>
#include <iterator>

namespace {
constexpr QLatin1String axisKeys[EffectsSettings::axisCount] = {
    QLatin1String("ailerons"),
    QLatin1String("elevator"),
    QLatin1String("rudder"),
    QLatin1String("throttle_collective"),
};
}

void EffectsSettings::setDefaults()
{
    for (AxisEffectsSettings& axis : axes)
        axis.setDefaults();
}

void EffectsSettings::fromJson(const QJsonObject& effects)
{
    for (int i = 0; i < axisCount; ++i) {
        const QJsonValue member = effects.value(axisKeys[i]);
        if (member.isObject())
            axes[i].fromJson(member.toObject(), axisKeys[i]);
        else
            axes[i].setDefaults();
    }
}

QJsonObject EffectsSettings::toJson() const
{
    QJsonObject effects;
    for (int i = 0; i < axisCount; ++i)
        effects.insert(axisKeys[i], axes[i].toJson());
    return effects;
}

bool EffectsSettings::operator==(const EffectsSettings& other) const
{
    return std::equal(std::begin(axes), std::end(axes), std::begin(other.axes));
}

void EffectsSettings::registerMetaType()
{
    qRegisterMetaType<EffectsSettings>("EffectsSettings");
}
