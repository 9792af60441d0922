// Benchmarks of looking a stored path up on disk in a folder that holds two links to itself,
// "a" and "a¥a": every "a\a" of the stored bytes can be read both ways, and the body path is
// looked up again at every keystroke.
// Run: build/bench/bench_stored_path (Qt Test's benchmark options apply, e.g. -callgrind).

#include "text/stored_path.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class StoredPathBenchmark : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        for (const QString &name : {QStringLiteral("a"), QStringLiteral("a¥a")})
            QVERIFY(QFile::link(QStringLiteral("."), folder.filePath(name)));
    }

    void selfLinkedFolder_data()
    {
        QTest::addColumn<int>("parts");
        for (const int parts : {30, 300})
            QTest::addRow("%d parts", parts) << parts;
    }

    // A path that names nothing: every reading is tried before the plain one is given back.
    void selfLinkedFolder()
    {
        QFETCH(int, parts);
        const QByteArray bytes =
            QFile::encodeName(folder.path()) + '/' + QByteArray("a\\").repeated(parts - 1)
            + "missing";
        QString found;
        QBENCHMARK {
            found = resolveStoredPath(bytes);
        }
        QVERIFY(found.endsWith(QStringLiteral("/a/missing")));
    }

private:
    QTemporaryDir folder;
};

QTEST_GUILESS_MAIN(StoredPathBenchmark)
#include "bench_stored_path.moc"
