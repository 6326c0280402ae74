#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small helpers for tests that write and read record files.
namespace TestFiles {
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
// Lines joined with CR LF after each, as the program writes them.
QByteArray crlf(const QStringList &lines);
QString dataPath(const QString &relative);
// Text of a PDF page as pdftotext gives it; empty when pdftotext is missing.
QString pdfText(const QString &pdfPath);
bool havePdfToText();
} // namespace TestFiles
