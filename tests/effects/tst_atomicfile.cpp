#include "atomicfile.h"
#include "smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void roomEnoughReplacesTheFile();
};

static QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
}

void TestAtomicFile::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<qint64>("leaveFree");
    QTest::addColumn<bool>("existed");
    QTest::addColumn<int>("size");
    for (const qint64 free : {qint64(0), SmallFileSystem::pageSize}) {
        for (const bool existed : {true, false}) {
            // A page free takes a small write whole, so only a larger one can fail there.
            const int size = free == 0 ? 140 : 3 * SmallFileSystem::pageSize;
            QTest::addRow("%s, %s", free == 0 ? "full" : "one page free", existed ? "old file" : "new file")
                << free << existed << size;
        }
    }
}

void TestAtomicFile::fullDiskKeepsTheOldFile()
{
    QFETCH(qint64, leaveFree);
    QFETCH(bool, existed);
    QFETCH(int, size);
    SmallFileSystem disk;
    SKIP_UNLESS_MOUNTED(disk);
    const QString path = disk.filePath(QStringLiteral("profile.json"));
    const QByteArray old = "{\"old\": true}\n";
    if (existed) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    QVERIFY(disk.fill(leaveFree));

    const QString error = replaceFileAtomically(path, QByteArray(size, 'x'));

    QVERIFY2(!error.isEmpty(), "a failed save was reported as success");
    QCOMPARE(contents(path), existed ? old : QByteArray("<absent>"));
    const QStringList left = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, existed ? QStringList({SmallFileSystem::ballastName(), "profile.json"})
                           : QStringList({SmallFileSystem::ballastName()}));
}

void TestAtomicFile::roomEnoughReplacesTheFile()
{
    SmallFileSystem disk;
    SKIP_UNLESS_MOUNTED(disk);
    const QString path = disk.filePath(QStringLiteral("config.ini"));
    QVERIFY(replaceFileAtomically(path, "old").isEmpty());
    QVERIFY(disk.fill(2 * SmallFileSystem::pageSize));
    const QByteArray next(SmallFileSystem::pageSize, 'n');
    QCOMPARE(replaceFileAtomically(path, next), QString());
    QCOMPARE(contents(path), next);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
