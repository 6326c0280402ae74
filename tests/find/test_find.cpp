#include "TestFiles.h"
#include "find/FindEngine.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace FindEngine;
using TestFiles::messageOf;

namespace {
// What the Extensions drop-down's "All" searches.
const QString AllMask = QStringLiteral("*.ped;*.rab;*.brd;*.shw");

QString write(const QDir &dir, const QString &name, const QStringList &lines)
{
    return TestFiles::writeLines(dir.filePath(name), lines);
}

QStringList namesOf(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names.append(fileNamePart(path));
    return names;
}

QList<std::pair<QString, int>> hitsOf(const Outcome &outcome)
{
    QList<std::pair<QString, int>> hits;
    for (const Hit &hit : outcome.hits)
        hits.append({hit.name(), hit.line});
    return hits;
}

// What the window's search would find by decoding each line and asking Qt.
QList<int> reference(const QByteArray &bytes, const QString &text)
{
    QList<int> lines;
    const QStringList decoded = LineFile::fromBytes(bytes).lines();
    for (int i = 0; i < decoded.size(); ++i) {
        if (decoded.at(i).contains(text, Qt::CaseInsensitive))
            lines.append(i);
    }
    return lines;
}

} // namespace

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void kindsAndMasks()
    {
        const QList<KindItem> items = kindItems({{"Pedigree Files", ".ped"}, {"Rabbit Files", ".rab"}});
        const QList<KindItem> expected = {{"All (*.ped, *.rab)", "*.ped;*.rab"},
                                          {"Pedigree Files (*.ped)", "*.ped"},
                                          {"Rabbit Files (*.rab)", "*.rab"}};
        QCOMPARE(items, expected);
        QVERIFY(kindItems({}).isEmpty());

        const std::tuple<const char *, QString, bool> matches[] = {
            {"OLDDOE.RAB", "*.rab", true}, {"a.ped", AllMask, true},   {".rab", "*.rab", true},
            {"a.rabx", "*.rab", false},    {"a.rbty", AllMask, false}, {"a.rab", "", false},
            {"doe1.rab", "doe?.r*", true}, {"doe12.rab", "doe?.rab", false}};
        for (const auto &[name, mask, match] : matches)
            QVERIFY2(matchesMask(name, mask) == match, name);

    }

    void listsFolderByMask()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        for (const char *name : {"b.rab", "A.ped", "c.brd", "d.shw", "e.rbty", "OLDDOE.RAB", "notes.txt"})
            write(dir, name, {"x"});
        QVERIFY(dir.mkdir("dir.rab"));
        QVERIFY(QFile::link(dir.filePath("dir.rab"), dir.filePath("link.ped")));
        QVERIFY(QFile::link(dir.filePath("missing"), dir.filePath("gone.brd")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.rab")).constData(), 0600), 0);

        // Directories (and links to them) are no files; everything else is listed.
        const QStringList all = listFolder(tmp.path(), AllMask);
        QCOMPARE(namesOf(all), QStringList({"A.ped", "b.rab", "c.brd", "d.shw", "gone.brd", "OLDDOE.RAB", "pipe.rab"}));
        QCOMPARE(namesOf(listFolder(tmp.path() + "/", QStringLiteral("*.rab"))),
                 QStringList({"b.rab", "OLDDOE.RAB", "pipe.rab"}));
        QCOMPARE(listFolder(tmp.path(), "*.rab;*.ped;*.brd;*.shw"), all);

        QVERIFY(messageOf<FileError>([&] { listFolder(dir.filePath("nowhere"), "*.rab"); })
                    .startsWith(QStringLiteral("Cannot list the folder \"%1\".")
                                    .arg(QDir::toNativeSeparators(dir.filePath("nowhere")))));
    }

    void oneResultPerMatchingLine()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QStringList paths{
            write(dir, "a.rab", {"Thumper", "Ann SMITH", "Smithfield Fair", "Black", "blacksmith"}),
            write(dir, "b.ped", {"Clover", "Jones"}),
            // The text across two lines is not found.
            write(dir, "c.shw", {"Bob Smi", "th"}),
            write(dir, "d.brd", {"smith", "", "x smith smith x"}),
        };
        const Outcome outcome = search(paths, "smith");
        QCOMPARE(hitsOf(outcome), (QList<std::pair<QString, int>>{
                                      {"a.rab", 1}, {"a.rab", 2}, {"a.rab", 4}, {"d.brd", 0}, {"d.brd", 2}}));
        QCOMPARE(outcome.hits.first().path, paths.first()); // full path, for Open
        QVERIFY(outcome.filesSearched == 4 && outcome.failures.isEmpty() && !outcome.cancelled);

        // Only the files of the chosen kind are read.
        QVERIFY(search(listFolder(tmp.path(), QStringLiteral("*.rab")), "CLOVER").hits.isEmpty());
        QCOMPARE(search(listFolder(tmp.path(), QStringLiteral("*.ped")), "CLOVER").hits,
                 QList<Hit>({{paths[1], 0}}));

        // An empty text is refused before any file is read.
        QCOMPARE(messageOf<RecordError>([&] { search(paths, ""); }), emptyTextMessage());
    }

    // Each matching line keeps its text, decoded and without its line end; a long
    // line keeps the part around the match, marked where it was cut.
    void hitsKeepTheirLineText()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString middle = QString(5000, u'x') + "Blue Otter" + QString(5000, u'y');
        const QString front = "lead BLUE " + QString(3000, u'z');
        const QString path =
            write(dir, "a.rab", {"Bluebell", "Caf\u00e9 au lait", "bLUE \u00c9t\u00e9", middle, front});
        Search search("blue");
        const FileResult result = search.searchFile(path);
        QCOMPARE(result.lines, QList<int>({0, 2, 3, 4}));
        QCOMPARE(result.texts.size(), result.lines.size());
        QCOMPARE(result.texts.mid(0, 2), QStringList({"Bluebell", "bLUE \u00c9t\u00e9"}));
        const QString cut = result.texts.at(2);
        QVERIFY2(cut.contains("Blue Otter") && cut.startsWith(u'\u2026') && cut.endsWith(u'\u2026') &&
                     cut.size() <= MaxShownLine + 2,
                 qPrintable(cut));
        QCOMPARE(result.texts.at(3), front.left(MaxShownLine) + u'\u2026');
        QCOMPARE(Search("caf\u00c9").searchFile(path).texts, QStringList({"Caf\u00e9 au lait"}));
    }

    void agreesWithDecodedSearch()
    {
        // Random files over letters with case pairs (the micro sign folds to Greek mu),
        // line ends and any byte; the search must give exactly the lines the decoded,
        // Qt-folded search gives. Text no file can hold is found nowhere.
        const QByteArray sample = "Caf\xC9 Noir\r\nC\x9Cur\r\n5 \xB5m\r\n";
        for (const char *text : {"cafÉ", "cŒur", "μM", "🐇", "Ω", "r\r\n"})
            QCOMPARE(Search(QString::fromUtf8(text)).searchBytes(sample), reference(sample, QString::fromUtf8(text)));
        QRandomGenerator random(20240607);
        const QByteArray alphabet = "aAeE\xE9\xC9\x9C\x8C\x9A\x8A\xFF\x9F\xDF\xB5 \r\r\n\n";
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes;
            const int size = random.bounded(200);
            for (int i = 0; i < size; ++i) {
                bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                                : alphabet.at(random.bounded(int(alphabet.size())));
            }
            const QStringList lines = LineFile::fromBytes(bytes).lines();
            for (int probe = 0; probe < 10; ++probe) {
                QString text;
                const QString source = lines.isEmpty() ? QString() : lines.at(random.bounded(int(lines.size())));
                if (!source.isEmpty() && probe % 3 != 0) {
                    const int from = random.bounded(int(source.size()));
                    text = source.mid(from, 1 + random.bounded(4));
                    for (QChar &c : text)
                        c = random.bounded(2) ? c.toUpper() : c.toLower();
                } else {
                    text = QString::fromLatin1(alphabet.mid(random.bounded(int(alphabet.size())), 2));
                }
                if (text.isEmpty())
                    continue;
                const QList<int> got = Search(text).searchBytes(bytes);
                if (got != reference(bytes, text))
                    QFAIL(
                        qPrintable(QStringLiteral("text \"%1\" in %2").arg(text, QString::fromLatin1(bytes.toHex()))));
            }
        }
    }

    void filesThatCannotBeSearched()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        write(dir, "a.rab", {"Clover"});
        QVERIFY(QFile::link(dir.filePath("missing"), dir.filePath("b.rab")));
        QFile big(dir.filePath("c.rab"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(MaxFileSize + 1));
        big.close();
        QFile limit(dir.filePath("d.rab"));
        QVERIFY(limit.open(QIODevice::WriteOnly) && limit.write("clover\n") == 7 && limit.resize(MaxFileSize));
        limit.close();
        const QString fifo = dir.filePath("e.rab");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        write(dir, "f.rab", {"x", "CLOVER"});

        // A FIFO is never opened for a blocking read. Should the search block anyway,
        // a writer lets it go on so the test fails instead of hanging.
        const QStringList paths = listFolder(tmp.path(), "*.rab");
        QList<int> seen;
        auto running = std::async(std::launch::async, [&] {
            return search(paths, "clover", [&](int index, const FileResult &) { seen.append(index); });
        });
        if (running.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            running.wait();
            ::close(writer);
            QFAIL("The search blocked on a FIFO");
        }
        const Outcome outcome = running.get();
        QCOMPARE(seen, QList<int>({0, 1, 2, 3, 4, 5}));
        QCOMPARE(hitsOf(outcome), (QList<std::pair<QString, int>>{{"a.rab", 0}, {"d.rab", 0}, {"f.rab", 1}}));
        QCOMPARE(outcome.filesSearched, 6);
        QCOMPARE(outcome.failures.size(), 3);
        const auto native = [&](const char *name) { return QDir::toNativeSeparators(dir.filePath(name)); };
        QCOMPARE(outcome.failures[0].error,
                 QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(native("b.rab")));
        QCOMPARE(outcome.failures[1].error, QStringLiteral("\"%1\" is too large (%2 bytes) to be a record file.")
                                                .arg(native("c.rab"))
                                                .arg(MaxFileSize + 1));
        QCOMPARE(outcome.failures[2].error, QStringLiteral("\"%1\" is not a regular file.").arg(native("e.rab")));
    }

    void cancelStopsBetweenFiles()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        QStringList paths;
        for (int i = 0; i < 5; ++i)
            paths.append(write(dir, QStringLiteral("r%1.rab").arg(i), {"Hazel"}));
        std::atomic<bool> cancel = false;
        QList<int> seen;
        const Outcome outcome = search(
            paths, "hazel",
            [&](int index, const FileResult &result) {
                seen.append(index);
                QCOMPARE(result.lines, QList<int>({0}));
                if (index == 1)
                    cancel = true;
            },
            &cancel);
        QVERIFY(outcome.cancelled);
        QCOMPARE(seen, QList<int>({0, 1}));
        QVERIFY(outcome.filesSearched == 2 && outcome.hits.size() == 2);
    }
};

QTEST_GUILESS_MAIN(TestFind)
#include "test_find.moc"
