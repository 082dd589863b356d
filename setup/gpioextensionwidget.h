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
    // Without send: the record was read from the base; it is shown and nothing is sent.
    // With send: part of a profile; each field the controls then hold that differs from
    // the base's is sent once, in load order.
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
    void showBaseRecords(unsigned arrived);
    void showAdcRecord(const AdcExtensionSettingsTypeDef& record);
    void showGpioRecord(const GpioExtensionSettingsTypeDef& record);
    void applyAdcRecord(const AdcExtensionSettingsTypeDef& profile);
    void applyGpioRecord(const GpioExtensionSettingsTypeDef& profile);
    void settingSent(SettingsFieldEnum field, int8_t index, int value) override;

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
    // The records last read from the base, with every value sent since: what a profile
    // is compared with, as a control may show a value the base does not hold.
    AdcExtensionSettingsTypeDef baseAdc{};
    GpioExtensionSettingsTypeDef baseGpio{};
};
