#include "HerdFiles.h"
#include "TestFiles.h"
#include "breeding/BreedingFormat.h"
#include "herd/Herd.h"
#include "herd/HerdCsv.h"
#include "herd/HerdDate.h"
#include "herd/HerdLoader.h"
#include "herd/RecordLines.h"
#include "pedigree/Inbreeding.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "show/ShowFormat.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using HerdDate::Order;

namespace {

const QDate Today(2024, 6, 1);

QStringList rowTexts(const Herd::Row &row)
{
    QStringList texts;
    for (int column = 0; column < Herd::ColumnCount; ++column)
        texts.append(row.text(Herd::Column(column)));
    return texts << row.error << row.notes.join(u'|');
}

Herd::Row rowWith(const QString &name, const QString &born, qint64 ageDays, std::optional<double> coi)
{
    Herd::Row row;
    row.listed = name + ".rab";
    row.name = name;
    row.born = born;
    row.bornDate = HerdDate::read(born, Order::MonthFirst, Today);
    row.age.days = ageDays;
    row.coi = coi;
    return row;
}

QStringList namesOf(QList<Herd::Row> rows, Herd::Column column, bool ascending)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const Herd::Row &a, const Herd::Row &b) { return Herd::lessThan(a, b, column, ascending); });
    QStringList names;
    for (const Herd::Row &row : rows)
        names.append(row.name);
    return names;
}

} // namespace

class TestHerd : public QObject
{
    Q_OBJECT

private slots:
    void datesInBothOrders()
    {
        const QDate none;
        // text, read day first, read month first
        const std::tuple<const char *, QDate, QDate> cases[] = {
            {"3/14/24", none, {2024, 3, 14}},
            {"3/14/2024", none, {2024, 3, 14}},
            {"14.3.2024", {2024, 3, 14}, none},
            {"3/4/24", {2024, 4, 3}, {2024, 3, 4}},
            {" 03-04-2024 ", {2024, 4, 3}, {2024, 3, 4}},
            {"3 / 4 / 24", {2024, 4, 3}, {2024, 3, 4}},
            {"2024-03-14", {2024, 3, 14}, {2024, 3, 14}},
            {"2024/3/4", {2024, 3, 4}, {2024, 3, 4}},
            {"14 Mar 2024", {2024, 3, 14}, {2024, 3, 14}},
            {"14-mar-24", {2024, 3, 14}, {2024, 3, 14}},
            {"Mar. 14, 2024", {2024, 3, 14}, {2024, 3, 14}},
            {"3 SEPT 2023", {2023, 9, 3}, {2023, 9, 3}},
            {"september 3 2023", {2023, 9, 3}, {2023, 9, 3}},
            {"2/29/2024", none, {2024, 2, 29}},
            // Two-digit years: the latest not after 2024, however late in the year.
            {"12/31/24", none, {2024, 12, 31}},
            {"6/5/25", {1925, 5, 6}, {1925, 6, 5}},
            {"1/1/00", {2000, 1, 1}, {2000, 1, 1}},
            {"31.12.99", {1999, 12, 31}, none},
            // Refused, never guessed.
            {"", none, none},
            {"   ", none, none},
            {"_________________", none, none},
            {"3/14", none, none},
            {"Mar 2024", none, none},
            {"3/14/224", none, none},
            {"3/14/02024", none, none},
            {"3-14/2024", none, none},
            {"3//14/24", none, none},
            {"-3/14/24", none, none},
            {"3/14/24.", none, none},
            {"3 14 2024", none, none},
            {"2/30/2024", none, none},
            {"2/29/2023", none, none},
            {"0/1/2024", none, none},
            {"2024-13-01", none, none},
            {"32 Mar 2024", none, none},
            {"14 Foo 2024", none, none},
            {"14 Mar 2024 approx.", none, none},
            {"yesterday", none, none},
            {"\xef\xbc\x91/\xef\xbc\x92/2024", none, none}, // full-width digits
        };
        for (const auto &[text, dayFirst, monthFirst] : cases) {
            const QString typed = QString::fromUtf8(text);
            QVERIFY2(HerdDate::read(typed, Order::DayFirst, Today) == dayFirst, text);
            QVERIFY2(HerdDate::read(typed, Order::MonthFirst, Today) == monthFirst, text);
        }
        // The hundred years move with today.
        QCOMPARE(HerdDate::read("1/1/01", Order::MonthFirst, QDate(2000, 1, 1)), QDate(1901, 1, 1));
        QCOMPARE(HerdDate::read("1/1/99", Order::MonthFirst, QDate(2099, 12, 31)), QDate(2099, 1, 1));
        QVERIFY(!HerdDate::read(QString(100000, u'1'), Order::MonthFirst, Today).isValid());
    }

    void defaultOrderFollowsTheLocale()
    {
        const std::pair<const char *, Order> cases[] = {{"en_US", Order::MonthFirst},
                                                        {"en_GB", Order::DayFirst},
                                                        {"de_DE", Order::DayFirst},
                                                        {"fr_FR", Order::DayFirst},
                                                        {"ja_JP", Order::DayFirst},
                                                        {"C", Order::MonthFirst}};
        for (const auto &[locale, order] : cases)
            QVERIFY2(HerdDate::defaultOrder(QLocale(QString::fromLatin1(locale))) == order, locale);
    }

    void agesInWeeksThenMonths()
    {
        const QDate born(2024, 1, 31);
        const std::tuple<QDate, qint64, const char *> cases[] = {
            {born, 0, "0 weeks"},
            {born.addDays(7), 7, "1 week"},
            {born.addDays(111), 111, "15 weeks"},
            {born.addDays(112), 112, "3 months"},   // May 22: not yet four months
            {QDate(2024, 5, 31), 121, "4 months"},  // the same day four months on
            {QDate(2025, 2, 28), 394, "13 months"}, // February has no 31st
            {born.addDays(-1), -1, ""},             // born after today: no age
        };
        for (const auto &[today, days, text] : cases) {
            const HerdDate::Age age = HerdDate::ageOf(born, today);
            QCOMPARE(age.days, days);
            QCOMPARE(age.text, QString::fromLatin1(text));
        }
        QVERIFY(!HerdDate::ageOf(QDate(), Today).known());
        QCOMPARE(HerdDate::monthsBetween(QDate(2024, 1, 31), QDate(2024, 2, 29)), 1);
    }

    void sexOfRabbits()
    {
        const std::pair<const char *, Herd::Sex> cases[] = {
            {"Buck", Herd::Sex::Buck},     {" MALE ", Herd::Sex::Buck}, {"doe", Herd::Sex::Doe},
            {"Female", Herd::Sex::Doe},    {"", Herd::Sex::Unknown},    {"Bucks", Herd::Sex::Unknown},
            {"buck?", Herd::Sex::Unknown}, {"____", Herd::Sex::Unknown}};
        for (const auto &[text, sex] : cases)
            QVERIFY2(Herd::sexOf(QString::fromLatin1(text)) == sex, text);
        QVERIFY(Herd::canSire(Herd::Sex::Unknown) && Herd::canBear(Herd::Sex::Unknown));
        QVERIFY(!Herd::canSire(Herd::Sex::Doe) && !Herd::canBear(Herd::Sex::Buck));
    }

    // Every listed rabbit gets a row; a bad file marks its own row and the rest are read.
    void rowsOfAHerdWithBadFiles()
    {
        HerdFiles h;
        const QString none = QStringLiteral("None");
        h.rabbit("Storm", "S1", "Buck");
        h.pedigree("daisy.ped", {{31, {"Storm", "S1", none}}, {33, {"storm", "s1", none}}});
        h.show("daisy.shw", "Daisy", "2");
        h.rabbit("Daisy", "D7", "doe ", none, none,
                 {{RabbitFile::RegNumber, "R12"},
                  {RabbitFile::Breed, "Holland Lop"},
                  {RabbitFile::Color, "Broken, Blue"},
                  {RabbitFile::BirthDate, "2/1/24"},
                  {RabbitFile::Weight, "3 lb"},
                  {RabbitFile::PedigreeLink, h.path("daisy.ped")},
                  {RabbitFile::ShowLink, h.path("daisy.shw")}});
        h.rabbit("Broken", "X", "Male", none, none,
                 {{RabbitFile::BirthDate, "soon"},
                  {RabbitFile::PedigreeLink, h.path("gone.ped")},
                  {RabbitFile::ShowLink, h.path("Note.rab")}});
        TestFiles::writeRabbit(h.path("Blank.rab"), {});
        TestFiles::writeBytes(h.path("Note.rab"), "just\r\na note\r\n");
        QDir().mkpath(h.path("Folder.rab"));
        QCOMPARE(::mkfifo(QFile::encodeName(h.path("Pipe.rab")).constData(), 0600), 0);
        h.rabbit("Moved", "M", "Doe");
        const QString rabbitry = h.rabbitry(
            "herd.rbty", {h.path("Daisy.rab"), h.path("Gone.rab"), "", h.path("Note.rab"), h.path("Folder.rab"),
                          h.path("Pipe.rab"), h.path("Blank.rab"), h.path("Broken.rab"), "/elsewhere/Moved.rab"});
        const QStringList listed = Herd::listedRabbits(rabbitry);
        QCOMPARE(listed.size(), 8); // the blank line is no rabbit

        const Herd::Options options{Order::MonthFirst, Today};
        const QList<Herd::Row> rows = Herd::readRows(listed, rabbitry, options);
        QCOMPARE(rows.size(), 8);
        QCOMPARE(rowTexts(rows[0]), (QStringList{"Daisy", "D7", "R12", "doe", "Holland Lop", "Broken, Blue", "2/1/24",
                                                 "4 months", "3 lb", "2", "12.50", "Daisy.rab", "", ""}));
        QCOMPARE(rows[0].sex, Herd::Sex::Doe);
        QCOMPARE(rows[0].bornDate, QDate(2024, 2, 1));
        for (int i : {1, 2, 3, 4}) {
            QVERIFY2(rows[i].failed(), qPrintable(rows[i].listed));
            QVERIFY2(rows[i].problem().contains(QDir::toNativeSeparators(rows[i].listed)), qPrintable(rows[i].error));
            QVERIFY(rows[i].name.isEmpty() && !rows[i].coi);
            QCOMPARE(rows[i].text(Herd::File), fileNamePart(rows[i].listed));
        }
        QVERIFY(rows[2].error.contains("not a whole rabbit file"));
        QVERIFY(rows[4].error.contains("not a regular file"));
        // Placeholders show nothing.
        QCOMPARE(rowTexts(rows[5]).mid(0, Herd::File), QStringList(Herd::File));
        QCOMPARE(rows[5].sex, Herd::Sex::Unknown);
        // A date it cannot read is shown as typed; linked files that fail become notes.
        QCOMPARE(rows[6].born, QStringLiteral("soon"));
        QVERIFY(!rows[6].bornDate.isValid() && !rows[6].age.known() && !rows[6].failed());
        QCOMPARE(rows[6].notes.size(), 2);
        QVERIFY(rows[6].notes[0].startsWith("Show record \"" + QDir::toNativeSeparators(h.path("Note.rab"))));
        QVERIFY(rows[6].notes[1].contains(QDir::toNativeSeparators(h.path("gone.ped"))));
        // A rabbit listed where it no longer is, found beside the rabbitry.
        QCOMPARE(rows[7].name, QStringLiteral("Moved"));
        QCOMPARE(rows[7].path, h.path("Moved.rab"));

        // The loader gives the same rows in list order, on several threads.
        std::atomic<int> calls{0};
        HerdLoader loader(listed, rabbitry, options);
        loader.start([&] { ++calls; }, 3);
        loader.wait();
        QVERIFY(loader.finished() && !loader.stopped() && calls > 0);
        QCOMPARE(loader.done(), 8);
        const QList<Herd::Row> loaded = loader.takeRows();
        QCOMPARE(loaded.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rowTexts(loaded[i]), rowTexts(rows[i]));
        QVERIFY(loader.takeRows().isEmpty());
    }

    // The row's coefficient is Check Inbreeding's, also when the charts reach one file
    // another way (a folder reached through a symbolic link, a hard link) and rows share
    // their keys.
    void coefficientOfOneFileReachedThreeWays()
    {
        HerdFiles h;
        const QString storm = h.rabbit("Storm", "S1", "Buck");
        QVERIFY(QFile::link(QStringLiteral("."), h.path("alias")));
        // The same file by a second hard link, under another name.
        QCOMPARE(::link(QFile::encodeName(storm).constData(), QFile::encodeName(h.path("Storm-copy.rab")).constData()),
                 0);
        const QString spellings[] = {storm, h.path("alias/Storm.rab"), h.path("Storm-copy.rab")};
        QStringList listed, charts;
        for (int i = 0; i < 6; ++i) {
            // The sire and the dam's sire: the same file, spelled the same or not; the
            // names differ, so only the file says they are one rabbit.
            const QString chart =
                h.pedigree(QStringLiteral("c%1.ped").arg(i),
                           {{31, {"Storm", "S1", storm}}, {33, {"Other", "O", spellings[i % 3]}}});
            listed += h.rabbit(QStringLiteral("Kit%1").arg(i), "K", "Doe", "None", "None",
                               {{RabbitFile::PedigreeLink, chart}});
            charts += chart;
        }
        // Two different files of one name in two folders are two rabbits.
        QDir().mkpath(h.path("elsewhere"));
        QVERIFY(QFile::copy(storm, h.path("elsewhere/Storm.rab")));
        const QString apart = h.pedigree(
            "apart.ped", {{31, {"Storm", "S1", storm}}, {33, {"Storm", "S1", h.path("elsewhere/Storm.rab")}}});
        listed += h.rabbit("Apart", "A", "Doe", "None", "None", {{RabbitFile::PedigreeLink, apart}});
        charts += apart;
        const QString rabbitry = h.rabbitry("herd.rbty", listed);

        const QList<Herd::Row> rows = Herd::readRows(listed, rabbitry, {Order::MonthFirst, Today});
        for (int i = 0; i < 6; ++i)
            QCOMPARE(rows[i].text(Herd::Coi), QStringLiteral("12.50"));
        QCOMPARE(rows[6].text(Herd::Coi), QStringLiteral("0.00"));
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(*rows[i].coi, Inbreeding::compute(PedigreeFile::parse(LineFile::read(charts[i]))).coefficient);
    }

    void loaderStopsAndEnds()
    {
        HerdFiles h;
        const QString rabbit = h.rabbit("Storm", "S1", "Buck");
        const QString rabbitry = h.rabbitry("herd.rbty", {});
        const QStringList many(500, rabbit);
        {
            HerdLoader stopped(many, rabbitry, {});
            stopped.stop();
            stopped.start();
            stopped.wait();
            QVERIFY(stopped.finished() && stopped.stopped());
            QCOMPARE(stopped.done(), 0);
            QVERIFY(stopped.takeRows().isEmpty());
        }
        {
            // Destroyed while reading: the workers end first.
            HerdLoader running(many, rabbitry, {});
            running.start([] {}, 2);
        }
        HerdLoader empty({}, rabbitry, {});
        bool told = false;
        empty.start([&] { told = true; });
        empty.wait();
        QVERIFY(empty.finished() && told);
    }

    void sortingUnknownLastEitherWay()
    {
        const QList<Herd::Row> rows{rowWith("a", "1/5/24", 148, 0.5), rowWith("b", "", -1, std::nullopt),
                                    rowWith("c", "12/1/23", 183, 0.0625), rowWith("d", "garbage", 70, 0.125),
                                    rowWith("e", "12/1/23", 65, 0.0)};
        QCOMPARE(namesOf(rows, Herd::Born, true), (QStringList{"c", "e", "a", "b", "d"}));
        QCOMPARE(namesOf(rows, Herd::Born, false), (QStringList{"a", "c", "e", "b", "d"}));
        QCOMPARE(namesOf(rows, Herd::Age, true), (QStringList{"e", "d", "a", "c", "b"}));
        QCOMPARE(namesOf(rows, Herd::Coi, true), (QStringList{"e", "c", "d", "a", "b"}));
        QCOMPARE(namesOf(rows, Herd::Coi, false), (QStringList{"a", "d", "c", "e", "b"}));
        // Text columns ignore case; empty text goes last.
        QList<Herd::Row> named = rows;
        named[0].color = "blue";
        named[2].color = "Agouti";
        named[4].color = "black";
        QCOMPARE(namesOf(named, Herd::Color, true), (QStringList{"c", "e", "a", "b", "d"}));
        QCOMPARE(namesOf(named, Herd::Color, false), (QStringList{"a", "e", "c", "b", "d"}));

        QVERIFY(Herd::matches(named[2], "AGOU"));
        QVERIFY(Herd::matches(named[2], "12/1"));
        QVERIFY(!Herd::matches(named[2], "blue"));
    }

    // The herd reads a few lines of thousands of files; what it reads must be what the
    // record reader reads, whatever the line ends and bytes.
    void partialReadingMatchesTheRecordReader()
    {
        HerdFiles h;
        const std::pair<const char *, const LineFormat *> goldens[] = {
            {"rabbit/filled.rab", &RabbitFile::format()},    {"rabbit/old57.rab", &RabbitFile::format()},
            {"pedigree/chart.ped", &PedigreeFile::format()}, {"pedigree/old109.ped", &PedigreeFile::format()},
            {"breeding/full.brd", &BreedingFile::format()},  {"show/full.shw", &ShowFile::format()}};
        int checked = 0;
        for (const auto &[golden, format] : goldens) {
            QByteArray crlf = TestFiles::readBytes(TestFiles::dataPath(golden));
            QVERIFY2(!crlf.isEmpty(), golden);
            // Every byte a record may hold, on a line each reader must decode.
            QByteArray every;
            for (int b = 1; b < 256; ++b)
                if (b != '\n' && b != '\r')
                    every += char(b);
            crlf.replace(crlf.indexOf("\r\n") + 2, 0, every + "\r" + every + "\r\n");
            QByteArray lf = crlf;
            lf.replace("\r\n", "\n");
            const std::pair<const char *, QByteArray> variants[] = {
                {"CR LF", crlf},
                {"LF", lf},
                {"no end after the last line", crlf.chopped(2)},
                {"lines past the format", crlf + QByteArray("x\r\n").repeated(300)}};
            QList<int> wanted;
            for (int line = 0; line < format->lineCount(); line += 3)
                wanted.append(line);
            for (const auto &[variant, bytes] : variants) {
                const QString path = h.path("record");
                TestFiles::writeBytes(path, bytes);
                const LineFile whole = LineFile::read(path);
                const LineFile part = RecordLines::read(path, *format, wanted);
                const QString which = QStringLiteral("%1, %2").arg(golden, variant);
                QCOMPARE(part.count(), std::min(whole.count(), format->lineCount()));
                for (int line = 0; line < part.count(); ++line) {
                    if (wanted.contains(line) || format->field(line).check == FieldCheck::Integer)
                        QVERIFY2(part.at(line) == whole.at(line), qPrintable(which + QString::number(line)));
                }
                ++checked;
            }
        }
        QCOMPARE(checked, 24);
        // The same refusals as LineFile::read.
        QCOMPARE(::mkfifo(QFile::encodeName(h.path("pipe")).constData(), 0600), 0);
        for (const QString &path : {h.path("pipe"), h.path("missing"), h.path("")})
            QCOMPARE(TestFiles::messageOf<FileError>([&] { RecordLines::read(path, RabbitFile::format(), {}); }),
                     TestFiles::messageOf<FileError>([&] { LineFile::read(path); }));
    }

    void csvParsedBack()
    {
        HerdFiles h;
        Herd::Row odd = rowWith(QString::fromUtf8("Bl\u00e9, \"the\" one"), "1/5/24", 148, 0.125);
        odd.listed = h.path("odd, name.rab");
        odd.legs = "3";
        Herd::Row failed;
        failed.listed = h.path("Gone.rab");
        failed.error = "Cannot open";
        const QString out = h.path("herd.csv");
        HerdCsv::write(out, {odd, failed});
        const QByteArray bytes = TestFiles::readBytes(out);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], Herd::headings());
        QCOMPARE(rows[1], (QStringList{QString::fromUtf8("Bl\u00e9, \"the\" one"), "", "", "", "", "", "1/5/24", "", "",
                                       "3", "12.50", h.path("odd, name.rab")}));
        QCOMPARE(rows[2], (QStringList(11) << h.path("Gone.rab")));
    }
};

QTEST_GUILESS_MAIN(TestHerd)
#include "test_herd.moc"
