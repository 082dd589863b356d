#include "baseemulator.h"
#include "fulleffectsettingswidget.h"
#include "fullhardwaresettingswidget.h"
#include "settingslimits.h"
#include "settingsuibackgroundthread.h"
#include "widgettest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
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

QByteArray bytesOf(const EffectSettingsTypeDef& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof(record));
}

EffectSettingsTypeDef effectRecord()
{
    EffectSettingsTypeDef record{1, 40, 50, 60, 1, {}, {}};
    record.axis[0] = record.axis[1] = {80, 900, 10, 20, 30, 40, 50, 60, 70};
    return record;
}

// Every value differs from a new page's; some lie outside the controls or are no number.
HardwareSettingsTypeDef hardwareRecord()
{
    HardwareSettingsTypeDef record{5, 1, 2, 1, 40, 150, 60, 70, 80, 0, {}, {}};
    record.axis[0] = {1, 0, 7, 4096, 0.53f, 120.9f};
    record.axis[1] = {-1, 1, 120, 65535, 1e30f, std::numeric_limits<float>::quiet_NaN()};
    return record;
}

// Every file and folder under the working directory, with its content.
QMap<QString, QByteArray> tree()
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(QDir::currentPath(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        entries[it.filePath()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "<folder>";
    }
    return entries;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int profileWarnings = 0;

void countProfileWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    profileWarnings += type == QtWarningMsg && text.startsWith(QLatin1String("profile"));
}

} // namespace

class TestSettingsPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<WidgetTest::ScopedWorkingDirectory> workingDirectory;
    std::unique_ptr<FullEffectSettingsWidget> effects;
    std::unique_ptr<FullHardwareSettingsWidget> hardware;
    QStringList sent;

    void makePages()
    {
        effects = std::make_unique<FullEffectSettingsWidget>();
        hardware = std::make_unique<FullHardwareSettingsWidget>();
        record(effects.get(), &sent);
        record(hardware.get(), &sent);
    }
    // Some names are on both pages; those are asked of one.
    template <typename T = QWidget>
    T* child(const char* name, QWidget* page = nullptr) const
    {
        T* widget = (page ? page : effects.get())->findChild<T*>(QLatin1String(name));
        return widget || page ? widget : hardware->findChild<T*>(QLatin1String(name));
    }
    QLineEdit* profileEdit() const { return child<QComboBox>("profile_combo_box")->lineEdit(); }
    // Values of spin boxes and sliders, 1 or 0 for check boxes.
    void expectShown(std::initializer_list<std::pair<const char*, int>> expected) const
    {
        for (auto [name, value] : expected)
            QVERIFY2(child(name)->property(child<QCheckBox>(name) ? "checked" : "value").toInt() == value, name);
    }
    QByteArray shownEffects() const
    {
        EffectSettingsTypeDef shown{};
        effects->uiToSettings(&shown);
        return bytesOf(shown);
    }

private slots:
    void init()
    {
        workingDirectory = std::make_unique<WidgetTest::ScopedWorkingDirectory>();
        QVERIFY(workingDirectory->isValid());
        sent.clear();
        makePages();
        profileWarnings = 0;
        qInstallMessageHandler(countProfileWarnings);
    }

    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        effects.reset(), hardware.reset(), workingDirectory.reset();
    }

    // Sliders follow and widen, a new set-up narrows the motion range slider again, the
    // calibration list is refilled, gains show rounded or clamped: nothing is sent.
    void loadedRecordsSendNothing()
    {
        EffectSettingsTypeDef settings = effectRecord();
        settings.axis[0].motionRange = 1440;
        settings.axis[1].staticDampening = 500;
        effects->setDeviceType(DEVICE_TYPE_JOYSTICK);
        effects->settingsToUi(settings, false);
        hardware->setDeviceType(DEVICE_TYPE_JOYSTICK, false);
        hardware->settingsToUi(hardwareRecord());
        QCOMPARE(shownEffects(), bytesOf(settings));
        expectShown({{"motion_range_slider_axis0", 1440}, {"static_dampening_slider_axis1", 500}, {"horizontalSlider_3", 80},
                     {"calibration_speed_slider", 150}, {"speed_sample_buffer_size", 2}, {"axis0_p_gain", 53},
                     {"axis0_i_gain", 120}, {"axis1_p_gain", 100}, {"axis1_i_gain", 0}, {"force_enable", 1},
                     {"axis0_encoder_direction", 1}, {"axis1_encoder_direction", 0}});
        effects->setDeviceType(DEVICE_TYPE_JOYSTICK);
        HardwareSettingsTypeDef slower{};
        slower.calibrationSpeed = 80;
        hardware->settingsToUi(slower);
        expectShown({{"motion_range_axis0", 1080}, {"motion_range_slider_axis0", 1080}, {"calibration_speed_slider", 80}});
        QCOMPARE(child<QSlider>("motion_range_slider_axis0")->maximum(), 1080);
        QCOMPARE(child<QSlider>("static_dampening_slider_axis1")->maximum(), 500);
        QCOMPARE(child<QSlider>("calibration_speed_slider")->maximum(), 150);
        QCOMPARE(sent, QStringList());
    }

    void appliedProfileSendsWhatChanges_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QStringList>("writes");
        using P = EffectSettingsTypeDef;
        const auto row = [](const char* name, void (*change)(P&), QStringList writes) {
            P profile = effectRecord();
            change(profile);
            QTest::newRow(name) << bytesOf(profile) << writes;
        };
        row("equal to the screen", [](P&) {}, {});
        row("three fields, in load order", [](P& p) { p.axis[1].maxForce = 5, p.axis[0].softStopDampening = 700, p.directXSpringStrength = 41; },
            {"uint8 1 0 41", "uint16 9 0 700", "uint8 10 1 5"});
        row("byte 0 at 0 over a checked box", [](P& p) { p.invertConstantForce = 0; }, {"int8 0 0 -1"});
        row("positive byte 0 keeps the box", [](P& p) { p.invertConstantForce = 5; }, {});
        row("soft stop range 0", [](P& p) { p.axis[0].softStopRange = 0; }, {"uint8 7 0 1"});
        row("unknown clipping mode", [](P& p) { p.forceClippingMode = 2; }, {});
    }

    // A typed name confirmed with Enter applies its file: one write per changed control.
    void appliedProfileSendsWhatChanges()
    {
        QFETCH(QByteArray, profile);
        effects->settingsToUi(effectRecord(), false);
        QVERIFY(writeFile("device_effects_profiles/flight", profile));
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)));
        QTest::keyClicks(profileEdit(), "flight");
        QTest::keyClick(profileEdit(), Qt::Key_Return);
        QTEST(sent, "writes");
    }

    void refusedProfilesChangeNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fileSize");     // -1: no file
        QTest::addColumn<bool>("nameRefused"); // then saving and deleting are tried too
        QTest::newRow("empty file") << "empty" << 0 << false;
        QTest::newRow("63 bytes") << "short" << 63 << false;
        QTest::newRow("128-byte periphery file") << "periphery" << 128 << false;
        QTest::newRow("missing file") << "missing" << -1 << false;
        QTest::newRow("parent folder") << "../config.ini" << 64 << true;
        QTest::newRow("sub folder") << "a/b" << 64 << true;
        QTest::newRow("backslash") << "a\\b" << 64 << true;
        QTest::newRow("empty name") << "" << -1 << true;
        QTest::newRow("dot dot") << ".." << -1 << true;
        QTest::newRow("colon") << "a:b" << -1 << true;
        QTest::newRow("control character") << "tab\tname" << -1 << true;
    }

    // Nothing is sent, no control and no file anywhere changes, and the log says why.
    void refusedProfilesChangeNothing()
    {
        QFETCH(QString, name);
        QFETCH(int, fileSize);
        QFETCH(bool, nameRefused);
        effects->settingsToUi(effectRecord(), false);
        QVERIFY(fileSize < 0 || writeFile("device_effects_profiles/" + name, QByteArray(fileSize, char(7))));
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)));
        const QMap<QString, QByteArray> before = tree();
        effects->applyProfile(name);
        for (const char* button : {"profile_save_button", "profile_delete_button"}) {
            profileEdit()->setText(name);
            if (nameRefused)
                QTest::mouseClick(child(button), Qt::LeftButton);
        }
        QCOMPARE(sent, QStringList());
        QCOMPARE(tree(), before);
        QCOMPARE(shownEffects(), bytesOf(effectRecord()));
        QCOMPARE(profileWarnings, nameRefused ? 3 : 1);
    }

    // The file holds the screen's 64 bytes, bytes 31-63 zero, and replaces one of that
    // name, which is selected but not applied; a link is not written through; a delete
    // selects nothing.
    void savedProfileHoldsTheScreen()
    {
        EffectSettingsTypeDef settings = effectRecord();
        settings.unused[0] = 0xAA;
        effects->settingsToUi(settings, false);
        QVERIFY(writeFile("device_effects_profiles/mine", "old") && writeFile("device_effects_profiles/Mine", "other"));
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)));
        profileEdit()->setText("mine");
        QTest::mouseClick(child("profile_save_button"), Qt::LeftButton);
        QFile saved("device_effects_profiles/mine");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytesOf(effectRecord()));
        QCOMPARE(child<QComboBox>("profile_combo_box")->currentText(), "mine");
        QVERIFY(writeFile("config.ini", "keep") && QFile::link("../config.ini", "device_effects_profiles/link"));
        profileEdit()->setText("link");
        QTest::mouseClick(child("profile_save_button"), Qt::LeftButton);
        QCOMPARE(tree().value(QDir::current().absoluteFilePath("config.ini")), "keep");
        profileEdit()->setText("mine");
        QTest::mouseClick(child("profile_delete_button"), Qt::LeftButton);
        QVERIFY(!saved.exists());
        QCOMPARE(child<QComboBox>("profile_combo_box")->currentIndex(), -1);
        QCOMPARE(profileEdit()->text() + sent.join(""), QString());
    }

    // A profile folder that cannot be made turns profiles off; the working directory is
    // never used in its place.
    void unusableFolderTurnsProfilesOff()
    {
        QVERIFY(QDir("device_effects_profiles").removeRecursively());
        QVERIFY(writeFile("device_effects_profiles", "a file") && writeFile("config.ini", QByteArray(64, char(7))));
        makePages();
        const QMap<QString, QByteArray> before = tree();
        for (const char* name : {"profile_combo_box", "profile_save_button", "profile_delete_button"})
            QVERIFY(!child(name)->isEnabled());
        effects->applyProfile("config.ini");
        QCOMPARE(tree(), before);
        QCOMPARE(sent, QStringList());
    }

    void controlsFollowTheBaseType_data()
    {
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("advanced");
        QTest::newRow("joystick") << 3 << 1 << false;
        QTest::newRow("rudder") << 0 << 2 << true;
        QTest::newRow("wheel") << 4 << 3 << false;
        QTest::newRow("collective") << 3 << 4 << true;
    }

    // Each page shows what the type has, whatever came before; screenshots of both.
    void controlsFollowTheBaseType()
    {
        QFETCH(int, previous);
        QFETCH(int, type);
        QFETCH(bool, advanced);
        effects->setDeviceType(DeviceTypeEnum(previous));
        effects->setDeviceType(DeviceTypeEnum(type));
        effects->settingsToUi(effectRecord(), false);
        hardware->setDeviceType(DeviceTypeEnum(type), advanced);
        hardware->settingsToUi(hardwareRecord());
        for (QString name : {"%1_label_axis0", "%1_slider_axis0", "%1_axis1"}) {
            QWidget* tab = child(name.endsWith('0') ? "axis0Tab" : "axis1Tab");
            QCOMPARE(child(qPrintable(name.arg("max_force")))->isVisibleTo(tab), type != DEVICE_TYPE_WHEEL);
            QCOMPARE(child(qPrintable(name.arg("integrated_spring")))->isVisibleTo(tab), type != DEVICE_TYPE_COLLECTIVE);
        }
        QCOMPARE(child("force_clamping_group")->isVisibleTo(effects.get()), type != DEVICE_TYPE_WHEEL);
        for (QTabWidget* tabs : {effects->findChild<QTabWidget*>(), hardware->findChild<QTabWidget*>()})
            QCOMPARE(tabs->isTabVisible(1), type == DEVICE_TYPE_JOYSTICK);
        QCOMPARE(static_cast<QListView*>(child<QComboBox>("calibration_mode")->view())->isRowHidden(2), type == DEVICE_TYPE_WHEEL);
        for (const char* name : {"amplifier_gain", "amplifier_gain_label"})
            QCOMPARE(child(name)->isVisibleTo(hardware.get()), advanced);
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)) && WidgetTest::showExposed(hardware.get(), QSize(600, 520)));
        QVERIFY(!WidgetTest::saveScreenshot(effects.get(), QString("effects_") + QTest::currentDataTag()).isEmpty());
        QVERIFY(!WidgetTest::saveScreenshot(hardware.get(), QString("controller_") + QTest::currentDataTag()).isEmpty());
        QCOMPARE(sent, QStringList());
    }

    // Every control to both ends of its range, every box toggled, every item picked: the
    // worker accepts each value, and each of the 30 fields of the pages is sent.
    void everyEditIsWithinTheWorkersLimits()
    {
        hardware->settingsToUi(hardwareRecord());
        for (QWidget* page : {static_cast<QWidget*>(effects.get()), static_cast<QWidget*>(hardware.get())}) {
            for (auto* slider : page->findChildren<QAbstractSlider*>())
                slider->setValue(slider->maximum()), slider->setValue(slider->minimum());
            for (auto* spin : page->findChildren<QSpinBox*>())
                spin->setValue(spin->maximum()), spin->setValue(spin->minimum());
            for (auto* box : page->findChildren<QCheckBox*>())
                box->toggle(), box->toggle();
            for (auto* combo : page->findChildren<QComboBox*>()) {
                for (int index = combo->count() - 1; index >= 0; --index)
                    combo->setCurrentIndex(index);
            }
        }
        QSet<QString> fields;
        for (const QString& setting : sent)
            fields << setting.section(' ', 1, 1);
        QCOMPARE(sent.filter("refused"), QStringList());
        QCOMPARE(fields.size(), 30);
    }

    // Typed values reach the base through the worker even where a slider first pulls its
    // spin box back; the records read back show them and send nothing.
    void typedEditsEndOnTheEmulatedBase()
    {
        Worker worker({PRODUCT_ID_JOYSTICK});
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
        BaseEmulator::addBase(PRODUCT_ID_JOYSTICK);
        for (int tick = 0; tick <= Worker::retryTicks; ++tick)
            worker.checkDeviceConnections();
        wire(effects.get(), &worker, PRODUCT_ID_JOYSTICK);
        wire(hardware.get(), &worker, PRODUCT_ID_JOYSTICK);
        connect(&worker, &Worker::effectSettingsObtained, this, [this](auto settings) { effects->settingsToUi(settings, false); });
        connect(&worker, &Worker::hardwareSettingsObtained, this, [this](auto settings) { hardware->settingsToUi(settings); });
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)));
        QSignalSpy floats(hardware.get(), &FullHardwareSettingsWidget::settingFloatChanged);
        for (auto [name, text] : {std::pair{"static_dampening_axis1", "500"}, {"axis0_p_gain", "53"}, {"calibration_speed", "200"}}) {
            child<QSpinBox>(name)->selectAll();
            QTest::keyClicks(child(name), text);
        }
        QCOMPARE(sent, (QStringList{"uint16 8 1 5", "uint16 8 1 50", "uint16 8 1 100", "uint16 8 1 500", "uint16 8 1 500",
                                    "float 25 0 0.05", "float 25 0 0.53", "uint8 16 0 2", "uint8 16 0 20",
                                    "uint8 16 0 100", "uint8 16 0 200", "uint8 16 0 200"}));
        QCOMPARE(floats.last().at(2).toFloat(), 0.53f);
        effects->settingsToUi(EffectSettingsTypeDef{}, false);
        hardware->settingsToUi(HardwareSettingsTypeDef{});
        worker.readEffectSettings(PRODUCT_ID_JOYSTICK);
        worker.readHardwareSettings(PRODUCT_ID_JOYSTICK);
        expectShown({{"static_dampening_axis1", 500}, {"static_dampening_slider_axis1", 500}, {"axis0_p_gain", 53},
                     {"calibration_speed", 200}, {"calibration_speed_slider", 200}});
        QCOMPARE(child<QSlider>("calibration_speed_slider")->maximum(), 200);
        QCOMPARE(sent.size(), 12);
    }
};

QTEST_MAIN(TestSettingsPages)
#include "tst_settingspages.moc"
