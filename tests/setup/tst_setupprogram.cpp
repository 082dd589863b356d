// The real programs, started offscreen with the base emulator and its command driver
// preloaded (setupdriver.cpp), used as a user would.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString everyTab = QStringLiteral("Effects|Periphery|Controller;111");
constexpr int discoveryMs = 15000; // a base is found on the 101st tick of 10 ms, later under load

class Program
{
public:
    // In a new working directory that has the build's translations and config.
    bool start(const QString& program, const QStringList& arguments, const QString& bases, const QByteArray& config)
    {
        QFile file(directory.filePath("config.ini"));
        if (!QFile::link(SETUP_TRANSLATIONS, directory.filePath("i18n")) || !file.open(QIODevice::WriteOnly) || file.write(config) < 0)
            return false;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", SETUP_DRIVER);
        environment.insert("TORQUIX_EMULATOR_BASES", bases);
        environment.insert("TORQUIX_EMULATOR_FIRMWARE", "RC.24.1.2");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(directory.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        return process.waitForStarted();
    }

    // The driver's answers to the commands, given in turn, joined by " / ".
    QString ask(const QStringList& commands)
    {
        QStringList answers;
        for (const QString& command : commands) {
            process.write(command.toUtf8() + '\n');
            while (!process.canReadLine() && process.waitForReadyRead(10000)) {
            }
            answers << QString::fromUtf8(process.readLine()).trimmed();
        }
        return answers.join(" / ");
    }
    QString ask(const QString& command) { return ask(QStringList{command}); }

    // Closes the window: the driver's last line and the exit code.
    QString quit()
    {
        if (ask("quit") != "closing" || !process.waitForFinished(30000))
            return "<did not end>";
        return QString::fromUtf8(process.readAll()).trimmed() + QString(" code %1").arg(process.exitCode());
    }

    ~Program() { process.kill(), process.waitForFinished(); }

private:
    QTemporaryDir directory;
    QProcess process;
};

} // namespace

class TestSetupProgram : public QObject
{
    Q_OBJECT

private slots:
    // Listing, picking, deselecting, a generic base, an edit, Save, a restart, unplugging, quitting.
    void userWorksWithTwoBases()
    {
        Program setup;
        QVERIFY(setup.start(SETUP_PROGRAM, {}, "generic,joystick", ""));
        QCOMPARE(setup.ask({"devices", "tabs"}), "No compatible devices connected;-1; / ;000");
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask("devices"), "Select compatible device (2 connected);-1;"
                                  "0:Torquix Generic (RC.24.1.2)|1:Torquix Joystick (RC.24.1.2)", discoveryMs);
        QCOMPARE(setup.ask({"pick 3", "pick 1", "tabs"}), "hidden / picked 1 / " + everyTab);
        QTRY_COMPARE(setup.ask("reads 22777"), "21a2a122"); // hardware, ADC, GPIO, effect
        QCOMPARE(setup.ask({"pick 1", "tabs", "pick 0", "tabs", "reads 22000"}), "picked -1 / ;000 / picked 0 / ;111 / ");
        QCOMPARE(setup.ask({"pick 1", "set analogSmoothingSpinBox_3 value 40"}), "picked 1 / set");
        QTRY_COMPARE(setup.ask("record 22777 0xA2 live").mid(28, 2), "28"); // byte 14: smoothing of channel 2
        QCOMPARE(setup.ask("record 22777 0xA2 flash").mid(28, 2), "00"); // not stored yet
        QCOMPARE(setup.ask("click save_effects_settings_button"), "clicked");
        QTRY_COMPARE(setup.ask("record 22777 0xA2 flash").mid(28, 2), "28");
        // Saving restarts the base: it is lost, then found again.
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask("tabs"), ";000", discoveryMs);
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask("devices").section(';', 0, 0), "Select compatible device (2 connected)", discoveryMs);
        QCOMPARE(setup.ask({"pick 1", "tabs", "unplug 22777"}), "picked 1 / " + everyTab + " / unplugged");
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask("tabs"), ";000", discoveryMs);
        QCOMPARE(setup.ask("devices"), "Select compatible device (1 connected);-1;0:Torquix Generic (RC.24.1.2)");
        QCOMPARE(setup.quit(), "ended handles 0 exits 1 code 0");
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
        Program setup;
        QVERIFY(setup.start(program, arguments, "joystick", config));
        QTRY_COMPARE_WITH_TIMEOUT(setup.ask("devices").section(';', 2), "1:Torquix Joystick (RC.24.1.2)", discoveryMs);
        QCOMPARE(setup.ask("pick 1"), "picked 1");
        QTEST(setup.ask({"get MainWindow windowTitle", "get save_effects_settings_button text", "tabs", "set main_tab_widget currentIndex 2",
                         "get amplifier_gain visible"}).remove(" / set"), "texts");
        for (int tab = 0; tab < 3 && program == SETUP_PROGRAM && arguments.isEmpty(); ++tab) {
            const QString shot = QString("shot %1_tab%2").arg(QTest::currentDataTag()).arg(tab);
            QCOMPARE(setup.ask({QString("set main_tab_widget currentIndex %1").arg(tab), shot}), "set / saved");
        }
        QCOMPARE(setup.quit(), "ended handles 0 exits 1 code 0");
    }
};

QTEST_GUILESS_MAIN(TestSetupProgram)
#include "tst_setupprogram.moc"
