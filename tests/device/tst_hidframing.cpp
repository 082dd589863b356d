#include "hidframing.h"
#include "wireconversion.h"

#include <QTest>


namespace {

QByteArray bytesOf(const HidInOutReportTypeDef& report)
{
    return QByteArray(reinterpret_cast<const char*>(&report), sizeof(report));
}

// The hex of a report's leading bytes, the rest of the 65 being zero.
QByteArray report(const char* hex)
{
    QByteArray bytes = QByteArray::fromHex(hex);
    bytes.append(QByteArray(65 - bytes.size(), '\0'));
    return bytes;
}

HidInOutReportTypeDef filledWith(uint8_t value)
{
    HidInOutReportTypeDef report;
    memset(reinterpret_cast<uint8_t*>(&report), value, sizeof(report));
    return report;
}

}

class TestHidFraming : public QObject
{
    Q_OBJECT

private slots:
    void effectAxesMapToBasesAndTheirAxes_data();
    void effectAxesMapToBasesAndTheirAxes();
    void productIdsIdentifyTheBaseTypes_data();
    void productIdsIdentifyTheBaseTypes();
    void directControlReportLayout();
    void directControlReportCarriesTheDeviceAxis_data();
    void directControlReportCarriesTheDeviceAxis();
    void curveReportLayout();
    void gameIdReportLayout();
    void uint8OverrideSetsOnlyItsBytes();
    void uint16OverrideIsLittleEndian();
    void bufferOverrideAcceptsUpToItsLimit_data();
    void bufferOverrideAcceptsUpToItsLimit();
};

void TestHidFraming::effectAxesMapToBasesAndTheirAxes_data()
{
    QTest::addColumn<int>("effectAxis");
    QTest::addColumn<DeviceTypeEnum>("device");
    QTest::addColumn<int>("deviceAxis");
    QTest::newRow("ailerons") << 0 << DEVICE_TYPE_JOYSTICK << 0;
    QTest::newRow("elevator") << 1 << DEVICE_TYPE_JOYSTICK << 1;
    QTest::newRow("rudder") << 2 << DEVICE_TYPE_RUDDER << 0;
    QTest::newRow("collective") << 3 << DEVICE_TYPE_COLLECTIVE << 0;
    QTest::newRow("beyond the axes") << 5 << DEVICE_TYPE_JOYSTICK << 5;
    QTest::newRow("negative") << -1 << DEVICE_TYPE_JOYSTICK << -1;
}

void TestHidFraming::effectAxesMapToBasesAndTheirAxes()
{
    QFETCH(int, effectAxis);
    QFETCH(DeviceTypeEnum, device);
    QFETCH(int, deviceAxis);
    QCOMPARE(deviceForEffectAxis(effectAxis), device);
    QCOMPARE(deviceAxisForEffectAxis(effectAxis), deviceAxis);
}

void TestHidFraming::productIdsIdentifyTheBaseTypes_data()
{
    QTest::addColumn<DeviceTypeEnum>("type");
    QTest::addColumn<int>("productId");
    QTest::newRow("generic") << DEVICE_TYPE_GENERIC << 22000;
    QTest::newRow("joystick") << DEVICE_TYPE_JOYSTICK << 22777;
    QTest::newRow("rudder") << DEVICE_TYPE_RUDDER << 22888;
    QTest::newRow("wheel") << DEVICE_TYPE_WHEEL << 22999;
    QTest::newRow("collective") << DEVICE_TYPE_COLLECTIVE << 22001;
    QTest::newRow("unknown") << DeviceTypeEnum(9) << 0;
}

void TestHidFraming::productIdsIdentifyTheBaseTypes()
{
    QFETCH(DeviceTypeEnum, type);
    QFETCH(int, productId);
    QCOMPARE(productIdForDeviceType(type), productId);
    QCOMPARE(DEVICE_VENDOR_ID, 0x045B);
}

void TestHidFraming::directControlReportLayout()
{
    DirectControlTypeDef forces;
    forces.springForce = toWireForce(150.0f, 1.0f);        // 10000 = 10 27
    forces.constantForce = toWireForce(-250.0f, 1.0f);     // -10000 = f0 d8
    forces.periodicForce = toWireForce(12.345f, 1.0f);     // 1234 = d2 04
    forces.damperForce = toWireDamper(150.0f, 1.0f);       // 15000 = 98 3a
    forces.hardwareTrim = toWireHardwareTrim(-1);          // ff ff
    forces.forceRelease = toWireForceRelease(50.0f);       // 32
    forces.staticDampening = toWireInt16(strengthScaled(30.5f, 50)); // 15 = 0f 00
    forces.dynamicDampening = toWireInt16(-2.0f);          // fe ff
    forces.directXForce = toWireByte(1.0f);
    forces.directXPeriodic = toWireByte(2.0f);
    forces.directXTrimmer = toWireByte(3.0f);
    forces.integratedSpringStrength = toWireByte(200.0f);  // c8
    forces.integratedSpringDampening = toWireByte(7.0f);

    HidInOutReportTypeDef built = filledWith(0xEE);
    HidFraming::createDirectControlReport(&built, 1, forces);

    QCOMPARE(bytesOf(built),
             report("a3 10 01 01 1027 f0d8 d204 983a ffff 32 0f00 feff 01 02 03 c8 07"));
}

void TestHidFraming::directControlReportCarriesTheDeviceAxis_data()
{
    QTest::addColumn<int>("effectAxis");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ailerons") << 0 << report("a3 10 01 00 e803");
    QTest::newRow("elevator") << 1 << report("a3 10 01 01 e803");
    QTest::newRow("rudder") << 2 << report("a3 10 01 00 e803");
    QTest::newRow("collective") << 3 << report("a3 10 01 00 e803");
}

void TestHidFraming::directControlReportCarriesTheDeviceAxis()
{
    QFETCH(int, effectAxis);
    QFETCH(QByteArray, expected);
    DirectControlTypeDef forces;
    forces.springForce = toWireForce(10.0f, 1.0f);
    HidInOutReportTypeDef built;
    HidFraming::createDirectControlReport(&built, uint8_t(deviceAxisForEffectAxis(effectAxis)),
                                          forces);
    QCOMPARE(bytesOf(built), expected);
}

void TestHidFraming::curveReportLayout()
{
    CurveTransferTypeDef curve;
    curve.points[0].in = toWireCurvePoint(-37.5f);  // -3750 = 5a f1
    curve.points[0].out = toWireCurvePoint(12.34f); // 1234 = d2 04
    curve.points[1].in = toWireCurvePoint(100.0f);  // 10000 = 10 27
    curve.points[1].out = toWireCurvePoint(-100.0f);
    curve.points[10].in = toWireCurvePoint(0.01f);  // 1
    curve.points[10].out = toWireCurvePoint(-0.01f);

    HidInOutReportTypeDef built = filledWith(0xEE);
    HidFraming::createCurveTransferReport(&built, 1, curve);

    QCOMPARE(bytesOf(built), report("a3 10 00 01 5af1 d204 1027 f0d8"
                                    "00000000 00000000 00000000 00000000"
                                    "00000000 00000000 00000000 00000000"
                                    "0100 ffff"));
}

void TestHidFraming::gameIdReportLayout()
{
    HidInOutReportTypeDef built = filledWith(0xEE);
    HidFraming::createGameIdReport(&built, 5);
    QCOMPARE(bytesOf(built), report("a3 10 02 00 05"));
}

void TestHidFraming::uint8OverrideSetsOnlyItsBytes()
{
    HidInOutReportTypeDef built = filledWith(0xEE);
    HidFraming::createUInt8OverrideReport(&built, TELEMETRY_OVERRIDE_GAME_ID, 3, 0x42);
    QByteArray expected = QByteArray::fromHex("a3 10 02 03 42");
    expected.append(QByteArray(60, char(0xEE)));
    QCOMPARE(bytesOf(built), expected);
}

void TestHidFraming::uint16OverrideIsLittleEndian()
{
    HidInOutReportTypeDef built = filledWith(0xEE);
    HidFraming::createUInt16OverrideReport(&built, TELEMETRY_OVERRIDE_DIRECT_CONTROL, 1, 0x1234);
    QByteArray expected = QByteArray::fromHex("a3 10 01 01 34 12");
    expected.append(QByteArray(59, char(0xEE)));
    QCOMPARE(bytesOf(built), expected);
}

void TestHidFraming::bufferOverrideAcceptsUpToItsLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << 0 << true;
    QTest::newRow("one") << 1 << true;
    QTest::newRow("fills the report") << 61 << true;
    QTest::newRow("one byte too many") << 62 << false;
    QTest::newRow("largest size byte") << 255 << false;
}

void TestHidFraming::bufferOverrideAcceptsUpToItsLimit()
{
    QFETCH(int, size);
    QFETCH(bool, accepted);
    QByteArray payload(256, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(i + 1);

    HidInOutReportTypeDef built = filledWith(0xEE);
    const HidInOutReportTypeDef before = built;
    if (!accepted)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused"));
    const bool result = HidFraming::createBufferOverrideReport(
        &built, TELEMETRY_OVERRIDE_DIRECT_CONTROL, 2,
        reinterpret_cast<const uint8_t*>(payload.constData()), uint8_t(size));

    QCOMPARE(result, accepted);
    if (!accepted) {
        QCOMPARE(bytesOf(built), bytesOf(before));
        return;
    }
    QByteArray expected = QByteArray::fromHex("a3 10 01 02") + payload.left(size);
    expected.append(QByteArray(61 - size, char(0xEE)));
    QCOMPARE(bytesOf(built), expected);
}

QTEST_GUILESS_MAIN(TestHidFraming)
#include "tst_hidframing.moc"
