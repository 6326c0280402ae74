#include "herd/ICalendar.h"

#include "records/LineFile.h"

#include <QDir>

namespace ICalendar {

namespace {

constexpr qsizetype MaxLineOctets = 75;

// A UTF-8 byte that continues a character: a fold must not come before one.
bool isContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

QString dateText(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString summaryOf(const BreedingCalendar::Event &event)
{
    QString summary = BreedingCalendar::eventName(event.kind);
    if (!event.doe.isEmpty())
        summary += QStringLiteral(": ") + event.doe;
    if (!event.buck.isEmpty())
        summary += QStringLiteral(" (buck %1)").arg(event.buck);
    return summary;
}

QString descriptionOf(const BreedingCalendar::Event &event)
{
    QStringList lines;
    if (!event.doe.isEmpty())
        lines.append(QStringLiteral("Doe: ") + event.doe);
    if (!event.buck.isEmpty())
        lines.append(QStringLiteral("Buck: ") + event.buck);
    if (!event.bred.isEmpty())
        lines.append(QStringLiteral("Bred: ") + event.bred);
    if (!event.kindled.isEmpty())
        lines.append(QStringLiteral("Kindled: ") + event.kindled);
    lines.append(QStringLiteral("Record: %1, row %2").arg(QDir::toNativeSeparators(event.record)).arg(event.row));
    return lines.join(u'\n');
}

} // namespace

QString escapeText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u';':
            escaped += QStringLiteral("\\;");
            break;
        case u',':
            escaped += QStringLiteral("\\,");
            break;
        case u'\r':
            // CR LF is one line break.
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                break;
            escaped += QStringLiteral("\\n");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        default:
            if (c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F))
                escaped += c;
            break;
        }
    }
    return escaped;
}

QByteArray contentLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray folded;
    folded.reserve(bytes.size() + bytes.size() / 60 * 3 + 2);
    qsizetype start = 0;
    // The first line holds 75 octets; each continuation 74 after its leading space.
    qsizetype room = MaxLineOctets;
    while (bytes.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start && isContinuation(bytes.at(cut)))
            --cut;
        folded += bytes.mid(start, cut - start);
        folded += "\r\n ";
        start = cut;
        room = MaxLineOctets - 1;
    }
    folded += bytes.mid(start);
    folded += "\r\n";
    return folded;
}

QByteArray toBytes(const QList<BreedingCalendar::Event> &events, const QDateTime &stamp, const QString &herdFolder)
{
    QByteArray out;
    const auto add = [&out](const QString &line) { out += contentLine(line); };
    add(QStringLiteral("BEGIN:VCALENDAR"));
    add(QStringLiteral("VERSION:2.0"));
    add(QStringLiteral("PRODID:-//Hutchlore//Breeding Calendar//EN"));
    add(QStringLiteral("CALSCALE:GREGORIAN"));
    const QString stampText = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (const BreedingCalendar::Event &event : events) {
        // Only what the format can hold: years 1..9999.
        if (!event.date.isValid() || event.date.year() < 1 || event.date.year() > 9998)
            continue;
        add(QStringLiteral("BEGIN:VEVENT"));
        add(QStringLiteral("UID:") + event.uid(herdFolder));
        add(QStringLiteral("DTSTAMP:") + stampText);
        add(QStringLiteral("DTSTART;VALUE=DATE:") + dateText(event.date));
        add(QStringLiteral("DTEND;VALUE=DATE:") + dateText(event.date.addDays(1)));
        add(QStringLiteral("SUMMARY:") + escapeText(summaryOf(event)));
        add(QStringLiteral("DESCRIPTION:") + escapeText(descriptionOf(event)));
        add(QStringLiteral("TRANSP:TRANSPARENT"));
        add(QStringLiteral("END:VEVENT"));
    }
    add(QStringLiteral("END:VCALENDAR"));
    return out;
}

void write(const QString &path, const QList<BreedingCalendar::Event> &events, const QDateTime &stamp,
           const QString &herdFolder)
{
    writeFileBytes(path, toBytes(events, stamp, herdFolder));
}

} // namespace ICalendar
