#include "HerdFiles.h"
#include "TestFiles.h"
#include "breeding/BreedingFormat.h"
#include "herd/BreedingCalendar.h"
#include "herd/ICalendar.h"
#include "records/LineFile.h"

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using BreedingCalendar::Calendar;
using BreedingCalendar::Event;
using BreedingCalendar::Settings;
using HerdDate::Order;
using Mating = HerdFiles::Mating;

namespace {

const QDate Today(2024, 3, 20);
const QDateTime Stamp(QDate(2024, 3, 20), QTime(9, 30), Qt::UTC);

// "2024-03-13 Palpate Daisy/Thumper row 1 overdue"
QStringList shown(const QList<Event> &events)
{
    QStringList lines;
    for (const Event &e : events) {
        lines.append(QStringLiteral("%1 %2 %3/%4 %5 row %6%7")
                         .arg(e.date.toString(Qt::ISODate), BreedingCalendar::eventName(e.kind), e.doe, e.buck,
                              fileNamePart(e.record))
                         .arg(e.row)
                         .arg(e.overdue ? QStringLiteral(" overdue") : QString()));
    }
    return lines;
}

Calendar gatherOne(HerdFiles &h, const QString &record, const Settings &settings = {})
{
    return BreedingCalendar::gather({{record, h.path("Daisy.rab")}}, settings, Order::MonthFirst, Today);
}

// A second reader of the iCalendar text, as a phone's calendar reads it.
struct Property
{
    QString name;  // with its parameters: "DTSTART;VALUE=DATE"
    QString value; // unescaped
};

QString unescape(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\\' || i + 1 == text.size()) {
            out += text.at(i);
            continue;
        }
        const QChar next = text.at(++i);
        out += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
    }
    return out;
}

// Fails the test on a line not ended by CR LF, longer than 75 octets, or a fold that
// splits a character.
QList<Property> readICalendar(const QByteArray &bytes)
{
    QList<Property> properties;
    if (!bytes.endsWith("\r\n")) {
        qWarning("the file does not end with CR LF");
        return {};
    }
    // Every line break is CR LF: no lone CR, no lone LF.
    if (bytes.count('\r') != bytes.count('\n') || bytes.count("\r\n") != bytes.count('\n')) {
        qWarning("a line break is not CR LF");
        return {};
    }
    QStringList logical;
    const QByteArray body = bytes.chopped(2);
    qsizetype start = 0;
    while (start <= body.size()) {
        qsizetype end = body.indexOf("\r\n", start);
        if (end < 0)
            end = body.size();
        const QByteArray line = body.mid(start, end - start);
        start = end + 2;
        if (line.size() > 75) {
            qWarning("bad physical line: %s", line.constData());
            return {};
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(line);
        if (utf8.hasError()) {
            qWarning("a fold split a character: %s", line.toHex().constData());
            return {};
        }
        if (text.startsWith(u' ') && !logical.isEmpty())
            logical.last() += text.mid(1);
        else
            logical.append(text);
    }
    for (const QString &line : std::as_const(logical)) {
        const qsizetype colon = line.indexOf(u':');
        properties.append({line.left(colon), unescape(line.mid(colon + 1))});
    }
    return properties;
}

QStringList valuesOf(const QList<Property> &properties, const QString &name)
{
    QStringList values;
    for (const Property &p : properties)
        if (p.name == name)
            values.append(p.value);
    return values;
}

} // namespace

class TestBreedingCalendar : public QObject
{
    Q_OBJECT

private slots:
    void daysOfBredAndKindledRows()
    {
        HerdFiles h;
        const QString record = h.breeding("daisy.brd", "Daisy", "Doe",
                                          {{"Thumper", "3/1/24", {}},
                                           {"Thumper", "2/1/24", "3/3/24"},
                                           {"Ace", "soon", {}},
                                           {},
                                           {"Ace", {}, "3/40/24"},
                                           {"Ace", "  ", "  "}});
        Calendar calendar = gatherOne(h, record);
        QCOMPARE(shown(calendar.events), (QStringList{"2024-03-13 Palpate Daisy/Thumper daisy.brd row 1 overdue",
                                                      "2024-03-29 Nest box Daisy/Thumper daisy.brd row 1",
                                                      "2024-04-01 Due to kindle Daisy/Thumper daisy.brd row 1",
                                                      "2024-04-28 Wean Daisy/Thumper daisy.brd row 2"}));
        QCOMPARE(calendar.problems.size(), 2);
        QVERIFY(calendar.problems[0].contains("row 3: the bred date \"soon\""));
        QVERIFY(calendar.problems[1].contains("row 5: the kindled date \"3/40/24\""));
        QCOMPARE(calendar.events[0].bred, QStringLiteral("3/1/24"));

        // The day counts are settings; absurd ones are bounded, never overflow.
        calendar = gatherOne(h, record, Settings{10, 25, 30, 42});
        QCOMPARE(calendar.events.size(), 4);
        QCOMPARE(calendar.events[0].date, QDate(2024, 3, 11));
        QCOMPARE(calendar.events[2].date, QDate(2024, 3, 31));
        QCOMPARE(calendar.events[3].date, QDate(2024, 4, 14));
        calendar = gatherOne(h, record, Settings{-5, 1 << 30, 31, 56});
        QCOMPARE(calendar.events[0].date, QDate(2024, 3, 1));
        QCOMPARE(calendar.events.last().date, QDate(2024, 3, 1).addDays(Settings::MaxDays));
    }

    // Every linked record once, soonest first; the buck's copy of a doe's mating adds
    // nothing; a record that cannot be read is named and the rest still come.
    void gatherOverTheHerd()
    {
        HerdFiles h;
        QDir().mkpath(h.path("sub"));
        const QString daisy = h.breeding("daisy.brd", "Daisy", "Doe", {{"Thumper", "3/1/24", {}}});
        const QString clover = h.breeding("clover.brd", "Clover", "Female", {{"Thumper", "2/20/24", {}}});
        const QString thumper =
            h.breeding("thumper.brd", "Thumper", "buck", {{"daisy", "3/1/24", {}}, {"Hazel", "3/5/24", {}}});
        const QString gone = h.path("gone.brd");
        const QString holder = h.path("any.rab");
        const Calendar calendar = BreedingCalendar::gather({{daisy, holder},
                                                            {h.path("sub/../daisy.brd"), holder},
                                                            {thumper, holder},
                                                            {gone, holder},
                                                            {clover, holder}},
                                                           {}, Order::MonthFirst, Today);
        QCOMPARE(shown(calendar.events), (QStringList{"2024-03-03 Palpate Clover/Thumper clover.brd row 1 overdue",
                                                      "2024-03-13 Palpate Daisy/Thumper daisy.brd row 1 overdue",
                                                      "2024-03-17 Palpate Hazel/Thumper thumper.brd row 2 overdue",
                                                      "2024-03-19 Nest box Clover/Thumper clover.brd row 1 overdue",
                                                      "2024-03-22 Due to kindle Clover/Thumper clover.brd row 1",
                                                      "2024-03-29 Nest box Daisy/Thumper daisy.brd row 1",
                                                      "2024-04-01 Due to kindle Daisy/Thumper daisy.brd row 1",
                                                      "2024-04-02 Nest box Hazel/Thumper thumper.brd row 2",
                                                      "2024-04-05 Due to kindle Hazel/Thumper thumper.brd row 2"}));
        QCOMPARE(calendar.problems.size(), 1);
        QVERIFY(calendar.problems[0].contains(QDir::toNativeSeparators(gone)));

        // Herd rows give their breeding links, read from beside the rabbit file.
        Herd::Row linked, unlinked, failed;
        linked.path = h.path("Daisy.rab");
        linked.breedingLink = "/moved/away/daisy.brd";
        unlinked.breedingLink = "None";
        failed.breedingLink = daisy;
        failed.error = "Cannot open";
        const QList<BreedingCalendar::Source> sources = BreedingCalendar::sourcesOf({linked, unlinked, failed});
        QCOMPARE(sources.size(), 1);
        QCOMPARE(BreedingCalendar::gather(sources, {}, Order::MonthFirst, Today).events.size(), 3);

        // A link without a folder is read beside the rabbit file, never from the folder
        // the program runs in, which holds a record of that name too.
        HerdFiles elsewhere;
        elsewhere.breeding("daisy.brd", "Decoy", "Doe", {{"Nobody", "1/1/24", {}}});
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path(".")));
        const Calendar bare = BreedingCalendar::gather({{"daisy.brd", holder}}, {}, Order::MonthFirst, Today);
        QDir::setCurrent(before);
        QCOMPARE(bare.events.size(), 3);
        QCOMPARE(bare.events.first().doe, QStringLiteral("Daisy"));
        QCOMPARE(bare.events.first().record, daisy);
    }

    // The calendar reads only the lines it needs from each file; it must read them
    // as the record's own reader does, whatever the line ends.
    void recordsReadAsTheRecordReaderReadsThem()
    {
        HerdFiles h;
        const QString record = h.breeding("daisy.brd", QString::fromUtf8("Zo\u00eb \u20ac"), " doe ",
                                          {{"Thumper", "3/1/24", {}}, {"  ", " 2/1/24 ", "3/3/24"}});
        QStringList problems;
        const QList<Event> expected = BreedingCalendar::eventsOf(BreedingFile::parse(LineFile::read(record)), record,
                                                                 {}, Order::MonthFirst, Today, problems);
        QCOMPARE(expected.size(), 4);
        QCOMPARE(expected[0].doe, QString::fromUtf8("Zo\u00eb \u20ac"));
        const QByteArray crlf = TestFiles::readBytes(record);
        QByteArray lf = crlf;
        lf.replace("\r\n", "\n");
        const std::pair<const char *, QByteArray> variants[] = {
            {"CR LF", crlf},
            {"LF only", lf},
            {"no line end after the last line", crlf.chopped(2)},
            {"lines after the last", crlf + "extra\r\nlines\r\n"},
        };
        for (const auto &[name, bytes] : variants) {
            TestFiles::writeBytes(record, bytes);
            const QList<Event> events = gatherOne(h, record).events;
            QVERIFY2(shown(events) == shown(expected), name);
            QVERIFY2(events[3].buck.isEmpty() && events[3].bred == "2/1/24", name);
        }
        // One line short: the file is named, as parsing it would fail.
        TestFiles::writeBytes(record, crlf.left(crlf.lastIndexOf("\r\n", crlf.size() - 3) + 2));
        const Calendar cut = gatherOne(h, record);
        QVERIFY(cut.events.isEmpty());
        QCOMPARE(cut.problems.size(), 1);
        QVERIFY2(cut.problems[0].contains(QDir::toNativeSeparators(record)) && cut.problems[0].contains("200"),
                 qPrintable(cut.problems[0]));
    }

    void reExportKeepsEveryUid()
    {
        HerdFiles h;
        const QString record =
            h.breeding("daisy.brd", "Daisy", "Doe", {{"Thumper", "3/1/24", {}}, {"Thumper", "2/1/24", "3/3/24"}});
        const QList<Event> first = gatherOne(h, record).events;
        QStringList uids;
        for (const Event &e : first)
            uids.append(e.uid());
        QCOMPARE(QSet<QString>(uids.cbegin(), uids.cend()).size(), 4);
        QVERIFY(uids[0].endsWith("@hutchlore"));

        // Another day, a corrected bred date, another stamp: the same events update.
        h.breeding("daisy.brd", "Daisy", "Doe", {{"Thumper", "3/2/24", {}}, {"Thumper", "2/1/24", "3/3/24"}});
        const QList<Event> again = gatherOne(h, record).events;
        const QDateTime later = Stamp.addDays(3);
        QCOMPARE(valuesOf(readICalendar(ICalendar::toBytes(again, later)), "UID"),
                 valuesOf(readICalendar(ICalendar::toBytes(first, Stamp)), "UID"));
        QCOMPARE(valuesOf(readICalendar(ICalendar::toBytes(first, Stamp)), "UID"), uids);
        // Another record's row is another event.
        Event moved = first[0];
        moved.record = h.path("other.brd");
        QVERIFY(moved.uid() != first[0].uid());

        // The herd folder synced to another computer (another place on its disk): the
        // same UIDs from the rabbitry's folder, also for a record in a folder of its own.
        QTemporaryDir elsewhere;
        Event synced = first[0];
        synced.record = elsewhere.filePath("daisy.brd");
        QCOMPARE(synced.uid(elsewhere.path()), first[0].uid(h.path(".")));
        QVERIFY(synced.uid() != first[0].uid());
        Event inFolder = first[0];
        inFolder.record = h.path("2024/daisy.brd");
        QVERIFY(inFolder.uid(h.path(".")) != first[0].uid(h.path(".")));
        synced.record = elsewhere.filePath("2024/daisy.brd");
        QCOMPARE(synced.uid(elsewhere.path()), inFolder.uid(h.path(".")));
        QCOMPARE(valuesOf(readICalendar(ICalendar::toBytes(first, Stamp, h.path("."))), "UID").first(),
                 first[0].uid(h.path(".")));
    }

    void iCalendarReadBack()
    {
        HerdFiles h;
        const QString doe = QString::fromUtf8("Caf\u00e9 \u20ac, the; \\ long-eared lop doe of the old Meadow line");
        const QString record = h.breeding("daisy.brd", doe, "Doe", {{"Thumper", "3/1/24", {}}});
        const QList<Event> events = gatherOne(h, record).events;
        const QString out = h.path("due.ics");
        ICalendar::write(out, events, Stamp);
        const QList<Property> ics = readICalendar(TestFiles::readBytes(out));
        QVERIFY(!ics.isEmpty());
        QCOMPARE(ics.first().name, QStringLiteral("BEGIN"));
        QCOMPARE(ics.last().value, QStringLiteral("VCALENDAR"));
        QCOMPARE(valuesOf(ics, "VERSION"), QStringList{"2.0"});
        QCOMPARE(valuesOf(ics, "DTSTART;VALUE=DATE"), (QStringList{"20240313", "20240329", "20240401"}));
        QCOMPARE(valuesOf(ics, "DTEND;VALUE=DATE"), (QStringList{"20240314", "20240330", "20240402"}));
        QCOMPARE(valuesOf(ics, "DTSTAMP"), QStringList(3, "20240320T093000Z"));
        QCOMPARE(valuesOf(ics, "SUMMARY").first(), QStringLiteral("Palpate: %1 (buck Thumper)").arg(doe));
        QCOMPARE(valuesOf(ics, "DESCRIPTION").first(),
                 QStringLiteral("Doe: %1\nBuck: Thumper\nBred: 3/1/24\nRecord: %2, row 1")
                     .arg(doe, QDir::toNativeSeparators(record)));
    }

    // Folding never splits a character, wherever the 75th octet falls.
    void foldingAndEscaping()
    {
        const QString wide = QString::fromUtf8("\u00e9\u20ac\U0001D11E");
        for (int lead = 0; lead < 80; ++lead) {
            const QString line = QStringLiteral("DESCRIPTION:") + QString(lead, u'x') + wide.repeated(30);
            const QList<Property> read = readICalendar(ICalendar::contentLine(line));
            QVERIFY2(read.size() == 1, qPrintable(QString::number(lead)));
            QCOMPARE(QStringLiteral("DESCRIPTION:") + read[0].value, line);
        }
        QCOMPARE(ICalendar::contentLine("X:" + QString(73, u'a')).size(), 75 + 2);
        QCOMPARE(ICalendar::contentLine("X:" + QString(74, u'a')), ("X:" + QByteArray(73, 'a') + "\r\n a\r\n"));

        const std::pair<const char *, const char *> cases[] = {
            {"a,b;c", "a\\,b\\;c"},
            {"back\\slash", "back\\\\slash"},
            {"one\ntwo\r\nthree\rfour", "one\\ntwo\\nthree\\nfour"},
            {"tab\tbell\x07"
             "end\x7f",
             "tab\tbellend"},
        };
        for (const auto &[text, escaped] : cases)
            QCOMPARE(ICalendar::escapeText(QString::fromLatin1(text)), QString::fromLatin1(escaped));
    }
};

QTEST_GUILESS_MAIN(TestBreedingCalendar)
#include "test_breeding_calendar.moc"
