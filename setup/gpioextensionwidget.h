#pragma once

#include "rawprofilefolder.h"
#include "settingspagewidget.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QSpinBox;
class Ui_GpioExtensionWidget;

// The "Periphery" page of torquix-setup: the GPIO and ADC extension records of the
// selected base, and profiles of both records (128 raw bytes, ADC first) in
// "periphery_profiles". Every user change leaves the page at once as one typed setting
// signal; the page never talks to a base itself.
class GpioExtensionWidget : public SettingsPageWidget
{
    Q_OBJECT

public:
    explicit GpioExtensionWidget(QWidget* parent = nullptr);
    ~GpioExtensionWidget() override;

    // Called at every set-up of a base that is not generic.
    void setupPeripheryControls();
    // Set each control that differs from the record; with send each change is sent in
    // load order, without nothing is.
    void adcSettingsToUi(const AdcExtensionSettingsTypeDef& record, bool send);
    void gpioSettingsToUi(const GpioExtensionSettingsTypeDef& record, bool send);
    // Fill the fields the page shows; reserved bytes stay as they are.
    void uiToAdcSettings(AdcExtensionSettingsTypeDef* record) const;
    void uiToGpioSettings(GpioExtensionSettingsTypeDef* record) const;
    // Shows the grip page of the extension type and enables the sections it and the
    // pin modes call for.
    void updatePeripherySections();

public slots:
    void applyProfile(QString name);
    void readProfiles();

private slots:
    void on_profile_combo_box_activated(int index);
    void on_profile_save_button_clicked();
    void on_profile_delete_button_clicked();
    void prepareGpioComboBoxes();
    void prepareButtonComboBoxes();
    void prepareAnalogSpinBoxes();

private:
    Ui_GpioExtensionWidget* ui;
    RawProfileFolder profiles;
    // Position in each list = pin, button or channel.
    QList<QComboBox*> pinCombos;
    QList<QComboBox*> buttonCombos;
    QList<QSpinBox*> upperDeadZoneSpins;
    QList<QSpinBox*> lowerDeadZoneSpins;
    QList<QSpinBox*> smoothingSpins;
    QList<QSpinBox*> buttonLowSpins;
    QList<QSpinBox*> buttonHighSpins;
    QList<QCheckBox*> invertBoxes;
};
