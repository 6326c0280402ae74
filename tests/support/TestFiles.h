#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Small helpers for tests that write and read record files.
namespace TestFiles {
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
// Lines joined with CR LF after each, as the program writes them.
QByteArray crlf(const QStringList &lines);
// Writes `lines` with `changes` applied, cut to `keep` lines when `keep` is not negative;
// returns `path`.
QString writeLines(const QString &path, QStringList lines, const QMap<int, QString> &changes = {}, int keep = -1);
// A new rabbit record with `values`, written like writeLines.
QString writeRabbit(const QString &path, const QMap<int, QString> &values, int keep = -1);
QString dataPath(const QString &relative);
// Text of a PDF page as pdftotext gives it; empty when pdftotext is missing.
QString pdfText(const QString &pdfPath);
bool havePdfToText();
// The PDF has exactly one page, wider than it is high.
bool onePageAcross(const QString &pdfPath);

// The message of the E that `run` throws; empty when it throws none.
template <class E, class F> QString messageOf(F run)
{
    try {
        run();
    } catch (const E &e) {
        return e.message();
    }
    return {};
}
} // namespace TestFiles
