#pragma once

#include "springwithsinglecurvesettings.h"
#include "curvedescriptor.h"

#include <QMetaType>

// The spring that the base itself runs; its curve maps deflection to force.
class SimpleSpringSettings : public SpringWithSingleCurveSettings
{
public:
    SimpleSpringSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

    // Registers the type for queued signals between the editor and the worker.
    static void registerMetaType();

private:
    static constexpr QLatin1String jsonKey{"simple_spring"};
};

Q_DECLARE_METATYPE(SimpleSpringSettings)
