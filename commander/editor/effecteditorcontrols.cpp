#include "effecteditorcontrols.h"

#include "curveeditordialog.h"
#include "curveview.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSpinBox>

CurveDescriptor EffectEditorControls::placeholderDescriptor()
{
    return CurveDescriptor(QStringLiteral("Curve editor"), QStringLiteral("x"), QStringLiteral("y"),
                           -100.0f, 100.0f, -100.0f, 100.0f, 0.0f, false, 0.0f, false);
}

EffectEditorControls::EffectEditorControls(QWidget* editor, bool& updating, std::function<void()> changed,
                                           std::function<void()> curveChanged)
    : editor(editor)
    , updating(updating)
    , changed(std::move(changed))
    , curveChanged(curveChanged ? std::move(curveChanged) : this->changed)
{
}

void EffectEditorControls::attachStrength(TotalEffectStrengthSettingsWidget* newStrengthEditor)
{
    strengthEditor = newStrengthEditor;
    QObject::connect(strengthEditor, &TotalEffectStrengthSettingsWidget::settingsChanged, editor,
                     [this] { changed(); });
}

void EffectEditorControls::attachStrength(QSpinBox* box)
{
    strength = box;
    QObject::connect(box, &QSpinBox::valueChanged, editor, [this](int value) {
        store(strengthPart, [&] { strengthPart->total_effect_strength = value; });
    });
}

void EffectEditorControls::attachFrequencies(QSpinBox* base, QSpinBox* max, QCheckBox* mode, QWidget* group)
{
    baseFrequency = base;
    maxFrequency = max;
    modeCheckBox = mode;
    modeGroup = group;
    QObject::connect(base, &QSpinBox::valueChanged, editor, [this](int value) {
        store(frequencyPart, [&] { frequencyPart->base_frequency = value; });
    });
    if (max)
        QObject::connect(max, &QSpinBox::valueChanged, editor, [this](int value) {
            store(maxFrequencyPart, [&] { maxFrequencyPart->max_frequency = value; });
        });
}

void EffectEditorControls::attachCurves(CurveView* view1, CurveDescriptor* descriptor1, CurveView* view2,
                                        CurveDescriptor* descriptor2)
{
    curve1View = view1;
    curve1Descriptor = descriptor1;
    curve2View = view2;
    curve2Descriptor = descriptor2;
    QObject::connect(view1, &CurveView::pressed, editor, [this] {
        editCurve(*curve1Descriptor, curve1, curve1View);
    });
    if (view2)
        QObject::connect(view2, &CurveView::pressed, editor, [this] {
            editCurve(*curve2Descriptor, curve2, curve2View);
        });
}

void EffectEditorControls::bindStrengthAndModeGroup(bool showModeGroup)
{
    if (strengthEditor)
        strengthEditor->setSettings(strengthPart);
    if (modeGroup)
        modeGroup->setVisible(showModeGroup);
}

void EffectEditorControls::refresh()
{
    if (!strengthPart)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    if (strengthEditor)
        strengthEditor->refresh();
    if (strength)
        strength->setValue(strengthPart->total_effect_strength);
    if (baseFrequency && frequencyPart)
        baseFrequency->setValue(frequencyPart->base_frequency);
    if (maxFrequency && maxFrequencyPart)
        maxFrequency->setValue(maxFrequencyPart->max_frequency);
    // A profile's mode is read as 0 or 1 (EffectValueRanges); the box shows it and writes nothing.
    if (modeCheckBox && frequencyPart)
        modeCheckBox->setChecked(frequencyPart->frequency_mode != 0);
    if (curve1View && curve1)
        curve1View->setCurve(curve1->points, curve1Descriptor->xLabel, curve1Descriptor->yLabel);
    if (curve2View && curve2)
        curve2View->setCurve(curve2->points, curve2Descriptor->xLabel, curve2Descriptor->yLabel);
}

void EffectEditorControls::baseFrequencyChanged(int base)
{
    if (!updating && maxFrequency->value() <= base)
        maxFrequency->setValue(base + 1);
}

void EffectEditorControls::maxFrequencyChanged(int max)
{
    if (!updating && baseFrequency->value() >= max)
        baseFrequency->setValue(max - 1);
}

void EffectEditorControls::modeToggled(bool checked)
{
    store(frequencyPart, [&] { frequencyPart->frequency_mode = checked ? 1 : 0; });
}

void EffectEditorControls::store(bool bound, const std::function<void()>& write)
{
    if (updating || !bound)
        return;
    write();
    changed();
}

void EffectEditorControls::editCurve(CurveDescriptor& descriptor, ResponseCurve* curve, CurveView* preview)
{
    CurveEditorDialog dialog(editor);
    dialog.setWindowTitle(descriptor.title);
    dialog.setReferenceLevel(descriptor.referenceLevel, descriptor.referenceVisible);
    dialog.setFixedFirstOutput(descriptor.firstOutput, descriptor.firstOutputFixed);
    dialog.setInputRange(descriptor.xMin, descriptor.xMax);
    dialog.setOutputRange(descriptor.yMin, descriptor.yMax);
    dialog.setAxisNames(descriptor.xLabel, descriptor.yLabel);
    QObject::connect(&dialog, &CurveEditorDialog::curveChanged, editor, [this] { curveChanged(); });
    if (!curve)
        return;

    descriptor.curve.assign(*curve);
    dialog.setCurve(curve->points);
    if (dialog.exec() == 0) {
        curve->assign(descriptor.curve);
        curveChanged();
    }
    preview->setCurve(curve->points, descriptor.xLabel, descriptor.yLabel);
}
