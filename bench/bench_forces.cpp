// calculateAxisForces for one axis with every effect of that axis active: median time per
// call, and a check that the call never touches the heap.

#include "benchsupport.h"
#include "effectssettings.h"
#include "forcecalculator.h"
#include "telemetry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace {
bool countingAllocations = false;
long allocationCount = 0;

void* allocate(std::size_t size)
{
    if (countingAllocations)
        ++allocationCount;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (countingAllocations)
        ++allocationCount;
    const std::size_t a = static_cast<std::size_t>(alignment);
    if (void* p = std::aligned_alloc(a, (std::max<std::size_t>(size, 1) + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (countingAllocations)
        ++allocationCount;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

constexpr int elevator = 1; // the axis where every effect, the AoA spring included, works

Telemetry flyingLowAndFiring()
{
    Telemetry t;
    t.airspeed = 320.0f;
    t.verticalSpeed = -4.5f;
    t.gForce = 2.6f;
    t.aoa = 14.0f;
    t.engineRpm = 2400;
    t.rotorRpm = 240;
    t.propAirflow = 65;
    t.afterburner = 40;
    t.flaps = 30;
    t.airbrake = 20;
    t.gear = 100;
    t.shakeMagnitude = 35;
    t.shakeFrequency = 0;
    t.onGround = true;
    for (bool& trigger : t.gunfireTriggers)
        trigger = true;
    return t;
}

void startEveryJolt(ForceCalculator& calculator, const EffectsSettings& settings, quint64 tick)
{
    calculator.startLandingJolt(&settings, 220.0f, -3.0f, tick);
    calculator.startWeaponReleaseJolt(&settings, 450.0f, tick);
    calculator.startDamageJolt(&settings, 30.0f, tick);
    calculator.startCountermeasureJolt(&settings, tick);
    calculator.startGearExtractionJolt(&settings, tick);
}

} // namespace

int main()
{
    const EffectsSettings settings = everyEffectActive();
    const Telemetry telemetry = flyingLowAndFiring();
    ForceCalculator calculator(nullptr);

    constexpr int callsPerSample = 12; // 96 ms of ticks at one call per 8 ms: the jolts play throughout
    constexpr int samples = 20000;
    std::vector<double> perCall;
    perCall.reserve(samples);
    volatile float sink = 0.0f;
    quint64 tick = 10000;

    for (int s = 0; s < samples; ++s) {
        startEveryJolt(calculator, settings, tick);
        countingAllocations = true;
        const auto begin = std::chrono::steady_clock::now();
        for (int c = 0; c < callsPerSample; ++c) {
            const AxisForces f = calculator.calculateAxisForces(elevator, tick + quint64(c) * 8, 0.1f,
                                                                &telemetry, &settings);
            sink = sink + f.spring + f.constant + f.periodic + f.damper;
        }
        const auto end = std::chrono::steady_clock::now();
        countingAllocations = false;
        perCall.push_back(std::chrono::duration<double, std::nano>(end - begin).count() / callsPerSample);
        tick += 104; // past the jolts' 100 ms, so the next start replaces them
    }

    const double median = percentile(perCall, 0.5);
    const double p99 = percentile(perCall, 0.99);
    const long calls = long(samples) * callsPerSample;
    std::printf("calculateAxisForces, one axis, every effect active: %ld calls\n", calls);
    std::printf("  median %.3f us per call (target <= 2 us: %s), p99 %.3f us, best %.3f us\n", median / 1000.0,
                median <= 2000.0 ? "met" : "MISSED", p99 / 1000.0, percentile(perCall, 0.0) / 1000.0);
    std::printf("  heap allocations during the calls: %ld\n", allocationCount);
    return allocationCount == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
