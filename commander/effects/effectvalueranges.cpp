#include "effectvalueranges.h"

#include "effectssettings.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace {

using E = EffectValueRanges;

// In the order of EffectValueEnum; the editors' forms offer exactly these.
constexpr E::Range ranges[E::EFFECT_VALUE_COUNT] = {
    {"total_effect_strength", 0, 100},
    {"dampening_contribution", 0, 100},
    {"base_frequency", 1, 50},
    {"max_frequency", 1, 50},
    {"frequency_mode", 0, 1},
    {"frequency_multiplier", 1, 10},
    {"static_dampening", 0, 1000},
    {"dynamic_dampening", 0, 1000},
    {"trimmer", 0, 100},
    {"force", 0, 100},
    {"periodic", 0, 100},
};

float heldWithin(float number, float minimum, float maximum)
{
    if (std::isnan(number))
        return minimum;
    return std::clamp(number, minimum, maximum);
}

// The editor keeps each input at least one step from its neighbours in float arithmetic and its
// boxes round to their decimals; the slack absorbs that noise, far below any step that matters.
bool inputsRise(const ResponseCurve& curve)
{
    constexpr double slack = 1e-3;
    for (int k = 1; k < ResponseCurve::pointCount; ++k) {
        if (!(double(curve.points[k].in) - double(curve.points[k - 1].in) >= ResponseCurve::minimumInputStep - slack))
            return false;
    }
    return true;
}

// A curve the editor draws within descriptor: its points inside the box, its end inputs at the
// range's ends, its inputs rising by the step.
bool drawable(const ResponseCurve& curve, const CurveDescriptor& descriptor)
{
    for (const ResponseCurvePoint& point : curve.points) {
        if (!(point.in >= descriptor.xMin && point.in <= descriptor.xMax && point.out >= descriptor.yMin
              && point.out <= descriptor.yMax))
            return false;
    }
    return curve.points[0].in == descriptor.xMin && curve.points[ResponseCurve::pointCount - 1].in == descriptor.xMax
        && inputsRise(curve);
}

template <class T, class = void>
struct HasCurveDescriptor : std::false_type {};
template <class T>
struct HasCurveDescriptor<T, std::void_t<decltype(T::curveDescriptor())>> : std::true_type {};
template <class T, class = void>
struct HasCurve2Descriptor : std::false_type {};
template <class T>
struct HasCurve2Descriptor<T, std::void_t<decltype(T::curve2Descriptor())>> : std::true_type {};

// A curve's default is the one a newly made effect of its type has.
template <class Plain>
const Plain& defaultEffect()
{
    static const Plain defaults;
    return defaults;
}

// Hands every ranged value of one effect to visit, with its range, and every curve with its
// descriptor and default; Effect may be const.
template <class Effect, class Visitor>
void walkEffect(const QString& name, Effect& effect, Visitor& visit)
{
    using Plain = std::remove_const_t<Effect>;
    if constexpr (std::is_base_of_v<TotalEffectStrengthSettingsAddon, Plain>)
        visit.value(name, E::EFFECT_VALUE_TOTAL_EFFECT_STRENGTH, effect.total_effect_strength);
    if constexpr (std::is_base_of_v<DampeningContributionSettingsAddon, Plain>)
        visit.value(name, E::EFFECT_VALUE_DAMPENING_CONTRIBUTION, effect.dampening_contribution);
    if constexpr (std::is_base_of_v<FixedFrequencySettingsAddon, Plain>) {
        visit.value(name, E::EFFECT_VALUE_BASE_FREQUENCY, effect.base_frequency);
        visit.value(name, E::EFFECT_VALUE_FREQUENCY_MODE, effect.frequency_mode);
    }
    if constexpr (std::is_base_of_v<VariableFrequencySettingsAddon, Plain>)
        visit.value(name, E::EFFECT_VALUE_MAX_FREQUENCY, effect.max_frequency);
    if constexpr (std::is_base_of_v<FrequencyMultiplierSettingsAddon, Plain>)
        visit.value(name, E::EFFECT_VALUE_FREQUENCY_MULTIPLIER, effect.frequency_multiplier);
    if constexpr (std::is_same_v<SmartDamperSettings, Plain>) {
        visit.value(name, E::EFFECT_VALUE_STATIC_DAMPENING, effect.static_dampening);
        visit.value(name, E::EFFECT_VALUE_DYNAMIC_DAMPENING, effect.dynamic_dampening);
    }
    if constexpr (std::is_same_v<DirectXSettings, Plain>) {
        visit.value(name, E::EFFECT_VALUE_TRIMMER, effect.trimmer);
        visit.value(name, E::EFFECT_VALUE_FORCE, effect.force);
        visit.value(name, E::EFFECT_VALUE_PERIODIC, effect.periodic);
    }
    if constexpr (std::is_same_v<GunfireShakerSettings, Plain>) {
        for (int gun = 0; gun < GunfireShakerSettings::gunCount; ++gun)
            walkEffect(name + QStringLiteral(".gunfire.") + QString::number(gun), effect.gunfire[gun], visit);
    }
    if constexpr (std::is_base_of_v<SingleCurveSettingsAddon, Plain>) {
        static_assert(HasCurveDescriptor<Plain>::value || HasCurve2Descriptor<Plain>::value,
                      "every curve of the axis record has the ranges of its editor");
        const Plain& defaults = defaultEffect<Plain>();
        if constexpr (HasCurveDescriptor<Plain>::value) {
            visit.curve(name + QStringLiteral(".curve1"), effect.curve1, Plain::curveDescriptor(), defaults.curve1);
        } else {
            visit.curve(name + QStringLiteral(".curve1"), effect.curve1, Plain::curve1Descriptor(), defaults.curve1);
            visit.curve(name + QStringLiteral(".curve2"), effect.curve2, Plain::curve2Descriptor(), defaults.curve2);
        }
    }
}

template <class Axis, class Visitor>
void walkAxis(Axis& axis, const QString& prefix, Visitor& visit)
{
    const auto walk = [&](const char* key, auto& effect) { walkEffect(prefix + QLatin1String(key), effect, visit); };
    walk("smart_damper", axis.smartDamper);
    walk("direct_x", axis.directX);
    walk("airspeed_spring", axis.airspeedSpring);
    walk("prop_thrust_spring", axis.propThrustSpring);
    walk("aoa_spring", axis.aoaSpring);
    walk("g_force_spring", axis.gForceSpring);
    walk("simple_spring", axis.simpleSpring);
    walk("elevator_weight", axis.elevatorWeight);
    walk("local_aoa", axis.localAoa);
    walk("turbulence", axis.turbulence);
    walk("overspeed_shaker", axis.overspeedShaker);
    walk("over_g_shaker", axis.overGShaker);
    walk("afterburner_shaker", axis.afterburnerShaker);
    walk("on_ground_shaker", axis.onGroundShaker);
    walk("gunfire_shaker", axis.gunfireShaker);
    walk("aoa_shaker", axis.aoaShaker);
    walk("gear_shaker", axis.gearShaker);
    walk("flaps_shaker", axis.flapsShaker);
    walk("airbrake_shaker", axis.airbrakeShaker);
    walk("gear_jolt", axis.gearExtractionJolt);
    walk("countermeasuers_jolt", axis.countermeasuresJolt);
    walk("damage_jolt", axis.damageJolt);
    walk("weapon_release_jolt", axis.weaponReleaseJolt);
    walk("landing_jolt", axis.landingJolt);
    walk("lift_shimmy_shaker", axis.liftShimmyShaker);
    walk("vorterx_state_shaker", axis.vortexStateShaker);
    walk("generic_shaker", axis.genericShaker);
    walk("engine_shaker", axis.engineShaker);
    walk("rotor_shaker", axis.rotorShaker);
    // The trim has flags only.
}

struct Holding {
    template <class Number>
    void value(const QString&, E::EffectValueEnum value, Number& number) { number = E::held(value, number); }
    void curve(const QString& name, ResponseCurve& curve, const CurveDescriptor& descriptor, const ResponseCurve& fallback)
    {
        if (!E::holdCurve(curve, descriptor, fallback))
            qWarning().noquote() << "Profile curve" << name << "is not one the curve editor draws; the effect's default curve is used";
    }
};

struct Checking {
    QStringList outside;

    template <class Number>
    void value(const QString& effect, E::EffectValueEnum value, Number number)
    {
        // NaN is held to the minimum, so it differs from its held value too.
        if (!(E::held(value, number) == number))
            outside << effect + '.' + QLatin1String(E::range(value).key) + QStringLiteral(": ") + QString::number(number);
    }
    void curve(const QString& name, const ResponseCurve& curve, const CurveDescriptor& descriptor, const ResponseCurve&)
    {
        if (drawable(curve, descriptor))
            return;
        QStringList points;
        for (const ResponseCurvePoint& point : curve.points)
            points << QStringLiteral("(%1, %2)").arg(point.in).arg(point.out);
        outside << name + QStringLiteral(": ") + points.join(' ');
    }
};

} // namespace

const EffectValueRanges::Range& EffectValueRanges::range(EffectValueEnum value)
{
    return ranges[value];
}

int EffectValueRanges::held(EffectValueEnum value, int number)
{
    const Range& limits = range(value);
    if (value == EFFECT_VALUE_FREQUENCY_MODE)
        return number == limits.minimum || number == limits.maximum ? number : 0;
    return std::clamp(number, limits.minimum, limits.maximum);
}

float EffectValueRanges::held(EffectValueEnum value, float number)
{
    const Range& limits = range(value);
    return heldWithin(number, float(limits.minimum), float(limits.maximum));
}

bool EffectValueRanges::holdCurve(ResponseCurve& curve, const CurveDescriptor& descriptor, const ResponseCurve& fallback)
{
    for (ResponseCurvePoint& point : curve.points) {
        point.in = heldWithin(point.in, descriptor.xMin, descriptor.xMax);
        point.out = heldWithin(point.out, descriptor.yMin, descriptor.yMax);
    }
    curve.points[0].in = descriptor.xMin;
    curve.points[ResponseCurve::pointCount - 1].in = descriptor.xMax;
    if (inputsRise(curve))
        return true;
    curve.assign(fallback);
    return false;
}

void EffectValueRanges::hold(AxisEffectsSettings& axis, const QString& axisName)
{
    Holding holding;
    walkAxis(axis, axisName.isEmpty() ? QString() : axisName + '.', holding);
}

QStringList EffectValueRanges::valuesOutside(const EffectsSettings& settings)
{
    static const char* const axisNames[EffectsSettings::axisCount] = {"ailerons", "elevator", "rudder",
                                                                       "throttle_collective"};
    Checking checking;
    for (int axis = 0; axis < EffectsSettings::axisCount; ++axis)
        walkAxis(settings.axes[axis], QLatin1String(axisNames[axis]) + '.', checking);
    return checking.outside;
}
