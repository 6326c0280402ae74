#pragma once

#include <QByteArray>
#include <QtEndian>

#include <initializer_list>

// Tiny metafiles made byte by byte: a blue-filled rectangle on a 100 x 80 drawing.
namespace Metafiles {

inline void put16(QByteArray &out, quint32 value)
{
    char bytes[2];
    qToLittleEndian<quint16>(quint16(value), bytes);
    out.append(bytes, 2);
}

inline void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}

// A Windows metafile record: size in 16-bit words, function, parameters.
inline void wmfRecord(QByteArray &out, quint16 function, std::initializer_list<quint16> parameters)
{
    put32(out, quint32(3 + parameters.size()));
    put16(out, function);
    for (quint16 word : parameters)
        put16(out, word);
}

inline QByteArray wmfRectangle()
{
    QByteArray records;
    wmfRecord(records, 0x020B, {0, 0});                           // SetWindowOrg(0, 0)
    wmfRecord(records, 0x020C, {80, 100});                        // SetWindowExt(y 80, x 100)
    wmfRecord(records, 0x02FC, {0 /*solid*/, 0x0000, 0x00FF, 0}); // CreateBrushIndirect blue
    wmfRecord(records, 0x012D, {0});                              // SelectObject(0)
    wmfRecord(records, 0x041B, {70, 90, 10, 10});                 // Rectangle(bottom, right, top, left)
    wmfRecord(records, 0x0000, {});                               // EOF

    QByteArray out;
    put16(out, 1); // in memory
    put16(out, 9); // header words
    put16(out, 0x0300);
    put32(out, quint32((18 + records.size()) / 2));
    put16(out, 1); // objects
    put32(out, 7); // largest record, words
    put16(out, 0);
    return out + records;
}

// The header record of an enhanced metafile of a 100 x 80 drawing, `records` long
// with `fileBytes` in all. A description of `descriptionChars` UTF-16 characters at
// `descriptionOffset`; `extra` follows the fixed 88 bytes inside the header record.
inline QByteArray emfHeader(quint32 fileBytes, quint32 records, quint32 descriptionChars = 0,
                            quint32 descriptionOffset = 0, const QByteArray &extra = {})
{
    QByteArray header;
    put32(header, 1);                          // EMR_HEADER
    put32(header, quint32(88 + extra.size())); // size
    for (quint32 v : {0u, 0u, 99u, 79u})       // bounds, device units
        put32(header, v);
    for (quint32 v : {0u, 0u, 2646u, 2117u}) // frame, 0.01 mm
        put32(header, v);
    put32(header, 0x464D4520); // " EMF"
    put32(header, 0x00010000); // version
    put32(header, fileBytes);  // bytes
    put32(header, records);    // records
    put16(header, 2);          // handles
    put16(header, 0);
    put32(header, descriptionChars);
    put32(header, descriptionOffset);
    put32(header, 0);   // palette entries
    put32(header, 100); // device, pixels
    put32(header, 80);
    put32(header, 26); // device, millimetres
    put32(header, 21);
    return header + extra;
}

inline QByteArray emfEnd()
{
    QByteArray end;
    put32(end, 14); // EMR_EOF
    put32(end, 20);
    put32(end, 0);
    put32(end, 16);
    put32(end, 20);
    return end;
}

// The blue rectangle; `headerExtra` (a description, a pixel format) is placed in the
// header record, and the header's fields pointing at it are the caller's to set.
inline QByteArray emfRectangle(quint32 descriptionChars = 0, quint32 descriptionOffset = 0,
                               const QByteArray &headerExtra = {})
{
    QByteArray body;
    // EMR_CREATEBRUSHINDIRECT: handle 1, solid style, colour 0x00BBGGRR, hatch
    put32(body, 39);
    put32(body, 24);
    put32(body, 1);
    put32(body, 0);
    put32(body, 0x00FF0000);
    put32(body, 0);
    // EMR_SELECTOBJECT 1
    put32(body, 37);
    put32(body, 12);
    put32(body, 1);
    // EMR_RECTANGLE 10,10 - 90,70
    put32(body, 43);
    put32(body, 24);
    for (quint32 v : {10u, 10u, 90u, 70u})
        put32(body, v);
    const QByteArray end = emfEnd();
    const quint32 bytes = quint32(88 + headerExtra.size() + body.size() + end.size());
    return emfHeader(bytes, 5, descriptionChars, descriptionOffset, headerExtra) + body + end;
}

// 132 bytes whose header places its description at byte 128: past the 88-byte header
// record, in the last four bytes of the file, with no terminating character there.
inline QByteArray emfDescriptionPastHeader()
{
    QByteArray body;
    put32(body, 18); // EMR_SETBKMODE transparent
    put32(body, 12);
    put32(body, 1);
    put32(body, 37); // EMR_SELECTOBJECT, a stock brush
    put32(body, 12);
    put32(body, 0x80000000);
    return emfHeader(132, 4, 0, 128) + body + emfEnd();
}

} // namespace Metafiles
