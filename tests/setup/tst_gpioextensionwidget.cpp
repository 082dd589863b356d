#include "gpioextensionwidget.h"
#include "settingslimits.h"
#include "ui_gpioextensionwidget.h"
#include "widgettest.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <memory>

namespace {

struct Periphery {
    AdcExtensionSettingsTypeDef adc{};
    GpioExtensionSettingsTypeDef gpio{};
    QByteArray bytes() const { return QByteArray(reinterpret_cast<const char*>(this), 128); }
};
static_assert(sizeof(Periphery) == 128);

// Every shown value differs from a new page's; reserved bytes are set, an invert byte is 255.
Periphery sample(bool asSaved = false)
{
    Periphery p{{{100, 200, 300}, {400, 500, 32767}, {10, 20, 30}, {5, 6, 7}, {90, 91, 100}, {1, 0, 255}, {0xDD}},
                {1, {1, 2, 0, 3, 4, 5, 6, 8, 0, 9}, {}, 2, 1, 7, 9, {0xEE}}};
    for (int b = 0; b < 32; ++b)
        p.gpio.buttonModes[b] = uint8_t(b % 3);
    if (asSaved)
        p.adc.invert[2] = 1, p.adc.reserved[0] = 0, p.gpio.reserved[0] = 0;
    return p;
}

QMap<QString, QByteArray> tree()
{
    QMap<QString, QByteArray> entries;
    for (QDirIterator it(".", QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
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

int warnings = 0;
void countWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    warnings += type == QtWarningMsg && text.startsWith(QLatin1String("profile"));
}

} // namespace

class TestGpioExtensionWidget : public QObject
{
    Q_OBJECT

    std::unique_ptr<WidgetTest::ScopedWorkingDirectory> directory;
    std::unique_ptr<GpioExtensionWidget> page;
    QStringList sent; // "type field index value", marked when the worker would refuse it

    void makePage()
    {
        page = std::make_unique<GpioExtensionWidget>();
        const auto add = [this](auto signal, const char* type) {
            connect(page.get(), signal, this, [this, type](SettingsFieldEnum field, int8_t index, auto value) {
                const bool ok = settingWithinLimits(field, index, double(value), int(sizeof(value)), false);
                sent << QStringLiteral("%1 %2 %3 %4%5").arg(type).arg(field).arg(index).arg(double(value)).arg(ok ? "" : " refused");
            });
        };
        add(&GpioExtensionWidget::settingUInt8Changed, "uint8"), add(&GpioExtensionWidget::settingUInt16Changed, "uint16");
        add(&GpioExtensionWidget::settingInt8Changed, "int8"), add(&GpioExtensionWidget::settingInt16Changed, "int16");
        add(&GpioExtensionWidget::settingFloatChanged, "float");
    }
    template <typename T = QWidget>
    T* child(const QString& name) const { return page->findChild<T*>(name); }
    QLineEdit* profileEdit() const { return child<QComboBox>("profile_combo_box")->lineEdit(); }
    void load(const Periphery& p, bool send = false) { page->adcSettingsToUi(p.adc, send), page->gpioSettingsToUi(p.gpio, send); }
    QByteArray shown() const
    {
        Periphery p;
        page->uiToAdcSettings(&p.adc), page->uiToGpioSettings(&p.gpio);
        return p.bytes();
    }
    // The grip page shown, tool-box items 0-3 and the four button groups enabled.
    QString sections() const
    {
        QString text = QString::number(child<QStackedWidget>("extension_settings")->currentIndex()) + ' ';
        for (int item = 0; item < 4; ++item)
            text += child<QToolBox>("gpio_tool_box")->isItemEnabled(item) ? '1' : '0';
        text += ' ';
        for (const char* group : {"button_modes_group_box", "shiftRegistersGroup_1", "shiftRegistersGroup_2", "shiftRegistersGroup_3"})
            text += child(group)->isEnabled() ? '1' : '0';
        return text;
    }

private slots:
    void init()
    {
        directory = std::make_unique<WidgetTest::ScopedWorkingDirectory>();
        QVERIFY(directory->isValid());
        sent.clear(), makePage();
        warnings = 0, qInstallMessageHandler(countWarnings);
    }

    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        page.reset(), directory.reset();
    }

    // The form alone: names, types, ranges, label texts, pages; retranslating keeps the state.
    void formBuildsEveryNamedControl()
    {
        QWidget host;
        Ui_GpioExtensionWidget form;
        form.setupUi(&host);
        const auto expect = [&host](const char* type, const QStringList& names, int minimum = 0, int maximum = 0) {
            for (const QString& name : names) {
                auto* object = host.findChild<QObject*>(name);
                auto* spin = qobject_cast<QSpinBox*>(object);
                QVERIFY2(object && object->inherits(type) && (!spin || (spin->minimum() == minimum && spin->maximum() == maximum)), qPrintable(name));
            }
        };
        QStringList combos = {"profile_combo_box", "spiModeCombo_1", "spi_mode_dropdown", "latch_mode_dropdown"};
        const QStringList gpioButtonLabels = {"label", "label_2", "label_3", "label_5", "label_15", "label_16", "label_17", "label_18"};
        for (int b = 1; b <= 32; ++b) {
            combos << (b <= 8 ? QString("buttonMode_pin_%1") : QString("buttonMode_%1")).arg(b);
            const QString label = b <= 8 ? gpioButtonLabels[b - 1] : QString("label_%1").arg(b + 32 + (b > 24)); // no label_57
            QCOMPARE(host.findChild<QLabel*>(label)->text(), QString("Button %1").arg(b));
        }
        for (int pin = 1; pin <= 10; ++pin)
            combos << QString("gpioModeCombo_%1").arg(pin);
        expect("QComboBox", combos);
        expect("QPushButton", {"profile_save_button", "profile_delete_button"});
        expect("QCheckBox", {"enable_reset_button", "analog1_invert", "analog2_invert", "analog3_invert"});
        expect("QGroupBox", {"profiles_group_box", "gpio_modes_group_box", "groupBox_4", "groupBox_2", "shiftRegistersGroup_3"});
        expect("QSpinBox", {"spi_latch_delay", "spi_pulse_length"}, 1, 10);
        for (QString c : {"1", "2", "3"}) {
            expect("QSpinBox", {"lowerDeadZoneSpinBox_" + c, "upperDeadZoneSpinBox_" + c}, 0, 32767);
            expect("QSpinBox", {"analogSmoothingSpinBox_" + c, "analogButtonLowSpinBox_" + c, "analogButtonHighSpinBox_" + c}, 0, 100);
        }
        const QStringList pins = {"label_6", "label_8", "label_9", "label_10", "label_12", "label_13", "label_14", "label_4", "label_22", "label_7"};
        for (int pin = 0; pin < 10; ++pin)
            QCOMPARE(host.findChild<QLabel*>(pins[pin])->text(), pin < 8 ? QString("Pin %1").arg(pin + 1) : QString("Encoder Z%1").arg(pin - 8));
        const QStringList pages = {"spi_disabled_page", "spi_custom_page", "thrustmaster_page", "vpc_mt50_page", "vpc_mt50_cm2_page",
                                   "vpc_vxf_page", "vpc_alpha_page", "vpc_alpha_prime_page", "vpc_flnkr_page", "vpc_ka50_page",
                                   "vpc_uh60_page", "vpc_apache64_page", "tianhang_f18_page"};
        for (int index = 0; index < 13; ++index)
            QCOMPARE(form.extension_settings->widget(index)->objectName(), pages[index]);
        const auto state = [&form] {
            return QList<int>{form.extension_settings->count(), form.extension_settings->currentIndex(), form.gpio_tool_box->currentIndex(),
                              form.spi_mode_dropdown->count(), form.spi_mode_dropdown->currentIndex(), form.latch_mode_dropdown->count(),
                              form.latch_mode_dropdown->currentIndex(), form.spiModeCombo_1->currentIndex(), form.buttonMode_32->count()};
        };
        QCOMPARE(state(), (QList<int>{13, 9, 0, 4, 0, 2, 0, -1, 0}));
        form.spi_mode_dropdown->setCurrentIndex(3), form.latch_mode_dropdown->setCurrentIndex(1), form.gpio_tool_box->setCurrentIndex(2);
        form.retranslateUi(&host);
        QCOMPARE(state(), (QList<int>{13, 9, 2, 4, 3, 2, 1, -1, 0}));
        QCOMPARE(form.spi_mode_dropdown->currentText() + form.latch_mode_dropdown->currentText(), "Mode 3Latch DOWN");
    }

    void sectionsFollowTypeAndPins_data()
    {
        QTest::addColumn<int>("type"); // -1: a new page, nothing loaded
        QTest::addColumn<int>("pin"); // gets mode
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("new page") << -1 << 0 << 0 << "0 1100 0000";
        QTest::newRow("custom") << 1 << 0 << 0 << "1 1110 0111";
        QTest::newRow("thrustmaster") << 2 << 0 << 0 << "2 1100 0000";
        QTest::newRow("mongoost") << 3 << 0 << 0 << "3 1101 0000";
        QTest::newRow("apache") << 11 << 0 << 0 << "11 1101 0000";
        QTest::newRow("tianhang") << 12 << 0 << 0 << "12 1100 0000";
        QTest::newRow("tianhang, pin 3 analog") << 12 << 2 << 2 << "12 1101 0000";
        QTest::newRow("pin 1 generic button") << 0 << 0 << 1 << "0 1110 1000";
        QTest::newRow("type 13: no selection") << 13 << 0 << 0 << "0 1101 0000";
    }

    // Loaded records set the sections and send nothing; an unknown type is saved as 255.
    void sectionsFollowTypeAndPins()
    {
        QFETCH(int, type);
        QFETCH(int, pin);
        QFETCH(int, mode);
        Periphery p;
        p.gpio.extensionType = uint8_t(type), p.gpio.pinModes[pin] = uint8_t(mode);
        if (type >= 0)
            load(p);
        QTEST(sections(), "expected");
        QCOMPARE(uint8_t(shown()[64]), uint8_t(type < 0 ? 0 : type < 13 ? type : 255));
        QVERIFY(WidgetTest::showExposed(page.get(), QSize(900, 640)));
        QVERIFY(!WidgetTest::saveScreenshot(page.get(), QString("sections_") + QTest::currentDataTag()).isEmpty());
        QCOMPARE(sent, QStringList());
    }

    // Each pin's list hides the modes it lacks; a record may still select one.
    void pinsOfferTheirModes()
    {
        const QStringList offered = {"++++++++-++", "++++++++-++", "++++++++-++", "++-+++++-++", "++-+++++-++", "++-+++++-++",
                                     "++-+++++-++", "++-++++++++", "+--+++++-++", "+--+++++-++"};
        for (int pin = 0; pin < 10; ++pin) {
            auto* combo = child<QComboBox>(QString("gpioModeCombo_%1").arg(pin + 1));
            QString rows;
            for (int row = 0; row < combo->count(); ++row)
                rows += static_cast<QListView*>(combo->view())->isRowHidden(row) ? '-' : '+';
            QCOMPARE(rows, offered[pin]);
        }
        Periphery p;
        p.gpio.pinModes[0] = 8, p.gpio.pinModes[9] = 1;
        load(p);
        QCOMPARE(child<QComboBox>("gpioModeCombo_1")->currentText() + child<QComboBox>("gpioModeCombo_10")->currentText(), "Braking PWMGeneric button");
    }

    // Keyboard and mouse: one setting per change; a pin mode does not re-evaluate the
    // sections, the extension type does.
    void userEditsSendOneSettingEach()
    {
        QVERIFY(WidgetTest::showExposed(page.get(), QSize(900, 640)));
        QTest::keyClick(child("gpioModeCombo_1"), Qt::Key_Down), QTest::keyClick(child("gpioModeCombo_1"), Qt::Key_Down);
        QCOMPARE(sections(), "0 1100 0000");
        QTest::keyClick(child("spiModeCombo_1"), Qt::Key_Down);
        QCOMPARE(sections(), "1 1111 0111");
        QTest::keyClick(child("spi_latch_delay"), Qt::Key_Up);
        child<QToolBox>("gpio_tool_box")->setCurrentIndex(3);
        const QPoint box(8, child("analog3_invert")->height() / 2); // on the indicator: the box may be wider
        QTest::mouseClick(child("analog3_invert"), Qt::LeftButton, {}, box), QTest::mouseClick(child("analog3_invert"), Qt::LeftButton, {}, box);
        QTest::keyClick(child("lowerDeadZoneSpinBox_2"), Qt::Key_Up);
        QCOMPARE(sent, (QStringList{"uint8 28 0 1", "uint8 28 0 2", "uint8 27 0 1", "uint8 32 0 2", "uint8 39 2 1", "uint8 39 2 0", "uint16 34 1 1"}));
    }

    void savedProfileAppliesWhatDiffers_data()
    {
        QTest::addColumn<int>("byte"); // of the saved file, changed before it is applied
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("as saved") << 0 << 100 << QStringList();
        QTest::newRow("smoothing of channel 2") << 14 << 55 << QStringList{"uint8 38 2 55"};
        QTest::newRow("encoder Z0 mode, then field 41") << 73 << 3 << QStringList{"uint8 28 8 3", "uint8 41 1 1"};
        QTest::newRow("pin mode beyond the list") << 69 << 200 << QStringList();
        QTest::newRow("extension type 13") << 64 << 13 << QStringList();
        QTest::newRow("latch delay 0 shows 1") << 109 << 0 << QStringList{"uint8 32 0 1"};
        QTest::newRow("dead zone 40000 shows 32767") << 3 << 0x9C << QStringList{"uint16 34 1 32767"};
    }

    // The saved file holds the page, reserved bytes zero, invert as 1. Applying it (its
    // name typed and confirmed with Enter) sends each differing value; the same record
    // loaded from the base sends nothing but still sets the Z0 box. A delete selects nothing.
    void savedProfileAppliesWhatDiffers()
    {
        QFETCH(int, byte);
        QFETCH(int, value);
        load(sample());
        QVERIFY(WidgetTest::showExposed(page.get(), QSize(900, 640)));
        profileEdit()->setText("flight");
        QTest::mouseClick(child("profile_save_button"), Qt::LeftButton);
        QCOMPARE(tree().value("./periphery_profiles/flight"), sample(true).bytes());
        QCOMPARE(child<QComboBox>("profile_combo_box")->currentText(), "flight");
        Periphery p = sample(true);
        reinterpret_cast<uint8_t*>(&p)[byte] = uint8_t(value);
        QVERIFY(writeFile("periphery_profiles/flight", p.bytes()));
        profileEdit()->clear();
        QTest::keyClicks(profileEdit(), "flight");
        QTest::keyClick(profileEdit(), Qt::Key_Return);
        QTEST(sent, "writes");
        QCOMPARE(sent.filter("refused"), QStringList());
        const QStringList applied = sent;
        load(sample()), load(p);
        QCOMPARE(sent, applied);
        QCOMPARE(child<QCheckBox>("enable_reset_button")->isChecked(), p.gpio.pinModes[8] != 0);
        QTest::mouseClick(child("profile_delete_button"), Qt::LeftButton);
        QVERIFY(!QFile::exists("periphery_profiles/flight"));
        QCOMPARE(child<QComboBox>("profile_combo_box")->currentIndex(), -1);
    }

    void refusedProfilesChangeNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fileSize"); // -1: none; -2: the profile folder is a file
        QTest::addColumn<bool>("nameRefused"); // then saving and deleting are tried too
        QTest::newRow("empty file") << "empty" << 0 << false;
        QTest::newRow("64 bytes") << "effects" << 64 << false;
        QTest::newRow("127 bytes") << "short" << 127 << false;
        QTest::newRow("129 bytes") << "long" << 129 << false;
        QTest::newRow("parent folder") << "../config.ini" << 128 << true;
        QTest::newRow("sub folder") << "a/b" << 128 << true;
        QTest::newRow("dot dot") << ".." << -1 << true;
        QTest::newRow("colon") << "a:b" << -1 << true;
        QTest::newRow("folder unusable") << "effects" << -2 << false;
    }

    // Nothing is sent, no file anywhere and no control changes, and the log says why; an
    // unusable folder also lists nothing and disables the profile row.
    void refusedProfilesChangeNothing()
    {
        QFETCH(QString, name);
        QFETCH(int, fileSize);
        QFETCH(bool, nameRefused);
        if (fileSize == -2)
            page.reset(), QDir().rmdir("periphery_profiles");
        QVERIFY(fileSize == -1 || writeFile(fileSize == -2 ? "periphery_profiles" : "periphery_profiles/" + name, QByteArray(qMax(fileSize, 0), 1)));
        if (fileSize == -2)
            makePage(), warnings = 0;
        QCOMPARE(child("profile_save_button")->isEnabled() + child("profile_combo_box")->isEnabled(), fileSize == -2 ? 0 : 2);
        load(sample());
        QVERIFY(WidgetTest::showExposed(page.get(), QSize(900, 640)));
        const QMap<QString, QByteArray> before = tree();
        page->applyProfile(name);
        for (const char* button : {"profile_save_button", "profile_delete_button"}) {
            profileEdit()->setText(name);
            if (nameRefused)
                QTest::mouseClick(child(button), Qt::LeftButton);
        }
        QCOMPARE(sent, QStringList());
        QCOMPARE(tree(), before);
        QCOMPARE(shown(), sample(true).bytes());
        QCOMPARE(warnings, nameRefused ? 3 : 1);
    }

    // Every control to both ends, every box toggled, every item picked: the worker
    // accepts each value, and each of the page's 14 fields is sent.
    void everyEditIsWithinTheWorkersLimits()
    {
        for (auto* spin : page->findChildren<QSpinBox*>())
            spin->setValue(spin->maximum()), spin->setValue(spin->minimum());
        for (auto* box : page->findChildren<QCheckBox*>())
            box->toggle(), box->toggle();
        for (auto* combo : page->findChildren<QComboBox*>()) {
            for (int index = combo->count() - 1; index >= 0; --index)
                combo->setCurrentIndex(index);
        }
        QSet<QString> fields;
        for (const QString& setting : std::as_const(sent))
            fields << setting.section(' ', 1, 1);
        QCOMPARE(sent.filter("refused"), QStringList());
        QCOMPARE(fields.size(), 14);
    }
};

QTEST_MAIN(TestGpioExtensionWidget)
#include "tst_gpioextensionwidget.moc"
