#include "effectprofilefolder.h"
#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "widgettest.h"

#include <QJsonDocument>
#include <QTest>

#include <sys/stat.h>

static bool writeProfile(const QString& path, const QString& module)
{
    EffectsProfile profile;
    profile.metadata.flightModule = module;
    const QByteArray text = QJsonDocument(profile.toJson()).toJson();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// What stands at path, without following a link.
static QString describe(const QString& path)
{
    const QFileInfo entry(path);
    QFile file(path);
    if (entry.isSymLink() || !entry.isFile() || !file.open(QIODevice::ReadOnly))
        return entry.symLinkTarget() + (entry.isDir() ? " folder" : entry.exists() ? " other" : " absent");
    return file.readAll().toHex();
}

class TestEffectProfileFolder : public QObject {
    Q_OBJECT

private slots:
    void folderEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry"); // what stands there: a link's target or a kind
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("saveError"); // empty: saved
        QTest::newRow("plain file") << "GENERIC.json" << "file" << true << true << "";
        QTest::newRow("link outside") << "GENERIC.json" << "../outside.json" << false << false << "link";
        QTest::newRow("link to a missing file outside") << "GENERIC.json" << "../created.json" << false << false << "link";
        QTest::newRow("link to /dev/zero") << "GENERIC.json" << "/dev/zero" << false << false << "link";
        QTest::newRow("link inside to a profile") << "GENERIC.json" << "DCS_Jet_7.json" << true << true << "link";
        QTest::newRow("FIFO") << "GENERIC.json" << "fifo" << false << false << "not a regular file";
        QTest::newRow("folder") << "GENERIC.json" << "folder" << false << false << "not a regular file";
        QTest::newRow("over 16 MiB") << "GENERIC.json" << "large" << true << false << "";
        QTest::newRow("leftover temporary") << "GENERIC_kill.json.lGOVCu" << "file" << false << false << "";
        QTest::newRow("name leading out") << "../escape.json" << "" << false << false << "out of the profile folder";
    }

    void folderEntries()
    {
        QFETCH(QString, name); QFETCH(QString, entry); QFETCH(bool, listed); QFETCH(bool, loads);
        QFETCH(QString, saveError);
        WidgetTest::ScopedWorkingDirectory working;
        QVERIFY(QDir().mkdir("effect_profiles") && writeProfile("outside.json", "Prop-2")
                && writeProfile("effect_profiles/DCS_Jet_7.json", "Jet-7"));
        const QString path = "effect_profiles/" + name;
        if (entry == "file" || entry == "large")
            QVERIFY(writeProfile(path, "Jet-8") && (entry == "file" || QFile::resize(path, maxEffectsProfileFileSize + 1)));
        else if (entry == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (entry == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (!entry.isEmpty())
            QVERIFY(QFile::link(entry, path));
        const QString before = describe(path), outside = describe("outside.json");
        if (entry == "large") // the log names the file
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("GENERIC\\.json.*larger than"));

        EffectProfileFolder folder;
        QMap<QString, QString> modules;
        for (const EffectProfileFolder::Entry& listedEntry : folder.list())
            modules.insert(listedEntry.fileName, listedEntry.metadata.flightModule);
        QCOMPARE(modules.contains(name), listed);
        QCOMPARE(modules.value(name), !listed || entry == "large" ? "" : entry == "file" ? "Jet-8" : "Jet-7");
        EffectsProfile profile;
        profile.metadata.comment = "untouched";
        QCOMPARE(folder.load(name, &profile), loads);
        QCOMPARE(profile.metadata.comment, loads ? "" : "untouched");

        profile.metadata.flightModule = "Saved";
        QString error;
        QCOMPARE(folder.save(name, profile, &error), saveError.isEmpty());
        QVERIFY2(error.contains(saveError), qPrintable(error));
        QCOMPARE(describe("outside.json"), outside);
        QVERIFY(!QFile::exists("created.json") && !QFile::exists("escape.json"));
        EffectsProfile back;
        if (saveError.isEmpty())
            QVERIFY(readEffectsProfileFile(path, back) && back.metadata.flightModule == "Saved" && !QFileInfo(path).isSymLink());
        else
            QCOMPARE(describe(path), before);
    }
};

QTEST_GUILESS_MAIN(TestEffectProfileFolder)
#include "tst_effectprofilefolder.moc"
