#include "responsecurve.h"

#include "floatnarrowing.h"
#include "jsonreaders.h"

#include <algorithm>
#include <iterator>

void ResponseCurvePoint::fromJson(const QJsonObject& object)
{
    in = narrowToFloat(readJsonDouble(object, QStringLiteral("in"), 0.0));
    out = narrowToFloat(readJsonDouble(object, QStringLiteral("out"), 0.0));
}

QJsonObject ResponseCurvePoint::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("in"), double(in));
    object.insert(QStringLiteral("out"), double(out));
    return object;
}

void ResponseCurve::assign(const ResponseCurve& other)
{
    std::copy(std::begin(other.points), std::end(other.points), std::begin(points));
    set = true;
}

void ResponseCurve::setPoints(const ResponseCurvePoint (&table)[pointCount])
{
    std::copy(std::begin(table), std::end(table), std::begin(points));
    set = true;
}

void ResponseCurve::fromJson(const QJsonArray& array)
{
    for (int i = 0; i < pointCount; ++i) {
        const QJsonObject element = i < array.size() ? array.at(i).toObject() : QJsonObject();
        points[i].fromJson(element);
    }
    set = true;
}

QJsonArray ResponseCurve::toJson() const
{
    QJsonArray array;
    for (const ResponseCurvePoint& point : points)
        array.append(point.toJson());
    return array;
}

bool ResponseCurve::operator==(const ResponseCurve& other) const
{
    return set == other.set && std::equal(std::begin(points), std::end(points), std::begin(other.points));
}

float evaluateResponseCurve(float x, const ResponseCurve& curve)
{
    const ResponseCurvePoint* p = curve.points;
    if (x <= p[0].in)
        return p[0].out;
    for (int i = 0; i + 1 < ResponseCurve::pointCount; ++i) {
        if (x > p[i].in && x <= p[i + 1].in) {
            // In double, so that points near the float limits cannot overflow to infinity.
            const double t = (double(x) - p[i].in) / (double(p[i + 1].in) - p[i].in);
            return float(p[i].out + t * (double(p[i + 1].out) - p[i].out));
        }
    }
    return p[ResponseCurve::pointCount - 1].out;
}
