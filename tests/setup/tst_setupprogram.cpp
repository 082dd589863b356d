// The real programs, started offscreen with the base emulator and the UI driver
// preloaded, used as a user would.
#include "programprocess.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString devices = QStringLiteral("rows devices_combo_box");
// The visible tabs, then 1 or 0 for each command button enabled.
const QString tabs = QStringLiteral("tabs main_tab_widget save_effects_settings_button dfu_mode_button reboot_button");
const QString everyTab = QStringLiteral("Effects|Periphery|Controller;111");

// The program in a new working folder with this "config.ini".
struct Run {
    Run(const QString& program, const QByteArray& config)
        : program(program, folder.path())
    {
        QFile file(folder.filePath("config.ini"));
        configWritten = file.open(QIODevice::WriteOnly) && file.write(config) == config.size();
    }
    QTemporaryDir folder;
    ProgramProcess program;
    bool configWritten = false;
};

} // namespace

class TestSetupProgram : public QObject
{
    Q_OBJECT

private slots:
    // Listing, picking, deselecting, a generic base, an edit, Save, a restart, unplugging, quitting.
    void userWorksWithTwoBases()
    {
        Run run(SETUP_PROGRAM, "");
        ProgramProcess& setup = run.program;
        QVERIFY(run.configWritten && setup.start("generic,joystick"));
        QCOMPARE(setup.ask({devices, tabs}), "No compatible devices connected;-1; / ;000");
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask(devices), "Select compatible device (2 connected);-1;"
                                  "0:Torquix Generic (RC.24.1.2)|1:Torquix Joystick (RC.24.1.2)", ProgramProcess::discoveryMs);
        QCOMPARE(setup.ask({"pick devices_combo_box 3", "pick devices_combo_box 1", tabs}), "hidden / picked 1 / " + everyTab);
        QTRY_COMPARE(setup.ask("reads 22777"), "21a2a122"); // hardware, ADC, GPIO, effect
        QCOMPARE(setup.ask({"pick devices_combo_box 1", tabs, "pick devices_combo_box 0", tabs, "reads 22000"}), "picked -1 / ;000 / picked 0 / ;111 / ");
        QCOMPARE(setup.ask({"pick devices_combo_box 1", "set analogSmoothingSpinBox_3 value 40"}), "picked 1 / set");
        QTRY_COMPARE(setup.ask("record 22777 0xA2 live").mid(28, 2), "28"); // byte 14: smoothing of channel 2
        QCOMPARE(setup.ask("record 22777 0xA2 flash").mid(28, 2), "00"); // not stored yet
        QCOMPARE(setup.ask("click save_effects_settings_button"), "clicked");
        QTRY_COMPARE(setup.ask("record 22777 0xA2 flash").mid(28, 2), "28");
        // Saving restarts the base: it is lost, then found again.
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask(tabs), ";000", ProgramProcess::discoveryMs);
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask(devices).section(';', 0, 0), "Select compatible device (2 connected)", ProgramProcess::discoveryMs);
        QCOMPARE(setup.ask({"pick devices_combo_box 1", tabs, "unplug 22777"}), "picked 1 / " + everyTab + " / unplugged");
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask(tabs), ";000", ProgramProcess::discoveryMs);
        QCOMPARE(setup.ask(devices), "Select compatible device (1 connected);-1;0:Torquix Generic (RC.24.1.2)");
        QCOMPARE(setup.finish(), "ended handles 0 exits 1 code 0");
    }

    void startsAsConfigured_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("texts"); // title, save button, tabs, current-sense gain shown
        const QString english = " / Save and reboot / " + everyTab;
        QTest::newRow("english") << SETUP_PROGRAM << QStringList() << QByteArray("[UI]\nlang=en\n") << "Torquix Setup (RC.24.1.2)" + english + " / false";
        QTest::newRow("german") << SETUP_PROGRAM << QStringList() << QByteArray("[UI]\nlang=de\n")
                                << "Torquix Setup (RC.24.1.2) / Speichern und neu starten / Effekte|Peripherie|Steuerung;111 / false";
        QTest::newRow("advanced") << SETUP_PROGRAM << QStringList{"advanced"} << QByteArray("[UI]\nlang=de\n") << "Torquix Setup (RC.24.1.2)" + english + " / true";
        QTest::newRow("device-settings") << DEVICE_SETTINGS_PROGRAM << QStringList() << QByteArray() << "Torquix Setup (RC.24.1.1)" + english + " / false";
    }

    // Each build with its language and switch, a joystick picked; screenshots of the
    // window on each tab in English and German.
    void startsAsConfigured()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, config);
        Run run(program, config);
        ProgramProcess& setup = run.program;
        QVERIFY(run.configWritten && setup.start("joystick", arguments));
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask(devices).section(';', 2), "1:Torquix Joystick (RC.24.1.2)", ProgramProcess::discoveryMs);
        QCOMPARE(setup.ask("pick devices_combo_box 1"), "picked 1");
        QTEST(setup.ask({"get MainWindow windowTitle", "get save_effects_settings_button text", tabs, "set main_tab_widget currentIndex 2",
                         "get amplifier_gain visible"}).remove(" / set"), "texts");
        for (int tab = 0; tab < 3 && program == SETUP_PROGRAM && arguments.isEmpty(); ++tab) {
            const QString shot = QString("shot %1_tab%2").arg(QTest::currentDataTag()).arg(tab);
            QCOMPARE(setup.ask({QString("set main_tab_widget currentIndex %1").arg(tab), shot}), "set / saved");
        }
        QCOMPARE(setup.finish(), "ended handles 0 exits 1 code 0");
    }
};

QTEST_GUILESS_MAIN(TestSetupProgram)
#include "tst_setupprogram.moc"
