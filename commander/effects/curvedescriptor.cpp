#include "curvedescriptor.h"

CurveDescriptor::CurveDescriptor(const QString& title, const QString& xLabel, const QString& yLabel,
                                 float xMin, float xMax, float yMin, float yMax,
                                 float referenceLevel, bool referenceVisible,
                                 float firstOutput, bool firstOutputFixed)
    : title(title)
    , xLabel(xLabel)
    , yLabel(yLabel)
    , xMin(xMin)
    , xMax(xMax)
    , yMin(yMin)
    , yMax(yMax)
    , referenceLevel(referenceLevel)
    , referenceVisible(referenceVisible)
    , firstOutput(firstOutput)
    , firstOutputFixed(firstOutputFixed)
{
}
