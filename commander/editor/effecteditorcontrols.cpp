#include "effecteditorcontrols.h"

#include "curveeditsession.h"
#include "curveview.h"
#include "frequencyrule.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSpinBox>

EffectEditorControls::EffectEditorControls(QWidget* editor, bool& updating, std::function<void()> changed,
                                           std::function<void()> curveChanged)
    : editor(editor)
    , updating(updating)
    , changed(std::move(changed))
    , curveChanged(curveChanged ? std::move(curveChanged) : this->changed)
{
}

void EffectEditorControls::attach(const Form& newForm)
{
    form = newForm;
    if (form.strengthEditor)
        QObject::connect(form.strengthEditor, &TotalEffectStrengthSettingsWidget::settingsChanged, editor,
                         [this] { changed(); });
    if (form.strength)
        QObject::connect(form.strength, &QSpinBox::valueChanged, editor, [this](int value) {
            store(parts.strength, [&] { parts.strength->total_effect_strength = value; });
        });
    if (form.baseFrequency)
        QObject::connect(form.baseFrequency, &QSpinBox::valueChanged, editor, [this](int value) {
            store(parts.frequency, [&] { parts.frequency->base_frequency = value; });
        });
    if (form.maxFrequency)
        QObject::connect(form.maxFrequency, &QSpinBox::valueChanged, editor, [this](int value) {
            store(parts.maxFrequency, [&] { parts.maxFrequency->max_frequency = value; });
        });
    if (form.curve1View)
        QObject::connect(form.curve1View, &CurveView::pressed, editor, [this] {
            editCurveInDialog(editor, *form.curve1Descriptor, parts.curve1, form.curve1View, curveChanged);
        });
    if (form.curve2View)
        QObject::connect(form.curve2View, &CurveView::pressed, editor, [this] {
            editCurveInDialog(editor, *form.curve2Descriptor, parts.curve2, form.curve2View, curveChanged);
        });
}

void EffectEditorControls::bindParts(const Parts& newParts, bool showModeGroup)
{
    parts = newParts;
    if (form.strengthEditor)
        form.strengthEditor->setSettings(parts.strength);
    if (form.modeGroup)
        form.modeGroup->setVisible(showModeGroup);
}

void EffectEditorControls::refresh()
{
    if (!parts.strength)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    if (form.strengthEditor)
        form.strengthEditor->refresh();
    if (form.strength)
        form.strength->setValue(parts.strength->total_effect_strength);
    if (form.baseFrequency && parts.frequency)
        form.baseFrequency->setValue(parts.frequency->base_frequency);
    if (form.maxFrequency && parts.maxFrequency)
        form.maxFrequency->setValue(parts.maxFrequency->max_frequency);
    // Any mode but 0 takes the telemetry's frequency; the box shows that and leaves the value alone.
    if (form.modeCheckBox && parts.frequency)
        form.modeCheckBox->setChecked(parts.frequency->frequency_mode != 0);
    if (form.curve1View && parts.curve1)
        form.curve1View->setCurve(parts.curve1->points, form.curve1Descriptor->xLabel, form.curve1Descriptor->yLabel);
    if (form.curve2View && parts.curve2)
        form.curve2View->setCurve(parts.curve2->points, form.curve2Descriptor->xLabel, form.curve2Descriptor->yLabel);
}

void EffectEditorControls::baseFrequencyChanged(int base)
{
    if (!updating)
        keepMaxAboveBase(form.maxFrequency, base);
}

void EffectEditorControls::maxFrequencyChanged(int max)
{
    if (!updating)
        keepBaseBelowMax(form.baseFrequency, max);
}

void EffectEditorControls::modeToggled(bool checked)
{
    store(parts.frequency, [&] { parts.frequency->frequency_mode = checked ? 1 : 0; });
}

void EffectEditorControls::store(bool bound, const std::function<void()>& write)
{
    if (updating || !bound)
        return;
    write();
    changed();
}
