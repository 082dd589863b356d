#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// Control of the base emulator: a stand-in for libhidapi that answers as Torquix
// bases do. Tests link it in place of libhidapi and drive it through these calls;
// a program run with the shared build preloaded (LD_PRELOAD) is configured from the
// environment instead:
//   TORQUIX_EMULATOR_BASES       bases present at start: product ids or the names
//                                generic, joystick, rudder, wheel, collective,
//                                separated by ','
//   TORQUIX_EMULATOR_FIRMWARE    their firmware version, e.g. "RC.24.1.2" or
//                                "R.24.3.0" (default R.24.1.0)
//   TORQUIX_EMULATOR_REPORT_LOG  file that receives one line per written report
//                                (see readReportLog)
//   TORQUIX_EMULATOR_STALL_CLOSE file that hid_close creates before it blocks for
//                                good: a program's stop that hangs
//   TORQUIX_EMULATOR_STALL_ZERO_FORCES  while this file exists, a direct-control report
//                                of zero forces to an axis that had force makes hid_write
//                                remove it and block for good: a zero-force write that hangs
// Every call is thread-safe: the program under test talks hidapi on its own thread.
//
// Each base keeps its four settings records (feature reports 0x21 hardware, 0x22
// effect, 0xA1 GPIO, 0xA2 ADC), zero at first, live and in flash, and acts on the
// output reports a base knows: A3 14 field index value stores one setting in the live
// record (refused when the field or index is unknown or a byte after the value is not
// 0); A3 01 reboots (off the bus for the next 101 host calls that concern the base, such
// as reads on its old handles and enumerations, then back with the flash records), A3 02
// saves the live records to flash and reboots, A3 03 enters firmware update mode (off
// the bus until plugBase).
namespace BaseEmulator {

constexpr unsigned short vendorId = 0x045B;
constexpr int always = -1; // a fault count that never runs out

struct FirmwareVersion {
    uint8_t releaseType = 0; // 1 = release candidate
    uint8_t releaseYear = 24;
    uint8_t releaseVersion = 1;
    uint8_t releasePatch = 0;
};

enum class ReportKind { Output, Feature };

// A report as a base received it; time is the steady clock when it was written,
// comparable across processes on the same machine.
struct WrittenReport {
    std::chrono::steady_clock::time_point time;
    unsigned short productId = 0;
    int interfaceNumber = 0;
    ReportKind kind = ReportKind::Output;
    std::vector<uint8_t> bytes;
};

// Removes every base, fault, counter and log entry, and stops the log file.
void reset();

// A base plugged in under productId; its HID interfaces are enumerated in the given
// order. Adding a product id that is there replaces that base.
void addBase(unsigned short productId, FirmwareVersion firmware = {},
             const std::vector<int>& interfaces = {0});
// Gone for good: open handles fail from now on.
void removeBase(unsigned short productId);
// Unplugged: not enumerated, open handles fail for good. Plugged in again: enumerated
// and openable anew, with the state it had and its settings reloaded from flash.
void unplugBase(unsigned short productId);
void plugBase(unsigned short productId);

// The 64-byte device state that follows the input report's id byte.
void setFirmwareVersion(unsigned short productId, FirmwareVersion firmware);
void setPosition(unsigned short productId, int axis, int16_t position); // axis 0 or 1
void setAxisTrim(unsigned short productId, int axis, int16_t trim);     // axis 0 or 1
void setStateBytes(unsigned short productId, const std::array<uint8_t, 64>& state);
void setInputReportId(unsigned short productId, uint8_t reportId);

// Stores a settings record, live and in flash, as the base answers it to
// hid_get_feature_report (id byte, then these 64 bytes); other ids are ignored, and
// reading them fails.
void setFeatureReport(unsigned short productId, uint8_t reportId,
                      const std::array<uint8_t, 64>& record);
// The live settings record of reportId, or its flash copy; zeros when there is none.
std::array<uint8_t, 64> settingsRecord(unsigned short productId, uint8_t reportId,
                                       bool flash = false);

// Scripted faults: the next count calls (or all, with always; 0 clears) fail.
void failOpens(unsigned short productId, int count);
void failReads(unsigned short productId, int count);    // -1 at once
void timeOutReads(unsigned short productId, int count); // 0 after the wait below
void failWrites(unsigned short productId, int count);   // -1, nothing received

// Feature reads of reportId answer only the first length bytes of the buffer (the id
// byte included) and return length; 0 or less fails them (-1); 65 or more, as at first,
// answers them whole.
void setFeatureReadLength(unsigned short productId, uint8_t reportId, int length);

// How long a read that times out blocks: -1 (default) for the caller's whole timeout,
// else at most ms.
void setReadTimeoutWait(int ms);

std::vector<WrittenReport> writtenReports();
std::vector<WrittenReport> writtenReports(unsigned short productId);
void clearWrittenReports();

int openHandleCount(unsigned short productId);
// The report ids of the settings records read from the base (hid_get_feature_report
// answered), oldest first, since it was added.
std::vector<uint8_t> featureReads(unsigned short productId);
int exitCount(); // hid_exit calls since the emulator started
int readCount(unsigned short productId);        // input reads answered with a report
int enumerationCount(unsigned short productId); // hid_enumerate calls that asked for it

// Appends every received report to path from now on ("" stops).
void setReportLogFile(const std::string& path);
// The reports of such a file: one line each, "<steady-clock microseconds> <product id>
// <interface> <output|feature> <hex bytes>".
std::vector<WrittenReport> readReportLog(const std::string& path);

}
