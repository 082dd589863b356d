#include "effectssettings.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

class Sender : public QObject
{
    Q_OBJECT

signals:
    void settingsChanged(EffectsSettings settings);
    void springChanged(int effectAxis, SimpleSpringSettings settings);
    void acknowledged();
};

// Lives on the worker thread, like the force engine that receives the editor's settings.
class Receiver : public QObject
{
    Q_OBJECT

public:
    EffectsSettings settings;
    SimpleSpringSettings spring;
    QThread* settingsThread = nullptr;

public slots:
    void changeSettings(EffectsSettings received)
    {
        settings = received;
        settingsThread = QThread::currentThread();
        emit taken();
    }
    void changeSpring(int, SimpleSpringSettings received)
    {
        spring = received;
        emit taken();
    }

signals:
    void taken();
};

EffectsSettings someActiveEffects()
{
    EffectsSettings settings;
    settings.axes[0].airspeedSpring.active = true;
    settings.axes[0].airspeedSpring.total_effect_strength = 70;
    settings.axes[1].gunfireShaker.active = true;
    settings.axes[1].gunfireShaker.gunfire[3].base_frequency = 13;
    settings.axes[2].smartDamper.static_dampening = 4.5f;
    settings.axes[3].landingJolt.active = true;
    settings.axes[3].landingJolt.curve2.points[7] = {7.5f, 33.0f};
    return settings;
}

}

class TestEffectsSettingsThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void queuedSettingsArriveEqualAndIndependent();
};

void TestEffectsSettingsThread::initTestCase()
{
    EffectsSettings::registerMetaType();
    SimpleSpringSettings::registerMetaType();
    QVERIFY(QMetaType::fromName("EffectsSettings").isValid());
    QVERIFY(QMetaType::fromName("SimpleSpringSettings").isValid());
}

void TestEffectsSettingsThread::queuedSettingsArriveEqualAndIndependent()
{
    QThread worker;
    worker.start();
    auto* receiver = new Receiver;
    receiver->moveToThread(&worker);
    connect(&worker, &QThread::finished, receiver, &QObject::deleteLater);

    Sender sender;
    connect(&sender, &Sender::settingsChanged, receiver, &Receiver::changeSettings);
    connect(&sender, &Sender::springChanged, receiver, &Receiver::changeSpring);
    connect(receiver, &Receiver::taken, &sender, &Sender::acknowledged); // back to this thread
    QSignalSpy spy(&sender, &Sender::acknowledged);

    EffectsSettings edited = someActiveEffects();
    const EffectsSettings snapshot = edited;
    emit sender.settingsChanged(edited);
    // The editor keeps editing its own record at once; the worker's copy must not follow.
    edited.axes[0].airspeedSpring.total_effect_strength = 5;
    edited.axes[3].landingJolt.curve2.points[7].out = 99.0f;
    SimpleSpringSettings spring = edited.axes[2].simpleSpring;
    spring.active = true;
    spring.curve1.points[0].out = -42.0f;
    emit sender.springChanged(2, spring);
    spring.curve1.points[0].out = 0.0f;

    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 5000);

    EffectsSettings received;
    SimpleSpringSettings receivedSpring;
    QThread* thread = nullptr;
    QMetaObject::invokeMethod(receiver, [&] {
        received = receiver->settings;
        receivedSpring = receiver->spring;
        thread = receiver->settingsThread;
    }, Qt::BlockingQueuedConnection);
    worker.quit();
    QVERIFY(worker.wait(5000));

    QCOMPARE(thread, &worker);
    QVERIFY(received == snapshot);
    QVERIFY(received != edited);
    QCOMPARE(receivedSpring.active, true);
    QCOMPARE(receivedSpring.curve1.points[0].out, -42.0f);
}

QTEST_GUILESS_MAIN(TestEffectsSettingsThread)
#include "tst_effectssettingsthread.moc"
