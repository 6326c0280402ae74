#include "rabbitry/RabbitryFormat.h"

#include "rabbit/RabbitFormat.h"
#include "records/FileLink.h"
#include "records/RecordError.h"

#include <QDir>
#include <algorithm>

namespace Rabbitry {

namespace {

int compareNoCase(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

Details detailsAt(const LineFile &file, int markerLine)
{
    return Details{file.at(markerLine + 1), file.at(markerLine + 2), file.at(markerLine + 3), file.at(markerLine + 4)};
}

// How many lines of the file count. A file touched by hand or by another tool may
// end with blank lines after the phone line; they hold nothing and are not kept.
// Only as many are set aside as bring the marker fifth from the end, so an empty
// phone stays the phone, and blank lines at the end of an older plain list stay
// entries as they always were.
int countedLines(const LineFile &file)
{
    const QStringList &lines = file.lines();
    for (int end = file.count(); end >= TrailerLines; --end) {
        if (lines.at(end - TrailerLines) == Marker)
            return end;
        if (!lines.at(end - 1).trimmed().isEmpty())
            break;
    }
    return file.count();
}

void requireStorable(const QString &text)
{
    if (text.contains(u'\n')) {
        QString shown = text;
        shown.replace(u'\n', u' ');
        throw RecordError(
            QStringLiteral("\"%1\" holds a line break and cannot be stored in a rabbitry file.").arg(shown));
    }
}

} // namespace

Record parse(const LineFile &file, const QString &path)
{
    const QStringList &lines = file.lines();
    const int n = countedLines(file);
    const qsizetype marker = lines.indexOf(Marker);
    if (marker < 0)
        return Record{lines, std::nullopt};
    if (marker != n - TrailerLines) {
        throw RecordError(QStringLiteral("\"%1\" is not a complete rabbitry file: \"%2\" must be followed by "
                                         "exactly four lines (name, address, abbreviated address, phone).")
                              .arg(QDir::toNativeSeparators(path), Marker));
    }
    return Record{lines.mid(0, marker), detailsAt(file, int(marker))};
}

Record read(const QString &path)
{
    return parse(LineFile::read(path), path);
}

LineFile toLines(const QStringList &rabbits, const Details &details)
{
    LineFile file;
    for (const QString &path : fileOrder(rabbits)) {
        requireStorable(path);
        file.append(path);
    }
    file.append(Marker);
    for (const QString *text : {&details.name, &details.address, &details.abbreviatedAddress, &details.phone}) {
        requireStorable(*text);
        file.append(*text);
    }
    return file;
}

void write(const QString &path, const QStringList &rabbits, const Details &details)
{
    toLines(rabbits, details).write(path);
}

const LineFormat &seedFormat()
{
    static const LineFormat format({{0, QStringLiteral("Marker"), Marker},
                                    {1, QStringLiteral("RabbitryName"), QString()},
                                    {2, QStringLiteral("RabbitryAddress"), QString()},
                                    {3, QStringLiteral("RabbitryAbrev"), QString()},
                                    {4, QStringLiteral("RabbitryPhone"), QString()}},
                                   {});
    return format;
}

LineRecord seed(const Details &details)
{
    LineRecord record(seedFormat());
    record.setValue(1, details.name);
    record.setValue(2, details.address);
    record.setValue(3, details.abbreviatedAddress);
    record.setValue(4, details.phone);
    return record;
}

Record fromSeed(const LineRecord &seed)
{
    return parse(seed.toLines(), QStringLiteral("The started rabbitry record"));
}

std::optional<Details> trailer(const LineFile &file)
{
    const int n = countedLines(file);
    if (n < TrailerLines || file.at(n - TrailerLines) != Marker)
        return std::nullopt;
    return detailsAt(file, n - TrailerLines);
}

QStringList fileOrder(QStringList paths)
{
    std::stable_sort(paths.begin(), paths.end(),
                     [](const QString &a, const QString &b) { return compareNoCase(a, b) < 0; });
    return paths;
}

QStringList displayOrder(QStringList paths)
{
    std::stable_sort(paths.begin(), paths.end(), [](const QString &a, const QString &b) {
        const int byName = displayName(a).compare(displayName(b), Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : compareNoCase(a, b) < 0;
    });
    return paths;
}

AddResult addRabbit(QStringList &rabbits, const QString &path)
{
    if (rabbits.contains(path, Qt::CaseSensitive))
        return AddResult::AlreadyListed;
    if (path.contains(u'\n'))
        return AddResult::CannotStore;
    rabbits.append(path);
    return AddResult::Added;
}

QString alreadyListedMessage(const QStringList &listed, int chosen)
{
    const QString one = QStringLiteral("That rabbit is already in the rabbitry");
    if (chosen <= 1 && listed.size() <= 1)
        return one;
    // Enough names to recognise; a thousand chosen files make no thousand-line box.
    constexpr int ShownNames = 12;
    QStringList names;
    for (const QString &path : listed.mid(0, ShownNames))
        names.append(excerpt(displayName(path)));
    if (listed.size() > ShownNames)
        names.append(QStringLiteral("and %1 more").arg(listed.size() - ShownNames));
    const QString head = listed.size() == 1 ? one : QStringLiteral("These rabbits are already in the rabbitry");
    return head + QStringLiteral(":\n") + names.join(u'\n');
}

namespace {

struct LinkEntry
{
    int line;
    const char *button;
    const char *noLink;
};

const LinkEntry &entryOf(RabbitLink link)
{
    static const LinkEntry entries[] = {
        {RabbitFile::PedigreeLink, "Open Pedigree", "No pedigree file associated with that rabbit"},
        {RabbitFile::BreedLink, "Open Breeding Record", "No breeding record associated with that rabbit"},
        {RabbitFile::ShowLink, "Open Show Record", "No show record associated with that rabbit"},
    };
    return entries[std::size_t(link)];
}

} // namespace

int linkLine(RabbitLink link)
{
    return entryOf(link).line;
}

QString openButtonText(RabbitLink link)
{
    return QString::fromLatin1(entryOf(link).button);
}

QString noLinkMessage(RabbitLink link)
{
    return QString::fromLatin1(entryOf(link).noLink);
}

bool RabbitPreview::hasLink(RabbitLink which) const
{
    return FileLink::isLink(link(which));
}

RabbitPreview previewOf(const LineFile &rabbitFile)
{
    using namespace RabbitFile;
    RabbitPreview preview;
    // The highest line first: a short file fails before anything is taken.
    preview.picture = rabbitFile.at(RabbitPicture);
    preview.name = rabbitFile.at(RabbitName);
    preview.owner = rabbitFile.at(OwnerName);
    preview.ear = rabbitFile.at(EarNumber);
    preview.reg = rabbitFile.at(RegNumber);
    preview.sex = rabbitFile.at(Sex);
    preview.color = rabbitFile.at(Color);
    for (const RabbitLink which : {RabbitLink::Pedigree, RabbitLink::Breeding, RabbitLink::Show}) {
        const int line = linkLine(which);
        preview.links[std::size_t(which)] = line < rabbitFile.count() ? rabbitFile.at(line) : FileLink::none();
    }
    return preview;
}

RabbitPreview readPreview(const QString &rabbitPath, LinkContext &context)
{
    return previewOf(context.read(rabbitPath));
}

} // namespace Rabbitry
