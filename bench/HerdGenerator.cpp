#include "HerdGenerator.h"

#include "breeding/BreedingFormat.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/LineFile.h"
#include "show/ShowFormat.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <array>
#include <random>
#include <vector>

namespace HerdGenerator {

namespace {

const std::array<const char *, 16> Names = {"Thumper", "Clover", "Hazel",  "Bramble", "Pip",    "Willow",
                                            "Juniper", "Maple",  "Smokey", "Biscuit", "Nutmeg", "Pepper",
                                            "Ginger",  "Oreo",   "Dusty",  "Luna"};
const std::array<const char *, 8> Colors = {"Black", "Blue", "Chestnut",  "Broken Black",
                                            "Opal",  "Lynx", "Chocolate", "Tort"};
// The calendar is measured against this day.
const QDate Today(2024, 6, 1);

struct Info
{
    int father = -1;
    int mother = -1;
    bool buck = false;
    int generation = 0;
    QString name;
    QString ear;
    QString color;
};

// Plain writes: the benchmark reads these files, it does not measure writing them.
void writeLines(const QString &path, const QStringList &lines, bool write)
{
    if (!write)
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(LineFile(lines).toBytes());
}

// The three forms breeders type most, in turn.
QString dateText(const QDate &date, int form)
{
    switch (form % 3) {
    case 0:
        return date.toString(QStringLiteral("M/d/yy"));
    case 1:
        return date.toString(QStringLiteral("d MMM yyyy"));
    default:
        return date.toString(Qt::ISODate);
    }
}

} // namespace

QStringList Rabbit::rowFiles() const
{
    QStringList files{file, pedigree};
    if (!show.isEmpty())
        files.append(show);
    return files;
}

QStringList Herd::listed() const
{
    QStringList paths;
    for (const Rabbit &r : rabbits)
        paths.append(r.file);
    return paths;
}

QStringList Herd::bucks() const
{
    QStringList paths;
    for (qsizetype i = rabbits.size() - 1; i >= 0; --i)
        if (rabbits[i].buck)
            paths.append(rabbits[i].file);
    return paths;
}

QStringList Herd::does() const
{
    QStringList paths;
    for (qsizetype i = rabbits.size() - 1; i >= 0; --i)
        if (!rabbits[i].buck)
            paths.append(rabbits[i].file);
    return paths;
}

QStringList Herd::breedingRecords() const
{
    QStringList paths;
    for (const Rabbit &r : rabbits)
        if (!r.breeding.isEmpty())
            paths.append(r.breeding);
    return paths;
}

Herd write(const QString &folder, const Options &options)
{
    std::mt19937 random(options.seed);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    const int n = std::max(options.rabbits, 1);
    const int perGeneration = std::max(1, (n + options.generations - 1) / options.generations);
    const QDir dir(folder);
    const auto pathOf = [&dir](const char *prefix, int i, const char *extension) {
        return dir.filePath(QStringLiteral("%1%2.%3")
                                .arg(QLatin1String(prefix))
                                .arg(i, 5, 10, QLatin1Char('0'))
                                .arg(QLatin1String(extension)));
    };

    std::vector<Info> info(static_cast<std::size_t>(n));
    std::vector<std::vector<int>> bucks(std::size_t(options.generations + 1)), does(bucks.size());
    for (int i = 0; i < n; ++i) {
        Info &r = info[std::size_t(i)];
        r.generation = i / perGeneration;
        r.buck = pick(2) == 0;
        r.name = QStringLiteral("%1 %2").arg(QLatin1String(Names[std::size_t(i) % Names.size()])).arg(i);
        r.ear = QStringLiteral("H%1").arg(i);
        r.color = QLatin1String(Colors[std::size_t(pick(int(Colors.size())))]);
        if (r.generation > 0) {
            const std::vector<int> &sires = bucks[std::size_t(r.generation - 1)];
            const std::vector<int> &dams = does[std::size_t(r.generation - 1)];
            if (!sires.empty())
                r.father = sires[std::size_t(pick(int(sires.size())))];
            if (!dams.empty())
                r.mother = dams[std::size_t(pick(int(dams.size())))];
        }
        (r.buck ? bucks : does)[std::size_t(r.generation)].push_back(i);
    }

    Herd herd;
    herd.folder = folder;
    for (int i = 0; i < n; ++i) {
        const Info &r = info[std::size_t(i)];
        Rabbit out;
        out.file = pathOf("r", i, "rab");
        out.pedigree = pathOf("p", i, "ped");
        out.buck = r.buck;
        out.generation = r.generation;
        if (!r.buck)
            out.breeding = pathOf("b", i, "brd");
        if (i % 3 == 0)
            out.show = pathOf("s", i, "shw");

        LineRecord rabbit = RabbitFile::newRecord();
        const QDate born = Today.addYears(r.generation - options.generations).addDays(pick(300));
        const QList<std::pair<int, QString>> values = {
            {RabbitFile::RabbitName, r.name},
            {RabbitFile::OwnerName, QStringLiteral("Ann Smith")},
            {RabbitFile::Breed, i % 5 == 0 ? QStringLiteral("Mini Rex") : QStringLiteral("Holland Lop")},
            {RabbitFile::EarNumber, r.ear},
            {RabbitFile::RegNumber, QStringLiteral("R%1").arg(i)},
            {RabbitFile::Weight, QStringLiteral("%1 lb").arg(2 + pick(3))},
            {RabbitFile::Sex, r.buck ? QStringLiteral("Buck") : QStringLiteral("Doe")},
            {RabbitFile::Color, r.color},
            {RabbitFile::BirthDate, dateText(born, i)},
            {RabbitFile::PedigreeLink, out.pedigree}};
        for (const auto &[line, value] : values)
            rabbit.setValue(line, value);
        if (r.father >= 0) {
            rabbit.setValue(RabbitFile::DadName, info[std::size_t(r.father)].name);
            rabbit.setValue(RabbitFile::FatherRabFile, pathOf("r", r.father, "rab"));
        }
        if (r.mother >= 0) {
            rabbit.setValue(RabbitFile::MomName, info[std::size_t(r.mother)].name);
            rabbit.setValue(RabbitFile::MotherRabFile, pathOf("r", r.mother, "rab"));
        }
        if (!out.breeding.isEmpty())
            rabbit.setValue(RabbitFile::BreedLink, out.breeding);
        if (!out.show.isEmpty())
            rabbit.setValue(RabbitFile::ShowLink, out.show);
        writeLines(out.file, rabbit.values(), options.writeFiles);

        // The chart: the herd's rabbits linked where the line reaches them, names only beyond.
        LineRecord chart = PedigreeFile::newRecord();
        std::array<int, 49> at;
        at.fill(-1);
        at[PedigreeFile::BunnyCode] = i;
        for (const PedigreeFile::Position &p : PedigreeFile::positions()) {
            const int who = at[std::size_t(p.code)];
            if (p.hasParents() && who >= 0) {
                at[std::size_t(p.fatherCode)] = info[std::size_t(who)].father;
                at[std::size_t(p.motherCode)] = info[std::size_t(who)].mother;
            }
            using PedigreeFile::ChartField;
            if (who >= 0) {
                chart.setValue(p.line(ChartField::Name), info[std::size_t(who)].name);
                chart.setValue(p.line(ChartField::Ear), info[std::size_t(who)].ear);
                chart.setValue(p.line(ChartField::Color), info[std::size_t(who)].color);
                chart.setValue(p.linkLine, pathOf("r", who, "rab"));
            } else {
                chart.setValue(p.line(ChartField::Name), QStringLiteral("Outside %1-%2").arg(i).arg(p.code));
                chart.setValue(p.line(ChartField::Ear), QStringLiteral("X%1-%2").arg(i).arg(p.code));
            }
        }
        writeLines(out.pedigree, chart.values(), options.writeFiles);

        if (!out.breeding.isEmpty()) {
            using BreedingFile::RowField;
            LineRecord breeding = BreedingFile::newRecord();
            breeding.setValue(BreedingFile::RabbitName, r.name);
            breeding.setValue(BreedingFile::Sex, QStringLiteral("Doe"));
            breeding.setValue(BreedingFile::MainRabFile, out.file);
            // One mating waiting to kindle, one litter to wean, one long done.
            const QDate bred = Today.addDays(-pick(40));
            const QDate litter = Today.addDays(-40 - pick(60));
            const QDate old = Today.addDays(-200 - pick(200));
            const std::array<std::pair<QDate, QDate>, 3> rows = {
                {{bred, QDate()}, {litter, litter.addDays(31)}, {old, old.addDays(31)}}};
            for (int row = 1; row <= int(rows.size()); ++row) {
                const auto &[bredOn, kindledOn] = rows[std::size_t(row - 1)];
                const int mate = bucks[0].empty() ? -1 : bucks[0][std::size_t(pick(int(bucks[0].size())))];
                if (mate >= 0) {
                    breeding.setValue(BreedingFile::rowLine(row, RowField::Parent), info[std::size_t(mate)].name);
                    breeding.setValue(BreedingFile::mateRabFile(row), pathOf("r", mate, "rab"));
                }
                breeding.setValue(BreedingFile::rowLine(row, RowField::Bred), dateText(bredOn, row));
                if (kindledOn.isValid())
                    breeding.setValue(BreedingFile::rowLine(row, RowField::Kindled), dateText(kindledOn, row + 1));
            }
            writeLines(out.breeding, breeding.values(), options.writeFiles);
        }
        if (!out.show.isEmpty()) {
            LineRecord show = ShowFile::newRecord();
            show.setValue(ShowFile::RabbitName, r.name);
            show.setValue(ShowFile::EarNumber, r.ear);
            show.setValue(ShowFile::Legs, QString::number(pick(4)));
            show.setValue(ShowFile::MainRabFile, out.file);
            writeLines(out.show, show.values(), options.writeFiles);
        }
        herd.rabbits.append(out);
    }
    herd.rabbitry = dir.filePath(QStringLiteral("herd.rbty"));
    if (options.writeFiles)
        Rabbitry::write(herd.rabbitry, herd.listed(), {QStringLiteral("Bench Rabbitry"), {}, {}, {}});
    return herd;
}

} // namespace HerdGenerator
