#include "axiseffectswidget.h"

#include "ui_axiseffectswidget.h"
#include "uihelpers.h"

#include "axiseffectssettings.h"

#include <QListView>
#include <QStandardItemModel>

namespace {

constexpr int effectTypeRole = Qt::UserRole + 1;
constexpr int effectTypeCount = 32;
constexpr int emptyPage = effectTypeCount; // "Select effect from the list."

} // namespace

int firstVisibleRow(QListView* listView)
{
    const int rows = listView->model() ? listView->model()->rowCount() : 0;
    for (int row = 0; row < rows; ++row) {
        if (!listView->isRowHidden(row))
            return row;
    }
    return -1;
}

AxisEffectsWidget::AxisEffectsWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui_AxisEffectsWidget), effectsModel(new QStandardItemModel(this)),
      activeEffectsModel(new QStandardItemModel(this))
{
    effects = {
        {29, EffectsProfile::EFFECT_TYPE_SMART_DAMPER, tr("Misc: Smart dampers"), tr("Smart dampers"), nullptr},
        {0, EffectsProfile::EFFECT_TYPE_DIRECT_X_FFB, tr("DirectX: Standard FFB"), tr("DirectX FFB override"), nullptr},
        {1, EffectsProfile::EFFECT_TYPE_AIRSPEED_SPRING, tr("Spring: Airspeed"), tr("Speed airflow spring"), nullptr},
        {2, EffectsProfile::EFFECT_TYPE_PROP_THRUST_SPRING, tr("Spring: Prop airflow"), tr("Propeller airflow spring"), nullptr},
        {3, EffectsProfile::EFFECT_TYPE_AOA_SPRING, tr("Spring: AOA"), tr("AoA spring"), nullptr},
        {4, EffectsProfile::EFFECT_TYPE_G_FORCE_SPRING, tr("Spring: GForce"), tr("GForce spring"), nullptr},
        {5, EffectsProfile::EFFECT_TYPE_SIMPLE_SPRING, tr("Spring: Simple"), tr("Simple spring"), nullptr},
        {25, EffectsProfile::EFFECT_TYPE_ELEVATOR_WEIGHT, tr("Misc: Elevator weight"), tr("Elevator weight"), nullptr},
        {26, EffectsProfile::EFFECT_TYPE_LOCAL_AOA, tr("Misc: Local AOA"), tr("Local AoA"), nullptr},
        {27, EffectsProfile::EFFECT_TYPE_TURBULENCE, tr("Misc: Turbulence"), tr("Turbulence"), nullptr},
        {28, EffectsProfile::EFFECT_TYPE_TRIM, tr("Misc: Hardware trim"), tr("Hardware trim"), nullptr},
        {7, EffectsProfile::EFFECT_TYPE_OVERSPEED_SHAKER, tr("Shaker: Overspeed"), tr("Overspeed shaker"), nullptr},
        {8, EffectsProfile::EFFECT_TYPE_OVERG_SHAKER, tr("Shaker: OverG"), tr("OverG shaker"), nullptr},
        {12, EffectsProfile::EFFECT_TYPE_AFTERBURNER_SHAKER, tr("Shaker: Afterburner"), tr("Afterburner shaker"), nullptr},
        {13, EffectsProfile::EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER, tr("Shaker: Rolling on ground"), tr("On ground rolling shaker"), nullptr},
        {14, EffectsProfile::EFFECT_TYPE_GUNFIRE_SHAKER, tr("Shaker: Gunfire"), tr("Gunfire shaker"), nullptr},
        {30, EffectsProfile::_deprecated_0, QStringLiteral("_deprecated_0"), QStringLiteral("_deprecated_0"), nullptr},
        {6, EffectsProfile::EFFECT_TYPE_AOA_SHAKER, tr("Shaker: AoA/Stall"), tr("AoA/Stall shaker"), nullptr},
        {9, EffectsProfile::EFFECT_TYPE_GEAR_SHAKER, tr("Shaker: Extended gear"), tr("Extended gear shaker"), nullptr},
        {10, EffectsProfile::EFFECT_TYPE_FLAPS_SHAKER, tr("Shaker: Extended flaps"), tr("Extended flaps shaker"), nullptr},
        {11, EffectsProfile::EFFECT_TYPE_AIRBRAKES_SHAKER, tr("Shaker: Extended airbrakes"), tr("Extended airbrakes shaker"), nullptr},
        {21, EffectsProfile::EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER, tr("Jolt: Gear extend/retract "), tr("Gear extend/retract jolt"), nullptr},
        {23, EffectsProfile::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER, tr("Jolt: Countermeasures "), tr("Countermeasures jolt"), nullptr},
        {24, EffectsProfile::EFFECT_TYPE_DAMAGE_JOLT_SHAKER, tr("Jolt: Damage received"), tr("Damage received jolt"), nullptr},
        {22, EffectsProfile::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER, tr("Jolt: Weapon release"), tr("Weapon release jolt"), nullptr},
        {20, EffectsProfile::EFFECT_TYPE_LANDING_JOLT_SHAKER, tr("Jolt: Landing"), tr("Landing jolt"), nullptr},
        {18, EffectsProfile::EFFECT_TYPE_ETL_SHAKER, tr("Shaker: ETL (Helos)"), tr("ETL shaker"), nullptr},
        {17, EffectsProfile::EFFECT_TYPE_VORTEX_STATE_SHAKER, tr("Shaker: Vortex state  (Helos)"), tr("Vortex state shaker"), nullptr},
        {31, EffectsProfile::_deprecated_1, QStringLiteral("_deprecated_1"), QStringLiteral("_deprecated_1"), nullptr},
        {19, EffectsProfile::EFFECT_TYPE_GENERIC_SHAKER, tr("Shaker: Generic"), tr("Generic shaker"), nullptr},
        {16, EffectsProfile::EFFECT_TYPE_MAIN_ROTOR_SHAKER, tr("Shaker: Main rotor (Helos)"), tr("Main rotor shaker"), nullptr},
        {15, EffectsProfile::EFFECT_TYPE_ENGINE_SHAKER, tr("Shaker: Engine"), tr("Engine shaker"), nullptr},
    };

    ui->setupUi(this);

    ui->effects_combo->setMaxVisibleItems(effectTypeCount);
    ui->effects_combo->setModel(effectsModel);
    ui->effects_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ui->active_effects_list->setModel(activeEffectsModel);
    ui->active_effects_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(ui->active_effects_list, &QListView::clicked, this, &AxisEffectsWidget::listClicked);
    connect(ui->effect_stack, &QStackedWidget::currentChanged, this, &AxisEffectsWidget::refreshShownEditor);

    const auto attach = [this](int type, auto* editor) {
        using Editor = std::remove_pointer_t<decltype(editor)>;
        connect(editor, &Editor::settingsChanged, this, &AxisEffectsWidget::moderateSettingsChange);
        editorRefresh[type] = [editor] { editor->refresh(); };
    };
    attach(0, ui->smart_damper_widget);
    attach(1, ui->direct_x_widget);
    attach(2, ui->airspeed_spring_widget);
    attach(3, ui->prop_flow_widget);
    attach(4, ui->aoa_spring_widget);
    attach(5, ui->g_force_spring_widget);
    attach(6, ui->simple_spring_widget);
    attach(7, ui->elevator_weight_widget);
    attach(8, ui->local_aoa_widget);
    attach(9, ui->turbulence_widget);
    attach(10, ui->trim_widget);
    attach(11, ui->overspeed_shaker_widget);
    attach(12, ui->over_g_shaker_widget);
    attach(13, ui->afterburner_shaker_widget);
    attach(14, ui->on_ground_rolling_shaker_widget);
    attach(15, ui->primary_gunfire_shaker_widget);
    attach(17, ui->aoa_shaker_widget);
    attach(18, ui->extended_gear_shaker_widget);
    attach(19, ui->extended_flaps_shaker_widget);
    attach(20, ui->extended_airbrake_shaker_widget);
    attach(21, ui->gear_retraction_jolt_widget);
    attach(22, ui->countermeasures_jolt_widget);
    attach(23, ui->damage_jolt_widget);
    attach(24, ui->weapon_release_jolt_widget);
    attach(25, ui->landing_jolt_widget);
    attach(26, ui->translational_lift_shimmy_widget);
    attach(27, ui->vortext_state_widget);
    attach(29, ui->generic_shaker_widget);
    attach(30, ui->rotor_shaker_widget);
    attach(31, ui->engine_shaker_widget);
    connect(ui->simple_spring_widget, &SpringWithSingleCurveSettingsWidget::curveChanged, this,
            &AxisEffectsWidget::integratedSpringCurveChanged);

    QLabel* const pageLabels[effectTypeCount] = {
        ui->smart_damper_page_label, ui->direct_x_page_label, ui->airspeed_spring_page_label,
        ui->prop_flow_page_label, ui->aoa_spring_page_label, ui->g_force_spring_page_label,
        ui->simple_spring_page_label, ui->elevator_weight_page_label, ui->local_aoa_page_label,
        ui->turbulance_page_label, ui->trim_page_label, ui->overspeed_shaker_page_label,
        ui->over_g_shaker_page_label, ui->afterburner_shaker_page_label,
        ui->on_ground_rolling_shaker_page_label, ui->primary_gunfire_shaker_page_label,
        ui->deprecated_0_page_label, ui->aoa_shaker_page_label, ui->extended_gear_shaker_page_label,
        ui->extended_flaps_shaker_page_label, ui->extended_airbrake_shaker_page_label,
        ui->gear_retraction_jolt_page_label, ui->countermeasures_jolt_page_label,
        ui->damage_jolt_page_label, ui->weapon_release_jolt_page_label, ui->landing_jolt_page_label,
        ui->translational_lift_shimmy_page_label, ui->vortext_state_page_label, ui->deprecated_1_label,
        ui->generic_shaker_page_label, ui->rotor_shaker_page_label, ui->engine_shaker_page_label,
    };
    for (int type = 0; type < effectTypeCount; ++type)
        pageLabels[type]->setText(effects[type].pageName);

    for (QStandardItemModel* model : {effectsModel, activeEffectsModel}) {
        model->clear();
        for (const EffectListEntry& entry : std::as_const(effects)) {
            auto* item = new QStandardItem(entry.listName);
            item->setData(entry.effectType, effectTypeRole);
            model->setItem(entry.displayOrder, 0, item);
        }
    }
}

AxisEffectsWidget::~AxisEffectsWidget()
{
    delete ui;
}

void AxisEffectsWidget::setSettings(AxisEffectsSettings* settings)
{
    axisSettings = settings;
    AxisEffectsSettings& axis = *settings;
    EffectSettingsBase* const bound[effectTypeCount] = {
        &axis.smartDamper, &axis.directX, &axis.airspeedSpring, &axis.propThrustSpring,
        &axis.aoaSpring, &axis.gForceSpring, &axis.simpleSpring, &axis.elevatorWeight,
        &axis.localAoa, &axis.turbulence, &axis.trim, &axis.overspeedShaker, &axis.overGShaker,
        &axis.afterburnerShaker, &axis.onGroundShaker, &axis.gunfireShaker, nullptr,
        &axis.aoaShaker, &axis.gearShaker, &axis.flapsShaker, &axis.airbrakeShaker,
        &axis.gearExtractionJolt, &axis.countermeasuresJolt, &axis.damageJolt,
        &axis.weaponReleaseJolt, &axis.landingJolt, &axis.liftShimmyShaker,
        &axis.vortexStateShaker, nullptr, &axis.genericShaker, &axis.rotorShaker,
        &axis.engineShaker,
    };
    for (int type = 0; type < effectTypeCount; ++type)
        effects[type].settings = bound[type];

    ui->direct_x_widget->setSettings(&axis.directX);
    ui->smart_damper_widget->setSettings(&axis.smartDamper);
    ui->airspeed_spring_widget->setSettings(&axis.airspeedSpring, AirspeedSpringSettings::curveDescriptor());
    ui->prop_flow_widget->setSettings(&axis.propThrustSpring, PropThrustSpringSettings::curveDescriptor());
    ui->aoa_spring_widget->setSettings(&axis.aoaSpring, AoASpringSettings::curveDescriptor());
    ui->g_force_spring_widget->setSettings(&axis.gForceSpring, GForceSpringSettings::curveDescriptor());
    ui->simple_spring_widget->setSettings(&axis.simpleSpring, SimpleSpringSettings::curveDescriptor());
    ui->elevator_weight_widget->setSettings(&axis.elevatorWeight);
    ui->local_aoa_widget->setSettings(&axis.localAoa);
    ui->turbulence_widget->setSettings(&axis.turbulence);
    ui->overspeed_shaker_widget->setSettings(&axis.overspeedShaker, OverspeedShakerSettings::curveDescriptor(), false);
    ui->over_g_shaker_widget->setSettings(&axis.overGShaker, OverGShakerSettings::curveDescriptor(), false);
    ui->afterburner_shaker_widget->setSettings(&axis.afterburnerShaker, AfterburnerShakerSettings::curveDescriptor(), false);
    ui->on_ground_rolling_shaker_widget->setSettings(&axis.onGroundShaker, OnGroundShakerSettings::curveDescriptor(), false);
    ui->primary_gunfire_shaker_widget->setSettings(&axis.gunfireShaker);
    ui->aoa_shaker_widget->setSettings(&axis.aoaShaker, AoAShakerSettings::curve1Descriptor(),
                                       AoAShakerSettings::curve2Descriptor(), false);
    ui->extended_gear_shaker_widget->setSettings(&axis.gearShaker, GearShakerSettings::curve1Descriptor(),
                                                 GearShakerSettings::curve2Descriptor(), false);
    ui->extended_flaps_shaker_widget->setSettings(&axis.flapsShaker, FlapsShakerSettings::curve1Descriptor(),
                                                  FlapsShakerSettings::curve2Descriptor(), false);
    ui->extended_airbrake_shaker_widget->setSettings(&axis.airbrakeShaker, AirbrakeShakerSettings::curve1Descriptor(),
                                                     AirbrakeShakerSettings::curve2Descriptor(), false);
    ui->gear_retraction_jolt_widget->setSettings(&axis.gearExtractionJolt);
    ui->countermeasures_jolt_widget->setSettings(&axis.countermeasuresJolt);
    ui->damage_jolt_widget->setSettings(&axis.damageJolt, DamageJoltShakerSettings::curveDescriptor(), false);
    ui->weapon_release_jolt_widget->setSettings(&axis.weaponReleaseJolt,
                                                WeaponReleaseJoltShakerSettings::curveDescriptor(), false);
    ui->landing_jolt_widget->setSettings(&axis.landingJolt, LandingJoltShakerSettings::curve1Descriptor(),
                                         LandingJoltShakerSettings::curve2Descriptor(), false);
    ui->translational_lift_shimmy_widget->setSettings(&axis.liftShimmyShaker,
                                                      LiftShimmyShakerSettings::curveDescriptor(), false);
    ui->vortext_state_widget->setSettings(&axis.vortexStateShaker, VortexStateShakerSettings::curve1Descriptor(),
                                          VortexStateShakerSettings::curve2Descriptor(), false);
    ui->generic_shaker_widget->setSettings(&axis.genericShaker, GenericShakerSettings::curveDescriptor(), true);
    ui->rotor_shaker_widget->setSettings(&axis.rotorShaker, RotorShakerSettings::curveDescriptor());
    ui->engine_shaker_widget->setSettings(&axis.engineShaker, EngineShakerSettings::curveDescriptor());
    ui->trim_widget->setSettings(&axis.trim);
}

void AxisEffectsWidget::setEnabledEffects(const QSet<EffectsProfile::EffectType>& effectTypes)
{
    enabledEffects = effectTypes;
    for (const EffectListEntry& entry : std::as_const(effects)) {
        if (entry.settings && !enabledEffects.contains(EffectsProfile::EffectType(entry.effectType)))
            entry.settings->setDefaults();
    }
}

void AxisEffectsWidget::refresh()
{
    // The editors of hidden pages catch up when their page is shown: a profile load then
    // redraws a few curve previews instead of about a hundred.
    staleEditors.fill(true);
    updateEffectList();
    refreshShownEditor();
}

void AxisEffectsWidget::refreshShownEditor()
{
    const int type = ui->effect_stack->currentIndex();
    if (type < 0 || type >= effectTypeCount || !staleEditors[type])
        return;
    staleEditors[type] = false;
    if (editorRefresh[type])
        editorRefresh[type]();
}

int AxisEffectsWidget::typeAtRow(const QStandardItemModel* model, int row) const
{
    return model->item(row)->data(effectTypeRole).toInt();
}

void AxisEffectsWidget::updateEffectList()
{
    ui->effects_combo->setCurrentIndex(-1);
    for (int row = 0; row < effectTypeCount; ++row) {
        const EffectListEntry& entry = effects[typeAtRow(effectsModel, row)];
        if (!entry.settings) {
            setComboBoxRowHidden(ui->effects_combo, row, true);
            setListViewRowHidden(ui->active_effects_list, row, true);
        } else if (!enabledEffects.contains(EffectsProfile::EffectType(entry.effectType))) {
            setComboBoxRowHidden(ui->effects_combo, row, true);
            setListViewRowHidden(ui->active_effects_list, row, true);
            entry.settings->active = false;
        } else {
            setComboBoxRowHidden(ui->effects_combo, row, false);
            setComboBoxItemEnabled(ui->effects_combo, row, !entry.settings->active);
            setListViewRowHidden(ui->active_effects_list, row, !entry.settings->active);
        }
    }

    const int row = firstVisibleRow(ui->active_effects_list);
    if (row >= 0) {
        ui->active_effects_list->setCurrentIndex(activeEffectsModel->index(row, 0));
        ui->effect_stack->setCurrentIndex(typeAtRow(activeEffectsModel, row));
    } else {
        ui->effect_stack->setCurrentIndex(emptyPage);
    }
    ui->active_effects_list->setMinimumWidth(ui->active_effects_list->sizeHintForColumn(0));
}

void AxisEffectsWidget::listClicked(QModelIndex index)
{
    ui->effect_stack->setCurrentIndex(typeAtRow(activeEffectsModel, index.row()));
}

void AxisEffectsWidget::on_activate_effect_button_clicked()
{
    const int row = ui->effects_combo->currentIndex();
    if (unsigned(row) < unsigned(effectTypeCount)) {
        const int type = typeAtRow(effectsModel, row);
        EffectSettingsBase* settings = effects[type].settings;
        // The keyboard and the wheel can reach rows the drop-down hides or greys out; those
        // are not offered and never added (nor reset, when already active).
        const bool offered = enabledEffects.contains(EffectsProfile::EffectType(type));
        if (settings && offered && !settings->active) {
            settings->setDefaults();
            settings->active = true;
            refresh();
            ui->effect_stack->setCurrentIndex(type);
            ui->active_effects_list->setCurrentIndex(activeEffectsModel->index(row, 0));
        }
    }
    emit suddenSettingsChange();
}

void AxisEffectsWidget::removeEffect(EffectsProfile::EffectType type)
{
    if (EffectSettingsBase* settings = effects[type].settings)
        settings->setDefaults();
    emit moderateSettingsChange();
    refresh();
}

void AxisEffectsWidget::on_smart_damper_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_SMART_DAMPER); }
void AxisEffectsWidget::on_direct_x_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_DIRECT_X_FFB); }
void AxisEffectsWidget::on_airspeed_spring_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_AIRSPEED_SPRING); }
void AxisEffectsWidget::on_prop_flow_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_PROP_THRUST_SPRING); }
void AxisEffectsWidget::on_aoa_spring_disble_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_AOA_SPRING); }
void AxisEffectsWidget::on_g_force_spring_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_G_FORCE_SPRING); }
void AxisEffectsWidget::on_simple_spring_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_SIMPLE_SPRING); }
void AxisEffectsWidget::on_elevator_weight_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_ELEVATOR_WEIGHT); }
void AxisEffectsWidget::on_local_aoa_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_LOCAL_AOA); }
void AxisEffectsWidget::on_turbulence_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_TURBULENCE); }
void AxisEffectsWidget::on_trim_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_TRIM); }
void AxisEffectsWidget::on_overspeed_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_OVERSPEED_SHAKER); }
void AxisEffectsWidget::on_over_g_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_OVERG_SHAKER); }
void AxisEffectsWidget::on_afterburner_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_AFTERBURNER_SHAKER); }
void AxisEffectsWidget::on_on_ground_rolling_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER); }
void AxisEffectsWidget::on_primary_gunfire_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_GUNFIRE_SHAKER); }
void AxisEffectsWidget::on_aoa_shaker_disble_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_AOA_SHAKER); }
void AxisEffectsWidget::on_extended_gear_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_GEAR_SHAKER); }
void AxisEffectsWidget::on_extended_flaps_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_FLAPS_SHAKER); }
void AxisEffectsWidget::on_extended_airbrake_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_AIRBRAKES_SHAKER); }
void AxisEffectsWidget::on_gear_retraction_jolt_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER); }
void AxisEffectsWidget::on_countermeasures_jolt_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER); }
void AxisEffectsWidget::on_damage_jolt_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_DAMAGE_JOLT_SHAKER); }
void AxisEffectsWidget::on_weapon_release_jolt_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER); }
void AxisEffectsWidget::on_landing_jolt_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_LANDING_JOLT_SHAKER); }
void AxisEffectsWidget::on_translational_lift_shimmy_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_ETL_SHAKER); }
void AxisEffectsWidget::on_vortext_state_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_VORTEX_STATE_SHAKER); }
void AxisEffectsWidget::on_condor_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_GENERIC_SHAKER); }
void AxisEffectsWidget::on_rotor_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_MAIN_ROTOR_SHAKER); }
void AxisEffectsWidget::on_engine_shaker_disable_button_clicked() { removeEffect(EffectsProfile::EFFECT_TYPE_ENGINE_SHAKER); }
