#pragma once

#include "responsecurve.h"

#include <QString>

// What the curve editor needs to present one curve: texts, ranges, an optional reference line
// and an optional pinned first output.
class CurveDescriptor
{
public:
    CurveDescriptor() = default;
    // The working curve starts all zero and unset.
    CurveDescriptor(const QString& title, const QString& xLabel, const QString& yLabel,
                    float xMin, float xMax, float yMin, float yMax,
                    float referenceLevel, bool referenceVisible,
                    float firstOutput, bool firstOutputFixed);

    ResponseCurve curve; // the editor's working copy
    QString title;
    QString xLabel;
    QString yLabel;
    float xMin = 0.0f;
    float xMax = 0.0f;
    float yMin = 0.0f;
    float yMax = 0.0f;
    float referenceLevel = 0.0f;
    bool referenceVisible = false;
    float firstOutput = 0.0f;
    bool firstOutputFixed = false; // point 0's output is pinned to firstOutput
};
