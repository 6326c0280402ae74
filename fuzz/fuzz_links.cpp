// The pedigree's link readers over a chain of files that name each other. The input
// is split at byte 0x1E into a pedigree and four linked files (three rabbits and a
// rabbitry list); in each, "@0".."@4" become the paths of those files, "@P" a pipe,
// "@D" a folder, "@Z" /dev/zero. Every reader must finish (a pipe or a device is
// never waited on or read), fail only with a RecordError, and keep its promises
// about what a failure leaves.
#include "pedigree/PedigreeLinks.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace {

constexpr int FileCount = 5;
const char *const FileNames[FileCount] = {"p.ped", "1.rab", "2.rab", "3.rab", "4.rbty"};

struct Place
{
    QTemporaryDir dir;
    QString paths[FileCount];
    QByteArray tokens[8][2];

    Place()
    {
        if (!dir.isValid())
            std::abort();
        for (int i = 0; i < FileCount; ++i)
            paths[i] = dir.filePath(QString::fromLatin1(FileNames[i]));
        const QString pipe = dir.filePath("pipe.rab");
        if (mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
            std::abort();
        for (int i = 0; i < FileCount; ++i)
            tokens[i][0] = "@" + QByteArray::number(i), tokens[i][1] = QFile::encodeName(paths[i]);
        tokens[5][0] = "@P", tokens[5][1] = QFile::encodeName(pipe);
        tokens[6][0] = "@D", tokens[6][1] = QFile::encodeName(dir.path());
        tokens[7][0] = "@Z", tokens[7][1] = "/dev/zero";
    }
};

Place &place()
{
    static Place p;
    return p;
}

void writeParts(const QByteArray &input)
{
    const QList<QByteArray> parts = input.split('\x1e');
    for (int i = 0; i < FileCount; ++i) {
        QByteArray bytes = i < parts.size() ? parts.at(i) : QByteArray();
        for (const auto &[token, path] : place().tokens)
            bytes.replace(token, path);
        QFile file(place().paths[i]);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
}

// A reader that throws FileError must leave the record as it was.
template <class Run> void unchangedOnFileError(LineRecord &record, Run run)
{
    const QStringList before = record.values();
    try {
        run();
    } catch (const FileError &) {
        if (record.values() != before)
            std::abort();
    } catch (const RecordError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeParts(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const Place &p = place();
    LineRecord pedigree = PedigreeFile::newRecord();
    try {
        pedigree = PedigreeFile::read(p.paths[0]);
    } catch (const RecordError &) {
        // Still follow links from a new record below: loadSavedRabbit needs none.
    }

    try {
        PedigreeLinks::PositionLinks links = PedigreeLinks::linksOf(pedigree);
        LinkContext context(p.paths[0]);
        PedigreeLinks::autoFill(links, context);
        PedigreeLinks::setLinks(pedigree, links);
    } catch (const RecordError &) {
    }

    // Update from Links never changes a link.
    LineRecord updated = pedigree;
    try {
        LinkContext context(p.paths[0]);
        PedigreeLinks::updateFromLinks(updated, context);
    } catch (const RecordError &) {
    }
    if (PedigreeLinks::linksOf(updated) != PedigreeLinks::linksOf(pedigree) ||
        updated.value(PedigreeFile::RabbitryFile) != pedigree.value(PedigreeFile::RabbitryFile))
        std::abort();

    const QString others[] = {p.paths[1],
                              p.paths[2],
                              p.paths[3],
                              p.paths[4],
                              QString::fromLocal8Bit(p.tokens[5][1]),
                              QString::fromLocal8Bit(p.tokens[6][1]),
                              QStringLiteral("/dev/zero")};
    int code = 0;
    for (const QString &path : others) {
        const auto &positions = PedigreeFile::positions();
        const int positionCode = positions[std::size_t(code++) % positions.size()].code;
        LineRecord record = pedigree;
        unchangedOnFileError(record, [&] { PedigreeLinks::loadSavedRabbit(record, positionCode, path); });
        unchangedOnFileError(record, [&] { PedigreeLinks::loadSavedRabbitry(record, path); });
        unchangedOnFileError(record, [&] { PedigreeLinks::handOffRabbitry(record, PedigreeFile::HeaderCode, path); });
    }
    return 0;
}
