#include "deviceprotocol.h"

int productIdForDeviceType(DeviceTypeEnum type)
{
    switch (type) {
    case DEVICE_TYPE_GENERIC:
        return PRODUCT_ID_GENERIC;
    case DEVICE_TYPE_JOYSTICK:
        return PRODUCT_ID_JOYSTICK;
    case DEVICE_TYPE_RUDDER:
        return PRODUCT_ID_RUDDER;
    case DEVICE_TYPE_WHEEL:
        return PRODUCT_ID_WHEEL;
    case DEVICE_TYPE_COLLECTIVE:
        return PRODUCT_ID_COLLECTIVE;
    }
    return 0;
}

DeviceTypeEnum deviceForEffectAxis(int effectAxis)
{
    switch (effectAxis) {
    case 2:
        return DEVICE_TYPE_RUDDER;
    case 3:
        return DEVICE_TYPE_COLLECTIVE;
    default:
        return DEVICE_TYPE_JOYSTICK;
    }
}

int deviceAxisForEffectAxis(int effectAxis)
{
    switch (effectAxis) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 2:
    case 3:
        return 0;
    default:
        return effectAxis;
    }
}

bool FirmwareVersionTypeDef::operator==(const FirmwareVersionTypeDef& other) const
{
    return releaseType == other.releaseType && releaseYear == other.releaseYear
        && releaseVersion == other.releaseVersion && releasePatch == other.releasePatch;
}

void registerDeviceMetaTypes()
{
    qRegisterMetaType<DeviceTypeEnum>("DeviceTypeEnum");
    qRegisterMetaType<FirmwareVersionTypeDef>("FirmwareVersionTypeDef");
}
