#include "frequencyrule.h"

#include <QSpinBox>

void keepMaxAboveBase(QSpinBox* maxFrequency, int base)
{
    if (maxFrequency->value() <= base)
        maxFrequency->setValue(base + 1);
}

void keepBaseBelowMax(QSpinBox* baseFrequency, int max)
{
    if (baseFrequency->value() >= max)
        baseFrequency->setValue(max - 1);
}
