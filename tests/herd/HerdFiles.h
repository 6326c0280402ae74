#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A herd written by a test into a scratch folder: rabbit files linked to their
// parents, pedigree charts, breeding and show records, a rabbitry list.
class HerdFiles
{
public:
    HerdFiles();

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // name.rab holding the name, ear and sex, the parents' links (file names in this
    // folder, or "None"), and any other lines of `more`. Returns its path.
    QString rabbit(const QString &name, const QString &ear, const QString &sex, const QString &father = "None",
                   const QString &mother = "None", const QMap<int, QString> &more = {});

    // One position of a pedigree chart: name, ear, and the link as stored.
    struct Place
    {
        QString name;
        QString ear;
        QString link = QStringLiteral("None");
    };
    // file.ped with the positions given by code (1, 21, 22, 31..34, 41..48).
    QString pedigree(const QString &file, const QMap<int, Place> &places);

    // One mating row of a breeding record: mate, bred, kindled.
    struct Mating
    {
        QString mate;
        QString bred;
        QString kindled;
    };
    // file.brd for the subject (name, sex) with the rows 1.. given.
    QString breeding(const QString &file, const QString &name, const QString &sex, const QList<Mating> &rows);

    // file.shw with its legs line.
    QString show(const QString &file, const QString &name, const QString &legs);

    // file.rbty listing `rabbits` (paths), in that order, without the details trailer.
    QString rabbitry(const QString &file, const QStringList &rabbits);

private:
    QTemporaryDir m_dir;
};

// RFC 4180 read back: quoted fields with doubled quotes, rows ending CR LF.
QList<QStringList> parseCsv(const QString &text);
