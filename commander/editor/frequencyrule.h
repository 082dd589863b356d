#pragma once

// The rule between the base and max frequency boxes of the variable-frequency shaker
// editors: a user edit of one box keeps the other on its side. Only the other box moves;
// its own handler stores the pushed value and reports it. The boxes' range (1 to 50)
// stops a push, so at either end base and max may be equal.

class QSpinBox;

// The base was set to base: max goes to base + 1 when it showed base or less.
void keepMaxAboveBase(QSpinBox* maxFrequency, int base);

// The max was set to max: base goes to max - 1 when it showed max or more.
void keepBaseBelowMax(QSpinBox* baseFrequency, int max);
