#include "herd/AncestorFiles.h"

#include "herd/Herd.h"
#include "herd/RecordLines.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

namespace {

QString lineOr(const LineFile &file, int line, const QString &otherwise)
{
    return line < file.count() ? file.at(line) : otherwise;
}

} // namespace

const AncestorFiles::Rabbit *AncestorFiles::rabbit(const QString &path, QString &error)
{
    auto found = m_rabbits.find(path);
    if (found == m_rabbits.end()) {
        Entry<Rabbit> entry;
        ++m_filesRead;
        try {
            using namespace RabbitFile;
            static constexpr int Wanted[] = {RabbitName, EarNumber,     Sex,           DadName,
                                             MomName,    FatherRabFile, MotherRabFile, PedigreeLink};
            static const RecordLines::Selection Lines(RabbitFile::format(), Wanted);
            const LineFile file = RecordLines::read(path, Lines);
            try {
                RabbitFile::format().linesUsed(file.count());
            } catch (const RecordError &e) {
                throw RecordError(
                    QStringLiteral("\"%1\" is not a whole rabbit file (%2).").arg(shownPath(path), e.message()));
            }
            entry.value = std::make_shared<const Rabbit>(
                Rabbit{path, keyOf(path), file.at(RabbitName), file.at(EarNumber), file.at(Sex),
                       lineOr(file, FatherRabFile, FileLink::none()), lineOr(file, MotherRabFile, FileLink::none()),
                       file.at(DadName), file.at(MomName), lineOr(file, PedigreeLink, FileLink::none())});
        } catch (const RecordError &e) {
            entry.error = e.message();
        }
        found = m_rabbits.insert(path, std::move(entry));
    }
    error = found->error;
    return found->value.get();
}

const AncestorFiles::PedigreeChart *AncestorFiles::pedigree(const QString &path, QString &error)
{
    auto found = m_pedigrees.find(path);
    if (found == m_pedigrees.end()) {
        Entry<PedigreeChart> entry;
        ++m_filesRead;
        try {
            // Names, ears and links as the window holds them: what Check Inbreeding reads.
            entry.value = std::make_shared<const PedigreeChart>(PedigreeChart{
                path, PedigreeFile::parse(RecordLines::read(path, RecordLines::chart()))});
        } catch (const RecordError &e) {
            entry.error = Herd::linkedFileProblem(QStringLiteral("Pedigree"), path, e);
        }
        found = m_pedigrees.insert(path, std::move(entry));
    }
    error = found->error;
    return found->value.get();
}

QString AncestorFiles::keyOf(const QString &path)
{
    return m_keys.of(path);
}
