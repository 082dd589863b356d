#pragma once

#include "responsecurve.h"

// The default response curves of the effect catalogue: (in, out) with out in percent.
// constexpr, so no effect depends on the order of static initialisation.

using DefaultCurveTable = ResponseCurvePoint[ResponseCurve::pointCount];

// out = in
inline constexpr DefaultCurveTable identityCurve0To100 = {
    {0, 0}, {10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50},
    {60, 60}, {70, 70}, {80, 80}, {90, 90}, {100, 100},
};

// out = in: the generic curve itself
inline constexpr const DefaultCurveTable& identityCurveMinus100To100 = genericCurveTable;

// out = 10 x in
inline constexpr DefaultCurveTable linearCurve0To10 = {
    {0, 0}, {1, 10}, {2, 20}, {3, 30}, {4, 40}, {5, 50},
    {6, 60}, {7, 70}, {8, 80}, {9, 90}, {10, 100},
};

// out = in x 10 / 3
inline constexpr DefaultCurveTable linearCurve0To30 = {
    {0, 0}, {3, 10}, {6, 20}, {9, 30}, {12, 40}, {15, 50},
    {18, 60}, {21, 70}, {24, 80}, {27, 90}, {30, 100},
};

// out = in / 10
inline constexpr DefaultCurveTable linearCurve0To1000 = {
    {0, 0}, {100, 10}, {200, 20}, {300, 30}, {400, 40}, {500, 50},
    {600, 60}, {700, 70}, {800, 80}, {900, 90}, {1000, 100},
};

// out = 100 x (in / 1000)^2
inline constexpr DefaultCurveTable squareLawCurve0To1000 = {
    {0, 0}, {100, 1}, {200, 4}, {300, 9}, {400, 16}, {500, 25},
    {600, 36}, {700, 49}, {800, 64}, {900, 81}, {1000, 100},
};

// out = in^2
inline constexpr DefaultCurveTable squareLawCurve0To10 = {
    {0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}, {5, 25},
    {6, 36}, {7, 49}, {8, 64}, {9, 81}, {10, 100},
};

// out = 100 x (1 - (1 - in / 100)^2)
inline constexpr DefaultCurveTable easeOutCurve0To100 = {
    {0, 0}, {10, 19}, {20, 36}, {30, 51}, {40, 64}, {50, 75},
    {60, 84}, {70, 91}, {80, 96}, {90, 99}, {100, 100},
};

inline constexpr DefaultCurveTable easeOutCurve0To250 = {
    {0, 0}, {25, 19}, {50, 36}, {75, 51}, {100, 64}, {125, 75},
    {150, 84}, {175, 91}, {200, 96}, {225, 99}, {250, 100},
};

inline constexpr DefaultCurveTable easeOutCurve0To500 = {
    {0, 0}, {50, 19}, {100, 36}, {150, 51}, {200, 64}, {250, 75},
    {300, 84}, {350, 91}, {400, 96}, {450, 99}, {500, 100},
};

// Silent below 12 degrees, full at 30.
inline constexpr DefaultCurveTable aoaOnsetCurve0To30 = {
    {0, 0}, {12, 0}, {14, 1}, {16, 9}, {18, 25}, {20, 49},
    {22, 70}, {24, 86}, {26, 94}, {28, 98}, {30, 100},
};

// Peak 100 at 40.
inline constexpr DefaultCurveTable liftPeakCurve0To100 = {
    {0, 0}, {10, 0}, {20, 6}, {30, 30}, {40, 100}, {50, 30},
    {60, 6}, {70, 0}, {80, 0}, {90, 0}, {100, 0},
};

inline constexpr DefaultCurveTable descendAngleCurve0To90 = {
    {0, 0}, {9, 15}, {18, 31}, {27, 45.3f}, {36, 58.8f}, {45, 70.7f},
    {54, 80.9f}, {63, 89.1f}, {72, 95.1f}, {81, 98.7f}, {90, 100},
};

// Peak 100 at 400 RPM; the last point sits at 3000, not 1000.
inline constexpr DefaultCurveTable engineRpmPeakCurve = {
    {0, 0}, {100, 0}, {200, 6}, {300, 30}, {400, 100}, {500, 30},
    {600, 6}, {700, 0}, {800, 0}, {900, 0}, {3000, 0},
};

// Peak 100 at 200 RPM.
inline constexpr DefaultCurveTable rotorRpmPeakCurve = {
    {0, 0}, {50, 0}, {100, 6}, {150, 30}, {200, 100}, {250, 30},
    {300, 6}, {350, 0}, {400, 0}, {450, 0}, {500, 0},
};
