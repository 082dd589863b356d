#pragma once

// torquix-setup's window with a joystick picked and all four of its records loaded, the
// periphery page with a custom extension, a generic button and an analog axis: every page
// enabled and every periphery section shown, the window at its tallest.

#include "mainwindow.h"

#include <QMetaObject>

inline bool loadEveryPage(MainWindow& window)
{
    GpioExtensionSettingsTypeDef record{};
    record.extensionType = 1, record.pinModes[0] = 1, record.pinModes[1] = 2;
    return QMetaObject::invokeMethod(&window, "addConnectedDevice", Q_ARG(int, 22777), Q_ARG(FirmwareVersionTypeDef, (FirmwareVersionTypeDef{1, 24, 1, 2})))
        && QMetaObject::invokeMethod(&window, "on_devices_combo_box_activated", Q_ARG(int, 1))
        && QMetaObject::invokeMethod(&window, "effectsSettingsToUi", Q_ARG(EffectSettingsTypeDef, {}), Q_ARG(int, 22777))
        && QMetaObject::invokeMethod(&window, "hardwareSettingsToUi", Q_ARG(HardwareSettingsTypeDef, {}), Q_ARG(int, 22777))
        && QMetaObject::invokeMethod(&window, "adcSettingsToUi", Q_ARG(AdcExtensionSettingsTypeDef, {}), Q_ARG(int, 22777))
        && QMetaObject::invokeMethod(&window, "gpioSettingsToUi", Q_ARG(GpioExtensionSettingsTypeDef, record), Q_ARG(int, 22777));
}
