#include "baseemulator.h"
#include "fullhardwaresettingswidget.h"
#include "settingslimits.h"
#include "settingsuibackgroundthread.h"
#include "widgettest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <limits>
#include <memory>

using Worker = SettingsUiBackgroundThread;

namespace {

// Each setting a page sends as "type field index value", marked when the worker would
// refuse it.
template <typename Page>
void record(Page* page, QStringList* sent)
{
    const auto add = [page, sent](auto signal, const char* type) {
        QObject::connect(page, signal, page, [sent, type](SettingsFieldEnum field, int8_t index, auto value) {
            const bool ok = settingWithinLimits(field, index, double(value), int(sizeof(value)), type[0] == 'f');
            *sent << QStringLiteral("%1 %2 %3 %4%5").arg(type).arg(field).arg(index).arg(double(value)).arg(ok ? "" : " refused");
        });
    };
    add(&Page::settingInt8Changed, "int8"), add(&Page::settingUInt8Changed, "uint8");
    add(&Page::settingInt16Changed, "int16"), add(&Page::settingUInt16Changed, "uint16");
    add(&Page::settingFloatChanged, "float");
}

// As the main window forwards a page's settings to the selected base.
template <typename Page>
void wire(Page* page, Worker* worker, int pid)
{
    QObject::connect(page, &Page::settingUInt8Changed, worker, [=](auto f, auto i, auto d) { worker->sendUInt8SettingReport(pid, f, i, d); });
    QObject::connect(page, &Page::settingUInt16Changed, worker, [=](auto f, auto i, auto d) { worker->sendUInt16SettingReport(pid, f, i, d); });
    QObject::connect(page, &Page::settingFloatChanged, worker, [=](auto f, auto i, auto d) { worker->sendFloatSettingReport(pid, f, i, d); });
}

// Every value differs from a new page's; some lie outside the controls or are no number.
HardwareSettingsTypeDef hardwareRecord()
{
    HardwareSettingsTypeDef record{5, 1, 2, 1, 40, 150, 60, 70, 80, 0, {}, {}};
    record.axis[0] = {1, 0, 7, 4096, 0.53f, 120.9f};
    record.axis[1] = {-1, 1, 120, 65535, 1e30f, std::numeric_limits<float>::quiet_NaN()};
    return record;
}

} // namespace

class TestSettingsPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<FullHardwareSettingsWidget> hardware;
    QStringList sent;

    template <typename T = QWidget>
    T* child(const char* name) const { return hardware->findChild<T*>(QLatin1String(name)); }
    // Values of spin boxes and sliders, 1 or 0 for check boxes.
    void expectShown(std::initializer_list<std::pair<const char*, int>> expected) const
    {
        for (auto [name, value] : expected)
            QVERIFY2(child(name)->property(child<QCheckBox>(name) ? "checked" : "value").toInt() == value, name);
    }

private slots:
    void init()
    {
        sent.clear();
        hardware = std::make_unique<FullHardwareSettingsWidget>();
        record(hardware.get(), &sent);
    }

    void cleanup() { hardware.reset(); }

    // The calibration list is refilled, gains show rounded or clamped, the calibration
    // speed slider keeps its widest maximum: nothing is sent.
    void loadedRecordsSendNothing()
    {
        hardware->setDeviceType(DEVICE_TYPE_JOYSTICK, false);
        hardware->settingsToUi(hardwareRecord());
        expectShown({{"calibration_speed_slider", 150}, {"speed_sample_buffer_size", 2}, {"axis0_p_gain", 53},
                     {"axis0_i_gain", 120}, {"axis1_p_gain", 100}, {"axis1_i_gain", 0}, {"force_enable", 1},
                     {"axis0_encoder_direction", 1}, {"axis1_encoder_direction", 0}});
        HardwareSettingsTypeDef slower{};
        slower.calibrationSpeed = 80;
        hardware->settingsToUi(slower);
        expectShown({{"calibration_speed_slider", 80}});
        QCOMPARE(child<QSlider>("calibration_speed_slider")->maximum(), 150);
        QCOMPARE(sent, QStringList());
    }

    void controlsFollowTheBaseType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("advanced");
        QTest::newRow("joystick") << 1 << false;
        QTest::newRow("rudder") << 2 << true;
        QTest::newRow("wheel") << 3 << false;
        QTest::newRow("collective") << 4 << true;
    }

    // The page shows what the type has; screenshots.
    void controlsFollowTheBaseType()
    {
        QFETCH(int, type);
        QFETCH(bool, advanced);
        hardware->setDeviceType(DeviceTypeEnum(type), advanced);
        hardware->settingsToUi(hardwareRecord());
        QCOMPARE(hardware->findChild<QTabWidget*>()->isTabVisible(1), type == DEVICE_TYPE_JOYSTICK);
        QCOMPARE(static_cast<QListView*>(child<QComboBox>("calibration_mode")->view())->isRowHidden(2), type == DEVICE_TYPE_WHEEL);
        for (const char* name : {"amplifier_gain", "amplifier_gain_label"})
            QCOMPARE(child(name)->isVisibleTo(hardware.get()), advanced);
        QVERIFY(WidgetTest::showExposed(hardware.get(), QSize(600, 520)));
        QVERIFY(!WidgetTest::saveScreenshot(hardware.get(), QString("controller_") + QTest::currentDataTag()).isEmpty());
        QCOMPARE(sent, QStringList());
    }

    // Every control to both ends of its range, every box toggled, every item picked: the
    // worker accepts each value, and each of the 16 fields of the page is sent.
    void everyEditIsWithinTheWorkersLimits()
    {
        hardware->settingsToUi(hardwareRecord());
        for (auto* slider : hardware->findChildren<QAbstractSlider*>())
            slider->setValue(slider->maximum()), slider->setValue(slider->minimum());
        for (auto* spin : hardware->findChildren<QSpinBox*>())
            spin->setValue(spin->maximum()), spin->setValue(spin->minimum());
        for (auto* box : hardware->findChildren<QCheckBox*>())
            box->toggle(), box->toggle();
        for (auto* combo : hardware->findChildren<QComboBox*>()) {
            for (int index = combo->count() - 1; index >= 0; --index)
                combo->setCurrentIndex(index);
        }
        QSet<QString> fields;
        for (const QString& setting : sent)
            fields << setting.section(' ', 1, 1);
        QCOMPARE(sent.filter("refused"), QStringList());
        QCOMPARE(fields.size(), 16);
    }

    // Typed values reach the base through the worker even where a slider first pulls its
    // spin box back; the record read back shows them and sends nothing.
    void typedEditsEndOnTheEmulatedBase()
    {
        Worker worker({PRODUCT_ID_JOYSTICK});
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
        BaseEmulator::addBase(PRODUCT_ID_JOYSTICK);
        for (int tick = 0; tick <= Worker::retryTicks; ++tick)
            worker.checkDeviceConnections();
        wire(hardware.get(), &worker, PRODUCT_ID_JOYSTICK);
        connect(&worker, &Worker::hardwareSettingsObtained, this, [this](auto settings) { hardware->settingsToUi(settings); });
        QVERIFY(WidgetTest::showExposed(hardware.get(), QSize(600, 520)));
        QSignalSpy floats(hardware.get(), &FullHardwareSettingsWidget::settingFloatChanged);
        for (auto [name, text] : {std::pair{"axis0_p_gain", "53"}, {"calibration_speed", "200"}}) {
            child<QSpinBox>(name)->selectAll();
            QTest::keyClicks(child(name), text);
        }
        QCOMPARE(sent, (QStringList{"float 25 0 0.05", "float 25 0 0.53", "uint8 16 0 2", "uint8 16 0 20",
                                    "uint8 16 0 100", "uint8 16 0 200", "uint8 16 0 200"}));
        QCOMPARE(floats.last().at(2).toFloat(), 0.53f);
        hardware->settingsToUi(HardwareSettingsTypeDef{});
        worker.readHardwareSettings(PRODUCT_ID_JOYSTICK);
        expectShown({{"axis0_p_gain", 53}, {"calibration_speed", 200}, {"calibration_speed_slider", 200}});
        QCOMPARE(child<QSlider>("calibration_speed_slider")->maximum(), 200);
        QCOMPARE(sent.size(), 7);
    }
};

QTEST_MAIN(TestSettingsPages)
#include "tst_settingspages.moc"
