#pragma once

#include "dualcurvesettingsaddon.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "variablefrequencysettingsaddon.h"

#include <functional>
#include <type_traits>

class CurveDescriptor;
class CurveView;
class QCheckBox;
class QSpinBox;
class QWidget;
class TotalEffectStrengthSettingsWidget;

// The controls that the shaker and curve editors have in common, handled once for all of
// them: the strength (embedded editor or a spin box of its own), the base and max frequency
// boxes with their rule, the frequency-mode box and up to two curve previews that open the
// curve dialog. It works on its editor's members (the updating flag, the descriptors),
// which must outlive it. A user's edit stores its field and calls changed() once; while
// updating is set nothing is stored or reported, so a load never alters a profile.
// GUI thread only.
class EffectEditorControls
{
public:
    // One editor's form and descriptors; what the editor lacks stays null.
    struct Form
    {
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
    };

    // curveChanged reports a change made in the curve dialog; changed when not given.
    EffectEditorControls(QWidget* editor, bool& updating, std::function<void()> changed,
                         std::function<void()> curveChanged = {});
    // Its connections hold this object; it stays where its editor built it.
    EffectEditorControls(const EffectEditorControls&) = delete;
    EffectEditorControls& operator=(const EffectEditorControls&) = delete;

    // Connects the form's controls; call after the form is set up, so that the editor's
    // by-name slots run before these handlers.
    void attach(const Form& form);

    // Binds the parts of settings (not owned; null unbinds) that the form shows, binds the
    // strength editor and shows the mode group only when showModeGroup. Loads nothing.
    template <class Settings>
    void bind(Settings* settings, bool showModeGroup = true)
    {
        Parts parts;
        parts.strength = settings;
        if constexpr (std::is_base_of_v<FixedFrequencySettingsAddon, Settings>)
            parts.frequency = settings;
        if constexpr (std::is_base_of_v<VariableFrequencySettingsAddon, Settings>)
            parts.maxFrequency = settings;
        if constexpr (std::is_base_of_v<SingleCurveSettingsAddon, Settings>)
            parts.curve1 = settings ? &settings->curve1 : nullptr;
        if constexpr (std::is_base_of_v<DualCurveSettingsAddon, Settings>)
            parts.curve2 = settings ? &settings->curve2 : nullptr;
        bindParts(parts, showModeGroup);
    }

    // Loads every control of the form from the bound settings under the updating guard.
    void refresh();

    // The editor's by-name slots pass their values on to these.
    void baseFrequencyChanged(int base);
    void maxFrequencyChanged(int max);
    void modeToggled(bool checked);

private:
    struct Parts
    {
        TotalEffectStrengthSettingsAddon* strength = nullptr;
        FixedFrequencySettingsAddon* frequency = nullptr;
        VariableFrequencySettingsAddon* maxFrequency = nullptr;
        ResponseCurve* curve1 = nullptr;
        ResponseCurve* curve2 = nullptr;
    };

    void bindParts(const Parts& parts, bool showModeGroup);
    // A user's edit: writes and reports it, unless loading or unbound.
    void store(bool bound, const std::function<void()>& write);

    QWidget* editor;
    bool& updating;
    std::function<void()> changed;
    std::function<void()> curveChanged;
    Form form;
    Parts parts;
};
