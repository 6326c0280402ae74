#pragma once

#include <QString>
#include <stdexcept>

// Every failure a command can meet is one of these. The text is what the breeder
// reads in the error message, so it must make sense on its own.
class RecordError : public std::runtime_error
{
public:
    explicit RecordError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A file could not be opened, read or written.
class FileError : public RecordError
{
public:
    using RecordError::RecordError;
};

// A line was asked for that the file does not have.
class LineIndexError : public RecordError
{
public:
    using RecordError::RecordError;
};

// A text that should hold a whole number does not.
class ConversionError : public RecordError
{
public:
    using RecordError::RecordError;
};

// A picture file could not be decoded.
class PictureError : public RecordError
{
public:
    using RecordError::RecordError;
};

// How much of a hostile text a message quotes: enough to recognise it, never a
// message box as long as a megabyte line.
constexpr qsizetype QuotedTextChars = 80;

// The first `maxChars` characters of `text`, then "…" when there was more. Never
// splits a surrogate pair.
inline QString excerpt(const QString &text, qsizetype maxChars = QuotedTextChars)
{
    if (text.size() <= maxChars)
        return text;
    qsizetype cut = maxChars;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + u'\u2026';
}
