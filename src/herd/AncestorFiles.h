#pragma once

#include "herd/FileKeys.h"
#include "records/LineFormat.h"

#include <QHash>
#include <QString>
#include <memory>

// The rabbit and pedigree files a test mating or a ranking reads, each read once
// however many pedigrees it stands in; a file that cannot be read is tried once and
// its message kept. One object serves one thread at a time.
class AncestorFiles
{
public:
    // What test mating needs of a rabbit file.
    struct Rabbit
    {
        QString path; // where it was read
        QString key;  // identity of the file (see keyOf)
        QString name; // as written, placeholder included
        QString ear;
        QString sex;
        QString father; // the links as stored; "None" when the file ends before them
        QString mother;
        QString dadName; // lines 9 and 11: the parents by name, for an unlinked parent
        QString momName;
        QString pedigree; // the pedigree link as stored
    };
    struct PedigreeChart
    {
        QString path;
        LineRecord chart;
    };

    // Each returns nullptr and sets `error` (naming the file) when the file cannot be
    // read or is no whole file of its kind. `path` is the file to read, links already
    // resolved (LinkContext).
    const Rabbit *rabbit(const QString &path, QString &error);
    const PedigreeChart *pedigree(const QString &path, QString &error);

    // One text for every spelling of a file (Inbreeding::fileKey), resolved once. Two
    // links lead to the same rabbit when their keys agree.
    QString keyOf(const QString &path);

    // Files read from the disk so far (each path once, found or not).
    int filesRead() const { return m_filesRead; }

private:
    template <class T> struct Entry
    {
        std::shared_ptr<const T> value; // shared: QHash copies its values
        QString error;
    };
    QHash<QString, Entry<Rabbit>> m_rabbits;
    QHash<QString, Entry<PedigreeChart>> m_pedigrees;
    FileKeys m_keys;
    int m_filesRead = 0;
};
