#include "find/FindEngine.h"

#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// device (the file is opened with O_NONBLOCK and refused unless regular) and without
// reading more than MaxFileSize + 1 bytes, even if the file grows meanwhile. Closes
// `fd`. Returns the size read, or -1 with `error` set.
qsizetype readBounded(int fd, const QString &path, std::vector<char> &buffer, QString &error)
{
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

    // One byte more than the size, so a file that grew shows as one.
    const std::size_t expected = std::size_t(info.st_size);
    if (buffer.size() < expected + 1)
        buffer.resize(expected + 1);
    std::size_t total = 0;
    for (;;) {
        if (total == buffer.size()) {
            if (total > std::size_t(MaxFileSize))
                return tooLarge(qint64(total));
            buffer.resize(std::min(buffer.size() * 2, std::size_t(MaxFileSize) + 1));
        }
        const std::size_t room = buffer.size() - total;
        const ssize_t got = ::read(fd, buffer.data() + total, room);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = QStringLiteral("Cannot read file \"%1\". %2").arg(shown(path), qt_error_string(errno));
            return -1;
        }
        total += std::size_t(got);
        // A regular file reads short only at its end: no second call to learn that.
        if (got == 0 || (std::size_t(got) < room && total >= expected))
            break;
    }
    return qsizetype(total);
}

constexpr int OpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

int openRetrying(int folderFd, const char *path)
{
    int fd;
    do
        fd = folderFd < 0 ? ::open(path, OpenFlags) : ::openat(folderFd, path, OpenFlags);
    while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

QList<KindItem> kindItems(const QList<SearchedKind> &kinds)
{
    if (kinds.isEmpty())
        return {};
    QStringList shown;
    QStringList masks;
    QList<KindItem> items{{}};
    for (const SearchedKind &kind : kinds) {
        const QString pattern = u'*' + kind.extension;
        shown.append(pattern);
        masks.append(pattern);
        items.append({QStringLiteral("%1 (%2)").arg(kind.title, pattern), pattern});
    }
    items.first() = {QStringLiteral("All (%1)").arg(shown.join(QStringLiteral(", "))), masks.join(u';')};
    return items;
}

bool matchesMask(const QString &fileName, const QString &mask)
{
    for (QStringView pattern : QStringView(mask).split(u';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        // "*.rab" and the like, the common case, without the general matcher.
        const QStringView rest = pattern.sliced(std::min<qsizetype>(1, pattern.size()));
        const bool plainSuffix = pattern.startsWith(u'*') && !rest.contains(u'*') && !rest.contains(u'?');
        if (plainSuffix ? QStringView(fileName).endsWith(rest, Qt::CaseInsensitive) : wildcardMatch(fileName, pattern))
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
    // Sorted by name ignoring case: the folded name is made once per file.
    QList<std::pair<QString, QString>> names;
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
        names.append({name.toCaseFolded(), name});
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    QStringList paths;
    paths.reserve(names.size());
    for (const auto &[folded, name] : names)
        paths.append(prefix + name);
    return paths;
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
            return;
        }
        m_folded.append(*byte);
    }
    for (int b = 0; b < 256; ++b) {
        if (table.fold(static_cast<unsigned char>(b)) == static_cast<unsigned char>(m_folded.front()))
            m_firstBytes.append(char(b));
        if (table.fold(static_cast<unsigned char>(b)) == static_cast<unsigned char>(m_folded.back()))
            m_lastBytes.append(char(b));
    }
}

Search::~Search()
{
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

bool Search::matchesAt(const char *data, qsizetype at) const
{
    const FoldTable &table = foldTable();
    const auto *bytes = reinterpret_cast<const unsigned char *>(data + at);
    for (qsizetype j = 0; j < m_folded.size(); ++j) {
        if (table.fold(bytes[j]) != static_cast<unsigned char>(m_folded[j]))
            return false;
    }
    return true;
}

qsizetype Search::findFrom(const char *data, qsizetype size, qsizetype from) const
{
    const qsizetype m = m_folded.size();
    const qsizetype lastStart = size - m; // the last place a match can start
    qsizetype at = from;
#if defined(__SSE2__)
    // Sixteen places at a time: only where both the first and the last byte of the
    // text could stand is the whole text compared.
    if (m_firstBytes.size() <= 4 && m_lastBytes.size() <= 4) {
        __m128i first[4], last[4];
        for (int k = 0; k < 4; ++k) {
            first[k] = _mm_set1_epi8(m_firstBytes.at(std::min<qsizetype>(k, m_firstBytes.size() - 1)));
            last[k] = _mm_set1_epi8(m_lastBytes.at(std::min<qsizetype>(k, m_lastBytes.size() - 1)));
        }
        for (; at + 15 <= lastStart; at += 16) {
            const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
            const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + m - 1));
            __m128i h = _mm_cmpeq_epi8(head, first[0]), t = _mm_cmpeq_epi8(tail, last[0]);
            for (int k = 1; k < 4; ++k) {
                h = _mm_or_si128(h, _mm_cmpeq_epi8(head, first[k]));
                t = _mm_or_si128(t, _mm_cmpeq_epi8(tail, last[k]));
            }
            unsigned candidates = unsigned(_mm_movemask_epi8(_mm_and_si128(h, t)));
            while (candidates) {
                const qsizetype place = at + std::countr_zero(candidates);
                if (matchesAt(data, place))
                    return place;
                candidates &= candidates - 1;
            }
        }
    }
#endif
    for (; at <= lastStart; ++at) {
        if (matchesAt(data, at))
            return at;
    }
    return -1;
}

namespace {

// The text of the line from `start` to `end` (line end excluded) holding a match at
// `at`, decoded as LineFile decodes it. A long line keeps the part around the match.
QString lineText(const char *data, qsizetype start, qsizetype end, qsizetype at, qsizetype matched)
{
    if (end > start && data[end - 1] == '\r')
        --end;
    const bool cutFront = end - start > MaxShownLine && at - start > MaxShownLine / 4;
    const qsizetype from = cutFront ? std::max(start, std::min(at - MaxShownLine / 4, end - MaxShownLine)) : start;
    const qsizetype to = std::min(end, std::max(from + MaxShownLine, at + matched));
    const QStringList decoded = LineFile::fromBytes(QByteArray(data + from, to - from)).lines();
    QString text = decoded.join(QStringLiteral(" "));
    if (from > start)
        text.prepend(u'\u2026');
    if (to < end)
        text.append(u'\u2026');
    return text;
}

} // namespace

QList<int> Search::matchingLines(const char *data, qsizetype size, QStringList *texts) const
{
    QList<int> lines;
    if (!m_possible)
        return lines;
    const qsizetype m = m_folded.size();
    // The CR of a CR LF line end is not part of the line.
    const bool endsWithCr = m_folded.endsWith('\r');
    qsizetype pos = 0, counted = 0;
    int line = 0;
    for (;;) {
        const qsizetype at = findFrom(data, size, pos);
        if (at < 0)
            break;
        if (endsWithCr && at + m < size && data[at + m] == '\n') {
            pos = at + 1;
            continue;
        }
        line += int(std::count(data + counted, data + at, '\n'));
        lines.append(line);
        // One hit per line: go on after this line's end. The text holds no line
        // feed, so the line goes on at least to the end of the match.
        const auto *end = static_cast<const char *>(std::memchr(data + at + m, '\n', std::size_t(size - at - m)));
        if (texts) {
            const void *before = at > counted ? memrchr(data + counted, '\n', std::size_t(at - counted)) : nullptr;
            const qsizetype start = before ? static_cast<const char *>(before) - data + 1 : counted;
            texts->append(lineText(data, start, end ? end - data : size, at, m));
        }
        if (!end)
            break;
        pos = counted = end - data + 1;
        ++line;
    }
    return lines;
}

QList<int> Search::searchBytes(const QByteArray &bytes) const
{
    return matchingLines(bytes.constData(), bytes.size());
}

int Search::openInFolder(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return openRetrying(-1, QFile::encodeName(path).constData());
    const QStringView folder = QStringView(path).first(slash + 1);
    if (m_folderFd < 0 || folder != m_folder) {
        if (m_folderFd >= 0)
            ::close(m_folderFd);
        m_folder = folder.toString();
        m_folderFd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_folderFd < 0) {
            // The file's own open says best what is wrong.
            m_folder.clear();
            return openRetrying(-1, QFile::encodeName(path).constData());
        }
    }
    return openRetrying(m_folderFd, QFile::encodeName(path.mid(slash + 1)).constData());
}

FileResult Search::searchFile(const QString &path)
{
    FileResult result{path, {}, {}, {}};
    const int fd = openInFolder(path);
    if (fd < 0) {
        result.error = openError(path, errno);
        return result;
    }
    const qsizetype size = readBounded(fd, path, m_buffer, result.error);
    if (size >= 0)
        result.lines = matchingLines(m_buffer.data(), size, &result.texts);
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
