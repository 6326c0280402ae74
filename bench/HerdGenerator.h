#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Writes a herd for the benchmarks: rabbits over several generations, each linked to
// its father and mother (founders to none), each with a pedigree chart whose
// positions link the herd's rabbit files (names only beyond the herd), a breeding
// record for every doe, a show record for every third rabbit, and the rabbitry file
// listing them all. The same options always write the same files.
namespace HerdGenerator {

struct Options
{
    int rabbits = 10000;
    int generations = 5;
    unsigned seed = 1;
    // False: only say which files the herd has, for a folder written before with the
    // same options.
    bool writeFiles = true;
};

struct Rabbit
{
    QString file;
    QString pedigree;
    QString breeding; // empty for a buck
    QString show;     // empty for two rabbits in three
    bool buck = false;
    int generation = 0;

    // The files a herd row reads for this rabbit.
    QStringList rowFiles() const;
};

struct Herd
{
    QString folder;
    QString rabbitry;
    QList<Rabbit> rabbits;

    QStringList listed() const;
    QStringList bucks() const; // the bucks' rabbit files, the youngest generation first
    QStringList does() const;
    QStringList breedingRecords() const;
};

// Writes the herd into `folder`, which must exist.
Herd write(const QString &folder, const Options &options = {});

} // namespace HerdGenerator
