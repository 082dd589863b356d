#pragma once

// Shared by the worker benchmarks: figures over a list of durations, the worker
// thread's CPU clock, and a profile with every effect switched on.

#include "effectssettings.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <type_traits>
#include <vector>

inline double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size() - 1) + 0.5));
    return values[index];
}

inline void printFigures(const char* what, const std::vector<double>& milliseconds)
{
    const double maximum =
        milliseconds.empty() ? 0.0 : *std::max_element(milliseconds.begin(), milliseconds.end());
    std::printf("%s: count %zu, median %.3f ms, p99 %.3f ms, max %.3f ms\n", what,
                milliseconds.size(), percentile(milliseconds, 0.5), percentile(milliseconds, 0.99),
                maximum);
}

// CPU seconds used so far by the thread that context lives on.
inline double threadCpuSeconds(QObject* context)
{
    double seconds = 0.0;
    QMetaObject::invokeMethod(
        context,
        [&seconds] {
            timespec now{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
            seconds = double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
        },
        Qt::BlockingQueuedConnection);
    return seconds;
}

// Switches each effect on, at full strength where it has one.
template <typename... Effects>
void activateAtFullStrength(Effects&... effects)
{
    const auto activate = [](auto& effect) {
        effect.active = true;
        if constexpr (std::is_base_of_v<TotalEffectStrengthSettingsAddon,
                                        std::decay_t<decltype(effect)>>)
            effect.total_effect_strength = 100;
    };
    (activate(effects), ...);
}

// Every effect of every axis active at full strength with its default curves.
inline EffectsSettings everyEffectActive()
{
    EffectsSettings settings;
    settings.setDefaults();
    for (AxisEffectsSettings& axis : settings.axes) {
        activateAtFullStrength(
            axis.smartDamper, axis.directX, axis.airspeedSpring, axis.propThrustSpring,
            axis.aoaSpring, axis.gForceSpring, axis.simpleSpring, axis.elevatorWeight,
            axis.localAoa, axis.turbulence, axis.trim, axis.overspeedShaker, axis.overGShaker,
            axis.afterburnerShaker, axis.onGroundShaker, axis.gunfireShaker, axis.aoaShaker,
            axis.gearShaker, axis.flapsShaker, axis.airbrakeShaker, axis.gearExtractionJolt,
            axis.countermeasuresJolt, axis.damageJolt, axis.weaponReleaseJolt, axis.landingJolt,
            axis.liftShimmyShaker, axis.vortexStateShaker, axis.genericShaker, axis.engineShaker,
            axis.rotorShaker);
        for (ShakerWithFixedFrequencySettings& gun : axis.gunfireShaker.gunfire)
            activateAtFullStrength(gun);
    }
    return settings;
}
