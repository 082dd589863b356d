#pragma once

#include "appconfig.h"
#include "deviceprotocol.h"
#include "effectssettings.h"
#include "telemetry.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

struct _SDL_Joystick;
typedef struct _SDL_Joystick SDL_Joystick;
struct hid_device_;
typedef struct hid_device_ hid_device;
Q_DECLARE_OPAQUE_POINTER(hid_device*)

class ForceCalculator;
class QTimer;
class TelemetrySource;

// The real-time worker of torquix-commander: owns the bases' HID handles, the
// telemetry sources, the force calculator and the hardware-trim state. It is
// moved to its own QThread; every slot runs there, driven by four timers.
class DirectControlThread : public QObject
{
    Q_OBJECT

public:
    static constexpr int effectAxisCount = 4;

    DirectControlThread(QObject* parent, int trimIncrement, quint16 dcsPort, quint16 il2Port,
                        quint16 condor2Port, quint16 xplanePort, Telemetry::Source initialSource,
                        const AppConfig::TrimConfig& trimConfig);
    ~DirectControlThread() override;

    // Registers every type that the worker's queued signals and slots carry.
    static void registerMetaTypes();

    // Monotonic milliseconds that the force ticks, jolts, fade-ins and force-release
    // fades are timed by; tests put in a manual clock. Set before start().
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);
    // Called on the worker thread by stop() once every connected base has been sent zero
    // forces, before any is closed. Set before the worker starts.
    void setForcesZeroedHandler(std::function<void()> handler);

signals:
    void flightModuleChanged(Telemetry::Source source, QString flightModule);
    void telemetryChanged(Telemetry telemetry);
    void telemetrySourceLost();
    void deviceDisconnected(DeviceTypeEnum type);
    void deviceConnected(DeviceTypeEnum type, FirmwareVersionTypeDef version);
    void hardwareAxisTrimChanged(int axisIndex, int hardwareAxisTrim, bool hardwareForceRelease);
    void trimButtonChanged(int axisIndex, QString deviceName, int buttonType, bool isHat,
                           int hatIndex, int buttonIndex);
    void inputStateChanged(int axis, int position, int axisTrim);

public slots:
    void listenTelemetrySource(Telemetry::Source source);
    void changeSettingsSuddenly(EffectsSettings settings);
    void changeSettingsModerately(EffectsSettings settings);
    void changeIntegratedSpringCurve(int effectAxis, SimpleSpringSettings settings);
    void changeTelemetry(Telemetry telemetry);
    // verticalSpeed in m/s, airspeed in km/h; the calculator takes them the other way round.
    void startLandingJolt(float verticalSpeed, float airspeed);
    void startWeaponReleaseJolt(float releasedWeight);
    void startDamageJolt(float damagePercent);
    void startCountermeasureJolt();
    void startGearLockJolt();
    void changeTrimConfig(AppConfig::TrimConfig config);
    void startButtonAssignment(int axis, int buttonType);
    void stopButtonAssignment();
    // Runs on the worker thread; starts the four timers and the clocks.
    void start();

private slots:
    DeviceStateTypeDef readTorquixDevice(DeviceTypeEnum type);
    void updateAxisDirectControl(int effectAxis);
    void updateDevicePositions();
    void updateTrim();
    void onForceUpdateTimeout();
    void updateTelemetry();
    bool isListeningForGameTelemetry();
    bool isInAutodetectMode();
    void clearActiveTelemetryDataSource();
    int deviceAxisForEffectAxis(int effectAxis);
    DeviceTypeEnum deviceForEffectAxis(int effectAxis);

    void sendUInt8OverrideReport(hid_device* handle, TelemetryOverrideEnum field, int8_t index,
                                 uint8_t data);
    void sendUInt16OverrideReport(hid_device* handle, TelemetryOverrideEnum field, int8_t index,
                                  uint16_t data);
    void sendDataReport(hid_device* handle, TelemetryOverrideEnum fieldId, uint8_t index,
                        uint8_t* value, uint8_t size);
    void createUInt8OverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                   uint8_t index, uint8_t value);
    void createUInt16OverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                    uint8_t index, uint16_t value);
    void createBufferOverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                    uint8_t index, uint8_t* value, uint8_t size);
    int readDeviceState(DeviceStateTypeDef* state, hid_device* handle);
    void writeToDevice(hid_device* usbHandle, uint8_t dataType, const void* src, uint16_t size);
    hid_device* obtainDeviceConnection(short vid, short pid, short interface_number);
    void disconnectDevice(DeviceTypeEnum type);

public slots:
    // Declared last so that every other method keeps its meta-object index.
    // Runs on the worker thread before it is quit: stops the timers, sends zero
    // forces to every connected base and closes every HID handle and joystick.
    void stop();

private:
    void connectTelemetrySource(TelemetrySource* source, Telemetry::Source sourceType);
    // The source whose records and flight events the worker takes: the selected
    // simulator, in autodetect the detected one, otherwise none.
    Telemetry::Source routedTelemetrySource() const;
    void takeFoundSource(Telemetry::Source sourceType);
    void forgetLostSource(Telemetry::Source sourceType);
    void takeSourceTelemetry(const Telemetry& record);
    void takeEffectsSettings(const EffectsSettings& settings);
    qint64 tick() const;
    // From 0 to 1 over the second after the base's fade-in began; 0 before it began.
    float fadeFactor(DeviceTypeEnum type) const;
    void startFadeIn(DeviceTypeEnum type);
    hid_device* deviceHandle(DeviceTypeEnum type) const;
    void sendZeroForces(DeviceTypeEnum type, hid_device* handle);
    // The force timer's handler: waits for the due deadline, runs one tick and sets the
    // timer for the next deadline.
    void runForceTick();
    void scheduleForceTick();

    void refreshJoysticks();
    SDL_Joystick* attachedJoystick(const QString& name);
    bool isBindingPressed(const AppConfig::TrimButtonConfig& binding);
    void applyTrimAction(int axis, int action, bool pressed);
    void applyForceReleaseState(int axis);
    void scanForButtonAssignment();
    bool findPressedHat(SDL_Joystick* joystick, int* hat, int* direction);
    bool findPressedButton(SDL_Joystick* joystick, int* button);
    void finishButtonAssignment(const QString& name, bool isHat, int hatIndex, int buttonIndex);

    QMap<QString, SDL_Joystick*> openJoysticks;
    QMap<int, hid_device*> deviceHandles;
    QMap<int, int> livenessCounters;
    QMap<int, int> reconnectCounters;
    QMap<int, int> productIds;
    QMap<Telemetry::Source, TelemetrySource*> telemetrySources;
    ForceCalculator* forceCalculator;
    QTimer* forceTimer;
    QTimer* telemetryTimer;
    QTimer* trimTimer;
    QTimer* positionsTimer;
    Clock clock;
    std::function<void()> forcesZeroedHandler;
    // Clock time of start(), from which ticks count; ticks read 0 before.
    std::optional<qint64> tickOrigin;
    // When the next force tick is due: deadlines lie on one fixed 2 ms grid from start().
    std::chrono::steady_clock::time_point forceDeadline;
    // Per base type: clock time of its last fade-in start (start, a sudden change, or the
    // base connecting); a base without one gets no force.
    QMap<int, qint64> fadeInStarts;
    // Per axis: clock time of the last letting go of a force release, or of start(); none
    // before start(), when nothing was let go.
    std::optional<qint64> forceReleaseStarts[effectAxisCount];
    int trimIncrement;
    int currentAxis = 0;
    AppConfig::TrimConfig trimConfig;
    EffectsSettings effectsSettings;
    // Per axis, the report fields that only effectsSettings decides: made when it changes.
    DirectControlTypeDef settingsControls[effectAxisCount];
    Telemetry telemetry;
    int axisPositions[effectAxisCount] = {};
    int deviceAxisTrims[effectAxisCount] = {};
    int hardwareAxisTrims[effectAxisCount] = {};
    int hardwareForceReleases[effectAxisCount] = {};
    bool forceReleaseHeld[effectAxisCount] = {};
    // From a release's start until its fade-out has ended, whatever the settings say
    // meanwhile: a release once started always ends.
    bool forceReleaseRunning[effectAxisCount] = {};
    bool buttonAssignmentActive = false;
    int assignmentAxis = 0;
    int assignmentButtonType = 0;
    Telemetry::Source detectedTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
    Telemetry::Source listenedTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
    // The sources that have found their simulator and not lost it since, with the
    // module each last named; kept whether they are routed or not.
    QMap<Telemetry::Source, QString> foundTelemetrySources;
    // While autodetecting with nothing detected: a found source that sent a record,
    // taken as the detected one at the next poll unless it is lost first.
    Telemetry::Source receivingTelemetrySource = Telemetry::TELEMETRY_SOURCE_NONE;
};
