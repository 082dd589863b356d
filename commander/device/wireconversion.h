#pragma once

#include <cstdint>

// Every value that leaves for a base passes exactly one of these conversions, one per
// kind of wire field. Each is total: NaN becomes 0, fractions truncate toward zero and
// anything out of range saturates at the field's limit, so what the motors receive is
// always finite and within range whatever the network, a file or a base delivered.

// Multiplies by a strength percentage the way the wire fields expect: the factor is
// formed in double precision and narrowed to float.
float strengthScaled(float value, int totalEffectStrength);

// Spring, constant and periodic force, percent of full force -> 0.01 %. The force is
// held to +-100 % first and then scaled by the fade-in factor (held to 0..1), so a
// saturated force still fades in.
int16_t toWireForce(float percent, float fade);

// Damper force, percent -> 0.01 %, scaled by the fade-in; saturates at the int16 range
// rather than at +-100 %.
int16_t toWireDamper(float percent, float fade);

// Any other signed 16-bit field (smart-damper dampening, curve points already in
// wire units): truncated and saturated at the int16 range.
int16_t toWireInt16(float value);

// A curve point percentage -> value times 100 in int16.
int16_t toWireCurvePoint(float percent);

// Hardware trim in units of 0.0001, held to -10000..10000.
int16_t toWireHardwareTrim(int trim);

// Force release in percent, held to 0..100.
uint8_t toWireForceRelease(float percent);

// DirectX and integrated-spring bytes, held to 0..255.
uint8_t toWireByte(float value);
