#!/usr/bin/env python3
"""Writes forms/axiseffectswidget.ui: the effect list and its 33-page stack.

The pages' object names are fixed (other code and stored habits depend on them,
misspellings included), so the form is generated from the table below rather than
edited by hand. Run it from the repository root and commit the result."""

import os
import sys
from xml.dom import minidom
from xml.sax.saxutils import escape

# index: (page, group box, label, editor widget, editor class, remove button)
PAGES = [
    ("_00_smart_damper_page", "smart_damper_page_group_box", "smart_damper_page_label", "smart_damper_widget", "SmartDampeningSettingsWidget", "smart_damper_disable_button"),
    ("_01_direct_x_page", "direct_x_page_group_box", "direct_x_page_label", "direct_x_widget", "DirectXSettingsWidget", "direct_x_disable_button"),
    ("_02_airspeed_spring_page", "airspeed_spring_page_group_box", "airspeed_spring_page_label", "airspeed_spring_widget", "SpringWithSingleCurveSettingsWidget", "airspeed_spring_disable_button"),
    ("_03_prop_flow_spring_page", "prop_flow_page_group_box", "prop_flow_page_label", "prop_flow_widget", "SpringWithSingleCurveSettingsWidget", "prop_flow_disable_button"),
    ("_04_aoa_spring_page", "aoa_spring_group_box", "aoa_spring_page_label", "aoa_spring_widget", "SpringWithSingleCurveSettingsWidget", "aoa_spring_disble_button"),
    ("_05_g_force_spring_page", "g_force_group_box", "g_force_spring_page_label", "g_force_spring_widget", "SpringWithSingleCurveSettingsWidget", "g_force_spring_disable_button"),
    ("_06_simple_spring_page", "simple_spring_page_group_box", "simple_spring_page_label", "simple_spring_widget", "SpringWithSingleCurveSettingsWidget", "simple_spring_disable_button"),
    ("_07_elevator_weight_page", "elevator_weight_page_group_box", "elevator_weight_page_label", "elevator_weight_widget", "TotalEffectStrengthSettingsWidget", "elevator_weight_disable_button"),
    ("_08_local_aoa_page", "local_aoa_page_group_box", "local_aoa_page_label", "local_aoa_widget", "TotalEffectStrengthSettingsWidget", "local_aoa_disable_button"),
    ("_09_turbulence_page", "turbulence_page_group_box", "turbulance_page_label", "turbulence_widget", "TotalEffectStrengthSettingsWidget", "turbulence_disable_button"),
    ("_10_trim_page", "trim_page_group_box", "trim_page_label", "trim_widget", "TrimSettingsWidget", "trim_disable_button"),
    ("_11_overspeed_shaker_page", "overspeed_shaker_group_box", "overspeed_shaker_page_label", "overspeed_shaker_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "overspeed_shaker_disable_button"),
    ("_12_over_g_shaker_page", "over_g_shaker_group_box", "over_g_shaker_page_label", "over_g_shaker_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "over_g_shaker_disable_button"),
    ("_13_afterburner_shaker_page", "afterburner_shaker_page_group_box", "afterburner_shaker_page_label", "afterburner_shaker_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "afterburner_shaker_disable_button"),
    ("_14_on_ground_shaker_page", "on_ground_rolling_shaker_page_group_box", "on_ground_rolling_shaker_page_label", "on_ground_rolling_shaker_widget", "ShakerWithSingleCurveAndVariableFrequencyWidget", "on_ground_rolling_shaker_disable_button"),
    ("_15_primary_gunfire_shaker_page", "primary_gunfire_shaker_page_group_box", "primary_gunfire_shaker_page_label", "primary_gunfire_shaker_widget", "GunfireSettingsWidget", "primary_gunfire_shaker_disable_button"),
    ("_16_deprecated_0_page", "deprecated_0_page_group_box", "deprecated_0_page_label", None, None, "deprecated_0_disable_button"),
    ("_17_aoa_shaker_page", "aoa_shaker_page_group_box", "aoa_shaker_page_label", "aoa_shaker_widget", "ShakerWithDualCurveAndVariableFrequencyWidget", "aoa_shaker_disble_button"),
    ("_18_extended_gear_shaker_page", "extended_gear_shaker_page_group_box", "extended_gear_shaker_page_label", "extended_gear_shaker_widget", "ShakerWithDualCurveAndVariableFrequencyWidget", "extended_gear_shaker_disable_button"),
    ("_19_extended_flaps_shaker_page", "flaps_shaker_group_box", "extended_flaps_shaker_page_label", "extended_flaps_shaker_widget", "ShakerWithDualCurveAndVariableFrequencyWidget", "extended_flaps_shaker_disable_button"),
    ("_20_extended_airbrakes_shaker_page", "extended_airbrake_shaker_page_group_box", "extended_airbrake_shaker_page_label", "extended_airbrake_shaker_widget", "ShakerWithDualCurveAndVariableFrequencyWidget", "extended_airbrake_shaker_disable_button"),
    ("_21_gear_retraction_jolt_page", "gear_retraction_jolt_page_group_box", "gear_retraction_jolt_page_label", "gear_retraction_jolt_widget", "ShakerWithFixedFrequencyWidget", "gear_retraction_jolt_disable_button"),
    ("_22_countermeasures_jolt_page", "countermeasures_jolt_page_group_box", "countermeasures_jolt_page_label", "countermeasures_jolt_widget", "ShakerWithFixedFrequencyWidget", "countermeasures_jolt_disable_button"),
    ("_23_damage_jolt_page", "damage_jolt_page_group_box", "damage_jolt_page_label", "damage_jolt_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "damage_jolt_disable_button"),
    ("_24_weapon_release_jolt_page", "weapon_release_jolt_page_group_box", "weapon_release_jolt_page_label", "weapon_release_jolt_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "weapon_release_jolt_disable_button"),
    ("_25_landing_jolt_page", "landing_jolt_page_group_box", "landing_jolt_page_label", "landing_jolt_widget", "ShakerWithDualCurveAndVariableFrequencyWidget", "landing_jolt_disable_button"),
    ("_26_translational_lift_shimmy_page", "translational_lift_shimmy_page_group_box", "translational_lift_shimmy_page_label", "translational_lift_shimmy_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "translational_lift_shimmy_disable_button"),
    ("_27_vortext_state_page", "vortext_state_page_group_box", "vortext_state_page_label", "vortext_state_widget", "ShakerWithDualCurveAndVariableFrequencyWidget", "vortext_state_disable_button"),
    ("_28_deprecated_1_page", "deprecated_1_box", "deprecated_1_label", None, None, "deprecated_1_button"),
    ("_29_condor_shaker_page", "condor_shaker_group_box", "generic_shaker_page_label", "generic_shaker_widget", "ShakerWithSingleCurveAndFixedFrequencyWidget", "condor_shaker_disable_button"),
    ("_30_rotor_shaker", "rotor_shaker_group_box", "rotor_shaker_page_label", "rotor_shaker_widget", "RPMShakerEffectWidget", "rotor_shaker_disable_button"),
    ("_31_engine_shaker", "engine_shaker_group_box", "engine_shaker_page_label", "engine_shaker_widget", "RPMShakerEffectWidget", "engine_shaker_disable_button"),
]

GENERIC_SHAKER_PAGE = 29


def string(text):
    return "<string>%s</string>" % escape(text)


def spacer(name, height):
    return (
        '<spacer name="%s"><property name="orientation"><enum>Qt::Vertical</enum></property>'
        '<property name="sizeType"><enum>QSizePolicy::Expanding</enum></property>'
        '<property name="sizeHint" stdset="0"><size><width>20</width><height>%d</height></size></property>'
        "</spacer>" % (name, height)
    )


def item(body):
    return "<item>%s</item>" % body


def spacer_height(index):
    if index == 0:
        return 412
    if index <= 28:
        return 430
    return 406


def effect_page(index, row):
    page, group, label, editor, editor_class, button = row
    parts = [item('<widget class="QLabel" name="%s"><property name="text">%s</property></widget>'
                  % (label, string(label)))]
    if editor:
        policy = ""
        if editor == "primary_gunfire_shaker_widget":
            policy = ('<property name="sizePolicy"><sizepolicy hsizetype="Preferred" vsizetype="Minimum">'
                      "<horstretch>0</horstretch><verstretch>0</verstretch></sizepolicy></property>")
        parts.append(item('<widget class="%s" name="%s">%s</widget>' % (editor_class, editor, policy)))
    if index != 15:
        parts.append(item(spacer("verticalSpacer_page_%02d" % index, spacer_height(index))))
    parts.append(item('<widget class="QPushButton" name="%s"><property name="text">%s</property></widget>'
                      % (button, string("Remove effect"))))
    group_box = ('<widget class="QGroupBox" name="%s"><property name="title">%s</property>'
                 '<layout class="QVBoxLayout" name="group_layout_%02d">%s</layout></widget>'
                 % (group, string(""), index, "".join(parts)))
    return ('<widget class="QWidget" name="%s"><layout class="QVBoxLayout" name="page_layout_%02d">%s</layout></widget>'
            % (page, index, item(group_box)))


def empty_page():
    margins = "".join('<property name="%sMargin"><number>9</number></property>' % side
                      for side in ("left", "top", "right", "bottom"))
    body = (item('<widget class="QLabel" name="label"><property name="text">%s</property></widget>'
                 % string("Select effect from the list."))
            + item(spacer("verticalSpacer_empty", 40).replace("QSizePolicy::Expanding", "QSizePolicy::Expanding")))
    group_box = ('<widget class="QGroupBox" name="groupBox"><property name="title">%s</property>'
                 '<layout class="QVBoxLayout" name="verticalLayout_29">%s</layout></widget>' % (string(""), body))
    return ('<widget class="QWidget" name="page"><layout class="QVBoxLayout" name="verticalLayout_16">%s%s</layout></widget>'
            % (margins, item(group_box)))


def custom_widgets():
    classes = []
    for row in PAGES:
        if row[4] and row[4] not in classes:
            classes.append(row[4])
    return "".join("<customwidget><class>%s</class><extends>QWidget</extends><header>%s.h</header>"
                   "<container>1</container></customwidget>" % (c, c.lower()) for c in classes)


def form():
    pages = "".join(effect_page(i, row) for i, row in enumerate(PAGES)) + empty_page()
    no_margins = "".join('<property name="%sMargin"><number>0</number></property>' % side
                         for side in ("left", "top", "right", "bottom"))
    top = (
        item('<layout class="QFormLayout" name="formLayout_4">%s'
             '<item row="0" column="0"><widget class="QComboBox" name="effects_combo">'
             '<property name="sizePolicy"><sizepolicy hsizetype="Minimum" vsizetype="Fixed">'
             "<horstretch>0</horstretch><verstretch>0</verstretch></sizepolicy></property>"
             '<property name="minimumSize"><size><width>600</width><height>0</height></size></property>'
             "</widget></item>"
             '<item row="0" column="1"><widget class="QPushButton" name="activate_effect_button">'
             '<property name="text">%s</property></widget></item></layout>'
             % (no_margins, string("Add selected effect")))
        + item('<layout class="QHBoxLayout" name="horizontalLayout"><property name="spacing"><number>6</number></property>'
               + item('<widget class="QListView" name="active_effects_list">'
                      '<property name="sizePolicy"><sizepolicy hsizetype="Minimum" vsizetype="Expanding">'
                      "<horstretch>0</horstretch><verstretch>0</verstretch></sizepolicy></property></widget>")
               + item('<widget class="QStackedWidget" name="effect_stack">'
                      '<property name="frameShape"><enum>QFrame::NoFrame</enum></property>'
                      '<property name="currentIndex"><number>%d</number></property>%s</widget>'
                      % (GENERIC_SHAKER_PAGE, pages))
               + "</layout>")
    )
    return (
        '<ui version="4.0"><author>Generated by scripts/gen_axiseffectsform.py; edit the script, not this file.</author>'
        '<class>AxisEffectsWidget</class>'
        '<widget class="QWidget" name="AxisEffectsWidget">'
        '<property name="geometry"><rect><x>0</x><y>0</y><width>782</width><height>647</height></rect></property>'
        '<property name="sizePolicy"><sizepolicy hsizetype="Minimum" vsizetype="Preferred">'
        "<horstretch>0</horstretch><verstretch>0</verstretch></sizepolicy></property>"
        '<property name="minimumSize"><size><width>0</width><height>0</height></size></property>'
        '<property name="windowTitle">%s</property>'
        '<layout class="QVBoxLayout" name="verticalLayout_2">%s</layout></widget>'
        "<customwidgets>%s</customwidgets><resources/><connections/></ui>\n"
        % (string("Form"), top, custom_widgets())
    )


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = os.path.join(root, "forms", "axiseffectswidget.ui")
    if len(sys.argv) > 1:
        target = sys.argv[1]
    text = minidom.parseString(form()).toprettyxml(indent=" ", encoding="UTF-8").decode("utf-8")
    with open(target, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
