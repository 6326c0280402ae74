#include "find/FindEngine.h"

#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FindEngine {

namespace {

// Case folding over windows-1252. Two bytes are the same letter when their decoded
// characters fold to the same character; every byte maps to the lowest byte of its
// class. A byte that does not decode to one character is a class of its own.
class FoldTable
{
public:
    FoldTable()
    {
        QStringDecoder decoder("windows-1252");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QByteArrayView one(&byte, 1);
            const QString text = decoder.isValid() ? decoder.decode(one) : QString::fromLatin1(one);
            m_folded[b] = text.size() == 1 ? char32_t(text.at(0).toCaseFolded().unicode()) : char32_t(0x110000 + b);
        }
        for (int b = 0; b < 256; ++b) {
            int first = 0;
            while (m_folded[first] != m_folded[b])
                ++first;
            m_fold[b] = static_cast<unsigned char>(first);
        }
    }

    unsigned char fold(unsigned char byte) const { return m_fold[byte]; }

    // The folded byte that stands for `c` in a file, or nothing when no byte decodes
    // to a character that folds like it.
    std::optional<char> byteFor(QChar c) const
    {
        const char32_t folded = c.toCaseFolded().unicode();
        for (int b = 0; b < 256; ++b) {
            if (m_folded[b] == folded)
                return char(m_fold[b]);
        }
        return std::nullopt;
    }

private:
    std::array<char32_t, 256> m_folded{};
    std::array<unsigned char, 256> m_fold{};
};

const FoldTable &foldTable()
{
    static const FoldTable table;
    return table;
}

int compareNoCase(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

// "*" any run, "?" any one character, letters regardless of case.
bool wildcardMatch(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString openError(const QString &path, int error)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(shown(path), qt_error_string(error));
}

// Reads a whole regular file into `buffer` without ever waiting on a FIFO or a
// device and without reading more than MaxFileSize + 1 bytes, even if the file
// grows meanwhile. Returns the size read, or -1 with `error` set.
qsizetype readBounded(const QString &path, std::vector<char> &buffer, QString &error)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = openError(path, errno);
        return -1;
    }
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};

    struct stat info;
    if (::fstat(fd, &info) != 0) {
        error = openError(path, errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = QStringLiteral("\"%1\" is not a regular file.").arg(shown(path));
        return -1;
    }
    const auto tooLarge = [&](qint64 size) {
        error = QStringLiteral("\"%1\" is too large (%2 bytes) to be a record file.").arg(shown(path)).arg(size);
        return qsizetype(-1);
    };
    if (info.st_size > MaxFileSize)
        return tooLarge(info.st_size);

    // One byte more than the size asked for, so the end of the file shows without
    // a second pass in the common case.
    std::size_t want = std::size_t(info.st_size) + 1;
    if (buffer.size() < want)
        buffer.resize(want);
    std::size_t total = 0;
    for (;;) {
        if (total == buffer.size()) {
            if (total > std::size_t(MaxFileSize))
                return tooLarge(qint64(total));
            buffer.resize(std::min(buffer.size() * 2, std::size_t(MaxFileSize) + 1));
        }
        const ssize_t got = ::read(fd, buffer.data() + total, buffer.size() - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = QStringLiteral("Cannot read file \"%1\". %2").arg(shown(path), qt_error_string(errno));
            return -1;
        }
        if (got == 0)
            break;
        total += std::size_t(got);
    }
    return qsizetype(total);
}

} // namespace

const std::array<KindItem, 5> &kinds()
{
    static const std::array<KindItem, 5> items{{
        {FileKind::All, QStringLiteral("All (*.ped, *.rab, *.brd, *.shw)"), QStringLiteral("*.ped;*.rab;*.brd;*.shw")},
        {FileKind::Pedigree, QStringLiteral("Pedigree Files (*.ped)"), QStringLiteral("*.ped")},
        {FileKind::Rabbit, QStringLiteral("Rabbit Files (*.rab)"), QStringLiteral("*.rab")},
        {FileKind::Breeding, QStringLiteral("Breeding Records (*.brd)"), QStringLiteral("*.brd")},
        {FileKind::Show, QStringLiteral("Show Records (*.shw)"), QStringLiteral("*.shw")},
    }};
    return items;
}

QString maskOf(FileKind kind)
{
    return kinds()[std::size_t(kind)].mask;
}

QString initialMask()
{
    return QStringLiteral("*.rab;*.ped;*.brd;*.shw");
}

bool matchesMask(const QString &fileName, const QString &mask)
{
    for (const QStringView pattern : QStringView(mask).split(u';', Qt::SkipEmptyParts)) {
        if (wildcardMatch(fileName, pattern.trimmed()))
            return true;
    }
    return false;
}

QStringList listFolder(const QString &folder, const QString &mask)
{
    const QByteArray native = QFile::encodeName(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir) {
        throw FileError(QStringLiteral("Cannot list the folder \"%1\". %2").arg(shown(folder), qt_error_string(errno)));
    }
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    QStringList names;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_type == DT_DIR)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!matchesMask(name, mask))
            continue;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // stat() follows a link without opening anything, so a FIFO cannot block it.
            struct stat info;
            const QByteArray full = native + '/' + entry->d_name;
            if (::stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode))
                continue;
        }
        names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return compareNoCase(a, b) < 0; });
    for (QString &name : names)
        name.prepend(prefix);
    return names;
}

std::optional<FileKind> openKindOf(const QString &path)
{
    const QString ext = extensionOf(path);
    if (ext == QLatin1String(".ped"))
        return FileKind::Pedigree;
    if (ext == QLatin1String(".rab"))
        return FileKind::Rabbit;
    if (ext == QLatin1String(".brd"))
        return FileKind::Breeding;
    if (ext == QLatin1String(".shw"))
        return FileKind::Show;
    return std::nullopt;
}

QString emptyTextMessage()
{
    return QStringLiteral("Please type the text to search for.");
}

QString Hit::name() const
{
    return fileNamePart(path);
}

Search::Search(const QString &text) : m_text(text)
{
    if (text.isEmpty())
        throw RecordError(emptyTextMessage());
    const FoldTable &table = foldTable();
    m_folded.reserve(text.size());
    for (const QChar c : text) {
        // No line holds a line feed: the file is split there.
        const std::optional<char> byte = c == u'\n' ? std::nullopt : table.byteFor(c);
        if (!byte) {
            m_possible = false;
            break;
        }
        m_folded.append(*byte);
    }
}

QList<int> Search::matchingLines(char *data, qsizetype size) const
{
    QList<int> lines;
    if (!m_possible)
        return lines;
    const FoldTable &table = foldTable();
    auto *bytes = reinterpret_cast<unsigned char *>(data);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = table.fold(bytes[i]);

    const qsizetype m = m_folded.size();
    // The CR of a CR LF line end is not part of the line.
    const bool endsWithCr = m_folded.endsWith('\r');
    qsizetype pos = 0, counted = 0;
    int line = 0;
    while (size - pos >= m) {
        const auto *found = static_cast<const char *>(
            ::memmem(data + pos, std::size_t(size - pos), m_folded.constData(), std::size_t(m)));
        if (!found)
            break;
        const qsizetype at = found - data;
        if (endsWithCr && at + m < size && data[at + m] == '\n') {
            pos = at + 1;
            continue;
        }
        line += int(std::count(data + counted, data + at, '\n'));
        lines.append(line);
        // One hit per line: go on after this line's end. The text holds no line
        // feed, so the line goes on at least to the end of the match.
        const auto *end = static_cast<const char *>(std::memchr(data + at + m, '\n', std::size_t(size - at - m)));
        if (!end)
            break;
        pos = counted = end - data + 1;
        ++line;
    }
    return lines;
}

QList<int> Search::searchBytes(const QByteArray &bytes) const
{
    QByteArray copy = bytes;
    return matchingLines(copy.data(), copy.size());
}

FileResult Search::searchFile(const QString &path)
{
    FileResult result{path, {}, {}};
    const qsizetype size = readBounded(path, m_buffer, result.error);
    if (size >= 0)
        result.lines = matchingLines(m_buffer.data(), size);
    return result;
}

Outcome search(const QStringList &paths, const QString &text, const FileCallback &onFile,
               const std::atomic<bool> *cancel)
{
    Search searcher(text);
    Outcome outcome;
    for (int i = 0; i < paths.size(); ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            outcome.cancelled = true;
            break;
        }
        FileResult result = searcher.searchFile(paths.at(i));
        ++outcome.filesSearched;
        for (const int line : result.lines)
            outcome.hits.append(Hit{result.path, line});
        if (onFile)
            onFile(i, result);
        if (result.failed())
            outcome.failures.append(std::move(result));
    }
    return outcome;
}

} // namespace FindEngine
