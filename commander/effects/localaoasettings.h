#pragma once

#include "simpleeffectsettings.h"

// Local angle-of-attack effect; it produces no force of its own.
class LocalAoASettings : public SimpleEffectSettings
{
public:
    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

private:
    static constexpr QLatin1String jsonKey{"local_aoa"};
};
