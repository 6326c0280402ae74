#include "TestFiles.h"

#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace TestFiles {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

QString writeLines(const QString &path, QStringList lines, const QMap<int, QString> &changes, int keep)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        lines[it.key()] = it.value();
    LineFile(keep < 0 ? lines : lines.mid(0, keep)).write(path);
    return path;
}

QString writeRabbit(const QString &path, const QMap<int, QString> &values, int keep)
{
    return writeLines(path, RabbitFile::newRecord().values(), values, keep);
}

QString dataPath(const QString &relative)
{
    return QStringLiteral(HUTCHLORE_TEST_DATA "/") + relative;
}

bool havePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QString pdfText(const QString &pdfPath)
{
    if (!havePdfToText())
        return {};
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool onePageAcross(const QString &pdfPath)
{
    const QString bytes = QString::fromLatin1(readBytes(pdfPath));
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")).match(bytes);
    return bytes.count(QRegularExpression(QStringLiteral(R"(/Type\s*/Page\b)"))) == 1 && box.hasMatch() &&
           box.captured(1).toDouble() > box.captured(2).toDouble();
}

} // namespace TestFiles
