#include "baseemulator.h"

#include <hidapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>

using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t stateSize = 64;
constexpr size_t reportSize = stateSize + 1;

using Record = std::array<uint8_t, stateSize>;

// The feature reports that carry a base's settings records.
constexpr uint8_t hardwareRecord = 0x21;
constexpr uint8_t effectRecord = 0x22;
constexpr uint8_t gpioRecord = 0xA1;
constexpr uint8_t adcRecord = 0xA2;

// A rebooting base stays off the bus for this many host calls that concern it, so a
// host polling every tick misses more than 100 reads before it finds the base again.
constexpr int rebootCalls = 101;

std::map<uint8_t, Record> blankSettings()
{
    return {{hardwareRecord, {}}, {effectRecord, {}}, {gpioRecord, {}}, {adcRecord, {}}};
}

// Where the firmware stores a setting field: its record (0 for none of the four), the
// offset of index 0, the value's width, the number of indexes (0: only index 0) and
// the distance between two of them.
struct FieldPlace {
    uint8_t record;
    uint8_t offset;
    uint8_t size = 1;
    uint8_t indexCount = 0;
    uint8_t indexStride = 0;
};

constexpr FieldPlace axis(uint8_t record, uint8_t offset, uint8_t size = 1)
{
    return {record, offset, size, 2, 13};
}

constexpr FieldPlace each(uint8_t record, uint8_t offset, uint8_t count, uint8_t size = 1)
{
    return {record, offset, size, count, size};
}

constexpr uint8_t E = effectRecord, H = hardwareRecord, G = gpioRecord;
constexpr FieldPlace fieldPlaces[] = { // by field number
    {E, 0}, {E, 1}, {E, 2}, {E, 3}, axis(E, 5), axis(E, 6, 2), axis(E, 10), axis(E, 9),
    axis(E, 11, 2), axis(E, 15, 2), axis(E, 17), {H, 0}, {H, 1}, {H, 2}, {H, 3}, {H, 4},
    {H, 5}, {H, 6}, {H, 7}, {H, 8}, {H, 9}, axis(H, 10), axis(H, 11), axis(H, 12),
    axis(H, 13, 2), axis(H, 15, 4), axis(H, 19, 4), {G, 0}, each(G, 1, 10), each(G, 11, 32),
    {G, 43}, {G, 44}, {G, 45}, {G, 46}, each(adcRecord, 0, 3, 2), each(adcRecord, 6, 3, 2),
    each(adcRecord, 15, 3), each(adcRecord, 18, 3), each(adcRecord, 12, 3),
    each(adcRecord, 21, 3), {E, 4}, {0, 0}, axis(E, 13, 2), axis(E, 8)};

struct Base {
    std::vector<int> interfaces;
    bool plugged = true;
    uint64_t generation = 0; // new at every add and unplug, so handles opened before go dead
    uint8_t inputReportId = 0x01;
    std::array<uint8_t, stateSize> state{};
    std::map<uint8_t, Record> settings = blankSettings(); // live, by feature report id
    std::map<uint8_t, Record> flash = blankSettings();    // what a restart reloads
    int rebootCallsLeft = 0; // > 0 while rebooting
    int failOpens = 0;
    int failReads = 0;
    int timeOutReads = 0;
    int failWrites = 0;
    int readCount = 0;
    std::vector<uint8_t> featureReads;
    std::map<uint8_t, int> featureReadLengths; // by report id; none: whole
    std::map<uint8_t, bool> axisHasForce; // by device axis, from its last direct-control report
};

struct Emulator {
    std::mutex mutex;
    std::map<unsigned short, Base> bases;
    std::map<unsigned short, int> openHandles;
    std::map<unsigned short, int> enumerations;
    std::vector<BaseEmulator::WrittenReport> log;
    bool keepLogInMemory = true;
    std::FILE* logFile = nullptr;
    int readTimeoutWaitMs = -1;
    int exitCalls = 0;
    // A file that hid_close creates before it blocks for good; empty: closes return.
    std::string stallClosePath;
    // While this file exists, the write taking an axis's force away removes it and blocks.
    std::string stallZeroForcesPath;
    std::wstring globalError;
    // Never reused, not even after a base was removed or the emulator reset, so no old
    // handle can come back to life on a base added later.
    uint64_t lastGeneration = 0;
};

// Consumes one scripted fault; always (-1) never runs out.
bool takeFault(int& count)
{
    if (count == 0)
        return false;
    if (count > 0)
        --count;
    return true;
}

std::string pathOf(unsigned short productId, int interfaceNumber)
{
    return "torquix-emulator/" + std::to_string(productId) + "/" + std::to_string(interfaceNumber);
}

void writeFirmware(Base& base, BaseEmulator::FirmwareVersion firmware)
{
    base.state[0] = firmware.releaseType;
    base.state[1] = firmware.releaseYear;
    base.state[2] = firmware.releaseVersion;
    base.state[3] = firmware.releasePatch;
}

void writeInt16(Base& base, size_t offset, int16_t value)
{
    const auto bits = uint16_t(value);
    base.state[offset] = uint8_t(bits & 0xFF);
    base.state[offset + 1] = uint8_t(bits >> 8);
}

unsigned short productIdFromName(const std::string& name)
{
    static const std::map<std::string, unsigned short> names = {
        {"generic", 22000}, {"joystick", 22777}, {"rudder", 22888},
        {"wheel", 22999},   {"collective", 22001}};
    const auto known = names.find(name);
    if (known != names.end())
        return known->second;
    char* end = nullptr;
    const unsigned long number = std::strtoul(name.c_str(), &end, 10);
    if (name.empty() || *end != '\0' || number == 0 || number > 0xFFFF)
        return 0;
    return static_cast<unsigned short>(number);
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    return parts;
}

// "RC.24.1.2", "R.24.1.2" or all four numbers.
BaseEmulator::FirmwareVersion firmwareFromText(const std::string& text)
{
    BaseEmulator::FirmwareVersion firmware;
    const std::vector<std::string> parts = split(text, '.');
    if (parts.size() != 4) {
        std::fprintf(stderr, "base emulator: firmware \"%s\" ignored\n", text.c_str());
        return firmware;
    }
    const auto number = [](const std::string& part) { return uint8_t(std::atoi(part.c_str())); };
    firmware.releaseType = parts[0] == "RC" ? 1 : parts[0] == "R" ? 0 : number(parts[0]);
    firmware.releaseYear = number(parts[1]);
    firmware.releaseVersion = number(parts[2]);
    firmware.releasePatch = number(parts[3]);
    return firmware;
}

void openLogFile(Emulator& emulator, const std::string& path)
{
    if (emulator.logFile)
        std::fclose(emulator.logFile);
    emulator.logFile = nullptr;
    if (path.empty())
        return;
    emulator.logFile = std::fopen(path.c_str(), "a");
    if (!emulator.logFile)
        std::fprintf(stderr, "base emulator: cannot write the report log %s\n", path.c_str());
}

// A preloaded emulator is configured once from the environment; it keeps no log in
// memory then, since nothing would ever read it.
void configureFromEnvironment(Emulator& emulator)
{
    const char* bases = std::getenv("TORQUIX_EMULATOR_BASES");
    const char* firmwareText = std::getenv("TORQUIX_EMULATOR_FIRMWARE");
    const char* logPath = std::getenv("TORQUIX_EMULATOR_REPORT_LOG");
    if (!bases && !logPath)
        return;
    emulator.keepLogInMemory = false;
    const BaseEmulator::FirmwareVersion firmware =
        firmwareText ? firmwareFromText(firmwareText) : BaseEmulator::FirmwareVersion();
    for (const std::string& name : split(bases ? bases : "", ',')) {
        const unsigned short productId = productIdFromName(name);
        if (productId == 0) {
            std::fprintf(stderr, "base emulator: unknown base \"%s\" ignored\n", name.c_str());
            continue;
        }
        Base& base = emulator.bases[productId];
        base.generation = ++emulator.lastGeneration;
        base.interfaces = {0};
        writeFirmware(base, firmware);
    }
    if (logPath)
        openLogFile(emulator, logPath);
    if (const char* stallPath = std::getenv("TORQUIX_EMULATOR_STALL_CLOSE"))
        emulator.stallClosePath = stallPath;
    if (const char* stallPath = std::getenv("TORQUIX_EMULATOR_STALL_ZERO_FORCES"))
        emulator.stallZeroForcesPath = stallPath;
}

Emulator& emulator()
{
    static Emulator* instance = [] {
        auto* created = new Emulator; // never destroyed: hidapi may be called during exit
        configureFromEnvironment(*created);
        return created;
    }();
    return *instance;
}

Base* findBase(Emulator& state, unsigned short productId)
{
    const auto found = state.bases.find(productId);
    return found == state.bases.end() ? nullptr : &found->second;
}

wchar_t* duplicate(const wchar_t* text)
{
    const size_t length = std::wcslen(text) + 1;
    auto* copy = static_cast<wchar_t*>(std::malloc(length * sizeof(wchar_t)));
    std::wmemcpy(copy, text, length);
    return copy;
}

void appendToLogFile(std::FILE* file, const BaseEmulator::WrittenReport& report)
{
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            report.time.time_since_epoch())
                            .count();
    std::fprintf(file, "%lld %u %d %s ", static_cast<long long>(micros), report.productId,
                 report.interfaceNumber,
                 report.kind == BaseEmulator::ReportKind::Output ? "output" : "feature");
    for (uint8_t byte : report.bytes)
        std::fprintf(file, "%02x", byte);
    std::fputc('\n', file);
    std::fflush(file);
}

void logReport(Emulator& state, const BaseEmulator::WrittenReport& report)
{
    if (state.logFile)
        appendToLogFile(state.logFile, report);
    if (state.keepLogInMemory)
        state.log.push_back(report);
}

bool zeroFrom(const std::vector<uint8_t>& bytes, size_t first)
{
    return std::all_of(bytes.begin() + std::min(first, bytes.size()), bytes.end(),
                       [](uint8_t byte) { return byte == 0; });
}

// Off the bus until the host has made rebootCalls calls for it; old handles stay dead.
void reboot(Emulator& state, Base& base)
{
    base.settings = base.flash;
    base.plugged = false;
    base.generation = ++state.lastGeneration;
    base.rebootCallsLeft = rebootCalls;
}

// One host call (an enumeration, or a read or write on a dead handle) for a rebooting base.
void countRebootCall(Base& base)
{
    if (base.rebootCallsLeft > 0 && --base.rebootCallsLeft == 0)
        base.plugged = true;
}

// Stores a setting report's value in the live record. Refuses, as the firmware
// would, an unknown field, an index outside the field, and stray bytes after the value.
void applySetting(Base& base, const std::vector<uint8_t>& bytes)
{
    const uint8_t field = bytes.size() > 2 ? bytes[2] : 0xFF;
    const int index = bytes.size() > 3 ? int8_t(bytes[3]) : -1;
    const bool known = field < std::size(fieldPlaces);
    const FieldPlace place = known ? fieldPlaces[field] : FieldPlace{};
    const bool indexFits = place.indexCount == 0 ? index == 0 || place.record == 0
                                                 : index >= 0 && index < place.indexCount;
    if (!known || !indexFits || bytes.size() < 4u + place.size || !zeroFrom(bytes, 4u + place.size)) {
        std::fprintf(stderr, "base emulator: setting report refused (field %u index %d)\n",
                     unsigned(field), index);
        return;
    }
    if (place.record == 0)
        return;
    std::memcpy(base.settings[place.record].data() + place.offset + index * place.indexStride,
                bytes.data() + 4, place.size);
}

// What a base does with an output report; the commands carry no payload.
void actOn(Emulator& state, Base& base, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < 2 || bytes[0] != 0xA3)
        return;
    if (bytes[1] == 0x14)
        return applySetting(base, bytes);
    if (!zeroFrom(bytes, 2))
        return;
    if (bytes[1] == 0x02) // save, then restart with what was saved
        base.flash = base.settings;
    if (bytes[1] == 0x01 || bytes[1] == 0x02)
        reboot(state, base);
    if (bytes[1] == 0x03) { // firmware update mode: gone until plugged in again
        base.plugged = false;
        base.generation = ++state.lastGeneration;
    }
}

}

// The handle hidapi leaves opaque.
struct hid_device_ {
    unsigned short productId = 0;
    int interfaceNumber = 0;
    uint64_t generation = 0;
    bool nonBlocking = false;
    std::wstring error;
};

namespace {

// The base behind a handle while it is still the same plugged-in base, else null.
Base* liveBase(Emulator& state, hid_device* device)
{
    Base* base = findBase(state, device->productId);
    if (!base || !base->plugged || base->generation != device->generation) {
        if (base)
            countRebootCall(*base);
        device->error = L"device disconnected";
        return nullptr;
    }
    return base;
}

[[noreturn]] void stall()
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

// Whether bytes are a direct-control report of zero forces to an axis whose last one was
// not; notes the axis's force either way.
bool takesForceAway(Base& base, const std::vector<uint8_t>& bytes)
{
    constexpr uint8_t directControl = 1;
    if (bytes.size() < 4 || bytes[0] != 0xA3 || bytes[1] != 0x10 || bytes[2] != directControl)
        return false;
    const bool force = !zeroFrom(bytes, 4);
    return std::exchange(base.axisHasForce[bytes[3]], force) && !force;
}

int receive(hid_device* device, const unsigned char* data, size_t length,
            BaseEmulator::ReportKind kind)
{
    if (!device || !data || length == 0)
        return -1;
    Emulator& state = emulator();
    std::unique_lock<std::mutex> lock(state.mutex);
    Base* base = liveBase(state, device);
    if (!base)
        return -1;
    if (takeFault(base->failWrites)) {
        device->error = L"write failed";
        return -1;
    }
    if (!state.stallZeroForcesPath.empty() && kind == BaseEmulator::ReportKind::Output
        && takesForceAway(*base, std::vector<uint8_t>(data, data + length))
        && std::remove(state.stallZeroForcesPath.c_str()) == 0) {
        lock.unlock();
        stall();
    }
    BaseEmulator::WrittenReport report;
    report.time = Clock::now();
    report.productId = device->productId;
    report.interfaceNumber = device->interfaceNumber;
    report.kind = kind;
    report.bytes.assign(data, data + length);
    logReport(state, report);
    if (kind == BaseEmulator::ReportKind::Output)
        actOn(state, *base, report.bytes);
    return int(length);
}

// Applies change to the base under productId, if there is one, under the lock.
template <typename Change>
void changeBase(unsigned short productId, Change change)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (Base* base = findBase(state, productId))
        change(*base);
}

}

namespace BaseEmulator {

void reset()
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.bases.clear();
    state.openHandles.clear();
    state.enumerations.clear();
    state.log.clear();
    state.keepLogInMemory = true;
    state.readTimeoutWaitMs = -1;
    state.globalError.clear();
    openLogFile(state, std::string());
}

void addBase(unsigned short productId, FirmwareVersion firmware, const std::vector<int>& interfaces)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    Base& base = state.bases[productId];
    base = Base();
    base.generation = ++state.lastGeneration;
    base.interfaces = interfaces;
    writeFirmware(base, firmware);
}

void removeBase(unsigned short productId)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.bases.erase(productId);
}

void unplugBase(unsigned short productId)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (Base* base = findBase(state, productId)) {
        base->plugged = false;
        base->generation = ++state.lastGeneration;
    }
}

void plugBase(unsigned short productId)
{
    changeBase(productId, [](Base& base) {
        base.plugged = true;
        base.rebootCallsLeft = 0;
        base.settings = base.flash;
    });
}

void setFirmwareVersion(unsigned short productId, FirmwareVersion firmware)
{
    changeBase(productId, [&](Base& base) { writeFirmware(base, firmware); });
}

void setPosition(unsigned short productId, int axis, int16_t position)
{
    if (axis == 0 || axis == 1)
        changeBase(productId,
                   [&](Base& base) { writeInt16(base, 5 + 2 * size_t(axis), position); });
}

void setAxisTrim(unsigned short productId, int axis, int16_t trim)
{
    if (axis == 0 || axis == 1)
        changeBase(productId, [&](Base& base) { writeInt16(base, 9 + 2 * size_t(axis), trim); });
}

void setStateBytes(unsigned short productId, const std::array<uint8_t, 64>& bytes)
{
    changeBase(productId, [&](Base& base) { base.state = bytes; });
}

void setInputReportId(unsigned short productId, uint8_t reportId)
{
    changeBase(productId, [&](Base& base) { base.inputReportId = reportId; });
}

void setFeatureReport(unsigned short productId, uint8_t reportId,
                      const std::array<uint8_t, 64>& record)
{
    changeBase(productId, [&](Base& base) {
        if (base.settings.count(reportId) == 0)
            return;
        base.settings[reportId] = record;
        base.flash[reportId] = record;
    });
}

std::array<uint8_t, 64> settingsRecord(unsigned short productId, uint8_t reportId, bool flash)
{
    Record record{};
    changeBase(productId, [&](Base& base) {
        const auto& records = flash ? base.flash : base.settings;
        const auto found = records.find(reportId);
        if (found != records.end())
            record = found->second;
    });
    return record;
}

void failOpens(unsigned short productId, int count)
{
    changeBase(productId, [&](Base& base) { base.failOpens = count; });
}

void failReads(unsigned short productId, int count)
{
    changeBase(productId, [&](Base& base) { base.failReads = count; });
}

void timeOutReads(unsigned short productId, int count)
{
    changeBase(productId, [&](Base& base) { base.timeOutReads = count; });
}

void failWrites(unsigned short productId, int count)
{
    changeBase(productId, [&](Base& base) { base.failWrites = count; });
}

void setFeatureReadLength(unsigned short productId, uint8_t reportId, int length)
{
    changeBase(productId, [&](Base& base) { base.featureReadLengths[reportId] = length; });
}

void setReadTimeoutWait(int ms)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.readTimeoutWaitMs = ms;
}

std::vector<WrittenReport> writtenReports()
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.log;
}

std::vector<WrittenReport> writtenReports(unsigned short productId)
{
    std::vector<WrittenReport> reports = writtenReports();
    reports.erase(std::remove_if(reports.begin(), reports.end(),
                                 [productId](const WrittenReport& report) {
                                     return report.productId != productId;
                                 }),
                  reports.end());
    return reports;
}

void clearWrittenReports()
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.log.clear();
}

int openHandleCount(unsigned short productId)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.openHandles[productId];
}

std::vector<uint8_t> featureReads(unsigned short productId)
{
    std::vector<uint8_t> reads;
    changeBase(productId, [&](Base& base) { reads = base.featureReads; });
    return reads;
}

int exitCount()
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.exitCalls;
}

int readCount(unsigned short productId)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    const Base* base = findBase(state, productId);
    return base ? base->readCount : 0;
}

int enumerationCount(unsigned short productId)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.enumerations[productId];
}

void setReportLogFile(const std::string& path)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    openLogFile(state, path);
}

std::vector<WrittenReport> readReportLog(const std::string& path)
{
    std::vector<WrittenReport> reports;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        long long micros = 0;
        unsigned productId = 0;
        std::string kind;
        std::string hex;
        WrittenReport report;
        if (!(fields >> micros >> productId >> report.interfaceNumber >> kind >> hex))
            continue;
        report.time = Clock::time_point(std::chrono::microseconds(micros));
        report.productId = static_cast<unsigned short>(productId);
        report.kind = kind == "feature" ? ReportKind::Feature : ReportKind::Output;
        for (size_t i = 0; i + 1 < hex.size(); i += 2) {
            const char pair[3] = {hex[i], hex[i + 1], '\0'};
            report.bytes.push_back(uint8_t(std::strtoul(pair, nullptr, 16)));
        }
        reports.push_back(report);
    }
    return reports;
}

}

// The hidapi functions, answered by the emulated bases.
extern "C" {

int hid_init(void)
{
    emulator();
    return 0;
}

int hid_exit(void)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    ++state.exitCalls;
    return 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    ++state.enumerations[product_id];
    if (vendor_id != 0 && vendor_id != BaseEmulator::vendorId)
        return nullptr;

    hid_device_info* first = nullptr;
    hid_device_info** next = &first;
    for (auto& [productId, base] : state.bases) {
        if (product_id != 0 && product_id != productId)
            continue;
        countRebootCall(base);
        if (!base.plugged)
            continue;
        for (int interfaceNumber : base.interfaces) {
            auto* entry = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
            entry->path = strdup(pathOf(productId, interfaceNumber).c_str());
            entry->vendor_id = BaseEmulator::vendorId;
            entry->product_id = productId;
            entry->serial_number = duplicate(std::to_wstring(productId).c_str());
            entry->release_number = 0x0100;
            entry->manufacturer_string = duplicate(L"Torquix");
            entry->product_string = duplicate(L"Emulated base");
            entry->usage_page = 0x01;
            entry->usage = 0x04;
            entry->interface_number = interfaceNumber;
            entry->bus_type = HID_API_BUS_USB;
            *next = entry;
            next = &entry->next;
        }
    }
    return first;
}

void hid_free_enumeration(hid_device_info* devs)
{
    while (devs) {
        hid_device_info* next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

hid_device* hid_open_path(const char* path)
{
    if (!path)
        return nullptr;
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (auto& [productId, base] : state.bases) {
        if (!base.plugged)
            continue;
        for (int interfaceNumber : base.interfaces) {
            if (pathOf(productId, interfaceNumber) != path)
                continue;
            if (takeFault(base.failOpens)) {
                state.globalError = L"open failed";
                return nullptr;
            }
            auto* device = new hid_device_;
            device->productId = productId;
            device->interfaceNumber = interfaceNumber;
            device->generation = base.generation;
            ++state.openHandles[productId];
            return device;
        }
    }
    state.globalError = L"no such device";
    return nullptr;
}

hid_device* hid_open(unsigned short vendor_id, unsigned short product_id, const wchar_t*)
{
    hid_device_info* devices = hid_enumerate(vendor_id, product_id);
    hid_device* device = devices ? hid_open_path(devices->path) : nullptr;
    hid_free_enumeration(devices);
    return device;
}

void hid_close(hid_device* dev)
{
    if (!dev)
        return;
    Emulator& state = emulator();
    if (!state.stallClosePath.empty()) {
        if (std::FILE* flag = std::fopen(state.stallClosePath.c_str(), "w"))
            std::fclose(flag);
        stall();
    }
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        --state.openHandles[dev->productId];
    }
    delete dev;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds)
{
    if (!dev || !data || length == 0)
        return -1;
    Emulator& state = emulator();
    int waitMs = 0;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        Base* base = liveBase(state, dev);
        if (!base)
            return -1;
        if (takeFault(base->failReads)) {
            dev->error = L"read failed";
            return -1;
        }
        // Only interface 0 sends state reports; another interface stays silent.
        const bool silent = dev->interfaceNumber != 0 || takeFault(base->timeOutReads);
        if (!silent) {
            std::array<uint8_t, reportSize> report;
            report[0] = base->inputReportId;
            std::copy(base->state.begin(), base->state.end(), report.begin() + 1);
            const size_t copied = std::min(length, reportSize);
            std::memcpy(data, report.data(), copied);
            ++base->readCount;
            return int(copied);
        }
        const int callerWait = milliseconds < 0 ? 100 : milliseconds;
        waitMs = state.readTimeoutWaitMs < 0 ? callerWait
                                             : std::min(callerWait, state.readTimeoutWaitMs);
    }
    if (!dev->nonBlocking && waitMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
    return 0;
}

int hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    return hid_read_timeout(dev, data, length, dev && dev->nonBlocking ? 0 : -1);
}

int hid_set_nonblocking(hid_device* dev, int nonblock)
{
    if (!dev)
        return -1;
    dev->nonBlocking = nonblock != 0;
    return 0;
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    return receive(dev, data, length, BaseEmulator::ReportKind::Output);
}

int hid_send_feature_report(hid_device* dev, const unsigned char* data, size_t length)
{
    return receive(dev, data, length, BaseEmulator::ReportKind::Feature);
}

int hid_get_feature_report(hid_device* dev, unsigned char* data, size_t length)
{
    if (!dev || !data || length == 0)
        return -1;
    Emulator& state = emulator();
    std::lock_guard<std::mutex> lock(state.mutex);
    Base* base = liveBase(state, dev);
    if (!base)
        return -1;
    const auto record = base->settings.find(data[0]);
    if (record == base->settings.end()) {
        dev->error = L"no such feature report";
        return -1;
    }
    const auto limit = base->featureReadLengths.find(data[0]);
    const int answered = limit == base->featureReadLengths.end() ? int(length) : limit->second;
    if (answered <= 0) {
        dev->error = L"feature report failed";
        return -1;
    }
    const size_t copied = std::min({length - 1, stateSize, size_t(answered - 1)});
    std::memcpy(data + 1, record->second.data(), copied);
    base->featureReads.push_back(data[0]);
    return int(copied + 1);
}

const wchar_t* hid_error(hid_device* dev)
{
    if (dev)
        return dev->error.empty() ? nullptr : dev->error.c_str();
    // A copy per thread, so the text stays valid while another thread fails an open.
    static thread_local std::wstring error;
    Emulator& state = emulator();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        error = state.globalError;
    }
    return error.empty() ? nullptr : error.c_str();
}

}
