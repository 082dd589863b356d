#include "effectprofilefolder.h"
#include "effectsprofile.h"
#include "widgettest.h"

#include <QFile>
#include <QJsonDocument>
#include <QTest>

using WidgetTest::ScopedWorkingDirectory;

namespace {

EffectsProfileMetadata metadata(int source, const QString& module, const QString& comment = {})
{
    EffectsProfileMetadata data;
    data.source = Telemetry::Source(source);
    data.flightModule = module;
    data.comment = comment;
    return data;
}

bool writeFile(const QString& fileName, const QByteArray& text)
{
    QFile file("effect_profiles/" + fileName);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

bool writeProfile(const QString& fileName, const EffectsProfileMetadata& data)
{
    EffectsProfile profile;
    profile.metadata = data;
    return writeFile(fileName, QJsonDocument(profile.toJson()).toJson());
}

} // namespace

class TestEffectProfileFolder : public QObject {
    Q_OBJECT

private slots:
    void fileNames_data();
    void fileNames();
    void flightModuleSearch_data();
    void flightModuleSearch();
    void filesRoundTripAndRefuseStrangers();
};

void TestEffectProfileFolder::fileNames_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("fileName");
    const QString longName(300, 'a');
    QTest::newRow("generic") << 0 << "" << "" << "GENERIC.json";
    QTest::newRow("key alone") << 1 << "" << "" << "DCS.json";
    QTest::newRow("module and comment") << 1 << "Jet-7/B" << "wet runway" << "DCS_Jet_7_B_wet_runway.json";
    QTest::newRow("blank of the key kept") << 2 << "Prop 2A" << "" << "IL2 SHTURMOVIK_Prop_2A.json";
    QTest::newRow("comment only") << 6 << "" << "Test!" << "XPLANE_Test_.json";
    QTest::newRow("Jet-7") << 1 << "Jet-7" << "" << "DCS_Jet_7.json";
    QTest::newRow("Jet/7 collides") << 1 << "Jet/7" << "" << "DCS_Jet_7.json";
    QTest::newRow("not ASCII") << 4 << "J\u00e4ger \u0663" << "" << "WARTHUNDER_J_ger__.json";
    QTest::newRow("parts capped") << 5 << longName << longName
                                  << "CONDOR2_" + longName.left(100) + "_" + longName.left(100) + ".json";
}

void TestEffectProfileFolder::fileNames()
{
    QFETCH(int, source);
    QFETCH(QString, module);
    QFETCH(QString, comment);
    QFETCH(QString, fileName);
    QCOMPARE(EffectProfileFolder::fileNameFor(metadata(source, module, comment)), fileName);
}

void TestEffectProfileFolder::flightModuleSearch_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("found");
    // "." sorts before "_": the profile without a comment wins over the one with.
    QTest::newRow("map order picks the winner") << 1 << "Jet-7" << "DCS_Jet_7.json";
    QTest::newRow("case differs") << 1 << "jet-7" << "";
    QTest::newRow("other source") << 3 << "Jet-7" << "";
    QTest::newRow("renamed file matches its metadata") << 2 << "Prop 2A" << "my_prop.json";
    QTest::newRow("not JSON is never chosen") << 0 << "" << "";
}

void TestEffectProfileFolder::flightModuleSearch()
{
    QFETCH(int, source);
    QFETCH(QString, module);
    QFETCH(QString, found);
    ScopedWorkingDirectory working;
    EffectProfileFolder folder;
    QVERIFY(writeProfile("DCS_Jet_7_night.json", metadata(1, "Jet-7", "night")));
    QVERIFY(writeProfile("DCS_Jet_7.json", metadata(1, "Jet-7")));
    QVERIFY(writeProfile("my_prop.json", metadata(2, "Prop 2A")));
    QVERIFY(writeFile("notes.txt", "not a profile"));

    QMap<QString, EffectsProfileMetadata> profiles;
    for (const EffectProfileFolder::Entry& entry : folder.list())
        profiles.insert(entry.fileName, entry.metadata);
    QCOMPARE(profiles.size(), 4);
    QCOMPARE(profiles.value("notes.txt"), EffectsProfileMetadata());
    QCOMPARE(EffectProfileFolder::findForFlightModule(profiles, source, module), found);
}

void TestEffectProfileFolder::filesRoundTripAndRefuseStrangers()
{
    ScopedWorkingDirectory working;
    EffectProfileFolder folder;
    EffectsProfile saved;
    saved.metadata = metadata(1, "Jet-7", "night");
    saved.effects.axes[1].simpleSpring.active = true;
    saved.effects.axes[1].simpleSpring.total_effect_strength = 42;
    QVERIFY(folder.save("a.json", saved));
    QVERIFY(!folder.holdsOtherProfile("a.json", saved.metadata));
    QVERIFY(folder.holdsOtherProfile("a.json", metadata(1, "Jet/7", "night")));
    QVERIFY(!folder.holdsOtherProfile("absent.json", saved.metadata));

    // Loading overlays the file on defaults: nothing of the previous profile survives.
    EffectsProfile loaded;
    loaded.effects.axes[3].engineShaker.active = true;
    QVERIFY(folder.load("a.json", &loaded));
    QCOMPARE(loaded, saved);

    QVERIFY(writeFile("broken.json", "{\"metadata\":"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("broken\\.json.*not loaded"));
    QVERIFY(!folder.load("broken.json", &loaded));
    QCOMPARE(loaded, saved);
    QVERIFY(folder.holdsOtherProfile("broken.json", saved.metadata));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Refusing.*\\.\\./a\\.json"));
    QVERIFY(!folder.load("../a.json", &loaded));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Refusing.*/tmp/x"));
    QVERIFY(!folder.remove("/tmp/x"));

    QVERIFY(folder.remove("a.json"));
    QVERIFY(!QFile::exists("effect_profiles/a.json"));
    // A folder that is gone (or a file in its place) cannot take a save.
    QVERIFY(folder.remove("broken.json"));
    QVERIFY(QDir().rmdir("effect_profiles"));
    QVERIFY(QFile("effect_profiles").open(QIODevice::WriteOnly));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot write profile"));
    QVERIFY(!folder.save("a.json", saved));
    QVERIFY(folder.list().isEmpty());
}

QTEST_GUILESS_MAIN(TestEffectProfileFolder)
#include "tst_effectprofilefolder.moc"
