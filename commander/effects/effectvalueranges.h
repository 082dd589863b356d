#pragma once

#include <QStringList>

class AxisEffectsSettings;
class CurveDescriptor;
class EffectsSettings;
class ResponseCurve;

// The range that the effect editors offer for each effect value, in one table; a curve's
// points have the ranges of their effect's CurveDescriptor. Profiles are hand-edited and
// shared, so reading one holds every value within these ranges and every curve to a shape
// the curve editor draws: the engine never acts on a value that no control could have set.
// A value within its range, and a curve the editor drew, is kept exactly.
class EffectValueRanges
{
public:
    enum EffectValueEnum {
        EFFECT_VALUE_TOTAL_EFFECT_STRENGTH,
        EFFECT_VALUE_DAMPENING_CONTRIBUTION,
        EFFECT_VALUE_BASE_FREQUENCY,
        EFFECT_VALUE_MAX_FREQUENCY,
        EFFECT_VALUE_FREQUENCY_MODE,
        EFFECT_VALUE_FREQUENCY_MULTIPLIER,
        EFFECT_VALUE_STATIC_DAMPENING,
        EFFECT_VALUE_DYNAMIC_DAMPENING,
        EFFECT_VALUE_TRIMMER,
        EFFECT_VALUE_FORCE,
        EFFECT_VALUE_PERIODIC,
        EFFECT_VALUE_COUNT
    };

    struct Range {
        const char* key; // the value's JSON member
        int minimum;
        int maximum;
    };

    static const Range& range(EffectValueEnum value);

    // Clamped into the value's range, except the frequency mode: a choice of its two ends,
    // where any other number reads as 0, the mode the engine then uses.
    static int held(EffectValueEnum value, int number);
    // Clamped into the value's range; NaN gives the minimum.
    static float held(EffectValueEnum value, float number);
    // Each input within the descriptor's x range, each output within its y range, the first
    // and last inputs at the range's ends, as the editor pins them. Inputs that then do not
    // rise by the editor's minimum step give fallback instead, and false.
    static bool holdCurve(ResponseCurve& curve, const CurveDescriptor& descriptor, const ResponseCurve& fallback);

    // Every value of every effect of axis, active or not, held within its range; a curve
    // replaced by its default is logged under axisName.
    static void hold(AxisEffectsSettings& axis, const QString& axisName = QString());
    // The values of settings outside their ranges, each as "axis.effect.member: value", and
    // the curves the editor could not have drawn, as "axis.effect.curveN: points"; empty when
    // every value lies within and every curve is drawable.
    static QStringList valuesOutside(const EffectsSettings& settings);
};
