// A second stop signal to the real torquix-commander: part of the stop under way until
// every base has been sent zero forces, then, or once a zero-force write has hung for the
// grace time, the end of the process.
#include "commanderflight.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

using namespace CommanderFlight;

namespace {

// The joystick's and the rudder's axes hold a spring of airspeed / 10 percent.
EffectsSettings springsOnJoystickAndRudder()
{
    EffectsSettings settings = airspeedSpringSettings(2);
    for (int axis : {0, 1})
        settings.axes[axis].airspeedSpring = settings.axes[2].airspeedSpring;
    return settings;
}

} // namespace

class TestSecondStopSignal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void backToBackSignalsLeaveEveryBaseWithoutForce_data();
    void backToBackSignalsLeaveEveryBaseWithoutForce();
    void hungZeroForceWriteEndsOnASignalAfterTheGraceTime();

private:
    // Starts the commander with every base connected, the joystick and the rudder under force.
    void startFlying(const QString& zeroForceStall = {});

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ProgramProcess> program;
};

void TestSecondStopSignal::init()
{
    program.reset();
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    program.reset(new ProgramProcess(TORQUIX_COMMANDER, dir->path()));
}

void TestSecondStopSignal::startFlying(const QString& zeroForceStall)
{
    const quint16 dcsPort = freeUdpPort();
    prepareDcsFlight(dir->path(), dcsPort, "Jet-7", springsOnJoystickAndRudder());
    if (!zeroForceStall.isEmpty())
        program->setEnvironmentValue("TORQUIX_EMULATOR_STALL_ZERO_FORCES", zeroForceStall);
    QVERIFY(program->start(threeBases));
    QTRY_COMPARE_WITH_TIMEOUT(program->ask(baseStates), everyBaseConnected, ProgramProcess::discoveryMs);
    QVERIFY(flyUntilRudderSpring(*program, dcsPort, 250, 2500));
    QCOMPARE(axesLeftWithForce(program->reports()), "joystick 0, joystick 1, rudder 0");
}

void TestSecondStopSignal::backToBackSignalsLeaveEveryBaseWithoutForce_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("gapMs");
    // A session end or a service manager; an impatient Ctrl+C; a stop sent twice.
    const std::pair<const char*, std::pair<int, int>> pairs[] = {
        {"SIGTERM+SIGHUP", {SIGTERM, SIGHUP}}, {"SIGINT+SIGINT", {SIGINT, SIGINT}}, {"SIGTERM+SIGTERM", {SIGTERM, SIGTERM}}};
    for (const auto& [name, pair] : pairs) {
        for (int gapMs : {0, 1, 5})
            QTest::addRow("%s %d ms", name, gapMs) << pair.first << pair.second << gapMs;
    }
}

// The bases are zeroed some milliseconds after the first signal, on the worker: a second
// one in that time must not end the process; one after it may.
void TestSecondStopSignal::backToBackSignalsLeaveEveryBaseWithoutForce()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, gapMs);
    for (int run = 1; run <= 3; ++run) {
        if (run > 1)
            init();
        startFlying();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(::kill(pid_t(program->processId()), first), 0);
        QThread::usleep(gapMs * 1000);
        const QString end = program->finish(second);
        QVERIFY2(end == cleanEnd || end == QString(" code crashed by signal %1").arg(second), qPrintable(end));
        QVERIFY2(axesLeftWithForce(program->reports()).isEmpty(),
                 qPrintable(QString("run %1 left %2 with force").arg(run).arg(axesLeftWithForce(program->reports()))));
    }
}

// The first zero-force write never returns: signals within the grace time change nothing;
// after it, a signal ends the process by that signal.
void TestSecondStopSignal::hungZeroForceWriteEndsOnASignalAfterTheGraceTime()
{
    const QString armed = dir->filePath("stall zero forces");
    startFlying(armed);
    QVERIFY(QFile(armed).open(QIODevice::WriteOnly));
    const auto pid = pid_t(program->processId());
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    QCOMPARE(::kill(pid, SIGTERM), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(armed), 10000);
    // The process took the first signal no earlier than it was sent.
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        if (sinceFirst.elapsed() < 1900)
            QCOMPARE(::kill(pid, signalNumber), 0);
    }
    QTest::qWait(std::max(0, 2000 - int(sinceFirst.elapsed())));
    QVERIFY(program->isRunning());
    for (QDeadlineTimer deadline(10000); program->isRunning() && !deadline.hasExpired(); QTest::qWait(50))
        ::kill(pid, SIGHUP);
    QCOMPARE(program->waitForEnd(), QString(" code crashed by signal %1").arg(SIGHUP));
}

QTEST_GUILESS_MAIN(TestSecondStopSignal)
#include "tst_secondstopsignal.moc"
