#include "appconfig.h"
#include "gameconfigwidget.h"
#include "smallfilesystem.h"
#include "widgettest.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <memory>
#include <optional>

namespace {

struct Box {
    QString kind, title, text;
};

// What tells the three simulators apart on the page; the titles of the update's boxes
// begin with name. written is what an update to port 4321 writes into file; without
// its files, the update's error names missing.
struct Simulator {
    QString prefix, name, folder, file, marker, caption, emptyText, written, missing, wrongTitle, wrongText;
};

const Simulator simulators[] = {
    {"dcs", "DCS", "Saved Games/DCS", "/Scripts/Torquix/Port.lua", "", "Navigate DCS SavedGames root folder",
     "You need to set DCS SavedGames folder first!", "Torquix.port = 4321", "TorquixGameExport.lua", "", ""},
    {"il2", "Il2", "IL-2 Sturmovik", "/data/startup.cfg", "/data/startup.cfg", "Navigate il2 install folder",
     "You need to set Il2 install folder path first!", "addr1 = \"127.0.0.1:4321\"", "startup.cfg",
     "Wrong Il2 install path", "Looks like selected folder is not Il2 root folder. Navigate to root of Il2 install"},
    {"condor2", "Condor2", "Condor2", "/Settings/UDP.ini", "/Settings/UDP.ini", "Navigate Condor2 install folder",
     "You need to set Condor2 install folder path first!", "Port=4321", "UDP.ini", "Wrong Condor2 install path",
     "Looks like selected folder is not Condor2 root folder. Navigate to root of Condor 2 install"},
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Box)

class TestGameConfigWidget : public QObject {
    Q_OBJECT

private:
    template <typename T> T* child(const QString& name) { return page->findChild<T*>(name); }
    QString makeSimulatorFolder(int simulator, bool withMarker = true);
    void setSettings(int simulator, const QString& path, quint16 port);
    QPair<QString, int> stored(int simulator);
    QPair<QString, int> emitted(int simulator);
    void click(int simulator, const QString& button, int port = -1);
    void checkBoxes(const QList<Box>& expected);

    std::unique_ptr<WidgetTest::ScopedWorkingDirectory> workingDirectory;
    std::unique_ptr<AppConfig> config;
    std::unique_ptr<GameConfigWidget> page;
    std::unique_ptr<QSignalSpy> spies[3];
    QStringList folderAnswers, captions;
    QList<Box> boxes;

private slots:
    void init();
    void cleanup();
    void update_data();
    void update();
    void pickFolder_data();
    void pickFolder();
    void realMessageBoxShown();
    void screenshotOfEveryTab();
};

void TestGameConfigWidget::init()
{
    workingDirectory = std::make_unique<WidgetTest::ScopedWorkingDirectory>();
    QVERIFY(workingDirectory->isValid());
    config = std::make_unique<AppConfig>();
    page = std::make_unique<GameConfigWidget>();
    auto box = [this](const QString& kind) {
        return [this, kind](QWidget*, const QString& title, const QString& text) { boxes << Box{kind, title, text}; };
    };
    page->setDialogs({[this](QWidget* parent, const QString& caption) {
                          captions << (parent == page.get() ? caption : QString("parent is not the page"));
                          return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
                      },
                      box("critical"), box("information")});
    connect(page.get(), &GameConfigWidget::dcsSettingsChanged, config.get(), &AppConfig::changeDcsSettings);
    connect(page.get(), &GameConfigWidget::il2SettingsChanged, config.get(), &AppConfig::changeIl2Settings);
    connect(page.get(), &GameConfigWidget::condor2SettingsChanged, config.get(), &AppConfig::changeCondor2Settings);
    spies[0] = std::make_unique<QSignalSpy>(page.get(), &GameConfigWidget::dcsSettingsChanged);
    spies[1] = std::make_unique<QSignalSpy>(page.get(), &GameConfigWidget::il2SettingsChanged);
    spies[2] = std::make_unique<QSignalSpy>(page.get(), &GameConfigWidget::condor2SettingsChanged);
    QVERIFY(WidgetTest::showExposed(page.get(), QSize(640, 300)));
}

void TestGameConfigWidget::cleanup()
{
    for (auto& spy : spies)
        spy.reset();
    page.reset();
    config.reset();
    workingDirectory.reset();
    folderAnswers.clear();
    captions.clear();
    boxes.clear();
}

// A folder the simulator's update can write to; DCS also gets the shipped tree.
QString TestGameConfigWidget::makeSimulatorFolder(int simulator, bool withMarker)
{
    const QString folder = workingDirectory->filePath(simulators[simulator].folder);
    QDir().mkpath(folder + QFileInfo(simulators[simulator].file).path());
    QFile marker(simulator == 0 ? workingDirectory->filePath("extras/dcs/Scripts/TorquixGameExport.lua")
                                : folder + simulators[simulator].marker);
    QDir().mkpath(QFileInfo(marker).path());
    if (simulator == 0 || withMarker)
        marker.open(QIODevice::WriteOnly);
    return folder;
}

void TestGameConfigWidget::setSettings(int simulator, const QString& path, quint16 port)
{
    if (simulator == 0)
        page->setDcsSettings({path, port});
    else if (simulator == 1)
        page->setIl2Settings({path, port});
    else
        page->setCondor2Settings({path, port});
}

QPair<QString, int> TestGameConfigWidget::stored(int simulator)
{
    if (simulator == 0)
        return {config->dcsSettings().path, config->dcsSettings().port};
    if (simulator == 1)
        return {config->il2Settings().path, config->il2Settings().port};
    return {config->condor2Settings().path, config->condor2Settings().port};
}

QPair<QString, int> TestGameConfigWidget::emitted(int simulator)
{
    if (spies[simulator]->count() != 1)
        return {"emitted " + QString::number(spies[simulator]->count()) + " times", 0};
    const QVariant argument = spies[simulator]->at(0).at(0);
    if (simulator == 0)
        return {argument.value<AppConfig::DcsSettings>().path, argument.value<AppConfig::DcsSettings>().port};
    if (simulator == 1)
        return {argument.value<AppConfig::Il2Settings>().path, argument.value<AppConfig::Il2Settings>().port};
    return {argument.value<AppConfig::Condor2Settings>().path, argument.value<AppConfig::Condor2Settings>().port};
}

// Types the port (when given) into the spin box and clicks the button.
void TestGameConfigWidget::click(int simulator, const QString& button, int port)
{
    child<QTabWidget>("tabWidget")->setCurrentIndex(simulator);
    auto* spinBox = child<QSpinBox>(simulators[simulator].prefix + "_port_spinbox");
    if (port >= 0) {
        spinBox->selectAll();
        QTest::keyClicks(spinBox, QString::number(port));
        QCOMPARE(spinBox->value(), port);
    }
    QTest::mouseClick(child<QPushButton>(simulators[simulator].prefix + button), Qt::LeftButton);
}

void TestGameConfigWidget::checkBoxes(const QList<Box>& expected)
{
    QCOMPARE(boxes.size(), expected.size());
    for (int i = 0; i < boxes.size(); ++i) {
        QCOMPARE(boxes[i].kind, expected[i].kind);
        QCOMPARE(boxes[i].title, expected[i].title);
        QVERIFY2(boxes[i].text.contains(expected[i].text), qPrintable(boxes[i].text));
    }
}

void TestGameConfigWidget::update_data()
{
    QTest::addColumn<int>("simulator");
    QTest::addColumn<QString>("folder"); // none, ready, bare of the simulator's files, full (a full disk) or unstored (no config.ini)
    QTest::addColumn<int>("port");       // typed before the update
    QTest::addColumn<Box>("box");        // its title after the simulator's name; a part of its text
    const QString restart = "You need to restart Torquix Commander in order to activate changes in config";
    for (int simulator = 0; simulator < 3; ++simulator) {
        const Simulator& sim = simulators[simulator];
        const auto row = [&](const QString& name, const char* folder, int port, const char* kind,
                             const char* title, const QString& text) {
            QTest::newRow(qPrintable(sim.prefix + name))
                << simulator << QString(folder) << port << Box{kind, sim.name + title, text};
        };
        row(" folder empty", "none", 200, "critical", " path is not set", sim.emptyText);
        row(" port 0", "ready", 0, "critical", " port is not set", "from 1 to 65535");
        row("", "ready", 4321, "information", " config updated", restart);
        row(" without its files", "bare", 4321, "critical", " config not updated", sim.missing);
        row(" config.ini not written", "unstored", 4321, "critical", " config not updated", "config.ini: disk full");
        if (simulator > 0)
            row(" on a full disk", "full", 4321, "critical", " config not updated", sim.file.mid(1) + ": No space left");
    }
}

// A refused update touches, stores and emits nothing, and the record keeps its port.
// Otherwise folder and port reach config.ini, also when a file step fails: they are the
// user's choice.
void TestGameConfigWidget::update()
{
    QFETCH(int, simulator);
    QFETCH(QString, folder);
    QFETCH(int, port);
    QFETCH(Box, box);
    const Simulator& sim = simulators[simulator];
    std::optional<SmallFileSystem> disk;
    QString path = folder == "bare" ? workingDirectory->filePath("empty") : makeSimulatorFolder(simulator);
    if (folder == "full") {
        disk.emplace();
        SKIP_UNLESS_MOUNTED(*disk);
        path = disk->filePath(sim.folder);
        QVERIFY(QDir().mkpath(QFileInfo(path + sim.file).path()) && disk->fill());
    }
    if (folder == "unstored")
        page->setStoreErrorSource([] { return QString("Cannot write config.ini: disk full"); });
    QVERIFY(QDir().mkpath(path));
    setSettings(simulator, folder == "none" ? QString() : path, 4000);
    config->changeDcsSettings({"stored", 4000});
    config->changeIl2Settings({"stored", 4000});
    config->changeCondor2Settings({"stored", 4000});
    const QByteArray before = readFile(path + sim.file);

    click(simulator, "_update_button", port);
    checkBoxes({box});
    const bool refused = folder == "none" || port == 0;
    const QPair<QString, int> applied = refused ? qMakePair(QString("stored"), 4000) : qMakePair(path, port);
    QCOMPARE(child<QLabel>(sim.prefix + "_port_label")->text(), QString::number(applied.second));
    QCOMPARE(stored(simulator), applied);
    if (refused) {
        QCOMPARE(spies[simulator]->count(), 0);
        QCOMPARE(readFile(path + sim.file), before);
        return;
    }
    QCOMPARE(emitted(simulator), applied);
    QVERIFY(folder != "full" || !QFile::exists(path + sim.file));
    if (box.kind == "information") {
        QVERIFY(readFile(path + sim.file).contains(sim.written.toUtf8()));
        QVERIFY(!WidgetTest::saveScreenshot(page.get(), "updated-" + sim.prefix).isEmpty());
    }
}

void TestGameConfigWidget::pickFolder_data()
{
    QTest::addColumn<int>("simulator");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("withMarker");
    QTest::addColumn<bool>("wrongBox");
    QTest::newRow("dcs picked, nothing checked") << 0 << false << false << false;
    QTest::newRow("dcs cancelled") << 0 << true << false << false;
    QTest::newRow("il2 with startup.cfg") << 1 << false << true << false;
    QTest::newRow("il2 without startup.cfg") << 1 << false << false << true;
    QTest::newRow("il2 cancelled") << 1 << true << false << false;
    QTest::newRow("condor2 with UDP.ini") << 2 << false << true << false;
    QTest::newRow("condor2 without UDP.ini") << 2 << false << false << true;
    QTest::newRow("condor2 cancelled") << 2 << true << false << false;
}

// The picked folder is stored and shown even when its marker file is missing; a cancel
// keeps the previous one. Either way nothing is stored before the next update.
void TestGameConfigWidget::pickFolder()
{
    QFETCH(int, simulator);
    QFETCH(bool, cancel);
    QFETCH(bool, withMarker);
    QFETCH(bool, wrongBox);
    const Simulator& sim = simulators[simulator];
    const QString previous = workingDirectory->filePath("previous");
    setSettings(simulator, previous, 7);
    const QString picked = makeSimulatorFolder(simulator, withMarker);
    folderAnswers << (cancel ? QString() : picked);

    click(simulator, "_path_button");
    QCOMPARE(captions, QStringList{sim.caption});
    const QString folder = cancel ? previous : picked;
    QCOMPARE(child<QLabel>(sim.prefix + "_path_label")->text(), folder);
    QCOMPARE(child<QLabel>(sim.prefix + "_path_label")->toolTip(), folder);
    checkBoxes(wrongBox ? QList<Box>{{"critical", sim.wrongTitle, sim.wrongText}} : QList<Box>());
    QVERIFY(!QFile::exists(workingDirectory->filePath("config.ini")));
    click(simulator, "_update_button", 6000);
    QCOMPARE(emitted(simulator).first, folder);
}

// Without replacements the page opens real message boxes.
void TestGameConfigWidget::realMessageBoxShown()
{
    GameConfigWidget realPage;
    QVERIFY(WidgetTest::showExposed(&realPage, QSize(640, 300)));
    QString title, text;
    WidgetTest::whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        QVERIFY(!WidgetTest::saveScreenshot(box, "empty-folder-box").isEmpty());
        box->accept();
    });
    QTest::mouseClick(realPage.findChild<QPushButton*>("il2_update_button"), Qt::LeftButton);
    QCOMPARE(title, QString("Il2 path is not set"));
    QCOMPARE(text, QString("You need to set Il2 install folder path first!"));
}

void TestGameConfigWidget::screenshotOfEveryTab()
{
    page->setDcsSettings({"C:/Users/pilot/Saved Games/DCS", 41230});
    page->setIl2Settings({QString(), 0});
    page->setCondor2Settings({"D:/Condor2", 65535});
    QCOMPARE(child<QLabel>("il2_path_label")->text(), QString("Not set"));
    QCOMPARE(child<QLabel>("il2_port_label")->text(), QString("0"));
    QCOMPARE(child<QSpinBox>("condor2_port_spinbox")->value(), 65535);
    QVERIFY(boxes.isEmpty());
    auto* tabs = child<QTabWidget>("tabWidget");
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList names = {"DCS", "il2", "Condor2", "MSFS", "Warthunder"};
    QCOMPARE(tabs->count(), names.size());
    for (int index = 0; index < tabs->count(); ++index) {
        QCOMPARE(tabs->tabText(index), names[index]);
        tabs->setCurrentIndex(index);
        QVERIFY(!WidgetTest::saveScreenshot(page.get(), "tab-" + names[index]).isEmpty());
    }
}

QTEST_MAIN(TestGameConfigWidget)
#include "tst_gameconfigwidget.moc"
