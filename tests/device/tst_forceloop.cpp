#include "effectsprofile.h"
#include "workerfixture.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace BaseEmulator;

namespace {

Report reportFromHex(const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    Report report(65, 0);
    std::copy(bytes.begin(), bytes.end(), report.begin());
    return report;
}

QByteArray hexOf(const Report& report)
{
    return QByteArray(reinterpret_cast<const char*>(report.data()), int(report.size()))
        .toHex(' ');
}

struct Target {
    unsigned short productId;
    uint8_t deviceAxis;
    bool operator==(const Target& other) const
    {
        return productId == other.productId && deviceAxis == other.deviceAxis;
    }
};

// The bases and axes that received direct-control reports, in the order written.
std::vector<Target> directControlTargets()
{
    std::vector<Target> targets;
    for (const WrittenReport& report : writtenReports()) {
        if (report.bytes.size() == 65 && report.bytes[0] == 0xA3 && report.bytes[1] == 0x10
            && report.bytes[2] == TELEMETRY_OVERRIDE_DIRECT_CONTROL)
            targets.push_back({report.productId, report.bytes[3]});
    }
    return targets;
}

// The JSON of a curve: inputs from firstIn in steps of inStep, each with out.
QByteArray flatCurve(double out, int firstIn = 0, int inStep = 100)
{
    QByteArrayList points;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        points << "{\"in\": " + QByteArray::number(firstIn + k * inStep) + ", \"out\": " + QByteArray::number(out) + "}";
    return "[" + points.join(", ") + "]";
}

} // namespace

class TestForceLoop : public QObject
{
    Q_OBJECT

private slots:
    void init();

    // A worker of its own, driven tick by tick.
    void ticksOfAbsentBasesWriteNothing();
    void fadeInFollowsTheLastSuddenChange_data();
    void fadeInFollowsTheLastSuddenChange();
    void curveWithoutItsBaseAxisOnlyLogs_data();
    void curveWithoutItsBaseAxisOnlyLogs();
    void hostileProfileDrivesTheBaseAsItsHeldTwin_data();
    void hostileProfileDrivesTheBaseAsItsHeldTwin();
    void joltSlotsStartTheirJolt_data();
    void joltSlotsStartTheirJolt();

    // One running worker with all three bases, past its first fade-in.
    void eachTickServesTheNextAxisOnItsBase();
    void lateTickIsNotCaughtUpInABurst();
    void reportsCarryTheAxisForcesByteForByte();
    void suddenChangeSendsTheCurvesOfActiveIntegratedSprings();
    void cleanupTestCase();

private:
    DirectControlThread* runningWorker();

    WorkerPointer running;
};

void TestForceLoop::init()
{
    setReadTimeoutWait(0);
    clearWrittenReports();
}

DirectControlThread* TestForceLoop::runningWorker()
{
    if (running)
        return running.get();
    reset();
    setReadTimeoutWait(0);
    addBase(PRODUCT_ID_JOYSTICK);
    addBase(PRODUCT_ID_RUDDER);
    addBase(PRODUCT_ID_COLLECTIVE);
    running = makeWorker();
    QSignalSpy connected(running.get(), &DirectControlThread::deviceConnected);
    running->start();
    spin(1100); // the fade-in after start
    if (connected.count() != 3)
        qWarning("only %d bases connected", int(connected.count()));
    clearWrittenReports();
    return running.get();
}

void TestForceLoop::cleanupTestCase()
{
    running.reset();
}

void TestForceLoop::ticksOfAbsentBasesWriteNothing()
{
    reset();
    addBase(PRODUCT_ID_RUDDER);
    auto worker = makeWorker();
    worker->start();
    invoke(worker.get(), "updateDevicePositions");
    for (int tick = 0; tick < 8; ++tick)
        invoke(worker.get(), "onForceUpdateTimeout");
    const std::vector<Target> targets = directControlTargets();
    QCOMPARE(targets.size(), size_t(2));
    for (const Target& target : targets)
        QVERIFY(target == Target({PRODUCT_ID_RUDDER, 0}));
}

void TestForceLoop::fadeInFollowsTheLastSuddenChange_data()
{
    QTest::addColumn<int>("earlierChange"); // ms from an earlier sudden change; 0: none
    QTest::addColumn<int>("replugged");     // the base plugged in again after the last change; 0: none
    QTest::addColumn<int>("wait");          // ms from the last change, or the replug, to the tick
    QTest::addColumn<int>("springForce");   // the rudder's, or the replugged base's

    QTest::newRow("500 ms after a sudden change: half") << 0 << 0 << 500 << 2000;
    QTest::newRow("100 ms after a second change 600 ms later: a tenth") << 600 << 0 << 100 << 400;
    QTest::newRow("1100 ms after: full") << 0 << 0 << 1100 << 4000;
    QTest::newRow("rudder replugged: none") << 0 << PRODUCT_ID_RUDDER << 0 << 0;
    QTest::newRow("250 ms after the rudder is replugged: a quarter") << 0 << PRODUCT_ID_RUDDER << 250 << 1000;
    QTest::newRow("1000 ms after the rudder is replugged: full") << 0 << PRODUCT_ID_RUDDER << 1000 << 4000;
    QTest::newRow("250 ms after the joystick is replugged: a quarter") << 0 << PRODUCT_ID_JOYSTICK << 250 << 1000;
}

// Forces rise linearly over the second after each sudden change, on every base, and
// after a base is plugged in again, on that base alone, while the base releases what the
// fade holds back: a 40 % spring is sent as 40 % x fade. A replugged base first gets the
// curves of its integrated springs again, as the sudden change sent them; the other none.
void TestForceLoop::fadeInFollowsTheLastSuddenChange()
{
    QFETCH(int, earlierChange);
    QFETCH(int, replugged);
    QFETCH(int, wait);
    QFETCH(int, springForce);
    reset();
    addBase(PRODUCT_ID_JOYSTICK);
    addBase(PRODUCT_ID_RUDDER);
    qint64 now = 0; // outlives the worker, which reads it
    auto worker = makeWorker();
    worker->setClock([&now] { return now; });
    QSignalSpy connected(worker.get(), &DirectControlThread::deviceConnected);
    QSignalSpy disconnected(worker.get(), &DirectControlThread::deviceDisconnected);
    invoke(worker.get(), "updateDevicePositions");
    EffectsSettings settings = quietSettings();
    for (AxisEffectsSettings& axis : settings.axes) {
        axis.airspeedSpring.active = true;
        axis.airspeedSpring.total_effect_strength = 100;
        setFlatCurve(axis.airspeedSpring.curve1, 40.0f);
        axis.simpleSpring.active = true;
        setFlatCurve(axis.simpleSpring.curve1, -25.0f);
    }
    now = 10000; // long after the bases' fade-in on connecting
    if (earlierChange > 0) {
        worker->changeSettingsSuddenly(settings);
        now += earlierChange;
    }
    worker->changeSettingsSuddenly(settings);
    QByteArrayList suddenCurves;
    if (replugged) {
        for (const Report& curve : overrideReports(replugged, TELEMETRY_OVERRIDE_INTEGRATED_SPRING_CURVE))
            suddenCurves << hexOf(curve);
        QVERIFY(!suddenCurves.isEmpty());
        clearWrittenReports();
        now += 5000;
        unplugBase(replugged);
        for (int poll = 0; disconnected.isEmpty() && poll < 1000; ++poll)
            invoke(worker.get(), "updateDevicePositions");
        plugBase(replugged);
        for (int poll = 0; connected.count() < 3 && poll < 1000; ++poll)
            invoke(worker.get(), "updateDevicePositions");
        QCOMPARE(connected.count(), 3);
    }
    now += wait;
    for (int axis = 0; axis < 3; ++axis)
        invoke(worker.get(), "updateAxisDirectControl", axis);

    for (const Target& target : {Target{PRODUCT_ID_JOYSTICK, 0}, Target{PRODUCT_ID_JOYSTICK, 1}, Target{PRODUCT_ID_RUDDER, 0}}) {
        const int spring = replugged && target.productId != replugged ? 4000 : springForce;
        const DirectControlTypeDef control = directControlOf(lastDirectControl(target.productId, target.deviceAxis));
        QVERIFY2(qAbs(control.springForce - spring) <= 1 && qAbs(control.forceRelease - (100 - spring / 40)) <= 1,
                 QByteArray::number(control.springForce) + " " + QByteArray::number(control.forceRelease));
    }
    if (!replugged)
        return;
    QByteArrayList curves; // the replugged base's, up to its first force
    for (const WrittenReport& written : writtenReports(replugged)) {
        const Report& report = written.bytes;
        if (report.size() != 65 || report[0] != 0xA3 || report[1] != 0x10)
            continue;
        if (report[2] == TELEMETRY_OVERRIDE_DIRECT_CONTROL && directControlOf(report).springForce != 0)
            break;
        if (report[2] == TELEMETRY_OVERRIDE_INTEGRATED_SPRING_CURVE)
            curves << hexOf(report);
    }
    QCOMPARE(curves, suddenCurves);
    QVERIFY(overrideReports(replugged == PRODUCT_ID_RUDDER ? PRODUCT_ID_JOYSTICK : PRODUCT_ID_RUDDER,
                            TELEMETRY_OVERRIDE_INTEGRATED_SPRING_CURVE).empty());
}

void TestForceLoop::curveWithoutItsBaseAxisOnlyLogs_data()
{
    QTest::addColumn<int>("productId");
    QTest::addColumn<int>("effectAxis");

    QTest::newRow("elevator without the joystick") << PRODUCT_ID_RUDDER << 1;
    QTest::newRow("axis 4") << PRODUCT_ID_JOYSTICK << 4;
    QTest::newRow("axis -1") << PRODUCT_ID_JOYSTICK << -1;
}

void TestForceLoop::curveWithoutItsBaseAxisOnlyLogs()
{
    QFETCH(int, productId);
    QFETCH(int, effectAxis);
    reset();
    addBase(productId);
    auto worker = makeWorker();
    invoke(worker.get(), "updateDevicePositions");
    clearWrittenReports();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
        QString("^\\d+ curve changed for axis %1$").arg(effectAxis)));
    SimpleSpringSettings spring;
    spring.setDefaults();
    worker->changeIntegratedSpringCurve(effectAxis, spring);
    QCOMPARE(writtenReports().size(), size_t(0));
}

void TestForceLoop::hostileProfileDrivesTheBaseAsItsHeldTwin_data()
{
    QTest::addColumn<QByteArray>("hostile"); // the elevator's effects as a shared profile holds them
    QTest::addColumn<QByteArray>("held");    // the same within the ranges the editors offer
    const auto row = [](const char* name, const char* effect, const QByteArray& hostile, const QByteArray& held) {
        const QByteArray head = QByteArray("{\"") + effect + "\": {\"active\": true, ";
        QTest::newRow(name) << head + hostile + "}}" << head + held + "}}";
    };
    const QByteArray full = R"("total_effect_strength": 100, )";
    row("negative spring strength, curve outputs -50", "airspeed_spring", R"("total_effect_strength": -100, "curve1": )" + flatCurve(-50),
        R"("total_effect_strength": 0, "curve1": )" + flatCurve(0));
    row("huge spring strength and dampening, curve outputs 500", "airspeed_spring",
        R"("total_effect_strength": 1000, "dampening_contribution": 1e9, "curve1": )" + flatCurve(500),
        full + R"("dampening_contribution": 100, "curve1": )" + flatCurve(100));
    row("dampening -300 and 1e308", "smart_damper", full + R"("static_dampening": -300, "dynamic_dampening": 1e308)",
        full + R"("static_dampening": 0, "dynamic_dampening": 1000)");
    row("DirectX 1000", "direct_x", R"("total_effect_strength": 1000, "force": 1000, "periodic": -5, "trimmer": 1e9)",
        full + R"("force": 100, "periodic": 0, "trimmer": 100)");
    row("integrated spring 1000", "simple_spring", R"("total_effect_strength": 1000, "dampening_contribution": -50, "curve1": )" + flatCurve(500, -100, 20),
        full + R"("dampening_contribution": 0, "curve1": )" + flatCurve(100, -100, 20));
    row("integrated spring curve with falling inputs: its default", "simple_spring", full + R"("curve1": )" + flatCurve(100, 100, -20),
        R"("total_effect_strength": 100)");
    row("frequency mode 2", "generic_shaker", R"("total_effect_strength": 50, "frequency_mode": 2)",
        R"("total_effect_strength": 50, "frequency_mode": 0)");
}

// What the worker receives from a profile read, and what it sends the joystick as the
// profile loads and for the elevator at 500 km/h, are those of the profile within the
// editors' ranges.
void TestForceLoop::hostileProfileDrivesTheBaseAsItsHeldTwin()
{
    QFETCH(QByteArray, hostile);
    QFETCH(QByteArray, held);
    reset();
    addBase(PRODUCT_ID_JOYSTICK);
    Telemetry telemetry;
    telemetry.airspeed = 500.0f;
    qint64 now = 0; // outlives the workers, which read it
    EffectsSettings settings[2];
    QByteArrayList sent[2];
    for (int k = 0; k < 2; ++k) {
        const QJsonObject elevator = QJsonDocument::fromJson(k == 0 ? hostile : held).object();
        QVERIFY(!elevator.isEmpty());
        EffectsProfile profile;
        profile.fromJson(QJsonObject{{"effects", QJsonObject{{"elevator", elevator}}}});
        settings[k] = profile.effects;
        auto worker = makeWorker();
        worker->setClock([&now] { return now; });
        invoke(worker.get(), "updateDevicePositions");
        worker->changeTelemetry(telemetry);
        clearWrittenReports();
        worker->changeSettingsSuddenly(settings[k]); // as a profile load sends it
        now += 1001; // its fade is complete
        invoke(worker.get(), "updateAxisDirectControl", 1);
        for (const WrittenReport& report : writtenReports())
            sent[k] << hexOf(report.bytes);
    }
    QVERIFY(settings[0] == settings[1]);
    QVERIFY(!directControlReports(PRODUCT_ID_JOYSTICK).empty());
    QCOMPARE(sent[0], sent[1]);
}

void TestForceLoop::eachTickServesTheNextAxisOnItsBase()
{
    runningWorker();
    QVERIFY(spinUntil([] { return directControlTargets().size() >= 10; }, 10000));
    const std::vector<Target> targets = directControlTargets();
    const Target cycle[] = {{PRODUCT_ID_JOYSTICK, 0}, {PRODUCT_ID_JOYSTICK, 1},
                            {PRODUCT_ID_RUDDER, 0}, {PRODUCT_ID_COLLECTIVE, 0}};
    int position = int(std::find(std::begin(cycle), std::end(cycle), targets.front()) - cycle);
    QVERIFY(position < 4);
    for (const Target& target : targets) {
        QVERIFY(target == cycle[position]);
        position = (position + 1) % 4;
    }
}

// The ticks due while the worker's thread was busy are skipped: the loop goes on at
// the next deadline instead of sending the missed reports back to back.
void TestForceLoop::lateTickIsNotCaughtUpInABurst()
{
    runningWorker();
    spin(20);
    const size_t before = directControlTargets().size();
    QThread::msleep(30); // the worker shares this thread: about 15 ticks come due
    QVERIFY(spinUntil([before] { return directControlTargets().size() >= before + 10; }, 10000));
    const std::vector<WrittenReport> written = writtenReports();
    std::vector<std::chrono::steady_clock::time_point> times;
    for (const WrittenReport& report : written) {
        if (report.bytes[2] == TELEMETRY_OVERRIDE_DIRECT_CONTROL)
            times.push_back(report.time);
    }
    // Each tick has a deadline of its own on the 2 ms grid, set after the tick before
    // it ran: no three ticks fit into 2 ms.
    for (size_t i = 2; i < times.size(); ++i) {
        const double ms = std::chrono::duration<double, std::milli>(times[i] - times[i - 2]).count();
        QVERIFY2(ms > 1.9, QByteArray::number(ms));
    }
}

void TestForceLoop::reportsCarryTheAxisForcesByteForByte()
{
    DirectControlThread* worker = runningWorker();
    EffectsSettings settings = quietSettings();

    AxisEffectsSettings& ailerons = settings.axes[0];
    ailerons.airspeedSpring.active = true;
    ailerons.airspeedSpring.total_effect_strength = 50;
    ailerons.airspeedSpring.dampening_contribution = 50;
    setTenthCurve(ailerons.airspeedSpring.curve1);
    ailerons.smartDamper.active = true;
    ailerons.smartDamper.total_effect_strength = 50;
    ailerons.smartDamper.static_dampening = 30.5f;
    ailerons.smartDamper.dynamic_dampening = 10.0f;
    ailerons.directX.active = true;
    ailerons.directX.total_effect_strength = 200;
    ailerons.directX.force = 100;
    ailerons.directX.periodic = 300;
    ailerons.directX.trimmer = 10;
    ailerons.simpleSpring.active = true;
    ailerons.simpleSpring.total_effect_strength = 300;
    ailerons.simpleSpring.dampening_contribution = 20;

    settings.axes[1].elevatorWeight.active = true;
    settings.axes[1].elevatorWeight.total_effect_strength = 50;

    settings.axes[2].gForceSpring.active = true;
    settings.axes[2].gForceSpring.total_effect_strength = 100;
    setFlatCurve(settings.axes[2].gForceSpring.curve1, 150.0f);

    settings.axes[3].airspeedSpring.active = true;
    settings.axes[3].airspeedSpring.total_effect_strength = 100;
    settings.axes[3].airspeedSpring.dampening_contribution = 150;
    setFlatCurve(settings.axes[3].airspeedSpring.curve1, 100.0f);

    Telemetry telemetry;
    telemetry.airspeed = 200.0f;
    telemetry.gForce = 1.5f;
    worker->changeSettingsModerately(settings);
    worker->changeTelemetry(telemetry);
    clearWrittenReports();
    QVERIFY(spinUntil([] {
        return !lastDirectControl(PRODUCT_ID_JOYSTICK, 0).empty()
            && !lastDirectControl(PRODUCT_ID_JOYSTICK, 1).empty()
            && !lastDirectControl(PRODUCT_ID_RUDDER, 0).empty()
            && !lastDirectControl(PRODUCT_ID_COLLECTIVE, 0).empty();
    }));

    // Ailerons: spring 10 %, damper 5 %, dampening 15 and 5, DirectX 200, 600 held to 255
    // and 20, integrated spring 300 held to 255 and 20.
    QCOMPARE(hexOf(lastDirectControl(PRODUCT_ID_JOYSTICK, 0)),
             hexOf(reportFromHex("a3100100" "e803" "0000" "0000" "f401" "0000" "00" "0f00" "0500"
                                 "c8" "ff" "14" "ff" "14")));
    // Elevator: weight -2 x 50 % x 1.5 g = -1.5 %.
    QCOMPARE(hexOf(lastDirectControl(PRODUCT_ID_JOYSTICK, 1)),
             hexOf(reportFromHex("a3100101" "0000" "6aff")));
    // Rudder: a spring of 150 % is held to 100 %.
    QCOMPARE(hexOf(lastDirectControl(PRODUCT_ID_RUDDER, 0)),
             hexOf(reportFromHex("a3100100" "1027")));
    // Collective: the damper is not held to 100 %: 150 %.
    QCOMPARE(hexOf(lastDirectControl(PRODUCT_ID_COLLECTIVE, 0)),
             hexOf(reportFromHex("a3100100" "1027" "0000" "0000" "983a")));
}

void TestForceLoop::suddenChangeSendsTheCurvesOfActiveIntegratedSprings()
{
    DirectControlThread* worker = runningWorker();
    EffectsSettings settings = quietSettings();
    ResponseCurvePoint table[ResponseCurve::pointCount];
    table[0] = {-37.5f, 12.34f};
    for (int i = 1; i < ResponseCurve::pointCount; ++i)
        table[i] = {float(i * 10 - 50), float(-i * 5)};
    for (int axis : {1, 3}) {
        settings.axes[axis].simpleSpring.active = true;
        settings.axes[axis].simpleSpring.curve1.setPoints(table);
    }
    settings.axes[2].simpleSpring.curve1.setPoints(table); // inactive: no curve

    QByteArray curveHex = "5af1d204"; // -3750, 1234
    for (int i = 1; i < ResponseCurve::pointCount; ++i) {
        const int16_t in = int16_t(i * 1000 - 5000);
        const int16_t out = int16_t(-i * 500);
        const uint8_t bytes[4] = {uint8_t(in), uint8_t(uint16_t(in) >> 8), uint8_t(out),
                                  uint8_t(uint16_t(out) >> 8)};
        curveHex += QByteArray(reinterpret_cast<const char*>(bytes), 4).toHex();
    }

    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^\\d+ curve changed for axis 1$"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^\\d+ curve changed for axis 3$"));
    worker->changeSettingsSuddenly(settings);

    const std::vector<Report> joystick = overrideReports(PRODUCT_ID_JOYSTICK, 0);
    const std::vector<Report> rudder = overrideReports(PRODUCT_ID_RUDDER, 0);
    const std::vector<Report> collective = overrideReports(PRODUCT_ID_COLLECTIVE, 0);
    QCOMPARE(joystick.size(), size_t(1));
    QCOMPARE(rudder.size(), size_t(0));
    QCOMPARE(collective.size(), size_t(1));
    QCOMPARE(hexOf(joystick[0]), hexOf(reportFromHex("a3100001" + curveHex)));
    QCOMPARE(hexOf(collective[0]), hexOf(reportFromHex("a3100000" + curveHex)));
}

void TestForceLoop::joltSlotsStartTheirJolt_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("second");
    QTest::addColumn<int>("selection");
    QTest::addColumn<bool>("plays");

    // landed(verticalSpeed, airspeed) reaches the calculator as (airspeed, verticalSpeed).
    QTest::newRow("landing -3 m/s at 200 km/h") << "landing" << -3.0f << 200.0f << 0 << true;
    QTest::newRow("landing with the speeds swapped") << "landing" << 200.0f << -3.0f << 0 << false;
    QTest::newRow("landing while a simulator is selected") << "landing" << -3.0f << 200.0f << 5 << true;
    QTest::newRow("weapon release") << "weapon" << 100.0f << 0.0f << 0 << true;
    QTest::newRow("damage") << "damage" << 50.0f << 0.0f << 0 << true;
    QTest::newRow("countermeasure") << "countermeasure" << 0.0f << 0.0f << 0 << true;
    QTest::newRow("gear lock while a simulator is selected") << "gear" << 0.0f << 0.0f << 1 << true;
}

void TestForceLoop::joltSlotsStartTheirJolt()
{
    QFETCH(QString, slot);
    QFETCH(float, first);
    QFETCH(float, second);
    QFETCH(int, selection);
    QFETCH(bool, plays);
    reset();
    addBase(PRODUCT_ID_RUDDER);
    qint64 now = 0; // outlives the worker, which reads it
    auto worker = makeWorker();
    worker->setClock([&now] { return now; });
    worker->start(); // its timers run only when this thread spins, which it does not
    invoke(worker.get(), "updateDevicePositions");
    worker->listenTelemetrySource(Telemetry::Source(selection));

    EffectsSettings settings = quietSettings();
    AxisEffectsSettings& rudder = settings.axes[2];
    rudder.landingJolt.active = true;
    setFlatCurve(rudder.landingJolt.curve1, 100.0f);
    setFlatCurve(rudder.landingJolt.curve2, 100.0f);
    rudder.weaponReleaseJolt.active = true;
    rudder.weaponReleaseJolt.total_effect_strength = 100;
    setFlatCurve(rudder.weaponReleaseJolt.curve1, 100.0f);
    rudder.damageJolt.active = true;
    rudder.damageJolt.total_effect_strength = 100;
    setFlatCurve(rudder.damageJolt.curve1, 100.0f);
    rudder.countermeasuresJolt.active = true;
    rudder.countermeasuresJolt.total_effect_strength = 100;
    rudder.gearExtractionJolt.active = true;
    rudder.gearExtractionJolt.total_effect_strength = 100;
    worker->changeSettingsModerately(settings);
    now += 1001; // past the fade-in after start
    clearWrittenReports();

    if (slot == "landing")
        worker->startLandingJolt(first, second);
    else if (slot == "weapon")
        worker->startWeaponReleaseJolt(first);
    else if (slot == "damage")
        worker->startDamageJolt(first);
    else if (slot == "countermeasure")
        worker->startCountermeasureJolt();
    else
        worker->startGearLockJolt();
    for (int tick = 0; tick < 8; ++tick, now += 8)
        invoke(worker.get(), "updateAxisDirectControl", 2);

    QCOMPARE(shakingReports(PRODUCT_ID_RUDDER) > 0, plays);
}

QTEST_GUILESS_MAIN(TestForceLoop)
#include "tst_forceloop.moc"
