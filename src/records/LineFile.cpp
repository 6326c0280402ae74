#include "records/LineFile.h"

#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// Opening a codec costs far more than converting one line, so a file is converted
// through one codec, not one per line. windows-1252 is a single-byte code page:
// nothing carries over from one line to the next.
class Decoder1252
{
public:
    QString operator()(QByteArrayView bytes)
    {
        // Qt built without ICU still knows Latin-1, which differs only in 0x80-0x9F.
        return m_decoder.isValid() ? m_decoder.decode(bytes) : QString::fromLatin1(bytes);
    }

private:
    QStringDecoder m_decoder{"windows-1252"};
};

class Encoder1252
{
public:
    QByteArray operator()(const QString &text)
    {
        return m_encoder.isValid() ? QByteArray(m_encoder.encode(text)) : text.toLatin1();
    }

private:
    QStringEncoder m_encoder{"windows-1252", QStringEncoder::Flag::Default};
};

} // namespace

LineFile LineFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw FileError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return fromBytes(bytes);
}

LineFile LineFile::fromBytes(const QByteArray &bytes)
{
    QStringList lines;
    Decoder1252 decode1252;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
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

QByteArray LineFile::toBytes() const
{
    QByteArray bytes;
    Encoder1252 encode1252;
    for (const QString &line : m_lines) {
        bytes += encode1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

void LineFile::write(const QString &path) const
{
    QSaveFile file(path);
    const auto fail = [&](const char *what) {
        throw FileError(QStringLiteral("Cannot %1 file \"%2\". %3")
                            .arg(QLatin1String(what), QDir::toNativeSeparators(path), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail("create");
    const QByteArray bytes = toBytes();
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
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
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
