#include "settingsprotocol.h"

bool FirmwareVersionTypeDef::operator==(const FirmwareVersionTypeDef& other) const
{
    return releaseType == other.releaseType && releaseYear == other.releaseYear
        && releaseVersion == other.releaseVersion && releasePatch == other.releasePatch;
}

void registerSettingsMetaTypes()
{
    qRegisterMetaType<DeviceTypeEnum>("DeviceTypeEnum");
    qRegisterMetaType<SettingsFieldEnum>("SettingsFieldEnum");
    qRegisterMetaType<FirmwareVersionTypeDef>("FirmwareVersionTypeDef");
    qRegisterMetaType<EffectSettingsTypeDef>("EffectSettingsTypeDef");
    qRegisterMetaType<HardwareSettingsTypeDef>("HardwareSettingsTypeDef");
    qRegisterMetaType<GpioExtensionSettingsTypeDef>("GpioExtensionSettingsTypeDef");
    qRegisterMetaType<AdcExtensionSettingsTypeDef>("AdcExtensionSettingsTypeDef");
}
