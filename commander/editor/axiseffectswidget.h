#pragma once

#include "effectsprofile.h"

#include <QList>
#include <QModelIndex>
#include <QSet>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class AxisEffectsSettings;
class EffectSettingsBase;
class QListView;
class QStandardItemModel;
class Ui_AxisEffectsWidget;

// One row of the effect table; the table is indexed by effect type.
struct EffectListEntry {
    int displayOrder; // the row in both item models
    int effectType;   // an EffectsProfile::EffectType
    QString listName;
    QString pageName;
    EffectSettingsBase* settings; // inside the bound axis block; null before binding and for retired types
};

// The lowest row of the view's model that the view does not hide, or -1.
int firstVisibleRow(QListView* listView);

// The editor of one effect axis: the effects that may be added, the active ones, and one page
// per effect type. It edits the effect objects of the bound axis block in place and owns none
// of them; each change is announced by a signal without arguments. GUI thread only.
class AxisEffectsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AxisEffectsWidget(QWidget* parent = nullptr);
    ~AxisEffectsWidget() override;

    // Binds the widget for good to one axis block, which must outlive it. Emits nothing.
    void setSettings(AxisEffectsSettings* settings);
    // The types this axis may carry; every other effect is reset to its defaults (inactive)
    // without a signal. The caller refreshes next.
    void setEnabledEffects(const QSet<EffectsProfile::EffectType>& effectTypes);
    // Brings the lists up to date with the settings at once, and every editor by the time its
    // page is shown.
    void refresh();

signals:
    void suddenSettingsChange();
    void moderateSettingsChange();
    void integratedSpringCurveChanged();

private slots:
    void listClicked(QModelIndex index);
    void on_activate_effect_button_clicked();
    void on_simple_spring_disable_button_clicked();
    void on_elevator_weight_disable_button_clicked();
    void on_landing_jolt_disable_button_clicked();
    void on_aoa_shaker_disble_button_clicked();
    void on_extended_gear_shaker_disable_button_clicked();
    void on_extended_flaps_shaker_disable_button_clicked();
    void on_extended_airbrake_shaker_disable_button_clicked();
    void on_on_ground_rolling_shaker_disable_button_clicked();
    void on_direct_x_disable_button_clicked();
    void on_condor_shaker_disable_button_clicked();
    void on_smart_damper_disable_button_clicked();
    void on_g_force_spring_disable_button_clicked();
    void on_aoa_spring_disble_button_clicked();
    void on_airspeed_spring_disable_button_clicked();
    void on_prop_flow_disable_button_clicked();
    void on_local_aoa_disable_button_clicked();
    void on_turbulence_disable_button_clicked();
    void on_trim_disable_button_clicked();
    void on_overspeed_shaker_disable_button_clicked();
    void on_over_g_shaker_disable_button_clicked();
    void on_afterburner_shaker_disable_button_clicked();
    void on_primary_gunfire_shaker_disable_button_clicked();
    void on_gear_retraction_jolt_disable_button_clicked();
    void on_countermeasures_jolt_disable_button_clicked();
    void on_damage_jolt_disable_button_clicked();
    void on_weapon_release_jolt_disable_button_clicked();
    void on_translational_lift_shimmy_disable_button_clicked();
    void on_vortext_state_disable_button_clicked();
    void on_engine_shaker_disable_button_clicked();
    void on_rotor_shaker_disable_button_clicked();

private:
    void updateEffectList();
    void refreshShownEditor();
    void removeEffect(EffectsProfile::EffectType type);
    int typeAtRow(const QStandardItemModel* model, int row) const;

    Ui_AxisEffectsWidget* ui;
    AxisEffectsSettings* axisSettings = nullptr;
    QStandardItemModel* effectsModel;
    QStandardItemModel* activeEffectsModel;
    QSet<EffectsProfile::EffectType> enabledEffects;
    QList<EffectListEntry> effects;
    std::function<void()> editorRefresh[32]; // by effect type; none for the retired two
    std::array<bool, 32> staleEditors{};     // by effect type: settings changed since the last refresh
};
