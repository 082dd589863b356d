#pragma once

#include "settingsprotocol.h"

// The values a base is ever sent for each setting: the ranges the settings pages
// offer. The worker writes nothing outside them, whatever a page, a profile file or a
// record read from a base produced.

// True when value may be written as field at index with a value of width bytes
// (1, 2, or 4 for a float): the field is known, takes a value of that width and kind,
// index is one of its indexes, and value is finite and within its range.
bool settingWithinLimits(SettingsFieldEnum field, int index, double value, int width, bool isFloat);

// True when index is axis 1 of a per-axis field: a setting only the joystick, the one
// base with two axes, takes.
bool isSecondAxisSetting(SettingsFieldEnum field, int index);
