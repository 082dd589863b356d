// A small real program on libhidapi: finds the joystick base, reads its state and
// sends it one direct-control report. Run with the base emulator preloaded.
#include "hidframing.h"
#include "wireconversion.h"

#include <cstdio>

int main()
{
    hid_init();
    hid_device* joystick = HidFraming::obtainDeviceConnection(
        short(DEVICE_VENDOR_ID), short(PRODUCT_ID_JOYSTICK), short(DEVICE_INTERFACE_NUMBER));
    if (!joystick) {
        std::printf("no joystick\n");
        hid_exit();
        return 1;
    }
    DeviceStateTypeDef state;
    const int read = HidFraming::readDeviceState(&state, joystick);
    const FirmwareVersionTypeDef& firmware = state.firmwareVersion;
    std::printf("read %d firmware %u.%u.%u.%u\n", read, firmware.releaseType, firmware.releaseYear,
                firmware.releaseVersion, firmware.releasePatch);

    DirectControlTypeDef forces;
    forces.springForce = toWireForce(12.345f, 1.0f);
    HidInOutReportTypeDef report;
    HidFraming::createDirectControlReport(&report, 1, forces);
    std::printf("wrote %d\n", HidFraming::writeReport(joystick, report));

    hid_close(joystick);
    hid_exit();
    return 0;
}
