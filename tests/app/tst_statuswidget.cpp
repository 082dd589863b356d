#include "headlessharness.h"
#include "statuswidget.h"
#include "widgettest.h"
#include "workerfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <atomic>
#include <memory>
#include <utility>

namespace {

const QStringList testControls = {
    "on_ground_state_button", "airspeed_slider", "vertical_speed_slider", "prop_airflow_slider",
    "engine_rpm_slider", "rotor_rpm_slider", "aoa_slider", "g_force_slider", "gear_slider",
    "flaps_slider", "airbrake_slider", "afterburner_slider", "shk_mag_slider", "shk_frq_slider",
    "drop_weight_spinner", "drop_weight_button", "damage_spinner", "damage_button", "fire_button_1",
    "fire_button_2", "fire_button_3", "fire_button_4", "fire_button_5", "countermeasures_button",
    "reset_telemetry_button"};

Telemetry simulatorRecord(bool huge)
{
    Telemetry t;
    t.airspeed = huge ? -1234567.0f : 512.25f;
    t.gForce = huge ? -3.40282e38f : 1.5f;
    t.engineRpm = huge ? -2147483647 - 1 : 2400;
    t.shakeMagnitude = huge ? -1000000000 : 30;
    t.verticalSpeed = -3.5f;
    t.aoa = 12.75f;
    t.rotorRpm = 320;
    t.propAirflow = 85;
    t.afterburner = 40;
    t.flaps = 25;
    t.airbrake = 10;
    t.gear = 100;
    t.shakeFrequency = 12;
    t.gunfireTriggers[1] = true;
    return t;
}

} // namespace

class TestStatusWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void scenario_data();
    void scenario();
    void landingJoltReachesTheBaseThroughTheWorker();

private:
    template <typename T> T* child(const QString& name) { return panel->findChild<T*>(name); }
    void step(const QString& step);
    void check(const QString& name, const QString& value);

    std::unique_ptr<StatusWidget> panel;
    QStringList events; // the panel's signals, in the order they came
};

void TestStatusWidget::initTestCase()
{
    DirectControlThread::registerMetaTypes();
}

void TestStatusWidget::init()
{
    panel = std::make_unique<StatusWidget>();
    events.clear();
    StatusWidget* p = panel.get();
    const auto note = [this](const QString& event) { events << event; };
    connect(p, &StatusWidget::telemetrySourceChanged, p,
            [=](Telemetry::Source s) { note(QString("source %1").arg(int(s))); });
    connect(p, &StatusWidget::telemetryOverrideEnabled, p, [=] { note("enabled"); });
    connect(p, &StatusWidget::telemetryOverrideDisabled, p, [=] { note("disabled"); });
    // "zero" for the all-zero record, else "record" and "+N" for each trigger N held.
    connect(p, &StatusWidget::telemetryChanged, p, [=](Telemetry t) {
        QString event = t == Telemetry() ? "zero" : "record";
        for (int i = 0; i < Telemetry::gunfireTriggerCount; ++i)
            event += t.gunfireTriggers[i] ? QString("+%1").arg(i + 1) : QString();
        note(event);
    });
    connect(p, &StatusWidget::landed, p, [=](float v, float a) { note(QString("landed %1 %2").arg(v).arg(a)); });
    connect(p, &StatusWidget::weaponReleased, p, [=](float w) { note(QString("weapon %1").arg(w)); });
    connect(p, &StatusWidget::damageReceived, p, [=](float d) { note(QString("damage %1").arg(d)); });
    connect(p, &StatusWidget::countermeasureReleased, p, [=] { note("countermeasure"); });
    connect(p, &StatusWidget::gearLock, p, [=] { note("gearLock"); });
    QVERIFY(WidgetTest::showExposed(p, QSize(460, 1000)));
}

// Rows: steps separated by ";" (see step(); "|" forgets the signals so far), the
// signals expected after the last "|", and "name=text" checks of fields, spin boxes,
// the combo's index and the 25 test controls.
void TestStatusWidget::scenario_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<QString>("shown");
    const QString none = "joystick_state=Not detected; rudder_state=Not detected; throttle_state=Not detected";
    const auto row = [](const char* name, const char* script, const char* emitted, const QString& shown) {
        QTest::newRow(name) << QString(script) << QString(emitted) << shown;
    };

    row("joystick, release candidate", "connect 1 1", "", "joystick_state=Connected (RC.24.1.2)");
    row("rudder, release", "connect 2 0", "", "rudder_state=Connected (R.24.1.2)");
    row("collective", "connect 4 1", "", "throttle_state=Connected (RC.24.1.2)");
    row("disconnected; wheel and generic change nothing",
        "connect 1 1; connect 4 0; disconnect 1; disconnect 4; connect 3 1; connect 0 1", "", none);
    row("pitch input with trim", "input 1 5000 -2500", "", "pitch_input=0.25; roll_input=");
    row("throttle input, typed into", "input 3 32767 32767; type throttle_input 9; type throttle_trim 9",
        "", "throttle_input=6.5534; throttle_trim=");
    row("axis 4 and -1", "input 4 5000 0; trim -1 5000 no", "",
        "roll_input=; pitch_input=; yaw_input=; throttle_input=; roll_trim=; throttle_trim=");
    row("trim and a released trim", "trim 0 12345 no; trim 3 -10000 no; trim 2 12345 release", "",
        "roll_trim=1.2345; throttle_trim=-1; yaw_trim=RELEASE");
    row("live values", "source 1; |; connect 1 1; connect 2 0; module F-16C_50; input 0 -2000 250; "
        "trim 3 0 release; record; shot status-panel-live", "",
        "on_ground_state_field=NO; airspeed_field=512.25; vertical_speed_field=-3.5; prop_airflow_field=85; "
        "engine_rpm_field=2400; rotor_rpm_field=320; aoa_field=12.75; g_force_field=1.5; gear_field=100; "
        "flaps_field=25; airbrake_field=10; afterburner_field=40; shk_mag_field=30; shk_frq_field=12; "
        "fire_field_1=; fire_field_2=FIRING; flight_module=F-16C_50; roll_input=-0.175; "
        "rudder_state=Connected (R.24.1.2); throttle_trim=RELEASE");
    row("whole numbers in a narrow panel", "source 1; |; record huge; narrow", "",
        "airspeed_field=-1.23457e+06; g_force_field=-3.40282e+38; engine_rpm_field=-2147483648; "
        "shk_mag_field=-1000000000");
    row("module name is plain text", "module <b>Su-25T</b> & <i>x</i>", "",
        "flight_module=<b>Su-25T</b> & <i>x</i>");
    row("module lost", "module Yak-52; lost", "", "flight_module=Not detected");
    row("records ignored in Debug", "source 0; |; record", "", "airspeed_field=0; gear_field=0; fire_field_2=");

    row("stored Debug runs its handler", "source 0", "enabled, source 0, zero", "combo=0; controls=on");
    row("source outside the combo", "source 10", "zero, disabled, source -1, zero, disabled, source 10",
        "combo=-1; controls=off");
    row("Debug to DCS", "source 0; set airspeed_slider 300; set gear_slider 50; |; pick 1",
        "zero, zero, zero, disabled, source 1", "combo=1; controls=off; airspeed_field=0");
    row("DCS to Debug", "source 1; pick 0; set airspeed_slider 300; pick 1; record; |; pick 0",
        "enabled, source 0, zero", "controls=on; airspeed_field=0");

    row("gear 99 to 100", "source 0; set gear_slider 99; |; set gear_slider 100", "record, gearLock", "gear_field=100");
    row("gear 100 to 99", "source 0; set gear_slider 100; |; set gear_slider 99", "record, gearLock", "gear_field=99");
    row("gear 0 to 1", "source 0; |; set gear_slider 1", "record, gearLock", "gear_field=1");
    row("gear 1 to 0", "source 0; set gear_slider 1; |; set gear_slider 0", "zero, gearLock", "gear_field=0");
    row("gear 100 to 0", "source 0; set gear_slider 100; |; set gear_slider 0", "zero, gearLock", "");
    row("gear 40 to 60", "source 0; set gear_slider 40; |; set gear_slider 60", "record", "gear_field=60");
    row("reset with the gear at 100", "source 0; set gear_slider 100; |; click reset_telemetry_button",
        "zero, zero", "gear_field=0");

    row("first landing", "source 0; set vertical_speed_slider -3; set airspeed_slider 200; |; "
        "click on_ground_state_button", "landed -3 200, record", "on_ground_state_field=YES");
    row("take-off", "source 0; click on_ground_state_button; |; click on_ground_state_button",
        "zero", "on_ground_state_field=NO");
    row("release 750 kg", "source 0; set drop_weight_spinner 750; |; click drop_weight_button", "weapon 750",
        "drop_weight_spinner=750");
    row("receive 40 %", "source 0; set damage_spinner 40; |; click damage_button", "damage 40", "damage_spinner=40");
    row("countermeasures", "source 0; set damage_spinner 30; |; click countermeasures_button", "countermeasure",
        "damage_spinner=30");
    const QString cleared = "drop_weight_spinner=0; damage_spinner=0";
    row("spin boxes after a slider move", "source 0; set drop_weight_spinner 5; set damage_spinner 5; |; "
        "key flaps_slider", "record", cleared + "; flaps_field=1");
    row("spin boxes after a toggle", "source 0; set drop_weight_spinner 5; set damage_spinner 5; |; "
        "click on_ground_state_button", "landed 0 0, record", cleared);
    row("spin boxes after a reset", "source 0; set drop_weight_spinner 5; set damage_spinner 5; |; "
        "click reset_telemetry_button", "zero", cleared);
    row("trigger 3 held across a slider move", "source 0; set airspeed_slider 450; set gear_slider 100; "
        "set aoa_slider 8; |; press fire_button_3; key airspeed_slider; shot test-panel",
        "record+3, record+3", "fire_field_3=FIRING; airspeed_field=451; gear_field=100");
    row("trigger 3 let go", "source 0; press fire_button_3; key airspeed_slider; |; release fire_button_3",
        "record", "fire_field_3=; airspeed_field=1");
    row("trigger 1", "source 0; |; press fire_button_1; release fire_button_1", "record+1, zero", "fire_field_1=");
    row("trigger 5", "source 0; |; press fire_button_5", "record+5", "fire_field_5=FIRING");
}

void TestStatusWidget::scenario()
{
    QFETCH(QString, script);
    QFETCH(QString, emitted);
    QFETCH(QString, shown);
    for (const QString& s : script.split(';', Qt::SkipEmptyParts))
        step(s.trimmed());
    QCOMPARE(events.join(", "), emitted);
    for (const QString& c : shown.split(';', Qt::SkipEmptyParts))
        check(c.trimmed().section('=', 0, 0), c.mid(c.indexOf('=') + 1));
}

// The user's steps: pick (the combo with arrow keys), key (Right on a slider), type,
// click, press, release; set (a slider or spin box); the worker's: record, module,
// lost, connect, disconnect, input, trim; the window's: source (at start-up), narrow.
void TestStatusWidget::step(const QString& step)
{
    const QStringList w = step.split(' ');
    const QString verb = w[0];
    const QString arg = w.value(1);
    const int n = w.value(2).toInt();
    QComboBox* combo = child<QComboBox>("telemetry_data_source_combo");
    if (verb == "|")
        events.clear();
    else if (verb == "source")
        panel->setupForTelemetrySource(Telemetry::Source(arg.toInt()));
    else if (verb == "pick") // as the user does, with the arrow keys
        while (combo->currentIndex() != arg.toInt())
            QTest::keyClick(combo, combo->currentIndex() < arg.toInt() ? Qt::Key_Down : Qt::Key_Up);
    else if (verb == "set" && child<QSlider>(arg))
        child<QSlider>(arg)->setValue(n);
    else if (verb == "set")
        child<QSpinBox>(arg)->setValue(n);
    else if (verb == "key")
        QTest::keyClick(child<QWidget>(arg), Qt::Key_Right);
    else if (verb == "type")
        QTest::keyClicks(child<QWidget>(arg), w[2]);
    else if (verb == "click")
        QTest::mouseClick(child<QWidget>(arg), Qt::LeftButton);
    else if (verb == "press")
        QTest::mousePress(child<QWidget>(arg), Qt::LeftButton);
    else if (verb == "release")
        QTest::mouseRelease(child<QWidget>(arg), Qt::LeftButton);
    else if (verb == "record")
        panel->changeTelemetry(simulatorRecord(arg == "huge"));
    else if (verb == "module")
        panel->changeFlightModule(Telemetry::TELEMETRY_SOURCE_DCS, step.mid(7));
    else if (verb == "lost")
        panel->endTelemetry();
    else if (verb == "connect")
        panel->connectDevice(DeviceTypeEnum(arg.toInt()), {uint8_t(n), 24, 1, 2});
    else if (verb == "disconnect")
        panel->disconnectDevice(DeviceTypeEnum(arg.toInt()));
    else if (verb == "input")
        panel->changeInputState(arg.toInt(), n, w.value(3).toInt());
    else if (verb == "trim")
        panel->changeTrimData(arg.toInt(), n, w.value(3) == "release");
    else if (verb == "narrow")
        panel->resize(panel->minimumSizeHint());
    else if (verb == "shot")
        QVERIFY(!WidgetTest::saveScreenshot(panel.get(), arg).isEmpty());
    else
        QFAIL(qPrintable("unknown step " + step));
}

void TestStatusWidget::check(const QString& name, const QString& value)
{
    if (name == "controls") {
        for (const QString& control : testControls)
            QCOMPARE(child<QWidget>(control)->isEnabled(), value == "on");
    } else if (name == "combo") {
        QCOMPARE(child<QComboBox>("telemetry_data_source_combo")->currentIndex(), value.toInt());
    } else if (QSpinBox* spinner = child<QSpinBox>(name)) {
        QCOMPARE(spinner->text(), value);
    } else {
        QLineEdit* field = child<QLineEdit>(name);
        QVERIFY2(field, qPrintable(name));
        QCOMPARE(field->text(), value);
        QVERIFY(field->isReadOnly());
        // The whole text fits: 4 pixels of frame and margin on each side.
        QVERIFY(field->width() >= field->fontMetrics().horizontalAdvance(value) + 8);
    }
}

void TestStatusWidget::landingJoltReachesTheBaseThroughTheWorker()
{
    WidgetTest::ScopedWorkingDirectory folder;
    QVERIFY(folder.isValid());
    QSettings(folder.filePath("config.ini"), QSettings::IniFormat)
        .setValue("CORE/default_telemetry", 0);
    BaseEmulator::reset();
    BaseEmulator::addBase(PRODUCT_ID_RUDDER);
    const std::string reportLog = folder.filePath("reports.log").toStdString();
    BaseEmulator::setReportLogFile(reportLog);

    // The worker's clock; it outlives the worker, which reads it on its own thread.
    std::atomic<qint64> now{0};
    HeadlessHarness harness;
    DirectControlThread* worker = harness.worker();
    worker->setClock([&now] { return now.load(); });
    // The window's wiring of the panel's events and records.
    connect(panel.get(), &StatusWidget::telemetrySourceChanged, worker,
            &DirectControlThread::listenTelemetrySource);
    connect(panel.get(), &StatusWidget::telemetryChanged, worker, &DirectControlThread::changeTelemetry);
    connect(panel.get(), &StatusWidget::landed, worker, &DirectControlThread::startLandingJolt);
    // Only the rudder's landing jolt, sized by airspeed / 10 and full for any descent.
    EffectsSettings settings = quietSettings();
    settings.axes[2].landingJolt.active = true;
    setTenthCurve(settings.axes[2].landingJolt.curve1);
    setFlatCurve(settings.axes[2].landingJolt.curve2, 100.0f);
    worker->changeSettingsModerately(settings);
    harness.startWorker();
    QVERIFY(worker->thread() != QThread::currentThread());

    const auto joltReports = [&] { return shakingReports(PRODUCT_ID_RUDDER, BaseEmulator::readReportLog(reportLog)); };
    panel->setupForTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
    child<QSlider>("vertical_speed_slider")->setValue(-3);
    child<QSlider>("airspeed_slider")->setValue(200);
    QVERIFY(spinUntil([] { return !BaseEmulator::writtenReports(PRODUCT_ID_RUDDER).empty(); }));
    now += 1001; // past the fade-in
    spin(100);
    QCOMPARE(joltReports(), 0);

    // Swapped, the speeds would be an airspeed of -3 and a climb, which shakes nothing.
    // The clock moves on 2 ms only once the worker has sent another rudder report, so the
    // 100 ms jolt spans dozens of reports however late a busy machine runs the worker.
    size_t seen = BaseEmulator::writtenReports(PRODUCT_ID_RUDDER).size();
    QTest::mouseClick(child<QWidget>("on_ground_state_button"), Qt::LeftButton);
    QVERIFY(spinUntil([&] {
        const size_t sent = BaseEmulator::writtenReports(PRODUCT_ID_RUDDER).size();
        now += std::exchange(seen, sent) < sent ? 2 : 0;
        return joltReports() > 0;
    }, 10000));
    harness.shutDown();
    BaseEmulator::setReportLogFile("");
}

QTEST_MAIN(TestStatusWidget)
#include "tst_statuswidget.moc"
