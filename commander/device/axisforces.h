#pragma once

#include <QMetaType>

// The forces that ForceCalculator produces for one effect axis, in percent of full force.
struct AxisForces
{
    float spring = 0.0f;   // sum of the curve springs
    float constant = 0.0f; // steady force
    float periodic = 0.0f; // sum of all shakers and jolts
    float damper = 0.0f;   // damping contributed by the curve springs

    static void registerMetaType();
};

Q_DECLARE_METATYPE(AxisForces)
