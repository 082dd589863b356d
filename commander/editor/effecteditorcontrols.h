#pragma once

#include "curvedescriptor.h"
#include "dualcurvesettingsaddon.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "variablefrequencysettingsaddon.h"

#include <functional>
#include <type_traits>

class CurveView;
class QCheckBox;
class QSpinBox;
class QWidget;
class TotalEffectStrengthSettingsWidget;

// The controls that the shaker and curve editors share, handled once for all of them: the
// strength, the base and max frequency boxes with their rule, the frequency-mode box and up
// to two curve previews that open the curve dialog. It works on its editor's updating flag
// and descriptors. A user's edit stores its field and calls changed() once; while updating
// is set nothing is stored or reported, so a load never alters a profile. GUI thread only.
class EffectEditorControls
{
public:
    // The descriptor an editor holds until setSettings gives it the effect's own.
    static CurveDescriptor placeholderDescriptor();

    // curveChanged reports a change made in the curve dialog; changed when not given.
    EffectEditorControls(QWidget* editor, bool& updating, std::function<void()> changed,
                         std::function<void()> curveChanged = {});
    // Its connections hold this object; it stays where its editor built it.
    EffectEditorControls(const EffectEditorControls&) = delete;
    EffectEditorControls& operator=(const EffectEditorControls&) = delete;

    // Connect the form's controls (the optional ones null where the form has none); call
    // them after the form is set up, so that the editor's by-name slots run first.
    void attachStrength(TotalEffectStrengthSettingsWidget* strengthEditor);
    void attachStrength(QSpinBox* strength);
    void attachFrequencies(QSpinBox* baseFrequency, QSpinBox* maxFrequency, QCheckBox* modeCheckBox,
                           QWidget* modeGroup);
    void attachCurves(CurveView* curve1View, CurveDescriptor* curve1Descriptor, CurveView* curve2View = nullptr,
                      CurveDescriptor* curve2Descriptor = nullptr);

    // Binds the parts of settings (not owned; null unbinds) that the controls show, binds
    // the strength editor and shows the mode group only when showModeGroup. Loads nothing.
    template <class Settings>
    void bind(Settings* settings, bool showModeGroup = true)
    {
        strengthPart = settings;
        if constexpr (std::is_base_of_v<FixedFrequencySettingsAddon, Settings>)
            frequencyPart = settings;
        if constexpr (std::is_base_of_v<VariableFrequencySettingsAddon, Settings>)
            maxFrequencyPart = settings;
        if constexpr (std::is_base_of_v<SingleCurveSettingsAddon, Settings>)
            curve1 = settings ? &settings->curve1 : nullptr;
        if constexpr (std::is_base_of_v<DualCurveSettingsAddon, Settings>)
            curve2 = settings ? &settings->curve2 : nullptr;
        bindStrengthAndModeGroup(showModeGroup);
    }

    // Loads every attached control from the bound settings under the updating guard.
    void refresh();

    // The frequency rule, from the editor's by-name slots: a user's edit of one box keeps
    // the other on its side (max at least base + 1). Only the other box moves; its handler
    // stores and reports the pushed value. The boxes' range stops a push, so at either end
    // base and max may be equal.
    void baseFrequencyChanged(int base);
    void maxFrequencyChanged(int max);
    void modeToggled(bool checked);

private:
    void bindStrengthAndModeGroup(bool showModeGroup);
    // A user's edit: writes and reports it, unless loading or unbound.
    void store(bool bound, const std::function<void()>& write);
    // Opens the curve dialog (modal) on curve, edited in place; every change in it is
    // reported at once. Cancel, Escape or closing restore the backup kept in the
    // descriptor's curve and report once more; OK adds nothing. The preview then shows the
    // curve. An unbound editor opens nothing.
    void editCurve(CurveDescriptor& descriptor, ResponseCurve* curve, CurveView* preview);

    QWidget* editor;
    bool& updating;
    std::function<void()> changed;
    std::function<void()> curveChanged;
    TotalEffectStrengthSettingsWidget* strengthEditor = nullptr;
    QSpinBox* strength = nullptr;
    QSpinBox* baseFrequency = nullptr;
    QSpinBox* maxFrequency = nullptr;
    QCheckBox* modeCheckBox = nullptr;
    QWidget* modeGroup = nullptr;
    CurveView* curve1View = nullptr;
    CurveDescriptor* curve1Descriptor = nullptr;
    CurveView* curve2View = nullptr;
    CurveDescriptor* curve2Descriptor = nullptr;
    // The bound parts of the edited settings; null while unbound.
    TotalEffectStrengthSettingsAddon* strengthPart = nullptr;
    FixedFrequencySettingsAddon* frequencyPart = nullptr;
    VariableFrequencySettingsAddon* maxFrequencyPart = nullptr;
    ResponseCurve* curve1 = nullptr;
    ResponseCurve* curve2 = nullptr;
};
