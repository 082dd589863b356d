#pragma once

#include <QJsonArray>
#include <QJsonObject>

// One point of a response curve: input in the unit of the effect's input quantity, output in percent.
struct ResponseCurvePoint
{
    float in = 0.0f;
    float out = 0.0f;

    // A missing or non-number member gives 0; the old value is never kept.
    void fromJson(const QJsonObject& object);
    QJsonObject toJson() const;

    bool operator==(const ResponseCurvePoint& other) const { return in == other.in && out == other.out; }
    bool operator!=(const ResponseCurvePoint& other) const { return !(*this == other); }
};

// An 11-point curve from an effect's input to a strength in percent. A plain value.
class ResponseCurve
{
public:
    static constexpr int pointCount = 11;
    // The smallest distance the curve editor keeps between neighbouring inputs.
    static constexpr float minimumInputStep = 1.0f;

    ResponseCurvePoint points[pointCount];
    bool set = false; // true once points were assigned or read

    // Copies the points of `other`; `set` becomes true whatever `other.set` says.
    void assign(const ResponseCurve& other);
    void setPoints(const ResponseCurvePoint (&table)[pointCount]);
    // Element i must be an object; a missing or non-object element gives (0, 0).
    void fromJson(const QJsonArray& array);
    QJsonArray toJson() const;

    bool operator==(const ResponseCurve& other) const;
    bool operator!=(const ResponseCurve& other) const { return !(*this == other); }
};

// The identity from -100 to 100 in steps of 20: every curve's default before an effect installs its own.
inline constexpr ResponseCurvePoint genericCurveTable[ResponseCurve::pointCount] = {
    {-100.0f, -100.0f}, {-80.0f, -80.0f}, {-60.0f, -60.0f}, {-40.0f, -40.0f}, {-20.0f, -20.0f},
    {0.0f, 0.0f}, {20.0f, 20.0f}, {40.0f, 40.0f}, {60.0f, 60.0f}, {80.0f, 80.0f}, {100.0f, 100.0f},
};

// The curve's output in percent at input x: linear between neighbouring points, flat below the
// first and above the last; the first segment that brackets x wins; NaN gives the last output.
float evaluateResponseCurve(float x, const ResponseCurve& curve);
