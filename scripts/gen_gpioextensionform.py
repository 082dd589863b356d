#!/usr/bin/env python3
"""Writes forms/setup/gpioextensionwidget.ui: the periphery page of torquix-setup.

The page has over a hundred controls whose object names are fixed (the page code
and the slots bound by name rely on them, irregular label numbers included), so
the form is generated from the tables below rather than edited by hand. Run it
from anywhere and commit the result."""

import os
import sys
from xml.dom import minidom
from xml.sax.saxutils import escape


def string(text):
    return "<string>%s</string>" % escape(text)


def prop(name, value):
    return '<property name="%s">%s</property>' % (name, value)


def text_prop(text, name="text"):
    return prop(name, string(text))


def number(value):
    return "<number>%d</number>" % value


def item(body, row=None, column=None):
    if row is None:
        return "<item>%s</item>" % body
    return '<item row="%d" column="%d">%s</item>' % (row, column, body)


def form_item(row, role, body):
    # QFormLayout rows in .ui files: column 0 is the label role, column 1 the field role.
    return item(body, row, 0 if role == "label" else 1)


def margins(value):
    return "".join(prop("%sMargin" % side, number(value)) for side in ("left", "top", "right", "bottom"))


def spacer(name):
    return ('<spacer name="%s">%s%s</spacer>'
            % (name, prop("orientation", "<enum>Qt::Vertical</enum>"),
               '<property name="sizeHint" stdset="0"><size><width>20</width><height>40</height></size></property>'))


def widget(cls, name, body=""):
    return '<widget class="%s" name="%s">%s</widget>' % (cls, name, body)


def layout(cls, name, body, extra=""):
    return '<layout class="%s" name="%s">%s%s</layout>' % (cls, name, extra, body)


def label(name, text):
    return widget("QLabel", name, text_prop(text))


def combo(name, items=()):
    return widget("QComboBox", name, "".join("<item>%s</item>" % text_prop(t) for t in items))


def spin(name, minimum, maximum):
    # A typed number is sent once it is confirmed, not at every keystroke.
    return widget("QSpinBox", name, prop("keyboardTracking", "<bool>false</bool>")
                  + prop("minimum", number(minimum)) + prop("maximum", number(maximum)))


PIN_ROWS = [("label_6", "Pin 1"), ("label_8", "Pin 2"), ("label_9", "Pin 3"), ("label_10", "Pin 4"),
            ("label_12", "Pin 5"), ("label_13", "Pin 6"), ("label_14", "Pin 7"), ("label_4", "Pin 8"),
            ("label_22", "Encoder Z0"), ("label_7", "Encoder Z1")]

GRIP_PAGES = [
    ("thrustmaster_page", "label_20", "No additional settings for Thrustmaster extension grips"),
    ("vpc_mt50_page", "label_21", "No additional settings for VPC MT50 extension grip (WIP)"),
    ("vpc_mt50_cm2_page", "label_28", "No additional settings for VPC MT50 CM2 extension grip (WIP)"),
    ("vpc_vxf_page", "label_30", "No additional settings for VPC VXF extension grip (WIP)"),
    ("vpc_alpha_page", "label_24", "No additional settings for VPC Alpha extension grip (WIP)"),
    ("vpc_alpha_prime_page", "label_25", "No additional settings for VPC Alpha Prime extension grip (WIP)"),
    ("vpc_flnkr_page", "label_26", "No additional settings for VPC FLNKR extension grip"),
    ("vpc_ka50_page", "label_27", "No additional settings for VPC Ka-50 extension grip (WIP)"),
    ("vpc_uh60_page", "label_29", "No additional settings for VPC UH-60 extension grip (WIP)"),
    ("vpc_apache64_page", "label_23", "No additional settings for VPC Apache 64 extension grip (WIP)"),
    ("tianhang_f18_page", "label_33", "No additional settings for TIANHANG F18 grip"),
]
KA50_PAGE = 9

BUTTON_GROUPS = [
    ("button_modes_group_box", "Gpio buttons", "formLayout_11",
     ["label", "label_2", "label_3", "label_5", "label_15", "label_16", "label_17", "label_18"], 1),
    ("shiftRegistersGroup_1", "Shift register 1", "formLayout_6", ["label_%d" % n for n in range(41, 49)], 9),
    ("shiftRegistersGroup_2", "Shift register 2", "formLayout_8", ["label_%d" % n for n in range(49, 57)], 17),
    ("shiftRegistersGroup_3", "Shift register 3", "formLayout_12", ["label_%d" % n for n in range(58, 66)], 25),
]

ANALOG_COLUMNS = [
    ("label_66", "Lower dead zone", "lowerDeadZoneSpinBox_%d", 32767),
    ("label_71", "Upper dead zone", "upperDeadZoneSpinBox_%d", 32767),
    ("label_68", "Smoothing (%)", "analogSmoothingSpinBox_%d", 100),
    ("label_11", "Button low (%)", "analogButtonLowSpinBox_%d", 100),
    ("label_19", "Button high (%)", "analogButtonHighSpinBox_%d", 100),
]
CHANNEL_LABELS = [("label_69", "Rx"), ("label_67", "Ry"), ("label_70", "Rz")]


def button_combo_name(button):
    return ("buttonMode_pin_%d" if button <= 8 else "buttonMode_%d") % button


def gpio_page():
    rows = "".join(form_item(n, "label", label(name, text)) + form_item(n, "field", combo("gpioModeCombo_%d" % (n + 1)))
                   for n, (name, text) in enumerate(PIN_ROWS))
    group = widget("QGroupBox", "gpio_modes_group_box",
                   text_prop("GPIO modes", "title") + layout("QFormLayout", "formLayout_9", rows))
    return widget("QWidget", "gpio_page", layout("QHBoxLayout", "horizontalLayout", item(group)))


def custom_spi_page():
    rows = (form_item(0, "label", label("label_35", "SPI mode"))
            + form_item(0, "field", combo("spi_mode_dropdown", ["Mode 0", "Mode 1", "Mode 2", "Mode 3"]))
            + form_item(1, "label", label("label_36", "Latch mode"))
            + form_item(1, "field", combo("latch_mode_dropdown", ["Latch UP", "Latch DOWN"]))
            + form_item(2, "label", label("label_34", "Latch delay (microseconds)"))
            + form_item(2, "field", spin("spi_latch_delay", 1, 10))
            + form_item(3, "label", label("label_37", "SCK pulse length (microseconds)"))
            + form_item(3, "field", spin("spi_pulse_length", 1, 10)))
    group = widget("QGroupBox", "groupBox_2",
                   text_prop("", "title")
                   + layout("QHBoxLayout", "horizontalLayout_13", item(layout("QFormLayout", "formLayout", rows))))
    return widget("QWidget", "spi_custom_page", layout("QVBoxLayout", "verticalLayout_6", item(group), margins(0)))


def spi_page():
    pages = [widget("QWidget", "spi_disabled_page",
                    layout("QVBoxLayout", "verticalLayout_18", item(spacer("spi_disabled_spacer")))),
             custom_spi_page()]
    for index, (page, name, text) in enumerate(GRIP_PAGES):
        pages.append(widget("QWidget", page,
                            layout("QVBoxLayout", "verticalLayout_%d" % (7 + index),
                                   item(label(name, text)) + item(spacer("%s_spacer" % page)))))
    mode_group = widget("QGroupBox", "groupBox_4",
                        text_prop("SPI extension mode", "title")
                        + layout("QVBoxLayout", "verticalLayout_2", item(combo("spiModeCombo_1"))))
    stack = widget("QStackedWidget", "extension_settings", prop("currentIndex", number(KA50_PAGE)) + "".join(pages))
    body = item(mode_group) + item(stack) + item(spacer("spi_extension_spacer"))
    return widget("QWidget", "spi_extension_page", layout("QVBoxLayout", "verticalLayout_5", body, margins(0)))


def button_modes_page():
    groups = ""
    for name, title, form_name, labels, first in BUTTON_GROUPS:
        rows = "".join(form_item(row, "label", label(label_name, "Button %d" % (first + row)))
                       + form_item(row, "field", combo(button_combo_name(first + row)))
                       for row, label_name in enumerate(labels))
        enabled = prop("enabled", "<bool>true</bool>") if name == "shiftRegistersGroup_1" else ""
        groups += item(widget("QGroupBox", name, enabled + text_prop(title, "title")
                              + layout("QFormLayout", form_name, rows)))
    body = item(layout("QHBoxLayout", "horizontalLayout_4", groups)) + item(spacer("button_modes_spacer"))
    return widget("QWidget", "button_modes_page", layout("QVBoxLayout", "verticalLayout_3", body, margins(0)))


def analog_axes_page():
    cells = ""
    for column, (heading, text, _, _) in enumerate(ANALOG_COLUMNS, start=1):
        cells += item(label(heading, text), 0, column)
    for channel in (1, 2, 3):
        name, text = CHANNEL_LABELS[channel - 1]
        cells += item(label(name, text), channel, 0)
        for column, (_, _, pattern, maximum) in enumerate(ANALOG_COLUMNS, start=1):
            cells += item(spin(pattern % channel, 0, maximum), channel, column)
        cells += item(widget("QCheckBox", "analog%d_invert" % channel, text_prop("Invert")), channel, 6)
    body = item(layout("QGridLayout", "gridLayout_8", cells)) + item(spacer("analog_axes_spacer"))
    return widget("QWidget", "analog_axes_page", layout("QVBoxLayout", "verticalLayout_4", body, margins(0)))


def white(role):
    return ('<colorrole role="%s"><brush brushstyle="SolidPattern">'
            '<color alpha="255"><red>255</red><green>255</green><blue>255</blue></color></brush></colorrole>' % role)


def tool_box_palette():
    return prop("palette", "<palette><active>%s</active><inactive>%s</inactive><disabled>%s</disabled></palette>"
                % (white("Button") + white("Window"), white("Button") + white("Window"),
                   white("Button") + white("Base") + white("Window")))


def tool_box():
    pages = [(gpio_page(), "GPIO (Require reboot)"), (spi_page(), "SPI extension"),
             (button_modes_page(), "Button modes"), (analog_axes_page(), "Analog axes")]
    # A tool box page carries its item text as the attribute "label".
    body = "".join(page.replace(">", '><attribute name="label">%s</attribute>' % string(text), 1)
                   for page, text in pages)
    return widget("QToolBox", "gpio_tool_box", tool_box_palette() + prop("currentIndex", number(0)) + body)


def form():
    profiles = widget("QGroupBox", "profiles_group_box",
                      text_prop("", "title")
                      + layout("QGridLayout", "gridLayout_4",
                               item(widget("QComboBox", "profile_combo_box", prop("editable", "<bool>true</bool>")), 0, 0)
                               + item(widget("QPushButton", "profile_save_button", text_prop("Save")), 0, 1)
                               + item(widget("QPushButton", "profile_delete_button", text_prop("Delete")), 0, 2)))
    reset = widget("QCheckBox", "enable_reset_button",
                   text_prop("Enable reset center button on pin Z0 (Require reboot)"))
    top = layout("QVBoxLayout", "verticalLayout", item(profiles) + item(reset) + item(tool_box()), margins(0))
    return ('<ui version="4.0"><author>Generated by scripts/gen_gpioextensionform.py; edit the script, not this file.</author>'
            "<class>GpioExtensionWidget</class>"
            '<widget class="QWidget" name="GpioExtensionWidget">'
            '<property name="geometry"><rect><x>0</x><y>0</y><width>900</width><height>640</height></rect></property>'
            "%s%s</widget><resources/><connections/></ui>" % (text_prop("Form", "windowTitle"), top))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "forms", "setup", "gpioextensionwidget.ui")
    text = minidom.parseString(form()).toprettyxml(indent=" ", encoding="UTF-8").decode("utf-8")
    with open(target, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
