#include "records/LineFile.h"

#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// windows-1252 is a single-byte code page: each byte stands for one character of the
// Basic Multilingual Plane, whatever surrounds it. The system's converter is asked
// once for all 256 bytes; a file then converts through tables, far faster than
// running the converter on every line.
struct Tables1252
{
    std::array<char16_t, 256> toChar{};
    std::array<char, 0x10000> toByte{}; // meaningful for the characters in toChar
};

const Tables1252 &tables1252()
{
    static const Tables1252 tables = [] {
        QByteArray everyByte(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            everyByte[b] = char(b);
        QStringDecoder decoder("windows-1252");
        // Qt built without ICU still knows Latin-1, which differs only in 0x80-0x9F.
        const QString decoded = decoder.isValid() ? decoder.decode(everyByte) : QString::fromLatin1(everyByte);
        Q_ASSERT(decoded.size() == 256);
        Tables1252 t;
        for (int b = 0; b < 256; ++b) {
            t.toChar[std::size_t(b)] = decoded.at(b).unicode();
            t.toByte[decoded.at(b).unicode()] = char(b);
        }
        return t;
    }();
    return tables;
}

class Decoder1252
{
public:
    QString operator()(QByteArrayView bytes)
    {
        QString text(bytes.size(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (const char byte : bytes)
            *out++ = m_tables.toChar[static_cast<unsigned char>(byte)];
        return text;
    }

private:
    const Tables1252 &m_tables = tables1252();
};

// Only for text whose every character is storable (see below).
class Encoder1252
{
public:
    QByteArray operator()(const QString &text)
    {
        QByteArray bytes(text.size(), Qt::Uninitialized);
        char *out = bytes.data();
        for (const QChar c : text)
            *out++ = m_tables.toByte[c.unicode()];
        return bytes;
    }

private:
    const Tables1252 &m_tables = tables1252();
};

// The characters a record file can hold: every character some byte decodes to (each
// byte round-trips, so each of those encodes back to its byte), less the line feed
// that would end the line early.
const std::bitset<0x10000> &storableTable()
{
    static const std::bitset<0x10000> table = [] {
        std::bitset<0x10000> storable;
        for (const char16_t c : tables1252().toChar)
            storable.set(c);
        storable.reset(u'\n');
        return storable;
    }();
    return table;
}

bool storable(QChar c)
{
    return !c.isSurrogate() && storableTable().test(c.unicode());
}

// Calls `visit(position, length)` for each character the file cannot hold; a
// surrogate pair is one character of length 2.
template <class Visit> void forEachUnstorable(const QString &text, Visit visit)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (storable(text.at(i)))
            continue;
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate();
        visit(i, pair ? 2 : 1);
        if (pair)
            ++i;
    }
}

// Left alone, the encoder would write byte 0x1A for each; a "?" at least reads as a gap.
QString withReplacements(const QString &line)
{
    QString result;
    result.reserve(line.size());
    qsizetype done = 0;
    forEachUnstorable(line, [&](qsizetype at, qsizetype length) {
        result += QStringView(line).sliced(done, at - done);
        result += u'?';
        done = at + length;
    });
    result += QStringView(line).sliced(done);
    return result;
}

// Closes the descriptor however the read ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QString byteCount(qint64 bytes)
{
    // "8 MiB" for a limit, "8.00 MiB" for a size just past it.
    return QLocale::c().formattedDataSize(bytes, bytes % 1024 == 0 ? 0 : 2);
}

} // namespace

QStringList unstorableCharacters(const QString &text)
{
    QStringList result;
    QSet<QStringView> seen;
    forEachUnstorable(text, [&](qsizetype at, qsizetype length) {
        const QStringView character = QStringView(text).sliced(at, length);
        if (!seen.contains(character)) {
            seen.insert(character);
            result.append(character.toString());
        }
    });
    return result;
}

bool isStorable(const QString &text)
{
    for (const QChar c : text)
        if (!storable(c))
            return false;
    return true;
}

void requireStorableLink(const QString &path)
{
    QStringList unstorable = unstorableCharacters(path);
    if (unstorable.isEmpty())
        return;
    unstorable.replaceInStrings(QStringLiteral("\n"), QStringLiteral("(line break)"));
    throw RecordError(QStringLiteral("\"%1\" cannot be a link: a record file cannot store the characters %2 of its "
                                     "path. Rename the file or its folder and choose it again.")
                          .arg(shownPath(path), excerpt(unstorable.join(u' '))));
}

QByteArray readRegularFile(const QString &path, qint64 maxBytes, const QString &noun, const QString &kind)
{
    const auto fail = [&](const char *verb, const QString &reason) {
        throw FileError(
            QStringLiteral("Cannot %1 %2 \"%3\". %4").arg(QLatin1String(verb), noun, shownPath(path), reason));
    };
    const QByteArray name = QFile::encodeName(path);
    // A NUL would end the name early and open some other file.
    if (name.isEmpty() || name.contains('\0'))
        fail("open", qt_error_string(ENOENT));
    const auto notRegular = [] { return QStringLiteral("It is not a regular file."); };
    // Opening a device can itself do something (a serial line, a tape), so what is
    // plainly not a file is refused unopened; fstat below settles it for certain.
    struct stat status = {};
    if (::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        fail("open", notRegular());
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        fail("open", qt_error_string(errno));
    const Descriptor file(fd);
    if (::fstat(fd, &status) != 0)
        fail("read", qt_error_string(errno));
    if (!S_ISREG(status.st_mode))
        fail("open", notRegular());
    const auto limit = [&] { return QStringLiteral("the %1 a %2 can have").arg(byteCount(maxBytes), kind); };
    if (qint64(status.st_size) > maxBytes) {
        fail("read", QStringLiteral("It is %1 (%2 bytes), more than %3.")
                         .arg(byteCount(status.st_size))
                         .arg(qint64(status.st_size))
                         .arg(limit()));
    }

    // The size is a hint only: a file may grow while it is read, and some (those in
    // /proc) report none. One byte more than the limit is enough to know.
    QByteArray bytes(qsizetype(std::min<qint64>(status.st_size, maxBytes)) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes)
                fail("read", QStringLiteral("It holds more than %1.").arg(limit()));
            bytes.resize(qsizetype(std::min<qint64>(qint64(got) * 2, maxBytes + 1)));
        }
        const qsizetype wanted = bytes.size() - got;
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(wanted));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("read", qt_error_string(errno));
        if (n == 0)
            break;
        got += n;
        // Short of the byte past the size, at exactly the size: the end, without
        // asking again. A file that grew fills that byte and is read on; one that
        // reports no size (those in /proc) or comes in pieces is read to a read of 0.
        if (n < wanted && status.st_size > 0 && got == qsizetype(status.st_size))
            break;
    }
    bytes.truncate(got);
    return bytes;
}

QString shownPath(const QString &path)
{
    // Far past any real path; a link line of a megabyte must not make a message that long.
    return excerpt(QDir::toNativeSeparators(path), 400);
}

LineFile LineFile::read(const QString &path)
{
    return readHead(path, -1);
}

LineFile LineFile::readHead(const QString &path, int lineCount)
{
    return fromBytes(readRegularFile(path, MaxFileBytes, QStringLiteral("file"), QStringLiteral("record file")),
                     lineCount);
}

LineFile LineFile::fromBytes(const QByteArray &bytes, int lineCount)
{
    const bool all = lineCount < 0;
    QStringList lines;
    // Counting the line ends of the whole file would cost what a head saves.
    lines.reserve(all ? bytes.count('\n') + 1 : std::min<qsizetype>(lineCount, bytes.size() + 1));
    Decoder1252 decode1252;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size && (all || lines.size() < lineCount)) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool lastWithoutEnd = end < 0;
        if (lastWithoutEnd)
            end = size;
        qsizetype textEnd = end;
        if (!lastWithoutEnd && textEnd > start && bytes.at(textEnd - 1) == '\r')
            --textEnd;
        lines.append(decode1252(QByteArrayView(bytes).sliced(start, textEnd - start)));
        start = end + 1;
    }
    return LineFile(std::move(lines));
}

QString LineFile::decodeLine(QByteArrayView bytes)
{
    return Decoder1252()(bytes);
}

QByteArray LineFile::toBytes() const
{
    QByteArray bytes;
    Encoder1252 encode1252;
    for (const QString &line : m_lines) {
        bytes += encode1252(isStorable(line) ? line : withReplacements(line));
        bytes += "\r\n";
    }
    return bytes;
}

QList<int> LineFile::unencodableLines() const
{
    QList<int> result;
    for (int i = 0; i < m_lines.size(); ++i)
        if (!isStorable(m_lines.at(i)))
            result.append(i);
    return result;
}

void LineFile::write(const QString &path) const
{
    writeFileBytes(path, toBytes());
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    const auto fail = [&](const char *what) {
        throw FileError(
            QStringLiteral("Cannot %1 file \"%2\". %3").arg(QLatin1String(what), shownPath(path), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail("create");
    // Flush before commit: a short flush (a full disk) would otherwise still commit
    // and replace the old file with a cut-off one.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        fail("write");
    if (!file.commit())
        fail("write");
}

const QString &LineFile::at(int index) const
{
    if (index < 0 || index >= m_lines.size())
        throw LineIndexError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_lines.at(index);
}

int toInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(excerpt(text)));
    return value;
}

QString fromInteger(int value)
{
    return QString::number(value);
}

QString fileNamePart(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

QString extensionOf(const QString &path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

bool fileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}
