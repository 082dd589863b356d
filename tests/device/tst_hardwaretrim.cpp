#include "virtualjoystick.h"
#include "workerfixture.h"

#include <QSignalSpy>
#include <QTest>

#include <SDL.h>

using namespace BaseEmulator;

Q_DECLARE_METATYPE(AppConfig::TrimButtonConfig)

namespace {

constexpr int pitch = 1; // effect axis 1: the joystick base's device axis 1

AppConfig::TrimButtonConfig buttonBinding(const QString& joystick, int button)
{
    AppConfig::TrimButtonConfig binding;
    binding.deviceName = joystick;
    binding.assigned = true;
    binding.buttonIndex = button;
    return binding;
}

AppConfig::TrimButtonConfig hatBinding(const QString& joystick, int hat, int direction)
{
    AppConfig::TrimButtonConfig binding = buttonBinding(joystick, direction);
    binding.isHat = true;
    binding.hatIndex = hat;
    return binding;
}

// Buttons 0 to 3 of "Stick" increase, decrease, release and reset the pitch trim.
AppConfig::TrimConfig stickBindings()
{
    AppConfig::TrimConfig config;
    for (int action = 0; action < AppConfig::buttonTypeCount; ++action)
        config[pitch][action] = buttonBinding("Stick", action);
    return config;
}

EffectsSettings trimSettings(bool active, bool buttons, bool release, bool reset)
{
    EffectsSettings settings = quietSettings();
    TrimSettings& trim = settings.axes[pitch].trim;
    trim.active = active;
    trim.trim_buttons_allowed = buttons;
    trim.force_release_allowed = release;
    trim.trim_reset_allowed = reset;
    return settings;
}

struct TrimReport {
    int trim;
    bool held;
};

TrimReport lastPitchReport(const QSignalSpy& spy)
{
    for (int i = int(spy.count()) - 1; i >= 0; --i) {
        if (spy.at(i).at(0).toInt() == pitch)
            return {spy.at(i).at(1).toInt(), spy.at(i).at(2).toBool()};
    }
    return {-99999, false};
}

} // namespace

class TestHardwareTrim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void heldButtonStepsTheTrimEveryPoll_data();
    void heldButtonStepsTheTrimEveryPoll();
    void trimSettingsGateEachAction_data();
    void trimSettingsGateEachAction();
    void bindingsFromTheFileAreCheckedBeforeUse_data();
    void bindingsFromTheFileAreCheckedBeforeUse();
    void unpluggedJoystickIsOpenedAgainByName();
    void ofTwoJoysticksWithOneNameOnlyTheFirstCounts();
    void reportCarriesTrimAndReleaseOnlyWhileTrimIsActive_data();
    void reportCarriesTrimAndReleaseOnlyWhileTrimIsActive();
    void releaseFadesOutAfterLettingGo_data();
    void releaseFadesOutAfterLettingGo();

    void assignmentTakesTheFirstPressedButton();
    void assignmentTakesASingleHatDirection();
    void diagonalHatEndsTheHatSearchButNotTheButtons_data();
    void diagonalHatEndsTheHatSearchButNotTheButtons();
    void assignmentFreezesTheTrims();
    void joystickUnpluggedWhileAssigningIsDropped();
    void stopButtonAssignmentEndsTheScan();

private:
    WorkerPointer pitchWorker(const AppConfig::TrimConfig& config, const EffectsSettings& settings,
                              int increment = 50);
    void poll(DirectControlThread* worker, int times = 1);
};

void TestHardwareTrim::initTestCase()
{
    QVERIFY(VirtualJoystick::initialiseSdl());
}

void TestHardwareTrim::cleanupTestCase()
{
    SDL_Quit();
}

void TestHardwareTrim::init()
{
    reset();
    setReadTimeoutWait(0);
    addBase(PRODUCT_ID_JOYSTICK);
    setPosition(PRODUCT_ID_JOYSTICK, pitch, 1234);
}

WorkerPointer TestHardwareTrim::pitchWorker(const AppConfig::TrimConfig& config,
                                            const EffectsSettings& settings, int increment)
{
    WorkerPointer worker = makeWorker(Telemetry::TELEMETRY_SOURCE_NONE, increment, config);
    worker->changeSettingsModerately(settings);
    invoke(worker.get(), "updateDevicePositions"); // connects
    invoke(worker.get(), "updateDevicePositions"); // reads the positions
    return worker;
}

void TestHardwareTrim::poll(DirectControlThread* worker, int times)
{
    for (int i = 0; i < times; ++i)
        invoke(worker, "updateTrim");
}

void TestHardwareTrim::heldButtonStepsTheTrimEveryPoll_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("increment");
    QTest::addColumn<int>("polls");
    QTest::addColumn<int>("trim");

    // Increase subtracts from the trim.
    QTest::newRow("increase for 200 ms") << 0 << 50 << 10 << -500;
    QTest::newRow("decrease for 200 ms") << 1 << 50 << 10 << 500;
    QTest::newRow("increase stops at -10000") << 0 << 3000 << 5 << -10000;
    QTest::newRow("decrease stops at 10000") << 1 << 3000 << 5 << 10000;
}

void TestHardwareTrim::heldButtonStepsTheTrimEveryPoll()
{
    QFETCH(int, action);
    QFETCH(int, increment);
    QFETCH(int, polls);
    QFETCH(int, trim);
    VirtualJoystick stick("Stick", 8, 1);
    QVERIFY(stick.isValid());
    auto worker = pitchWorker(stickBindings(), trimSettings(true, true, true, true), increment);
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);

    poll(worker.get()); // opens the joystick
    stick.setButton(action, true);
    poll(worker.get(), polls);
    stick.setButton(action, false);
    poll(worker.get(), 3);
    QCOMPARE(lastPitchReport(trims).trim, trim);
    QCOMPARE(trims.count(), (polls + 4) * 4);
}

void TestHardwareTrim::trimSettingsGateEachAction_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("buttons");
    QTest::addColumn<bool>("release");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QList<int>>("presses"); // one held button per poll
    QTest::addColumn<int>("trim");
    QTest::addColumn<bool>("held");

    const QList<int> upUpReset = {0, 0, 3};
    QTest::newRow("increase and decrease") << true << true << true << true
                                           << QList<int>{0, 0, 0, 1} << -100 << false;
    QTest::newRow("reset allowed") << true << true << true << true << upUpReset << 0 << false;
    QTest::newRow("reset not allowed") << true << true << true << false << upUpReset << -100 << false;
    QTest::newRow("trim buttons not allowed") << true << false << true << true
                                              << QList<int>{0, 1, 1} << 0 << false;
    QTest::newRow("release held follows the position") << true << true << true << true
                                                        << QList<int>{0, 2} << 1234 << true;
    QTest::newRow("release not allowed") << true << true << false << true << QList<int>{0, 2}
                                         << -50 << false;
    QTest::newRow("neither buttons nor release allowed") << true << false << false << true
                                                         << QList<int>{3, 0, 0} << 0 << false;
    QTest::newRow("inactive trim stays 0") << false << true << true << true
                                           << QList<int>{0, 0, 1} << 0 << false;
}

void TestHardwareTrim::trimSettingsGateEachAction()
{
    QFETCH(bool, active);
    QFETCH(bool, buttons);
    QFETCH(bool, release);
    QFETCH(bool, reset);
    QFETCH(QList<int>, presses);
    QFETCH(int, trim);
    QFETCH(bool, held);
    VirtualJoystick stick("Stick", 8, 1);
    auto worker = pitchWorker(stickBindings(), trimSettings(active, buttons, release, reset));
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    poll(worker.get());
    for (int button : presses) {
        stick.setButton(button, true);
        poll(worker.get());
        QVERIFY(lastPitchReport(trims).trim == 0 || active);
        stick.setButton(button, false);
    }
    QCOMPARE(lastPitchReport(trims).trim, trim);
    QCOMPARE(lastPitchReport(trims).held, held);
}

void TestHardwareTrim::bindingsFromTheFileAreCheckedBeforeUse_data()
{
    QTest::addColumn<AppConfig::TrimButtonConfig>("binding");
    QTest::addColumn<int>("hatValue");
    QTest::addColumn<int>("trim");

    QTest::newRow("button beyond the joystick") << buttonBinding("Stick", 8) << int(SDL_HAT_UP)
                                                << 0;
    QTest::newRow("negative button") << buttonBinding("Stick", -1) << int(SDL_HAT_UP) << 0;
    QTest::newRow("negative hat") << hatBinding("Stick", -1, SDL_HAT_UP) << int(SDL_HAT_UP) << 0;
    QTest::newRow("hat beyond the joystick") << hatBinding("Stick", 1, SDL_HAT_UP)
                                             << int(SDL_HAT_UP) << 0;
    // A centred hat reads 0: such a binding would hold the button down for good.
    QTest::newRow("hat direction 0") << hatBinding("Stick", 0, 0) << int(SDL_HAT_CENTERED) << 0;
    // Three polls of 50 each while the bound direction is held.
    QTest::newRow("hat direction held") << hatBinding("Stick", 0, SDL_HAT_DOWN)
                                        << int(SDL_HAT_DOWN) << -150;
    QTest::newRow("other hat direction") << hatBinding("Stick", 0, SDL_HAT_DOWN)
                                         << int(SDL_HAT_LEFT) << 0;
    QTest::newRow("diagonal direction held") << hatBinding("Stick", 0, SDL_HAT_RIGHTUP)
                                             << int(SDL_HAT_RIGHTUP) << -150;
    QTest::newRow("half of a diagonal") << hatBinding("Stick", 0, SDL_HAT_RIGHTUP)
                                        << int(SDL_HAT_UP) << 0;
}

void TestHardwareTrim::bindingsFromTheFileAreCheckedBeforeUse()
{
    QFETCH(AppConfig::TrimButtonConfig, binding);
    QFETCH(int, hatValue);
    QFETCH(int, trim);
    VirtualJoystick stick("Stick", 8, 1);
    AppConfig::TrimConfig config;
    config[pitch][AppConfig::BUTTON_TYPE_INCREASE] = binding;
    auto worker = pitchWorker(config, trimSettings(true, true, true, true));
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    poll(worker.get());
    for (int button = 0; button < 8; ++button)
        stick.setButton(button, true);
    stick.setHat(0, hatValue);
    poll(worker.get(), 3);
    QCOMPARE(lastPitchReport(trims).trim, trim);
}

void TestHardwareTrim::unpluggedJoystickIsOpenedAgainByName()
{
    auto stick = std::make_unique<VirtualJoystick>("Stick", 8, 1);
    auto worker = pitchWorker(stickBindings(), trimSettings(true, true, true, true));
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    poll(worker.get());
    stick->setButton(0, true);
    poll(worker.get());
    QCOMPARE(lastPitchReport(trims).trim, -50);

    stick->unplug();
    poll(worker.get(), 2);
    QCOMPARE(lastPitchReport(trims).trim, -50);

    stick = std::make_unique<VirtualJoystick>("Stick", 8, 1);
    stick->setButton(0, true);
    poll(worker.get(), 2); // the first poll opens it again
    QVERIFY(lastPitchReport(trims).trim < -50);
}

void TestHardwareTrim::ofTwoJoysticksWithOneNameOnlyTheFirstCounts()
{
    VirtualJoystick first("Twin", 8, 1);
    VirtualJoystick second("Twin", 8, 1);
    AppConfig::TrimConfig config;
    config[pitch][AppConfig::BUTTON_TYPE_DECREASE] = buttonBinding("Twin", 0);
    auto worker = pitchWorker(config, trimSettings(true, true, true, true));
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    poll(worker.get());
    second.setButton(0, true);
    poll(worker.get(), 2);
    QCOMPARE(lastPitchReport(trims).trim, 0);
    first.setButton(0, true);
    poll(worker.get(), 2);
    QCOMPARE(lastPitchReport(trims).trim, 100);
}

void TestHardwareTrim::reportCarriesTrimAndReleaseOnlyWhileTrimIsActive_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("trim");
    QTest::addColumn<int>("release");

    QTest::newRow("trim active") << true << 3000 << 100;
    QTest::newRow("trim inactive, fade complete") << false << 0 << 0;
}

// The worker still holds a trim and a release when the trim effect is switched off;
// until the next trim poll clears them, the reports must already leave them out.
void TestHardwareTrim::reportCarriesTrimAndReleaseOnlyWhileTrimIsActive()
{
    QFETCH(bool, active);
    QFETCH(int, trim);
    QFETCH(int, release);
    VirtualJoystick stick("Stick", 8, 1);
    setPosition(PRODUCT_ID_JOYSTICK, pitch, 3000);
    qint64 now = 0; // outlives the worker, which reads it
    auto worker = pitchWorker(stickBindings(), trimSettings(true, true, true, true));
    worker->setClock([&now] { return now; });
    worker->start(); // its timers run only when this thread spins, which it does not
    now += 1010; // past the fade-in, which would add its own release
    poll(worker.get());
    stick.setButton(AppConfig::BUTTON_TYPE_RELEASE, true);
    poll(worker.get());

    worker->changeSettingsModerately(trimSettings(active, true, true, true));
    invoke(worker.get(), "updateAxisDirectControl", pitch);
    const DirectControlTypeDef control =
        directControlOf(lastDirectControl(PRODUCT_ID_JOYSTICK, pitch));
    QCOMPARE(int(control.hardwareTrim), trim);
    QCOMPARE(int(control.forceRelease), release);
}

void TestHardwareTrim::releaseFadesOutAfterLettingGo_data()
{
    QTest::addColumn<int>("delay");        // ms from letting go to the next poll
    QTest::addColumn<bool>("stillAllowed"); // force_release_allowed when let go
    QTest::addColumn<int>("release");      // the release sent after that poll
    QTest::addColumn<int>("trim");         // and the trim

    QTest::newRow("50 ms after letting go") << 50 << true << 50 << -4000;
    QTest::newRow("100 ms after letting go") << 100 << true << 0 << -4000;
    QTest::newRow("101 ms after letting go") << 101 << true << 0 << 3000;
    QTest::newRow("150 ms after letting go") << 150 << true << 0 << 3000;
    // The flag only decides whether a release starts: one under way always ends.
    QTest::newRow("50 ms after, release turned off while held") << 50 << false << 50 << -4000;
    QTest::newRow("150 ms after, release turned off while held") << 150 << false << 0 << 3000;
}

// While held the trim follows the stick and the base releases all force; letting go
// fades the release out over 100 ms while the trim still follows, then the trim stays
// where the last poll within those 100 ms put it.
void TestHardwareTrim::releaseFadesOutAfterLettingGo()
{
    QFETCH(int, delay);
    QFETCH(bool, stillAllowed);
    QFETCH(int, release);
    QFETCH(int, trim);
    VirtualJoystick stick("Stick", 8, 1);
    qint64 now = 0; // outlives the worker, which reads it
    auto worker = pitchWorker(stickBindings(), trimSettings(true, true, true, true));
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    worker->setClock([&now] { return now; });
    worker->start(); // its timers run only when this thread spins, which it does not
    now += 1010; // past the fade-in, which would hide the release
    const auto pitchControl = [&] {
        invoke(worker.get(), "updateAxisDirectControl", pitch);
        return directControlOf(lastDirectControl(PRODUCT_ID_JOYSTICK, pitch));
    };
    const auto movePitch = [&](int16_t position) {
        setPosition(PRODUCT_ID_JOYSTICK, pitch, position);
        invoke(worker.get(), "updateDevicePositions");
    };

    poll(worker.get());
    stick.setButton(AppConfig::BUTTON_TYPE_RELEASE, true);
    poll(worker.get());
    movePitch(3000);
    poll(worker.get());
    QVERIFY(lastPitchReport(trims).held);
    QCOMPARE(int(pitchControl().forceRelease), 100);
    QCOMPARE(int(pitchControl().hardwareTrim), 3000);
    if (!stillAllowed) {
        worker->changeSettingsModerately(trimSettings(true, true, false, true));
        poll(worker.get());
        QVERIFY(lastPitchReport(trims).held);
    }

    stick.setButton(AppConfig::BUTTON_TYPE_RELEASE, false);
    poll(worker.get()); // the fade starts within this poll
    QVERIFY(!lastPitchReport(trims).held);
    now += delay;
    movePitch(-4000);
    poll(worker.get());

    const DirectControlTypeDef control = pitchControl();
    QCOMPARE(int(control.forceRelease), release);
    QCOMPARE(int(control.hardwareTrim), trim);
    QCOMPARE(lastPitchReport(trims).trim, trim);
}

void TestHardwareTrim::assignmentTakesTheFirstPressedButton()
{
    VirtualJoystick alpha("Alpha", 8, 1);
    VirtualJoystick bravo("Bravo", 8, 1);
    auto worker = pitchWorker(AppConfig::TrimConfig(), quietSettings());
    QSignalSpy assigned(worker.get(), &DirectControlThread::trimButtonChanged);
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    worker->startButtonAssignment(2, AppConfig::BUTTON_TYPE_RESET);
    poll(worker.get());
    bravo.setButton(6, true);
    bravo.setButton(4, true);
    poll(worker.get());
    QCOMPARE(assigned.count(), 1);
    QCOMPARE(assigned.at(0),
             QVariantList({2, QString("Bravo"), int(AppConfig::BUTTON_TYPE_RESET), false, 0, 4}));
    QCOMPARE(trims.count(), 0);

    // The mode ended by itself: trims run again and the held button is not taken twice.
    poll(worker.get());
    QCOMPARE(assigned.count(), 1);
    QCOMPARE(trims.count(), 4);
}

void TestHardwareTrim::assignmentTakesASingleHatDirection()
{
    VirtualJoystick alpha("Alpha", 8, 2);
    auto worker = pitchWorker(AppConfig::TrimConfig(), quietSettings());
    QSignalSpy assigned(worker.get(), &DirectControlThread::trimButtonChanged);
    worker->startButtonAssignment(0, AppConfig::BUTTON_TYPE_DECREASE);
    poll(worker.get());
    alpha.setHat(1, SDL_HAT_LEFT);
    poll(worker.get());
    QCOMPARE(assigned.count(), 1);
    QCOMPARE(assigned.at(0), QVariantList({0, QString("Alpha"),
                                           int(AppConfig::BUTTON_TYPE_DECREASE), true, 1,
                                           int(SDL_HAT_LEFT)}));
}

void TestHardwareTrim::diagonalHatEndsTheHatSearchButNotTheButtons_data()
{
    QTest::addColumn<int>("hats");

    QTest::newRow("one hat") << 1;
    // The diagonal on hat 0 is ambiguous: hat 1 held left is not looked at either.
    QTest::newRow("a second hat held behind it") << 2;
}

void TestHardwareTrim::diagonalHatEndsTheHatSearchButNotTheButtons()
{
    QFETCH(int, hats);
    VirtualJoystick alpha("Alpha", 8, hats);
    auto worker = pitchWorker(AppConfig::TrimConfig(), quietSettings());
    QSignalSpy assigned(worker.get(), &DirectControlThread::trimButtonChanged);
    worker->startButtonAssignment(1, AppConfig::BUTTON_TYPE_INCREASE);
    alpha.setHat(0, SDL_HAT_RIGHTUP);
    if (hats > 1)
        alpha.setHat(1, SDL_HAT_LEFT);
    poll(worker.get(), 3);
    QCOMPARE(assigned.count(), 0);
    alpha.setButton(2, true);
    poll(worker.get());
    QCOMPARE(assigned.count(), 1);
    QCOMPARE(assigned.at(0), QVariantList({1, QString("Alpha"),
                                           int(AppConfig::BUTTON_TYPE_INCREASE), false, 0, 2}));
}

void TestHardwareTrim::assignmentFreezesTheTrims()
{
    VirtualJoystick stick("Stick", 8, 1);
    auto worker = pitchWorker(stickBindings(), trimSettings(true, true, true, true));
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    poll(worker.get());
    stick.setButton(AppConfig::BUTTON_TYPE_RELEASE, true);
    poll(worker.get());
    QCOMPARE(lastPitchReport(trims).trim, 1234);
    stick.setButton(AppConfig::BUTTON_TYPE_RELEASE, false);

    worker->startButtonAssignment(3, AppConfig::BUTTON_TYPE_RESET);
    const int before = int(trims.count());
    setPosition(PRODUCT_ID_JOYSTICK, pitch, -2000);
    invoke(worker.get(), "updateDevicePositions");
    poll(worker.get(), 3);
    QCOMPARE(int(trims.count()), before);

    worker->stopButtonAssignment();
    poll(worker.get());
    // Let go during the assignment: the fade of the release starts only now.
    QCOMPARE(lastPitchReport(trims).trim, -2000);
}

void TestHardwareTrim::joystickUnpluggedWhileAssigningIsDropped()
{
    VirtualJoystick alpha("Alpha", 8, 1);
    auto bravo = std::make_unique<VirtualJoystick>("Bravo", 8, 1);
    auto worker = pitchWorker(AppConfig::TrimConfig(), quietSettings());
    QSignalSpy assigned(worker.get(), &DirectControlThread::trimButtonChanged);
    worker->startButtonAssignment(1, AppConfig::BUTTON_TYPE_RELEASE);
    poll(worker.get());

    alpha.unplug();
    poll(worker.get());
    QCOMPARE(assigned.count(), 0);
    bravo->setButton(1, true);
    poll(worker.get());
    QCOMPARE(assigned.count(), 1);
    QCOMPARE(assigned.at(0).at(1).toString(), QString("Bravo"));

    // With the only joystick gone the scan still waits for the next one.
    worker->startButtonAssignment(2, AppConfig::BUTTON_TYPE_RESET);
    bravo.reset();
    poll(worker.get(), 2);
    VirtualJoystick charlie("Charlie", 4, 0);
    charlie.setButton(3, true);
    poll(worker.get());
    QCOMPARE(assigned.count(), 2);
    QCOMPARE(assigned.at(1),
             QVariantList({2, QString("Charlie"), int(AppConfig::BUTTON_TYPE_RESET), false, 0, 3}));
}

void TestHardwareTrim::stopButtonAssignmentEndsTheScan()
{
    VirtualJoystick alpha("Alpha", 8, 1);
    auto worker = pitchWorker(AppConfig::TrimConfig(), quietSettings());
    QSignalSpy assigned(worker.get(), &DirectControlThread::trimButtonChanged);
    QSignalSpy trims(worker.get(), &DirectControlThread::hardwareAxisTrimChanged);
    worker->startButtonAssignment(1, AppConfig::BUTTON_TYPE_RELEASE);
    poll(worker.get());
    worker->stopButtonAssignment();
    worker->stopButtonAssignment(); // already off: nothing happens
    alpha.setButton(0, true);
    poll(worker.get());
    QCOMPARE(assigned.count(), 0);
    QCOMPARE(trims.count(), 4);
}

QTEST_GUILESS_MAIN(TestHardwareTrim)
#include "tst_hardwaretrim.moc"
