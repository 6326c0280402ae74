#include "HerdFiles.h"

#include "breeding/BreedingFormat.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "show/ShowFormat.h"

HerdFiles::HerdFiles() = default;

QString HerdFiles::rabbit(const QString &name, const QString &ear, const QString &sex, const QString &father,
                          const QString &mother, const QMap<int, QString> &more)
{
    LineRecord record = RabbitFile::newRecord();
    record.setValue(RabbitFile::RabbitName, name);
    record.setValue(RabbitFile::EarNumber, ear);
    record.setValue(RabbitFile::Sex, sex);
    const auto linkTo = [this](const QString &file) { return file == "None" ? file : path(file); };
    record.setValue(RabbitFile::FatherRabFile, linkTo(father));
    record.setValue(RabbitFile::MotherRabFile, linkTo(mother));
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        record.setValue(it.key(), it.value());
    const QString file = path(name + ".rab");
    record.toLines().write(file);
    return file;
}

QString HerdFiles::pedigree(const QString &file, const QMap<int, Place> &places)
{
    LineRecord chart = PedigreeFile::newRecord();
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        const PedigreeFile::Position *p = PedigreeFile::positionByCode(it.key());
        chart.setValue(p->line(PedigreeFile::ChartField::Name), it->name);
        chart.setValue(p->line(PedigreeFile::ChartField::Ear), it->ear);
        chart.setValue(p->linkLine, it->link);
    }
    const QString out = path(file);
    PedigreeFile::write(chart, out);
    return out;
}

QString HerdFiles::breeding(const QString &file, const QString &name, const QString &sex, const QList<Mating> &rows)
{
    using BreedingFile::RowField;
    LineRecord record = BreedingFile::newRecord();
    record.setValue(BreedingFile::RabbitName, name);
    record.setValue(BreedingFile::Sex, sex);
    for (int row = 1; row <= rows.size(); ++row) {
        const Mating &m = rows.at(row - 1);
        if (!m.mate.isNull())
            record.setValue(BreedingFile::rowLine(row, RowField::Parent), m.mate);
        if (!m.bred.isNull())
            record.setValue(BreedingFile::rowLine(row, RowField::Bred), m.bred);
        if (!m.kindled.isNull())
            record.setValue(BreedingFile::rowLine(row, RowField::Kindled), m.kindled);
    }
    const QString out = path(file);
    BreedingFile::write(record, out);
    return out;
}

QString HerdFiles::show(const QString &file, const QString &name, const QString &legs)
{
    LineRecord record = ShowFile::newRecord();
    record.setValue(ShowFile::RabbitName, name);
    record.setValue(ShowFile::Legs, legs);
    const QString out = path(file);
    ShowFile::write(record, out);
    return out;
}

QString HerdFiles::rabbitry(const QString &file, const QStringList &rabbits)
{
    const QString out = path(file);
    LineFile(rabbits).write(out);
    return out;
}

// RFC 4180 read back: quoted fields with doubled quotes, rows ending CR LF.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            row.append(field);
            rows.append(row);
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}
