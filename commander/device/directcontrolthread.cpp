#include "directcontrolthread.h"

#include "forcecalculator.h"
#include "hidframing.h"
#include "telemetrysourcecondor2.h"
#include "telemetrysourcedcs.h"
#include "telemetrysourcemsfs.h"
#include "telemetrysourceshturmovik.h"
#include "telemetrysourcewarthunder.h"
#include "telemetrysourcexplane.h"
#include "wireconversion.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QTimer>

#include <SDL.h>
#include <hidapi.h>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

constexpr int livenessReads = 500;    // failed reads before a base counts as lost
constexpr int reconnectInterval = 500; // device polls between connection attempts
constexpr int forceReleaseFadeMs = 100;
constexpr int fadeInMs = 1000;
constexpr int trimLimit = 10000;
constexpr int maxAssignmentHats = 4;
constexpr std::chrono::microseconds forceTickInterval(2000);
// Qt times in whole milliseconds and fires a little after the timeout it was given; the
// force timer is set this much ahead of the deadline and the rest is waited out.
constexpr std::chrono::microseconds forceTimerLead(250);

constexpr DeviceTypeEnum servedDevices[] = {DEVICE_TYPE_JOYSTICK, DEVICE_TYPE_RUDDER,
                                            DEVICE_TYPE_COLLECTIVE};

int gameIdForTelemetrySource(Telemetry::Source source)
{
    if (source >= Telemetry::TELEMETRY_SOURCE_DCS && source <= Telemetry::TELEMETRY_SOURCE_X_PLANE)
        return source;
    return 0;
}

int deviceAxisCount(DeviceTypeEnum type)
{
    return type == DEVICE_TYPE_JOYSTICK ? 2 : 1;
}

bool isSingleHatDirection(int value)
{
    return value == SDL_HAT_UP || value == SDL_HAT_RIGHT || value == SDL_HAT_DOWN
        || value == SDL_HAT_LEFT;
}

// The fields of a direct-control report that only the axis's settings decide. Every
// field passes its saturating conversion.
DirectControlTypeDef settingsControlFor(const AxisEffectsSettings& axis)
{
    DirectControlTypeDef control;
    const SmartDamperSettings& damper = axis.smartDamper;
    if (damper.active) {
        control.staticDampening =
            toWireInt16(strengthScaled(damper.static_dampening, damper.total_effect_strength));
        control.dynamicDampening =
            toWireInt16(strengthScaled(damper.dynamic_dampening, damper.total_effect_strength));
    }
    const DirectXSettings& directX = axis.directX;
    if (directX.active) {
        control.directXForce =
            toWireByte(strengthScaled(float(directX.force), directX.total_effect_strength));
        control.directXPeriodic =
            toWireByte(strengthScaled(float(directX.periodic), directX.total_effect_strength));
        control.directXTrimmer =
            toWireByte(strengthScaled(float(directX.trimmer), directX.total_effect_strength));
    }
    const SimpleSpringSettings& spring = axis.simpleSpring;
    if (spring.active) {
        control.integratedSpringStrength = toWireByte(float(spring.total_effect_strength));
        control.integratedSpringDampening = toWireByte(float(spring.dampening_contribution));
    }
    return control;
}

// One tick's payload: the settings' fields with this tick's forces, trim and release.
// The forces are held to 100 % before the fade-in scales them.
DirectControlTypeDef directControlFor(DirectControlTypeDef control, const AxisForces& forces,
                                      float fade, bool trimActive, int hardwareTrim,
                                      int hardwareForceRelease)
{
    control.springForce = toWireForce(forces.spring, fade);
    control.constantForce = toWireForce(forces.constant, fade);
    control.periodicForce = toWireForce(forces.periodic, fade);
    control.damperForce = toWireDamper(forces.damper, fade);
    const float fadeRelease = (1.0f - fade) * 100.0f;
    if (trimActive) {
        control.hardwareTrim = toWireHardwareTrim(hardwareTrim);
        control.forceRelease = toWireForceRelease(qMax(float(hardwareForceRelease), fadeRelease));
    } else {
        control.forceRelease = toWireForceRelease(fadeRelease);
    }
    return control;
}

CurveTransferTypeDef curveTransferFor(const ResponseCurve& curve)
{
    CurveTransferTypeDef transfer;
    for (int point = 0; point < CurveTransferTypeDef::pointCount; ++point) {
        transfer.points[point].in = toWireCurvePoint(curve.points[point].in);
        transfer.points[point].out = toWireCurvePoint(curve.points[point].out);
    }
    return transfer;
}

} // namespace

void DirectControlThread::registerMetaTypes()
{
    Telemetry::registerMetaTypes();
    registerDeviceMetaTypes();
    AppConfig::registerMetaTypes();
    EffectsSettings::registerMetaType();
    SimpleSpringSettings::registerMetaType();
}

DirectControlThread::DirectControlThread(QObject* parent, int trimIncrement, quint16 dcsPort,
                                         quint16 il2Port, quint16 condor2Port, quint16 xplanePort,
                                         Telemetry::Source initialSource,
                                         const AppConfig::TrimConfig& trimConfig)
    : QObject(parent)
    , forceCalculator(new ForceCalculator(this))
    , forceTimer(new QTimer(this))
    , telemetryTimer(new QTimer(this))
    , trimTimer(new QTimer(this))
    , positionsTimer(new QTimer(this))
    , clock([] { return QDeadlineTimer::current().deadline(); })
    , trimIncrement(trimIncrement)
    , trimConfig(trimConfig)
    , listenedTelemetrySource(initialSource)
{
    productIds = {{DEVICE_TYPE_JOYSTICK, PRODUCT_ID_JOYSTICK},
                  {DEVICE_TYPE_RUDDER, PRODUCT_ID_RUDDER},
                  {DEVICE_TYPE_COLLECTIVE, PRODUCT_ID_COLLECTIVE}};
    for (DeviceTypeEnum type : servedDevices)
        reconnectCounters[type] = reconnectInterval; // the first poll tries at once

    telemetrySources[Telemetry::TELEMETRY_SOURCE_MSFS] = new TelemetrySourceMSFS(this);
    telemetrySources[Telemetry::TELEMETRY_SOURCE_DCS] = new TelemetrySourceDCS(this, dcsPort);
    telemetrySources[Telemetry::TELEMETRY_SOURCE_IL2] = new TelemetrySourceShturmovik(this, il2Port);
    telemetrySources[Telemetry::TELEMETRY_SOURCE_WARTHUNDER] = new TelemetrySourceWarthunder(this);
    telemetrySources[Telemetry::TELEMETRY_SOURCE_CONDOR] =
        new TelemetrySourceCondor2(this, condor2Port);
    telemetrySources[Telemetry::TELEMETRY_SOURCE_X_PLANE] =
        new TelemetrySourceXPlane(this, xplanePort);
    for (auto it = telemetrySources.cbegin(); it != telemetrySources.cend(); ++it)
        connectTelemetrySource(it.value(), it.key());
    takeEffectsSettings(EffectsSettings());

    // On Windows a default timer may fire only every 15 ms or so.
    forceTimer->setTimerType(Qt::PreciseTimer);
    forceTimer->setSingleShot(true);
    connect(forceTimer, &QTimer::timeout, this, &DirectControlThread::runForceTick);
    connect(telemetryTimer, &QTimer::timeout, this, &DirectControlThread::updateTelemetry);
    connect(trimTimer, &QTimer::timeout, this, &DirectControlThread::updateTrim);
    connect(positionsTimer, &QTimer::timeout, this, &DirectControlThread::updateDevicePositions);
}

DirectControlThread::~DirectControlThread() = default;

// Only the routed source reaches the force loop and the window; the others count only
// for finding a simulator. War Thunder answers asynchronously, so its late replies can
// arrive after the selection has moved on.
void DirectControlThread::connectTelemetrySource(TelemetrySource* source,
                                                 Telemetry::Source sourceType)
{
    const auto routed = [this, sourceType] { return sourceType == routedTelemetrySource(); };
    connect(source, &TelemetrySource::flightModuleChanged, this,
            [this, sourceType, routed](Telemetry::Source module, const QString& flightModule) {
                if (foundTelemetrySources.contains(sourceType))
                    foundTelemetrySources[sourceType] = flightModule;
                if (routed())
                    emit flightModuleChanged(module, flightModule);
            });
    connect(source, &TelemetrySource::telemetryChanged, this,
            [this, sourceType, routed](const Telemetry& record) {
                if (routed()) {
                    takeSourceTelemetry(record);
                    return;
                }
                const bool searching = isInAutodetectMode()
                    && detectedTelemetrySource == Telemetry::TELEMETRY_SOURCE_NONE;
                if (searching && receivingTelemetrySource == Telemetry::TELEMETRY_SOURCE_NONE
                    && foundTelemetrySources.contains(sourceType))
                    receivingTelemetrySource = sourceType;
            });
    connect(source, &TelemetrySource::touchdownDetected, this,
            [this, routed](float verticalSpeed, float airspeed) {
                if (routed())
                    startLandingJolt(verticalSpeed, airspeed);
            });
    connect(source, &TelemetrySource::weaponReleased, this, [this, routed](float releasedWeight) {
        if (routed())
            startWeaponReleaseJolt(releasedWeight);
    });
    connect(source, &TelemetrySource::damageReceived, this, [this, routed](float damagePercent) {
        if (routed())
            startDamageJolt(damagePercent);
    });
    connect(source, &TelemetrySource::countermeasureReleased, this, [this, routed]() {
        if (routed())
            startCountermeasureJolt();
    });
    connect(source, &TelemetrySource::gearLock, this, [this, routed]() {
        if (routed())
            startGearLockJolt();
    });
    connect(source, &TelemetrySource::telemetrySourceFound, this,
            [this, sourceType](Telemetry::Source) { takeFoundSource(sourceType); });
    connect(source, &TelemetrySource::telemetrySourceLost, this,
            [this, sourceType]() { forgetLostSource(sourceType); });
}

Telemetry::Source DirectControlThread::routedTelemetrySource() const
{
    if (listenedTelemetrySource >= Telemetry::TELEMETRY_SOURCE_DCS
        && listenedTelemetrySource <= Telemetry::TELEMETRY_SOURCE_X_PLANE)
        return listenedTelemetrySource;
    if (listenedTelemetrySource == Telemetry::TELEMETRY_SOURCE_AUTODETECT)
        return detectedTelemetrySource;
    return Telemetry::TELEMETRY_SOURCE_NONE;
}

void DirectControlThread::takeFoundSource(Telemetry::Source sourceType)
{
    foundTelemetrySources.insert(sourceType, QString());
    // The first simulator found while searching wins; a second one found in the same
    // round stays found and waits.
    if (isInAutodetectMode() && detectedTelemetrySource == Telemetry::TELEMETRY_SOURCE_NONE) {
        detectedTelemetrySource = sourceType;
        receivingTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
    }
}

void DirectControlThread::forgetLostSource(Telemetry::Source sourceType)
{
    const bool routed = sourceType == routedTelemetrySource();
    foundTelemetrySources.remove(sourceType);
    if (receivingTelemetrySource == sourceType)
        receivingTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
    if (routed)
        emit flightModuleChanged(Telemetry::TELEMETRY_SOURCE_NONE, QStringLiteral("N/A"));
    // A lost source is never kept as the detected one, whatever is selected: autodetect
    // would otherwise poll it alone for good.
    if (routed && isInAutodetectMode())
        clearActiveTelemetryDataSource();
    else if (sourceType == detectedTelemetrySource)
        detectedTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
}

void DirectControlThread::takeSourceTelemetry(const Telemetry& record)
{
    telemetry = record.withFiniteValues();
    emit telemetryChanged(telemetry);
}

void DirectControlThread::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

void DirectControlThread::setForcesZeroedHandler(std::function<void()> handler)
{
    forcesZeroedHandler = std::move(handler);
}

qint64 DirectControlThread::tick() const
{
    return tickOrigin ? clock() - *tickOrigin : 0;
}

float DirectControlThread::fadeFactor(DeviceTypeEnum type) const
{
    const auto started = fadeInStarts.constFind(type);
    if (started == fadeInStarts.cend())
        return 0.0f;
    const qint64 elapsed = clock() - started.value();
    if (elapsed > fadeInMs)
        return 1.0f;
    if (elapsed < 0)
        return 0.0f;
    return float(elapsed) / float(fadeInMs);
}

void DirectControlThread::startFadeIn(DeviceTypeEnum type)
{
    fadeInStarts[type] = clock();
}

hid_device* DirectControlThread::deviceHandle(DeviceTypeEnum type) const
{
    return deviceHandles.value(type, nullptr);
}

// ---- lifecycle -------------------------------------------------------------

void DirectControlThread::start()
{
    forceDeadline = std::chrono::steady_clock::now() + forceTickInterval;
    scheduleForceTick();
    telemetryTimer->start(20);
    trimTimer->start(20);
    positionsTimer->start(10);
    tickOrigin = clock();
    for (DeviceTypeEnum type : servedDevices)
        startFadeIn(type);
    for (std::optional<qint64>& started : forceReleaseStarts)
        started = clock();
}

void DirectControlThread::stop()
{
    forceTimer->stop();
    telemetryTimer->stop();
    trimTimer->stop();
    positionsTimer->stop();
    // Every base gets zero forces before any is closed: a close that hangs must not keep
    // the others at their last force.
    for (DeviceTypeEnum type : servedDevices) {
        if (hid_device* handle = deviceHandle(type))
            sendZeroForces(type, handle);
    }
    if (forcesZeroedHandler)
        forcesZeroedHandler();
    for (DeviceTypeEnum type : servedDevices)
        disconnectDevice(type);
    for (SDL_Joystick* joystick : std::as_const(openJoysticks))
        SDL_JoystickClose(joystick);
    openJoysticks.clear();
}

void DirectControlThread::sendZeroForces(DeviceTypeEnum type, hid_device* handle)
{
    for (int axis = 0; axis < deviceAxisCount(type); ++axis) {
        HidInOutReportTypeDef report;
        HidFraming::createDirectControlReport(&report, uint8_t(axis), DirectControlTypeDef());
        HidFraming::writeReport(handle, report);
    }
}

// ---- device link -----------------------------------------------------------

DeviceStateTypeDef DirectControlThread::readTorquixDevice(DeviceTypeEnum type)
{
    DeviceStateTypeDef state = {};
    if (hid_device* handle = deviceHandle(type)) {
        if (readDeviceState(&state, handle) > 0) {
            livenessCounters[type] = livenessReads;
            return state;
        }
        state = {};
        const int remaining = livenessCounters.value(type, 0) - 1;
        livenessCounters[type] = remaining;
        if (remaining <= 0)
            disconnectDevice(type);
        return state;
    }

    const int calls = reconnectCounters.value(type, 0);
    if (calls < reconnectInterval) {
        reconnectCounters[type] = calls + 1;
        return state;
    }
    reconnectCounters[type] = 0;
    hid_device* handle = obtainDeviceConnection(short(DEVICE_VENDOR_ID),
                                                short(productIds.value(type)), 0);
    if (!handle)
        return state;
    DeviceStateTypeDef first = {};
    if (readDeviceState(&first, handle) <= 0) {
        hid_close(handle);
        return state;
    }
    deviceHandles[type] = handle;
    // A base that comes back runs the curve it holds, its own after a power cycle: it
    // gets its integrated springs' curves as a sudden change sends them, before any force.
    for (int axis = 0; axis < effectAxisCount; ++axis) {
        if (deviceForEffectAxis(axis) == type && effectsSettings.axes[axis].simpleSpring.active)
            changeIntegratedSpringCurve(axis, effectsSettings.axes[axis].simpleSpring);
    }
    // A base that comes back must not get full force at once; the others keep theirs.
    startFadeIn(type);
    emit deviceConnected(type, first.firmwareVersion);
    return state;
}

void DirectControlThread::disconnectDevice(DeviceTypeEnum type)
{
    hid_device* handle = deviceHandle(type);
    if (!handle)
        return;
    hid_close(handle);
    emit deviceDisconnected(type);
    deviceHandles[type] = nullptr;
}

void DirectControlThread::updateDevicePositions()
{
    const DeviceStateTypeDef joystick = readTorquixDevice(DEVICE_TYPE_JOYSTICK);
    const DeviceStateTypeDef rudder = readTorquixDevice(DEVICE_TYPE_RUDDER);
    const DeviceStateTypeDef collective = readTorquixDevice(DEVICE_TYPE_COLLECTIVE);
    axisPositions[0] = joystick.position[0];
    axisPositions[1] = joystick.position[1];
    deviceAxisTrims[0] = joystick.axisTrim[0];
    deviceAxisTrims[1] = joystick.axisTrim[1];
    axisPositions[2] = rudder.position[0];
    deviceAxisTrims[2] = rudder.axisTrim[0];
    axisPositions[3] = collective.position[0];
    deviceAxisTrims[3] = collective.axisTrim[0];
    for (int axis = 0; axis < effectAxisCount; ++axis)
        emit inputStateChanged(axis, axisPositions[axis], deviceAxisTrims[axis]);
}

int DirectControlThread::deviceAxisForEffectAxis(int effectAxis)
{
    return ::deviceAxisForEffectAxis(effectAxis);
}

DeviceTypeEnum DirectControlThread::deviceForEffectAxis(int effectAxis)
{
    return ::deviceForEffectAxis(effectAxis);
}

// ---- telemetry routing -----------------------------------------------------

void DirectControlThread::listenTelemetrySource(Telemetry::Source source)
{
    if (source == listenedTelemetrySource)
        return;
    const Telemetry::Source previous = listenedTelemetrySource;
    const Telemetry::Source routedBefore = routedTelemetrySource();
    listenedTelemetrySource = source;
    receivingTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
    // The simulator chosen until now is polled every 20 ms, so while it is found it is
    // still receiving: autodetect takes it at once (its module is already shown).
    if (source == Telemetry::TELEMETRY_SOURCE_AUTODETECT
        && detectedTelemetrySource == Telemetry::TELEMETRY_SOURCE_NONE
        && foundTelemetrySources.contains(previous))
        detectedTelemetrySource = previous;
    // A previous simulator's (or the test panel's) last record must not keep driving
    // the motors.
    const Telemetry::Source routed = routedTelemetrySource();
    if (routed == Telemetry::TELEMETRY_SOURCE_NONE || routed != routedBefore)
        telemetry = Telemetry();
}

void DirectControlThread::changeTelemetry(Telemetry record)
{
    if (listenedTelemetrySource == Telemetry::TELEMETRY_SOURCE_NONE)
        telemetry = record.withFiniteValues();
}

bool DirectControlThread::isListeningForGameTelemetry()
{
    return listenedTelemetrySource != Telemetry::TELEMETRY_SOURCE_NONE;
}

bool DirectControlThread::isInAutodetectMode()
{
    return listenedTelemetrySource == Telemetry::TELEMETRY_SOURCE_AUTODETECT;
}

void DirectControlThread::clearActiveTelemetryDataSource()
{
    detectedTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
    emit telemetrySourceLost();
}

void DirectControlThread::updateTelemetry()
{
    // A source found before this search began (chosen by name earlier, or found in the
    // same round as the last detected one) sends records but never a new
    // telemetrySourceFound: the first one heard is taken, and named, since the window
    // shows "N/A" or another source's module.
    if (isInAutodetectMode() && detectedTelemetrySource == Telemetry::TELEMETRY_SOURCE_NONE
        && receivingTelemetrySource != Telemetry::TELEMETRY_SOURCE_NONE) {
        detectedTelemetrySource = receivingTelemetrySource;
        receivingTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
        emit flightModuleChanged(detectedTelemetrySource,
                                 foundTelemetrySources.value(detectedTelemetrySource));
    }

    int gameId = 0;
    if (isInAutodetectMode()) {
        if (TelemetrySource* detected = telemetrySources.value(detectedTelemetrySource, nullptr)) {
            gameId = gameIdForTelemetrySource(detectedTelemetrySource);
            detected->pollTelemetry();
        } else {
            for (TelemetrySource* source : std::as_const(telemetrySources))
                source->pollTelemetry();
        }
    } else if (TelemetrySource* selected = telemetrySources.value(listenedTelemetrySource, nullptr)) {
        gameId = gameIdForTelemetrySource(listenedTelemetrySource);
        selected->pollTelemetry();
    }

    for (DeviceTypeEnum type : servedDevices) {
        if (hid_device* handle = deviceHandle(type))
            sendUInt8OverrideReport(handle, TELEMETRY_OVERRIDE_GAME_ID, 0, uint8_t(gameId));
    }
}

// ---- force loop and settings intake ----------------------------------------

// Every tick is due 2 ms after the previous deadline, not 2 ms after the timer fired,
// so the loop keeps 500 reports per second. Qt 6 rounds each timer wait up to a whole
// millisecond, which alone makes most intervals about 2.1 ms: the timer wakes the
// worker shortly before the deadline and the last fraction of a millisecond is slept.
void DirectControlThread::runForceTick()
{
    std::this_thread::sleep_until(forceDeadline);
    onForceUpdateTimeout();
    forceDeadline += forceTickInterval;
    scheduleForceTick();
}

void DirectControlThread::scheduleForceTick()
{
    using namespace std::chrono;
    const steady_clock::time_point now = steady_clock::now();
    // A late tick is not caught up in a burst: the deadlines it missed are skipped.
    if (forceDeadline <= now)
        forceDeadline += ((now - forceDeadline) / forceTickInterval + 1) * forceTickInterval;
    const milliseconds wait = floor<milliseconds>(forceDeadline - now - forceTimerLead);
    forceTimer->start(std::max(wait, milliseconds(0)));
}

void DirectControlThread::onForceUpdateTimeout()
{
    updateAxisDirectControl(currentAxis);
    currentAxis = currentAxis >= effectAxisCount - 1 ? 0 : currentAxis + 1;
}

void DirectControlThread::updateAxisDirectControl(int effectAxis)
{
    const DeviceTypeEnum base = deviceForEffectAxis(effectAxis);
    hid_device* handle = deviceHandle(base);
    if (!handle || effectAxis < 0 || effectAxis >= effectAxisCount)
        return;
    const qint64 now = tick();
    const float fade = fadeFactor(base);
    const float position =
        float((double(axisPositions[effectAxis]) + double(deviceAxisTrims[effectAxis])) * 0.0001);
    const AxisForces forces = forceCalculator->calculateAxisForces(effectAxis, now, position,
                                                                   &telemetry, &effectsSettings);
    const DirectControlTypeDef control = directControlFor(
        settingsControls[effectAxis], forces, fade, effectsSettings.axes[effectAxis].trim.active,
        hardwareAxisTrims[effectAxis], hardwareForceReleases[effectAxis]);
    HidInOutReportTypeDef report;
    HidFraming::createDirectControlReport(&report, uint8_t(deviceAxisForEffectAxis(effectAxis)),
                                          control);
    HidFraming::writeReport(handle, report);
}

void DirectControlThread::changeSettingsSuddenly(EffectsSettings settings)
{
    for (DeviceTypeEnum type : servedDevices)
        startFadeIn(type);
    takeEffectsSettings(settings);
    for (int axis = 0; axis < effectAxisCount; ++axis) {
        if (settings.axes[axis].simpleSpring.active)
            changeIntegratedSpringCurve(axis, settings.axes[axis].simpleSpring);
    }
}

void DirectControlThread::changeSettingsModerately(EffectsSettings settings)
{
    takeEffectsSettings(settings);
}

void DirectControlThread::takeEffectsSettings(const EffectsSettings& settings)
{
    effectsSettings = settings;
    for (int axis = 0; axis < effectAxisCount; ++axis)
        settingsControls[axis] = settingsControlFor(effectsSettings.axes[axis]);
}

void DirectControlThread::changeIntegratedSpringCurve(int effectAxis, SimpleSpringSettings settings)
{
    qDebug() << tick() << "curve changed for axis" << effectAxis;
    // Any other axis would reach the joystick base as an axis index it does not have.
    if (effectAxis < 0 || effectAxis >= effectAxisCount)
        return;
    hid_device* handle = deviceHandle(deviceForEffectAxis(effectAxis));
    if (!handle)
        return;
    HidInOutReportTypeDef report;
    HidFraming::createCurveTransferReport(&report, uint8_t(deviceAxisForEffectAxis(effectAxis)),
                                          curveTransferFor(settings.curve1));
    HidFraming::writeReport(handle, report);
}

void DirectControlThread::startLandingJolt(float verticalSpeed, float airspeed)
{
    forceCalculator->startLandingJolt(&effectsSettings, airspeed, verticalSpeed, tick());
}

void DirectControlThread::startWeaponReleaseJolt(float releasedWeight)
{
    forceCalculator->startWeaponReleaseJolt(&effectsSettings, releasedWeight, tick());
}

void DirectControlThread::startDamageJolt(float damagePercent)
{
    forceCalculator->startDamageJolt(&effectsSettings, damagePercent, tick());
}

void DirectControlThread::startCountermeasureJolt()
{
    forceCalculator->startCountermeasureJolt(&effectsSettings, tick());
}

void DirectControlThread::startGearLockJolt()
{
    forceCalculator->startGearExtractionJolt(&effectsSettings, tick());
}

// ---- hardware trim ---------------------------------------------------------

void DirectControlThread::changeTrimConfig(AppConfig::TrimConfig config)
{
    trimConfig = config;
}

void DirectControlThread::startButtonAssignment(int axis, int buttonType)
{
    assignmentAxis = axis;
    assignmentButtonType = buttonType;
    buttonAssignmentActive = true;
}

void DirectControlThread::stopButtonAssignment()
{
    buttonAssignmentActive = false;
}

void DirectControlThread::updateTrim()
{
    refreshJoysticks();
    if (buttonAssignmentActive) {
        scanForButtonAssignment();
        return;
    }
    for (int axis = 0; axis < effectAxisCount; ++axis) {
        for (int action = AppConfig::BUTTON_TYPE_INCREASE; action <= AppConfig::BUTTON_TYPE_RESET;
             ++action) {
            applyTrimAction(axis, action, isBindingPressed(trimConfig[axis][action]));
            applyForceReleaseState(axis);
        }
        emit hardwareAxisTrimChanged(axis, hardwareAxisTrims[axis], forceReleaseHeld[axis]);
    }
}

void DirectControlThread::refreshJoysticks()
{
    SDL_JoystickUpdate();
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        const QString name = QString::fromUtf8(SDL_JoystickNameForIndex(index));
        if (SDL_Joystick* open = openJoysticks.value(name, nullptr)) {
            if (!SDL_JoystickGetAttached(open)) {
                SDL_JoystickClose(open);
                openJoysticks.remove(name);
            }
            continue;
        }
        if (SDL_Joystick* joystick = SDL_JoystickOpen(index))
            openJoysticks.insert(name, joystick);
    }
}

// The open joystick of that name, or null; a detached one is closed and forgotten.
SDL_Joystick* DirectControlThread::attachedJoystick(const QString& name)
{
    SDL_Joystick* joystick = openJoysticks.value(name, nullptr);
    if (!joystick)
        return nullptr;
    if (SDL_JoystickGetAttached(joystick))
        return joystick;
    SDL_JoystickClose(joystick);
    openJoysticks.remove(name);
    return nullptr;
}

bool DirectControlThread::isBindingPressed(const AppConfig::TrimButtonConfig& binding)
{
    if (!binding.assigned)
        return false;
    SDL_Joystick* joystick = attachedJoystick(binding.deviceName);
    if (!joystick)
        return false;
    // Bindings come from a file the user can edit: check them before SDL sees them.
    if (binding.isHat) {
        // A centred hat reads 0: such a binding would hold its action for good.
        if (binding.hatIndex < 0 || binding.hatIndex >= SDL_JoystickNumHats(joystick)
            || binding.buttonIndex == SDL_HAT_CENTERED)
            return false;
        return SDL_JoystickGetHat(joystick, binding.hatIndex) == binding.buttonIndex;
    }
    if (binding.buttonIndex < 0 || binding.buttonIndex >= SDL_JoystickNumButtons(joystick))
        return false;
    return SDL_JoystickGetButton(joystick, binding.buttonIndex) != 0;
}

void DirectControlThread::applyTrimAction(int axis, int action, bool pressed)
{
    const TrimSettings& trim = effectsSettings.axes[axis].trim;
    int& axisTrim = hardwareAxisTrims[axis];
    switch (action) {
    case AppConfig::BUTTON_TYPE_INCREASE:
        // Increase moves the neutral point towards the negative end.
        if (pressed && trim.trim_buttons_allowed)
            axisTrim = qMax(axisTrim - trimIncrement, -trimLimit);
        break;
    case AppConfig::BUTTON_TYPE_DECREASE:
        if (pressed && trim.trim_buttons_allowed)
            axisTrim = qMin(axisTrim + trimIncrement, trimLimit);
        break;
    case AppConfig::BUTTON_TYPE_RELEASE:
        // The flag decides whether a release starts; letting go always ends it.
        if (pressed && trim.force_release_allowed) {
            forceReleaseHeld[axis] = true;
            forceReleaseRunning[axis] = true;
        } else if (!pressed && forceReleaseHeld[axis]) {
            forceReleaseHeld[axis] = false;
            forceReleaseStarts[axis] = clock();
        }
        break;
    case AppConfig::BUTTON_TYPE_RESET:
        if (pressed && trim.trim_reset_allowed)
            axisTrim = 0;
        break;
    default:
        break;
    }
}

void DirectControlThread::applyForceReleaseState(int axis)
{
    const TrimSettings& trim = effectsSettings.axes[axis].trim;
    int& axisTrim = hardwareAxisTrims[axis];
    int& release = hardwareForceReleases[axis];
    if (!trim.active) {
        axisTrim = 0;
        release = 0;
        return;
    }
    if (trim.force_release_allowed || forceReleaseRunning[axis]) {
        // The base reports 16-bit positions; the trim field only spans +-100 %.
        const int followed = qBound(-trimLimit, axisPositions[axis], trimLimit);
        if (forceReleaseHeld[axis]) {
            axisTrim = followed;
            release = 100;
            return;
        }
        const std::optional<qint64>& started = forceReleaseStarts[axis];
        const qint64 elapsed = started ? clock() - *started : forceReleaseFadeMs + 1;
        if (elapsed <= forceReleaseFadeMs) {
            axisTrim = followed;
            release = elapsed < 0
                ? 100
                : qBound(0, int((1.0 - double(elapsed) / forceReleaseFadeMs) * 100.0), 100);
            return;
        }
        release = 0;
        forceReleaseRunning[axis] = false;
        return;
    }
    if (!trim.trim_buttons_allowed) {
        axisTrim = 0;
        release = 0;
    }
}

void DirectControlThread::scanForButtonAssignment()
{
    // Copy the names: a detached joystick is removed while we walk them.
    const QStringList names = openJoysticks.keys();
    for (const QString& name : names) {
        SDL_Joystick* joystick = attachedJoystick(name);
        if (!joystick)
            continue; // unplugged while assigning: dropped, the others still count
        int hat = 0;
        int direction = 0;
        if (findPressedHat(joystick, &hat, &direction)) {
            finishButtonAssignment(name, true, hat, direction);
            return;
        }
        int button = 0;
        if (findPressedButton(joystick, &button)) {
            finishButtonAssignment(name, false, 0, button);
            return;
        }
    }
}

bool DirectControlThread::findPressedHat(SDL_Joystick* joystick, int* hat, int* direction)
{
    const int hats = qMin(SDL_JoystickNumHats(joystick), maxAssignmentHats);
    for (int index = 0; index < hats; ++index) {
        const int value = SDL_JoystickGetHat(joystick, index);
        if (value == SDL_HAT_CENTERED)
            continue;
        if (!isSingleHatDirection(value))
            return false; // a diagonal is ambiguous; the buttons may still decide
        *hat = index;
        *direction = value;
        return true;
    }
    return false;
}

bool DirectControlThread::findPressedButton(SDL_Joystick* joystick, int* button)
{
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int index = 0; index < buttons; ++index) {
        if (SDL_JoystickGetButton(joystick, index)) {
            *button = index;
            return true;
        }
    }
    return false;
}

void DirectControlThread::finishButtonAssignment(const QString& name, bool isHat, int hatIndex,
                                                 int buttonIndex)
{
    buttonAssignmentActive = false;
    emit trimButtonChanged(assignmentAxis, name, assignmentButtonType, isHat, hatIndex,
                           buttonIndex);
}

// ---- report utilities ------------------------------------------------------

void DirectControlThread::sendUInt8OverrideReport(hid_device* handle, TelemetryOverrideEnum field,
                                                  int8_t index, uint8_t data)
{
    HidFraming::sendUInt8OverrideReport(handle, field, index, data);
}

void DirectControlThread::sendUInt16OverrideReport(hid_device* handle, TelemetryOverrideEnum field,
                                                   int8_t index, uint16_t data)
{
    HidFraming::sendUInt16OverrideReport(handle, field, index, data);
}

void DirectControlThread::sendDataReport(hid_device* handle, TelemetryOverrideEnum fieldId,
                                         uint8_t index, uint8_t* value, uint8_t size)
{
    HidFraming::sendDataReport(handle, fieldId, index, value, size);
}

void DirectControlThread::createUInt8OverrideReport(HidInOutReportTypeDef* report,
                                                    TelemetryOverrideEnum fieldId, uint8_t index,
                                                    uint8_t value)
{
    HidFraming::createUInt8OverrideReport(report, fieldId, index, value);
}

void DirectControlThread::createUInt16OverrideReport(HidInOutReportTypeDef* report,
                                                     TelemetryOverrideEnum fieldId, uint8_t index,
                                                     uint16_t value)
{
    HidFraming::createUInt16OverrideReport(report, fieldId, index, value);
}

void DirectControlThread::createBufferOverrideReport(HidInOutReportTypeDef* report,
                                                     TelemetryOverrideEnum fieldId, uint8_t index,
                                                     uint8_t* value, uint8_t size)
{
    HidFraming::createBufferOverrideReport(report, fieldId, index, value, size);
}

int DirectControlThread::readDeviceState(DeviceStateTypeDef* state, hid_device* handle)
{
    return HidFraming::readDeviceState(state, handle);
}

void DirectControlThread::writeToDevice(hid_device* usbHandle, uint8_t dataType, const void* src,
                                        uint16_t size)
{
    HidFraming::writeToDevice(usbHandle, dataType, src, size);
}

hid_device* DirectControlThread::obtainDeviceConnection(short vid, short pid,
                                                        short interface_number)
{
    return HidFraming::obtainDeviceConnection(vid, pid, interface_number);
}
