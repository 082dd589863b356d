#include "settingslimits.h"
#include "settingsreports.h"

#include <QTest>

#include <cstring>
#include <limits>

enum Builder { Int8, UInt8, Int16, UInt16, Float, Command };

class TestSettingsReports : public QObject
{
    Q_OBJECT

private slots:
    void buildersWriteOnlyHeaderAndValue_data()
    {
        QTest::addColumn<int>("builder");
        QTest::addColumn<int>("field"); // the command for Command
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("uint16 0x1234") << int(UInt16) << 5 << 1 << double(0x1234) << QByteArray::fromHex("a3140501 3412");
        QTest::newRow("int16 -2") << int(Int16) << 8 << 0 << -2.0 << QByteArray::fromHex("a3140800 feff");
        QTest::newRow("int8 -1") << int(Int8) << 21 << 1 << -1.0 << QByteArray::fromHex("a3141501 ff");
        QTest::newRow("uint8 255") << int(UInt8) << 43 << 1 << 255.0 << QByteArray::fromHex("a3142b01 ff");
        QTest::newRow("float 1.0") << int(Float) << 25 << 0 << 1.0 << QByteArray::fromHex("a3141900 0000803f");
        QTest::newRow("field low byte") << int(UInt8) << 0x12B << 0 << 0.0 << QByteArray::fromHex("a3142b00 00");
        QTest::newRow("reboot") << int(Command) << 0x01 << 0 << 0.0 << QByteArray::fromHex("a301");
        QTest::newRow("save") << int(Command) << 0x02 << 0 << 0.0 << QByteArray::fromHex("a302");
        QTest::newRow("firmware update") << int(Command) << 0x03 << 0 << 0.0 << QByteArray::fromHex("a303");
    }

    // On a zeroed report the builder gives the whole 65 bytes; on a filled one it leaves
    // every byte after its own alone.
    void buildersWriteOnlyHeaderAndValue()
    {
        QFETCH(int, builder);
        QFETCH(int, field);
        QFETCH(int, index);
        QFETCH(double, value);
        QFETCH(QByteArray, bytes);
        for (const char fill : {'\0', '\x5a'}) {
            HidInOutReportTypeDef report;
            std::memset(static_cast<void*>(&report), fill, sizeof(report));
            const auto f = SettingsFieldEnum(field);
            const auto i = int8_t(index);
            switch (Builder(builder)) {
            case Int8: createInt8SettingReport(&report, f, i, int8_t(value)); break;
            case UInt8: createUInt8SettingReport(&report, f, i, uint8_t(value)); break;
            case Int16: createInt16SettingReport(&report, f, i, int16_t(value)); break;
            case UInt16: createUInt16SettingReport(&report, f, i, uint16_t(value)); break;
            case Float: createFloatSettingReport(&report, f, i, float(value)); break;
            case Command: createCommandReport(&report, ReportDataTypeEnum(field)); break;
            }
            const QByteArray built(reinterpret_cast<const char*>(&report), sizeof(report));
            QCOMPARE(built, bytes + QByteArray(65 - bytes.size(), fill));
        }
    }

    void settingsOutsideTheirFieldAreRefused_data()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
            QTest::addColumn<int>("field");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("motion range at its top") << 5 << 1 << 9999.0 << 2 << true;
        QTest::newRow("motion range above") << 5 << 0 << 10000.0 << 2 << false;
        QTest::newRow("axis 2") << 4 << 2 << 50.0 << 1 << false;
        QTest::newRow("soft stop range below 1") << 7 << 0 << 0.0 << 1 << false;
        QTest::newRow("direction -1") << 21 << 1 << -1.0 << 1 << true;
        QTest::newRow("direction 0") << 22 << 0 << 0.0 << 1 << false;
        QTest::newRow("P gain 1") << 25 << 1 << 1.0 << 4 << true;
        QTest::newRow("P gain above 1") << 25 << 0 << 1.01 << 4 << false;
        QTest::newRow("P gain NaN") << 25 << 0 << nan << 4 << false;
        QTest::newRow("float for a uint8 field") << 1 << 0 << 50.0 << 4 << false;
        QTest::newRow("button 32, inverted") << 29 << 31 << 2.0 << 1 << true;
        QTest::newRow("reset center on index 1") << 41 << 1 << 1.0 << 1 << true;
        QTest::newRow("reset center on index 0") << 41 << 0 << 1.0 << 1 << false;
        QTest::newRow("field 44") << 44 << 0 << 0.0 << 1 << false;
    }

    void settingsOutsideTheirFieldAreRefused()
    {
        QFETCH(int, field);
        QFETCH(int, index);
        QFETCH(double, value);
        QFETCH(int, width);
        QTEST(settingWithinLimits(SettingsFieldEnum(field), index, value, width, width == 4), "accepted");
    }
};

QTEST_GUILESS_MAIN(TestSettingsReports)
#include "tst_settingsreports.moc"
