#include "baseemulator.h"
#include "fulleffectsettingswidget.h"
#include "fullhardwaresettingswidget.h"
#include "gpioextensionwidget.h"
#include "settingslimits.h"
#include "settingsuibackgroundthread.h"
#include "smallfilesystem.h"
#include "ui_gpioextensionwidget.h"
#include "widgettest.h"

#include <QApplication>
#include <QDirIterator>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <limits>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Worker = SettingsUiBackgroundThread;

namespace {

enum Page { Effects, Periphery }; // the pages with profiles

struct PeripheryRecords {
    AdcExtensionSettingsTypeDef adc{};
    GpioExtensionSettingsTypeDef gpio{};
};
static_assert(sizeof(PeripheryRecords) == 128);

template <typename Record>
QByteArray bytesOf(const Record& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof(record));
}

template <typename Record>
Record recordOf(const QByteArray& bytes)
{
    Record record;
    std::memcpy(&record, bytes.constData(), sizeof(record));
    return record;
}

EffectSettingsTypeDef effectRecord()
{
    EffectSettingsTypeDef record{1, 40, 50, 60, 1, {}, {}};
    record.axis[0] = record.axis[1] = {80, 900, 10, 20, 30, 40, 50, 60, 70};
    return record;
}

// A record of the page in which every shown value differs from a new page's; as the page
// saves it, or with bytes it does not show set (and a periphery invert byte of 255).
QByteArray sample(Page page, bool asSaved = false)
{
    if (page == Effects) {
        EffectSettingsTypeDef record = effectRecord();
        record.unused[0] = asSaved ? 0 : 0xAA;
        return bytesOf(record);
    }
    PeripheryRecords p{{{100, 200, 300}, {400, 500, 32767}, {10, 20, 30}, {5, 6, 7}, {90, 91, 100}, {1, 0, 255}, {0xDD}},
                       {1, {1, 2, 0, 3, 4, 5, 6, 8, 0, 9}, {}, 2, 1, 7, 9, {0xEE}}};
    for (int b = 0; b < 32; ++b)
        p.gpio.buttonModes[b] = uint8_t(b % 3);
    if (asSaved)
        p.adc.invert[2] = 1, p.adc.reserved[0] = 0, p.gpio.reserved[0] = 0;
    return bytesOf(p);
}

// Every value differs from a new page's; some lie outside the controls or are no number.
HardwareSettingsTypeDef hardwareRecord()
{
    HardwareSettingsTypeDef record{5, 1, 2, 1, 40, 150, 60, 70, 80, 0, {}, {}};
    record.axis[0] = {1, 0, 7, 4096, 0.53f, 120.9f};
    record.axis[1] = {-1, 1, 120, 65535, 1e30f, std::numeric_limits<float>::quiet_NaN()};
    return record;
}

// Every entry under the working directory, with each file's content (a pipe is not opened).
QMap<QString, QByteArray> tree()
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(QDir::currentPath(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        entries[it.filePath()] = it.fileInfo().isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(it.fileInfo().isDir() ? "<folder>" : "<other>");
    }
    return entries;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Sets the modification time of path, not of a link's target, to seconds ago.
bool setAge(const QString& path, int seconds)
{
    const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

QString saveFailed(const QString& name, const QString& reason) { return "The profile could not be saved as \"" + name + "\": " + reason; }

int profileWarnings = 0;

void countProfileWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    profileWarnings += type == QtWarningMsg && text.startsWith(QLatin1String("profile"));
}

} // namespace

Q_DECLARE_METATYPE(Page)

class TestSettingsPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<WidgetTest::ScopedWorkingDirectory> workingDirectory;
    std::unique_ptr<FullEffectSettingsWidget> effects;
    std::unique_ptr<FullHardwareSettingsWidget> hardware;
    std::unique_ptr<GpioExtensionWidget> periphery;
    // Each setting a page sends as "type field index value", marked when the worker
    // would refuse it.
    QStringList sent;
    // The text of each plain-text message box a page opened, shot and closed by boxCloser
    // as soon as its own event loop runs: a box no test waits for fails it, never blocks.
    QStringList boxes;
    QTimer boxCloser;

    void makePages()
    {
        effects = std::make_unique<FullEffectSettingsWidget>();
        hardware = std::make_unique<FullHardwareSettingsWidget>();
        periphery = std::make_unique<GpioExtensionWidget>();
        for (SettingsPageWidget* page : {static_cast<SettingsPageWidget*>(effects.get()), static_cast<SettingsPageWidget*>(hardware.get()),
                                         static_cast<SettingsPageWidget*>(periphery.get())}) {
            const auto add = [this, page](auto signal, const char* type) {
                connect(page, signal, this, [this, type](SettingsFieldEnum field, int8_t index, auto value) {
                    const bool ok = settingWithinLimits(field, index, double(value), int(sizeof(value)), type[0] == 'f');
                    sent << QStringLiteral("%1 %2 %3 %4%5").arg(type).arg(field).arg(index).arg(double(value)).arg(ok ? "" : " refused");
                });
            };
            add(&SettingsPageWidget::settingInt8Changed, "int8"), add(&SettingsPageWidget::settingUInt8Changed, "uint8");
            add(&SettingsPageWidget::settingInt16Changed, "int16"), add(&SettingsPageWidget::settingUInt16Changed, "uint16");
            add(&SettingsPageWidget::settingFloatChanged, "float");
        }
    }
    QWidget* pageOf(Page page) const { return page == Effects ? static_cast<QWidget*>(effects.get()) : periphery.get(); }
    // Looked for on the given page, else on the effect, hardware and periphery pages in turn.
    template <typename T = QWidget>
    T* child(const QString& name, QWidget* in = nullptr) const
    {
        for (QWidget* page : in ? QList<QWidget*>{in} : QList<QWidget*>{effects.get(), hardware.get(), periphery.get()}) {
            if (T* widget = page->findChild<T*>(name))
                return widget;
        }
        return nullptr;
    }
    QComboBox* profileCombo(Page page) const { return child<QComboBox>("profile_combo_box", pageOf(page)); }
    void click(Page page, const char* button) const { QTest::mouseClick(child(button, pageOf(page)), Qt::LeftButton); }
    QString folder(Page page) const { return page == Effects ? "device_effects_profiles/" : "periphery_profiles/"; }
    void load(Page page, const QByteArray& bytes, bool send)
    {
        if (page == Effects)
            return effects->settingsToUi(recordOf<EffectSettingsTypeDef>(bytes), send);
        const auto p = recordOf<PeripheryRecords>(bytes);
        periphery->adcSettingsToUi(p.adc, send), periphery->gpioSettingsToUi(p.gpio, send);
    }
    QByteArray shown(Page page) const
    {
        EffectSettingsTypeDef effect{};
        PeripheryRecords p;
        if (page == Effects) {
            effects->uiToSettings(&effect);
            return bytesOf(effect);
        }
        periphery->uiToAdcSettings(&p.adc), periphery->uiToGpioSettings(&p.gpio);
        return bytesOf(p);
    }
    // Values of spin boxes and sliders, 1 or 0 for check boxes.
    void expectShown(std::initializer_list<std::pair<const char*, int>> expected) const
    {
        for (auto [name, value] : expected)
            QVERIFY2(child(name)->property(child<QCheckBox>(name) ? "checked" : "value").toInt() == value, name);
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

    QList<SettingsPageWidget*> pages() const { return {effects.get(), hardware.get(), periphery.get()}; }
    // A worker that has opened the emulated base pid, holding records by report id; the
    // pages' settings go to it as the main window forwards them.
    void linkToBase(Worker& worker, int pid, const QMap<int, QByteArray>& records)
    {
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
        BaseEmulator::addBase(pid);
        for (auto it = records.begin(); it != records.end(); ++it)
            BaseEmulator::setFeatureReport(pid, uint8_t(it.key()), recordOf<std::array<uint8_t, 64>>(it.value().leftJustified(64, '\0', true)));
        for (int tick = 0; tick <= Worker::retryTicks; ++tick)
            worker.checkDeviceConnections();
        for (SettingsPageWidget* page : pages()) {
            connect(page, &SettingsPageWidget::settingInt8Changed, &worker, [&worker, pid](auto f, auto i, auto d) { worker.sendInt8SettingReport(pid, f, i, d); });
            connect(page, &SettingsPageWidget::settingUInt8Changed, &worker, [&worker, pid](auto f, auto i, auto d) { worker.sendUInt8SettingReport(pid, f, i, d); });
            connect(page, &SettingsPageWidget::settingUInt16Changed, &worker, [&worker, pid](auto f, auto i, auto d) { worker.sendUInt16SettingReport(pid, f, i, d); });
            connect(page, &SettingsPageWidget::settingFloatChanged, &worker, [&worker, pid](auto f, auto i, auto d) { worker.sendFloatSettingReport(pid, f, i, d); });
        }
    }
    QStringList listed(Page page) const
    {
        QStringList names;
        for (int item = 0; item < profileCombo(page)->count(); ++item)
            names << profileCombo(page)->itemText(item);
        return names;
    }

private slots:
    void initTestCase()
    {
        connect(&boxCloser, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                WidgetTest::saveScreenshot(modal, QString("save_failed_") + QTest::currentDataTag());
                auto* box = qobject_cast<QMessageBox*>(modal);
                boxes << (box && box->textFormat() == Qt::PlainText ? box->text() : "no plain-text message box"), modal->close();
            }
        });
    }

    void init()
    {
        workingDirectory = std::make_unique<WidgetTest::ScopedWorkingDirectory>();
        QVERIFY(workingDirectory->isValid());
        sent.clear();
        boxes.clear();
        boxCloser.start(10);
        makePages();
        profileWarnings = 0;
        qInstallMessageHandler(countProfileWarnings);
    }

    void cleanup()
    {
        boxCloser.stop();
        qInstallMessageHandler(nullptr);
        effects.reset(), hardware.reset(), periphery.reset(), workingDirectory.reset();
    }

    void savedProfileAppliesWhatDiffers_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QList<int>>("patch"); // byte, value, byte, value... of the saved file
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("effects as saved") << Effects << QList<int>() << QStringList();
        QTest::newRow("three fields, in load order") << Effects << QList<int>{1, 41, 15, 0xBC, 16, 0x02, 30, 5} << QStringList{"uint8 1 0 41", "uint16 9 0 700", "uint8 10 1 5"};
        QTest::newRow("byte 0 at 0 over a checked box") << Effects << QList<int>{0, 0} << QStringList{"int8 0 0 -1"};
        QTest::newRow("positive byte 0 keeps the box") << Effects << QList<int>{0, 5} << QStringList();
        QTest::newRow("soft stop range 0") << Effects << QList<int>{9, 0} << QStringList{"uint8 7 0 1"};
        QTest::newRow("unknown clipping mode") << Effects << QList<int>{4, 2} << QStringList();
        // The base's invert byte 255 shows ticked, and is saved and applied as 1.
        QTest::newRow("periphery as saved") << Periphery << QList<int>() << QStringList{"uint8 39 2 1"};
        QTest::newRow("smoothing of channel 2") << Periphery << QList<int>{14, 55} << QStringList{"uint8 39 2 1", "uint8 38 2 55"};
        QTest::newRow("encoder Z0 mode, then field 41") << Periphery << QList<int>{73, 3} << QStringList{"uint8 39 2 1", "uint8 28 8 3", "uint8 41 1 1"};
        QTest::newRow("extension type 13") << Periphery << QList<int>{64, 13} << QStringList{"uint8 39 2 1"};
    }

    // The saved file holds the page, unshown bytes zero, and replaces one of that name,
    // which is selected (case included) but not applied; a link is not written through.
    // Applying the changed file (its name typed and confirmed with Enter) sends each
    // value that differs from the base's record; the same record loaded from the base sends nothing but still sets
    // the Z0 box. A delete selects nothing.
    void savedProfileAppliesWhatDiffers()
    {
        QFETCH(Page, page);
        QFETCH(QList<int>, patch);
        load(page, sample(page), false);
        QVERIFY(writeFile(folder(page) + "flight", "old") && writeFile(folder(page) + "Flight", "other"));
        QVERIFY(WidgetTest::showExposed(pageOf(page), QSize(900, 760)));
        profileCombo(page)->lineEdit()->setText("flight");
        click(page, "profile_save_button");
        QCOMPARE(tree().value(QDir::current().absoluteFilePath(folder(page) + "flight")), sample(page, true));
        QCOMPARE(profileCombo(page)->currentText(), "flight");
        QVERIFY(writeFile("config.ini", "keep") && QFile::link("../config.ini", folder(page) + "link"));
        profileCombo(page)->lineEdit()->setText("link");
        click(page, "profile_save_button");
        QCOMPARE(tree().value(QDir::current().absoluteFilePath("config.ini")), "keep");

        QByteArray profile = sample(page, true);
        for (int at = 0; at < patch.size(); at += 2)
            profile[patch[at]] = char(patch[at + 1]);
        QVERIFY(writeFile(folder(page) + "changed", profile));
        profileCombo(page)->lineEdit()->clear();
        QTest::keyClicks(profileCombo(page)->lineEdit(), "changed");
        QTest::keyClick(profileCombo(page)->lineEdit(), Qt::Key_Return);
        QTEST(sent, "writes");
        QCOMPARE(sent.filter("refused"), QStringList());
        const QStringList applied = sent;
        load(page, sample(page), false), load(page, profile, false);
        QCOMPARE(sent, applied);
        QCOMPARE(child<QCheckBox>("enable_reset_button")->isChecked(), page == Periphery && profile[73] != 0);

        profileCombo(page)->lineEdit()->setText("flight");
        click(page, "profile_delete_button");
        QVERIFY(!QFile::exists(folder(page) + "flight"));
        QCOMPARE(profileCombo(page)->currentIndex(), -1);
        QCOMPARE(profileCombo(page)->lineEdit()->text(), QString());
    }

    void refusedProfilesChangeNothing_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fileSize");     // -1: no file; -2: the folder is a file, name is in the working directory; -3: a pipe; -4: a folder
        QTest::addColumn<bool>("nameRefused"); // then saving and deleting are tried too
        QTest::newRow("empty file") << Effects << "empty" << 0 << false;
        QTest::newRow("63 bytes") << Effects << "short" << 63 << false;
        QTest::newRow("128-byte periphery file") << Effects << "periphery" << 128 << false;
        QTest::newRow("missing file") << Effects << "missing" << -1 << false;
        QTest::newRow("parent folder") << Effects << "../config.ini" << 64 << true;
        QTest::newRow("sub folder") << Effects << "a/b" << 64 << true;
        QTest::newRow("backslash") << Effects << "a\\b" << 64 << true;
        QTest::newRow("empty name") << Effects << "" << -1 << true;
        QTest::newRow("control character") << Effects << "tab\tname" << -1 << true;
        QTest::newRow("64-byte effect file") << Periphery << "effects" << 64 << false;
        QTest::newRow("127 bytes") << Periphery << "short" << 127 << false;
        QTest::newRow("129 bytes") << Periphery << "long" << 129 << false;
        QTest::newRow("dot dot") << Periphery << ".." << -1 << true;
        QTest::newRow("colon") << Periphery << "a:b" << -1 << true;
        QTest::newRow("folder unusable") << Periphery << "config.ini" << -2 << false;
        QTest::newRow("device name CON") << Effects << "CON" << -1 << true;
        QTest::newRow("device name nul with an extension") << Periphery << "nul.txt" << -1 << true;
        QTest::newRow("device name Com1") << Effects << "Com1" << -1 << true;
        QTest::newRow("device name lpt9 with two extensions") << Periphery << "lpt9.tar.gz" << -1 << true;
        QTest::newRow("device name aux before a space and an extension") << Effects << "aux .json" << -1 << true;
        QTest::newRow("device name PRN") << Periphery << "PRN" << -1 << true;
        QTest::newRow("final dot") << Effects << "flight." << -1 << true;
        QTest::newRow("final space") << Periphery << "flight " << -1 << true;
        QTest::newRow("pipe") << Effects << "pipe" << -3 << true;
        QTest::newRow("folder") << Periphery << "folder" << -4 << true;
        QTest::newRow("an interrupted save's leftover") << Effects << ".saving-0123456789abcdef" << 64 << true;
    }

    // Nothing is sent, no control and no file anywhere changes, and the log says why. A
    // folder that cannot be made disables the profile row, and the working directory is
    // never used in its place.
    void refusedProfilesChangeNothing()
    {
        QFETCH(Page, page);
        QFETCH(QString, name);
        QFETCH(int, fileSize);
        QFETCH(bool, nameRefused);
        if (fileSize == -2) {
            QVERIFY(QDir(folder(page)).removeRecursively() && writeFile(folder(page).chopped(1), "a file"));
            QVERIFY(writeFile(name, sample(page, true)));
            makePages();
        }
        QVERIFY(fileSize < 0 || writeFile(folder(page) + name, QByteArray(fileSize, char(7))));
        QVERIFY(fileSize != -3 || ::mkfifo(QFile::encodeName(folder(page) + name).constData(), 0644) == 0);
        QVERIFY(fileSize != -4 || QDir().mkpath(folder(page) + name));
        for (const char* control : {"profile_combo_box", "profile_save_button", "profile_delete_button"})
            QCOMPARE(child(control, pageOf(page))->isEnabled(), fileSize != -2);
        load(page, sample(page), false);
        QVERIFY(WidgetTest::showExposed(pageOf(page), QSize(900, 760)));
        const QMap<QString, QByteArray> before = tree();
        profileWarnings = 0;
        QVERIFY(QMetaObject::invokeMethod(pageOf(page), "applyProfile", Q_ARG(QString, name)));
        for (const char* button : {"profile_save_button", "profile_delete_button"}) {
            profileCombo(page)->lineEdit()->setText(name);
            if (nameRefused)
                click(page, button);
        }
        QCOMPARE(sent, QStringList());
        QCOMPARE(tree(), before);
        QCOMPARE(shown(page), sample(page, true));
        QCOMPARE(profileWarnings, nameRefused ? 3 : 1);
        QCOMPARE(boxes.size(), nameRefused ? 1 : 0);
    }

    // Names close to a device's or to QSaveFile's temporaries are saved and listed; an
    // interrupted save's leftover, a pipe and a folder are not listed. Reading the list
    // deletes only the plain files of a save's own names that are over a minute old.
    void listingLeavesOutWhatIsNoProfile()
    {
        QStringList saved = {"flight", "a.b", "COM10", "CONSOLE", "LPT0", "a.con", "flight.AbCdE", "flight.Ab3dEf", "flight.AbCdEfG", "flight.lGOVCu", "a.b.XyZabc"};
        for (const QString& name : std::as_const(saved)) {
            profileCombo(Periphery)->lineEdit()->setText(name);
            QVERIFY(QMetaObject::invokeMethod(periphery.get(), "on_profile_save_button_clicked"));
        }
        QVERIFY(writeFile("config.ini", "keep") && QFile::link("../config.ini", folder(Periphery) + ".saving-1111111111111111"));
        const QMap<QString, int> ages{{".saving-0123456789abcdef", 61}, {".saving-0123456789abcdef.AbCdEf", 3600}, {".saving-fedcba9876543210", 0},
                                      {".saving-fedcba9876543210.XyZabc", -3600}, {".saving-0123456789abcdef.AbCdEf.bak", 3600}, {".hidden", 3600},
                                      {".saving-1111111111111111", 3600}, {"../config.ini", 3600}};
        for (auto it = ages.begin(); it != ages.end(); ++it)
            QVERIFY((QFile::exists(folder(Periphery) + it.key()) || writeFile(folder(Periphery) + it.key(), "temporary")) && setAge(folder(Periphery) + it.key(), it.value()));
        QVERIFY(::mkfifo(QFile::encodeName(folder(Periphery) + "pipe").constData(), 0644) == 0 && QDir().mkpath(folder(Periphery) + "folder"));
        QMap<QString, QByteArray> expected = tree();
        for (const char* stale : {".saving-0123456789abcdef", ".saving-0123456789abcdef.AbCdEf"})
            QCOMPARE(expected.remove(QDir::current().absoluteFilePath(folder(Periphery) + stale)), 1);
        QVERIFY(QMetaObject::invokeMethod(periphery.get(), "readProfiles"));
        saved.sort(Qt::CaseInsensitive);
        QCOMPARE(listed(Periphery), saved);
        QCOMPARE(tree(), expected);
    }

    void profileNamesSaveListApplyAndDelete_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("name");
        for (const Page page : {Effects, Periphery})
            for (const char* name : {"Heavy.spring", "Rudder.smooth", "a.bcdefg", "F18.carrier", "x.json.AbCdEf"})
                QTest::addRow("%s, %s", page == Effects ? "effects" : "periphery", name) << page << QString(name);
    }

    // A name like an interrupted save's temporary's is saved, listed as itself when the
    // folder is read anew, applied and deleted (".hidden": failedSaveSaysWhyAndKeepsTheName).
    void profileNamesSaveListApplyAndDelete()
    {
        QFETCH(Page, page);
        QFETCH(QString, name);
        load(page, sample(page), false);
        QVERIFY(WidgetTest::showExposed(pageOf(page), QSize(900, 760)));
        profileCombo(page)->lineEdit()->setText(name);
        click(page, "profile_save_button");
        QCOMPARE(tree().value(QDir::current().absoluteFilePath(folder(page) + name)), sample(page, true));
        QVERIFY(QMetaObject::invokeMethod(pageOf(page), "readProfiles"));
        QCOMPARE(listed(page), QStringList{name});
        load(page, QByteArray(sample(page).size(), '\0'), false);
        profileCombo(page)->lineEdit()->setText(name);
        QTest::keyClick(profileCombo(page)->lineEdit(), Qt::Key_Return);
        QVERIFY(!sent.isEmpty());
        QCOMPARE(shown(page), sample(page, true));
        profileCombo(page)->lineEdit()->setText(name);
        click(page, "profile_delete_button");
        QVERIFY(!QFile::exists(folder(page) + name));
        QCOMPARE(listed(page), QStringList());
    }

    void fullDiskKeepsTheProfile_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<qint64>("leaveFree");
        QTest::addColumn<bool>("existed");
        for (const Page page : {Effects, Periphery})
            for (const qint64 free : {qint64(0), SmallFileSystem::pageSize})
                for (const bool existed : {true, false})
                    QTest::addRow("%s, %lld bytes free, %s", page == Effects ? "effects" : "periphery", free, existed ? "old profile" : "new") << page << free << existed;
    }

    // A full disk fails the save: the profile keeps its bytes (or stays missing), one
    // message box and the log say so, the typed name stays, no temporary file is left and
    // the list stays as it was. One page free takes a record whole.
    void fullDiskKeepsTheProfile()
    {
        QFETCH(Page, page);
        QFETCH(qint64, leaveFree);
        QFETCH(bool, existed);
        SmallFileSystem disk;
        SKIP_UNLESS_MOUNTED(disk);
        QVERIFY(QDir::setCurrent(disk.path())); // cleanup() leaves it
        const QString profile = QDir::current().absoluteFilePath(folder(page) + "flight");
        QVERIFY(!existed || writeFile(profile, "old"));
        makePages();
        QMap<QString, QByteArray> expected = tree();
        QVERIFY(disk.fill(leaveFree));
        profileCombo(page)->lineEdit()->setText("flight");
        QVERIFY(QMetaObject::invokeMethod(pageOf(page), "on_profile_save_button_clicked"));
        QCOMPARE(boxes, leaveFree > 0 ? QStringList() : QStringList{saveFailed("flight", "No space left on device")});
        QCOMPARE(profileCombo(page)->currentText(), "flight");
        QMap<QString, QByteArray> after = tree();
        QCOMPARE(after.remove(QDir::current().absoluteFilePath(SmallFileSystem::ballastName())), 1);
        if (leaveFree > 0)
            expected[profile] = shown(page);
        QCOMPARE(after, expected);
        QCOMPARE(profileWarnings, leaveFree > 0 ? 0 : 1);
        QCOMPARE(listed(page), existed || leaveFree > 0 ? QStringList{"flight"} : QStringList());
    }

    void failedSaveSaysWhyAndKeepsTheName_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        for (const Page page : {Effects, Periphery})
            for (auto [name, reason] : {std::pair{"Left:Right", "the name is no file name on Windows"}, {"link", "it is a link, and nothing is written through a link"},
                                        {".hidden", "names starting with a dot are kept for temporary files"}, {"read-only", "you have no permission to change it"}})
                QTest::addRow("%s, %s", page == Effects ? "effects" : "periphery", name) << page << QString(name) << QString(reason);
    }

    // One plain-text message box says why, the typed name stays in the box and no file
    // anywhere changes (a full disk: fullDiskKeepsTheProfile). A hand-made file of a dot
    // name is listed, applied and deleted as an interrupted save's: not at all.
    void failedSaveSaysWhyAndKeepsTheName()
    {
        QFETCH(Page, page);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        if (name == "read-only" && ::geteuid() == 0)
            QSKIP("root may write every file, so only an ordinary user meets a read-only profile");
        QVERIFY(writeFile("config.ini", "keep") && QFile::link("../config.ini", folder(page) + "link"));
        QVERIFY(writeFile(folder(page) + "read-only", "old") && QFile::setPermissions(folder(page) + "read-only", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(WidgetTest::showExposed(pageOf(page), QSize(900, 760)));
        const QMap<QString, QByteArray> before = tree();
        profileCombo(page)->lineEdit()->setText(name);
        click(page, "profile_save_button");
        QCOMPARE(boxes, QStringList{saveFailed(name, reason)});
        QCOMPARE(profileCombo(page)->currentText(), name);
        QCOMPARE(tree(), before);
    }

    void loadedRecordsFollowTheBaseTypeAndSendNothing_data()
    {
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("advanced");
        QTest::newRow("joystick") << 3 << 1 << false;
        QTest::newRow("rudder") << 1 << 2 << true;
        QTest::newRow("wheel") << 4 << 3 << false;
        QTest::newRow("collective") << 3 << 4 << true;
    }

    // Each page shows what the type has, whatever came before. Sliders follow and widen,
    // a new set-up narrows the motion range slider again, the calibration list is
    // refilled, gains show rounded or clamped: nothing is sent. Screenshots of both pages.
    void loadedRecordsFollowTheBaseTypeAndSendNothing()
    {
        QFETCH(int, previous);
        QFETCH(int, type);
        QFETCH(bool, advanced);
        EffectSettingsTypeDef settings = effectRecord();
        settings.axis[0].motionRange = 1440;
        settings.axis[1].staticDampening = 500;
        effects->setDeviceType(DeviceTypeEnum(previous));
        effects->setDeviceType(DeviceTypeEnum(type));
        effects->settingsToUi(settings, false);
        hardware->setDeviceType(DeviceTypeEnum(type), advanced);
        hardware->settingsToUi(hardwareRecord());
        QCOMPARE(shown(Effects), bytesOf(settings));
        expectShown({{"motion_range_slider_axis0", 1440}, {"static_dampening_slider_axis1", 500}, {"horizontalSlider_3", 80},
                     {"calibration_speed_slider", 150}, {"speed_sample_buffer_size", 2}, {"axis0_p_gain", 53},
                     {"axis0_i_gain", 120}, {"axis1_p_gain", 100}, {"axis1_i_gain", 0}, {"force_enable", 1},
                     {"axis0_encoder_direction", 1}, {"axis1_encoder_direction", 0}});
        for (QString name : {"%1_label_axis0", "%1_slider_axis0", "%1_axis1"}) {
            QWidget* tab = child(name.endsWith('0') ? "axis0Tab" : "axis1Tab");
            QCOMPARE(child(name.arg("max_force"))->isVisibleTo(tab), type != DEVICE_TYPE_WHEEL);
            QCOMPARE(child(name.arg("integrated_spring"))->isVisibleTo(tab), type != DEVICE_TYPE_COLLECTIVE);
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

        effects->setDeviceType(DeviceTypeEnum(type));
        HardwareSettingsTypeDef slower{};
        slower.calibrationSpeed = 80;
        hardware->settingsToUi(slower);
        expectShown({{"motion_range_axis0", 1080}, {"motion_range_slider_axis0", 1080}, {"calibration_speed_slider", 80}});
        QCOMPARE(child<QSlider>("motion_range_slider_axis0")->maximum(), 1080);
        QCOMPARE(child<QSlider>("static_dampening_slider_axis1")->maximum(), 500);
        QCOMPARE(child<QSlider>("calibration_speed_slider")->maximum(), 150);
        QCOMPARE(sent, QStringList());
    }

    // Every control of the three pages to both ends of its range, every box toggled,
    // every item picked: the worker accepts each value, and every field is sent.
    void everyEditIsWithinTheWorkersLimits()
    {
        hardware->settingsToUi(hardwareRecord());
        for (QWidget* page : {static_cast<QWidget*>(effects.get()), static_cast<QWidget*>(hardware.get()), static_cast<QWidget*>(periphery.get())}) {
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
        for (const QString& setting : std::as_const(sent))
            fields << setting.section(' ', 1, 1);
        QCOMPARE(sent.filter("refused"), QStringList());
        QCOMPARE(fields.size(), int(SETTINGS_FIELD_COUNT));
    }

    // Typed values, confirmed with Enter, reach the base through the worker once each, also
    // beyond their slider's limit; the records read back show them and send nothing.
    void typedEditsEndOnTheEmulatedBase()
    {
        Worker worker({PRODUCT_ID_JOYSTICK});
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
        BaseEmulator::addBase(PRODUCT_ID_JOYSTICK);
        for (int tick = 0; tick <= Worker::retryTicks; ++tick)
            worker.checkDeviceConnections();
        // As the main window forwards the pages' settings to the selected base.
        for (SettingsPageWidget* page : {static_cast<SettingsPageWidget*>(effects.get()), static_cast<SettingsPageWidget*>(hardware.get())}) {
            connect(page, &SettingsPageWidget::settingUInt8Changed, &worker, [&worker](auto f, auto i, auto d) { worker.sendUInt8SettingReport(PRODUCT_ID_JOYSTICK, f, i, d); });
            connect(page, &SettingsPageWidget::settingUInt16Changed, &worker, [&worker](auto f, auto i, auto d) { worker.sendUInt16SettingReport(PRODUCT_ID_JOYSTICK, f, i, d); });
            connect(page, &SettingsPageWidget::settingFloatChanged, &worker, [&worker](auto f, auto i, auto d) { worker.sendFloatSettingReport(PRODUCT_ID_JOYSTICK, f, i, d); });
        }
        connect(&worker, &Worker::effectSettingsObtained, this, [this](auto settings) { effects->settingsToUi(settings, false); });
        connect(&worker, &Worker::hardwareSettingsObtained, this, [this](auto settings) { hardware->settingsToUi(settings); });
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)));
        QSignalSpy floats(hardware.get(), &FullHardwareSettingsWidget::settingFloatChanged);
        for (auto [name, text] : {std::pair{"static_dampening_axis1", "500"}, {"axis0_p_gain", "53"}, {"calibration_speed", "200"}}) {
            child<QSpinBox>(name)->selectAll();
            QTest::keyClicks(child(name), text);
            QTest::keyClick(child(name), Qt::Key_Return);
        }
        QCOMPARE(sent, (QStringList{"uint16 8 1 500", "float 25 0 0.53", "uint8 16 0 200"}));
        QCOMPARE(floats.last().at(2).toFloat(), 0.53f);
        effects->settingsToUi(EffectSettingsTypeDef{}, false);
        hardware->settingsToUi(HardwareSettingsTypeDef{});
        worker.readEffectSettings(PRODUCT_ID_JOYSTICK);
        worker.readHardwareSettings(PRODUCT_ID_JOYSTICK);
        expectShown({{"static_dampening_axis1", 500}, {"static_dampening_slider_axis1", 500}, {"axis0_p_gain", 53},
                     {"calibration_speed", 200}, {"calibration_speed_slider", 200}});
        QCOMPARE(child<QSlider>("calibration_speed_slider")->maximum(), 200);
        QCOMPARE(sent.size(), 3);
    }

    // No spin box of the three pages takes a number before it is confirmed: typed, it is
    // sent once on leaving the box (on Enter: typedEditsEndOnTheEmulatedBase); an arrow key
    // still sends its step at once.
    void typedNumberIsSentOnceConfirmed()
    {
        for (SettingsPageWidget* page : pages())
            QCOMPARE(WidgetTest::keyboardTrackingSpinBoxes(page), QStringList());
        QVERIFY(WidgetTest::showExposed(effects.get(), QSize(640, 760)));
        auto* spin = child<QSpinBox>("motion_range_axis0");
        WidgetTest::typeInto(spin, "500");
        QTest::keyClick(spin, Qt::Key_Up);
        QCOMPARE(sent, (QStringList{"uint16 5 0 500", "uint16 5 0 501"}));
        QVERIFY(!WidgetTest::saveScreenshot(effects.get(), "typed_number").isEmpty());
    }

    // The periphery form alone: names, types, ranges, label texts, pages; retranslating
    // keeps the state.
    void peripheryFormBuildsEveryNamedControl()
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

    void peripherySectionsFollowTypeAndPins_data()
    {
        QTest::addColumn<int>("type"); // -1: a new page, nothing loaded
        QTest::addColumn<int>("pin"); // gets mode
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("new page") << -1 << 0 << 0 << "0 1100 0000";
        QTest::newRow("custom") << 1 << 0 << 0 << "1 1110 0111";
        QTest::newRow("thrustmaster") << 2 << 0 << 0 << "2 1100 0000";
        QTest::newRow("mongoost") << 3 << 0 << 0 << "3 1101 0000";
        QTest::newRow("tianhang") << 12 << 0 << 0 << "12 1100 0000";
        QTest::newRow("tianhang, pin 3 analog") << 12 << 2 << 2 << "12 1101 0000";
        QTest::newRow("pin 1 generic button") << 0 << 0 << 1 << "0 1110 1000";
        QTest::newRow("type 13: no selection") << 13 << 0 << 0 << "0 1101 0000";
    }

    // Loaded records set the sections and send nothing; an unknown type is saved as 255.
    void peripherySectionsFollowTypeAndPins()
    {
        QFETCH(int, type);
        QFETCH(int, pin);
        QFETCH(int, mode);
        PeripheryRecords p;
        p.gpio.extensionType = uint8_t(type), p.gpio.pinModes[pin] = uint8_t(mode);
        if (type >= 0)
            load(Periphery, bytesOf(p), false);
        QTEST(sections(), "expected");
        QCOMPARE(uint8_t(shown(Periphery)[64]), uint8_t(type < 0 ? 0 : type < 13 ? type : 255));
        QVERIFY(WidgetTest::showExposed(periphery.get(), QSize(900, 640)));
        QVERIFY(!WidgetTest::saveScreenshot(periphery.get(), QString("sections_") + QTest::currentDataTag()).isEmpty());
        QCOMPARE(sent, QStringList());
    }

    // Each pin's list hides the modes it lacks; a record may still select one.
    void peripheryPinsOfferTheirModes()
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
        PeripheryRecords p;
        p.gpio.pinModes[0] = 8, p.gpio.pinModes[9] = 1;
        load(Periphery, bytesOf(p), false);
        QCOMPARE(child<QComboBox>("gpioModeCombo_1")->currentText() + child<QComboBox>("gpioModeCombo_10")->currentText(), "Braking PWMGeneric button");
    }

    // Keyboard and mouse: one setting per change; a pin mode does not re-evaluate the
    // sections, the extension type does.
    void peripheryEditsSendOneSettingEach()
    {
        QVERIFY(WidgetTest::showExposed(periphery.get(), QSize(900, 640)));
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

    void typedNameAppliesOnlyWhenChosenOrConfirmed_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("action");
        for (const char* action : {"save", "delete", "list"}) {
            QTest::addRow("effects, %s", action) << Effects << QString(action);
            QTest::addRow("periphery, %s", action) << Periphery << QString(action);
        }
    }

    // An existing profile's name typed into the box: leaving the box for Save, Delete or
    // the list applies nothing; a choice from the list applies the profile (as Enter does,
    // in savedProfileAppliesWhatDiffers).
    void typedNameAppliesOnlyWhenChosenOrConfirmed()
    {
        QFETCH(Page, page);
        QFETCH(QString, action);
        load(page, sample(page, true), false);
        QByteArray profile = sample(page, true);
        profile[page == Effects ? 1 : 14] = char(55);
        QVERIFY(writeFile(folder(page) + "alpha", profile) && writeFile(folder(page) + "changed", profile));
        QVERIFY(QMetaObject::invokeMethod(pageOf(page), "readProfiles"));
        QVERIFY(WidgetTest::showExposed(pageOf(page), QSize(900, 760)));
        pageOf(page)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pageOf(page)));
        QComboBox* combo = profileCombo(page);
        QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
        QTest::keyClicks(combo->lineEdit(), "changed");
        QTRY_VERIFY(combo->lineEdit()->hasFocus());
        if (action == "list") {
            QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 6, combo->height() / 2));
            QTRY_VERIFY(combo->view()->isVisible());
            QVERIFY(!combo->lineEdit()->hasFocus());
            QCOMPARE(sent, QStringList());
            QTest::qWait(QApplication::doubleClickInterval() + 100); // the list ignores a release that soon after opening
            const QRect item = combo->view()->visualRect(combo->model()->index(combo->findText("changed"), 0));
            QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, item.center());
        } else {
            click(page, action == "save" ? "profile_save_button" : "profile_delete_button");
            QVERIFY(!combo->lineEdit()->hasFocus());
            QCOMPARE(tree().value(QDir::current().absoluteFilePath(folder(page) + "changed")), action == "save" ? sample(page, true) : QByteArray());
        }
        QCOMPARE(sent, action == "list" ? QStringList{page == Effects ? "uint8 1 0 55" : "uint8 38 2 55"} : QStringList());
        QVERIFY(!WidgetTest::saveScreenshot(pageOf(page), QString("typed_") + QTest::currentDataTag()).isEmpty());
    }

    void appliedProfileMakesTheBaseEqualIt_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("base");     // the base's effect record, or its ADC and GPIO records
        QTest::addColumn<QString>("userEdit");    // "spin box=value" set before the profile is applied
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<int>("writes");          // how many settings are sent
        QTest::addColumn<QByteArray>("expected"); // the base's records afterwards
        const QByteArray record = bytesOf(effectRecord()), zeros(128, '\0');
        QTest::newRow("the user's 500, a profile of the base's 900")
            << Effects << 1 << record << "motion_range_axis0=500" << record << 2 << record;
        // Every field differs from the base's record; one-axis bases keep their axis 1.
        EffectSettingsTypeDef full{-1, 41, 51, 61, 0, {}, {}}, oneAxis, beyond, held;
        full.axis[0] = {81, 901, 11, 21, 31, 41, 51, 61, 71}, full.axis[1] = {82, 902, 12, 22, 32, 42, 52, 62, 72};
        oneAxis = beyond = held = full;
        oneAxis.axis[1] = effectRecord().axis[1];
        QTest::newRow("joystick, every field") << Effects << 1 << record << "" << bytesOf(full) << 23 << bytesOf(full);
        for (int type : {2, 3, 4})
            QTest::addRow("type %d, every field", type) << Effects << type << record << "" << bytesOf(full) << 14 << bytesOf(oneAxis);
        // Also a soft stop range of 1 over the base's 0, which its box shows as 1.
        beyond.invertConstantForce = 5, beyond.forceClippingMode = 1, beyond.directXSpringStrength = 200, beyond.axis[0].motionRange = 20000;
        beyond.axis[0].softStopRange = 100, beyond.axis[1].softStopRange = 1, beyond.axis[1].staticDampening = 5000;
        held.invertConstantForce = 1, held.forceClippingMode = 1, held.directXSpringStrength = 100, held.axis[0].motionRange = 9999;
        held.axis[0].softStopRange = 45, held.axis[1].softStopRange = 1, held.axis[1].staticDampening = 1000;
        QTest::newRow("values beyond the controls") << Effects << 1 << zeros << "" << bytesOf(beyond) << 23 << bytesOf(held);
        // Also a latch delay of 1 over the base's 0, which its box shows as 1.
        QByteArray periphery = sample(Periphery, true);
        periphery[64 + 45] = 1;
        QTest::newRow("periphery, every field") << Periphery << 2 << zeros << "" << periphery << 51 << periphery;
        QTest::newRow("the user's smoothing 55, a periphery profile of the base's")
            << Periphery << 2 << periphery << "analogSmoothingSpinBox_3=55" << periphery << 2 << periphery;
    }

    // Applying a profile compares it with what the base holds, not with the controls:
    // the base then equals the profile in every field it has, the values held within the
    // controls' ranges. A one-axis base gets no axis-1 setting, also from the controller
    // page, and its hidden axis-1 controls keep the base's values, which a save stores.
    void appliedProfileMakesTheBaseEqualIt()
    {
        QFETCH(Page, page);
        QFETCH(int, type);
        QFETCH(QByteArray, base);
        QFETCH(QString, userEdit);
        QFETCH(QByteArray, profile);
        QFETCH(QByteArray, expected);
        const int pid = QList<int>{PRODUCT_ID_GENERIC, PRODUCT_ID_JOYSTICK, PRODUCT_ID_RUDDER, PRODUCT_ID_WHEEL, PRODUCT_ID_COLLECTIVE}[type];
        effects->setDeviceType(DeviceTypeEnum(type));
        hardware->setDeviceType(DeviceTypeEnum(type), false);
        Worker worker({pid});
        linkToBase(worker, pid, {{EFFECT_SETTINGS_REPORT_ID, base}, {ADC_EXTENSION_SETTINGS_REPORT_ID, base}, {GPIO_EXTENSION_SETTINGS_REPORT_ID, base.mid(64)}});
        load(page, base, false);
        if (!userEdit.isEmpty())
            child<QSpinBox>(userEdit.section('=', 0, 0))->setValue(userEdit.section('=', 1).toInt());
        QVERIFY(writeFile(folder(page) + "profile", profile));
        QVERIFY(QMetaObject::invokeMethod(pageOf(page), "applyProfile", Q_ARG(QString, "profile")));

        QTEST(int(sent.size()), "writes");
        const auto onBase = [pid](uint8_t reportId) { return bytesOf(BaseEmulator::settingsRecord(pid, reportId)); };
        QCOMPARE(page == Effects ? onBase(EFFECT_SETTINGS_REPORT_ID) : onBase(ADC_EXTENSION_SETTINGS_REPORT_ID) + onBase(GPIO_EXTENSION_SETTINGS_REPORT_ID), expected);
        QCOMPARE(shown(page), expected); // what a save stores
        const qsizetype before = sent.size();
        for (auto* spin : child("axis1Tab", hardware.get())->findChildren<QSpinBox*>())
            spin->setValue(spin->maximum());
        QCOMPARE(sent.size() > before, type == DEVICE_TYPE_JOYSTICK);
    }
};

QTEST_MAIN(TestSettingsPages)
#include "tst_settingspages.moc"
