// The state report of a base as the worker reads it, from a hidapi stand-in that answers
// each read with the input. The input's first byte picks what the read returns (an
// error, a timeout, or the report that follows, however short or long). Besides the
// sanitizers it checks that a report fills the state with its bytes 1 to 64 (zero past
// a short one) and that a failed read leaves the state as it was.
#include "hidframing.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const uint8_t* report = nullptr;
size_t reportSize = 0;
int readResult = 0;
}

// The hidapi functions the device code calls; only reads answer.
extern "C" {
int hid_read_timeout(hid_device*, unsigned char* data, size_t length, int)
{
    std::memcpy(data, report, std::min(length, reportSize));
    return readResult;
}
int hid_write(hid_device*, const unsigned char*, size_t) { return -1; }
hid_device_info* hid_enumerate(unsigned short, unsigned short) { return nullptr; }
void hid_free_enumeration(hid_device_info*) {}
hid_device* hid_open_path(const char*) { return nullptr; }
void hid_close(hid_device*) {}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    report = data + 1;
    reportSize = std::min<size_t>(size - 1, sizeof(HidInOutReportTypeDef));
    switch (data[0]) {
    case 0xff: readResult = -1; break;
    case 0xfe: readResult = 0; break;
    default: readResult = int(reportSize); break;
    }

    static char handleStorage;
    auto* handle = reinterpret_cast<hid_device*>(&handleStorage);
    DeviceStateTypeDef state;
    std::memset(&state, 0xA5, sizeof state);
    const int result = HidFraming::readDeviceState(&state, handle);

    unsigned char expected[sizeof(DeviceStateTypeDef)];
    if (result > 0) {
        unsigned char whole[sizeof(HidInOutReportTypeDef)] = {};
        std::memcpy(whole, report, reportSize);
        std::memcpy(expected, whole + 1, sizeof expected);
    } else {
        std::memset(expected, 0xA5, sizeof expected);
    }
    if (result != readResult || std::memcmp(&state, expected, sizeof expected) != 0) {
        std::fprintf(stderr, "the state does not hold the report's bytes 1 to 64\n");
        std::abort();
    }
    return 0;
}
