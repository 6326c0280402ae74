#include "TestFiles.h"
#include "records/LineFile.h"
#include "records/LineFormat.h"
#include "records/Picture.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/stat.h>

using TestFiles::messageOf;

namespace {

// Head of 3 lines, then groups [3,5) and [5,6).
const LineFormat &smallFormat()
{
    static const LineFormat format({{0, "a", "_"},
                                    {1, "n", "0", FieldCheck::Integer},
                                    {2, "c", "_"},
                                    {3, "d", "None"},
                                    {4, "e", "None"},
                                    {5, "f", "None"}},
                                   {3, 5});
    return format;
}

QByteArray encodedImage(const char *format, QColor colour)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return buffer.data();
}

// A sparse file: its size costs no disk and no time.
QString sizedFile(const QTemporaryDir &dir, const QString &name, qint64 size)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot make %s", qPrintable(file.fileName()));
    return file.fileName();
}

// A JPEG made with libjpeg itself, for what Qt's writer cannot make: colour planes at
// full resolution and any scan script. `setup` runs after the defaults are set.
QByteArray libjpegEncoded(int width, int height, int components,
                          const std::function<void(jpeg_compress_struct &)> &setup)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    setup(info);
    jpeg_start_compress(&info, TRUE);
    QByteArray row(width * components, char(0x70));
    while (info.next_scanline < info.image_height) {
        JSAMPROW rowPointer = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Sets Qt's image allocation limit (in MB) for one test and restores it after.
class AllocationLimit
{
public:
    explicit AllocationLimit(int mb) : m_before(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(mb);
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_before); }

private:
    int m_before;
};

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void splitsLines()
    {
        const std::pair<QByteArray, QStringList> cases[] = {
            {"a\r\nb\r\n", {"a", "b"}},
            {"a\nb\n", {"a", "b"}},
            {"\r\n\r\nx", {"", "", "x"}}, // empty lines kept, last line without end
            {"a\rb\r\n", {"a\rb"}},       // a lone CR stays in the text
        };
        for (const auto &[bytes, lines] : cases)
            QCOMPARE(LineFile::fromBytes(bytes).lines(), lines);
    }

    // A head is the first lines as the whole file gives them, all of them when the file
    // is shorter; it is read with the same checks as a whole file.
    void readsAHead()
    {
        const QByteArray bytes = "a\r\n\r\nc\xe9\r\nd";
        const QStringList all = {"a", "", QStringLiteral("c\u00e9"), "d"};
        for (int count = 0; count <= all.size() + 2; ++count)
            QCOMPARE(LineFile::fromBytes(bytes, count).lines(), all.mid(0, count));
        QCOMPARE(LineFile::fromBytes(bytes, -1).lines(), all);
        QCOMPARE(LineFile::fromBytes(QByteArray(), 3).count(), 0);

        QTemporaryDir dir;
        TestFiles::writeBytes(dir.filePath("x.rab"), bytes);
        QCOMPARE(LineFile::readHead(dir.filePath("x.rab"), 2).lines(), all.mid(0, 2));
        const QString over = sizedFile(dir, "over.rab", LineFile::MaxFileBytes + 1);
        QVERIFY(messageOf<FileError>([&] { LineFile::readHead(over, 1); }).contains("more than the 8 MiB"));
        QCOMPARE(messageOf<FileError>([&] { LineFile::readHead("/dev/zero", 1); }),
                 QStringLiteral("Cannot open file \"/dev/zero\". It is not a regular file."));
    }

    // windows-1252 both ways, the five bytes it leaves undefined included.
    void everyByteButCrLfRoundTrips()
    {
        QByteArray line;
        for (int b = 1; b <= 255; ++b)
            if (b != '\r' && b != '\n')
                line.append(char(b));
        const QByteArray bytes = line + "\r\n" + "\xe9t\xe9 \x80 \x81\x8d\x8f\x90\x9d" + "\r\n";
        const LineFile file = LineFile::fromBytes(bytes);
        QCOMPARE(file.at(1).left(5), QStringLiteral("\u00e9t\u00e9 \u20ac")); // 0x80 is the euro sign
        QCOMPARE(file.toBytes(), bytes);
        QCOMPARE(messageOf<LineIndexError>([&] { file.at(2); }), QStringLiteral("List index out of bounds (2)"));
    }

    void writesCrLfAndKeepsOldFileOnFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.rab");
        LineFile({"one", "", "caf\u00e9"}).write(path);
        QCOMPARE(TestFiles::readBytes(path), QByteArray("one\r\n\r\ncaf\xe9\r\n"));

        // A write that fails half-way (the file size limit is below the new content, as
        // on a full disk) must report the error and leave the old file as it was.
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit low = before;
        low.rlim_cur = 1000;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &low);
        const QString error = messageOf<FileError>([&] { LineFile({QString(5000, u'x')}).write(path); });
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);
        QVERIFY2(error.contains("x.rab") && TestFiles::readBytes(path) == "one\r\n\r\ncaf\xe9\r\n", qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.rab"}); // no temporary left

        QVERIFY_THROWS_EXCEPTION(FileError, LineFile({"new"}).write(dir.filePath("missing/x.rab")));
    }

    // Integers may carry blanks around them; a conversion error quotes the text.
    void integers()
    {
        QCOMPARE(toInteger(" -9 "), -9);
        for (const QString text : {"", "ten", "10.5", "99999999999", " 1 2 "})
            QCOMPARE(messageOf<ConversionError>([&] { toInteger(text); }),
                     u'\'' + text + QStringLiteral("' is not a valid integer value"));
    }

    // A file supplies its head and every optional group it reaches; ending inside
    // either is an index error naming the first missing line. Parsing checks the
    // numbers before it returns a record.
    void optionalGroupsAndParse()
    {
        const QList<std::pair<int, int>> cases = {{2, -1}, {3, 3}, {4, -1}, {5, 5}, {6, 6}, {9, 6}}; // available, used
        for (const auto &[available, used] : cases) {
            if (used >= 0)
                QCOMPARE(smallFormat().linesUsed(available), used);
            else
                QCOMPARE(messageOf<LineIndexError>([&] { smallFormat().linesUsed(available); }),
                         QStringLiteral("List index out of bounds (%1)").arg(available));
        }

        const LineRecord ok = LineRecord::parse(smallFormat(), LineFile({"x", "12", "y"}));
        QCOMPARE(ok.present(), 3);
        QCOMPARE(ok.value(1), QStringLiteral("12"));
        QCOMPARE(ok.value(3), QStringLiteral("None")); // missing lines keep the new-record value
        QVERIFY_THROWS_EXCEPTION(ConversionError, LineRecord::parse(smallFormat(), LineFile({"x", "1 2", "y"})));
    }

    // A pipe, a device or a folder named as a record or picture is refused at once: a
    // pipe without a writer would otherwise wait for ever, /dev/zero never end.
    void refusesWhatIsNotARegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe.rab");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        for (const QString &path : {fifo, QStringLiteral("/dev/zero"), dir.path()}) {
            QCOMPARE(messageOf<FileError>([&] { LineFile::read(path); }),
                     QStringLiteral("Cannot open file \"%1\". It is not a regular file.").arg(path));
            QCOMPARE(messageOf<FileError>([&] { loadPicture(path); }),
                     QStringLiteral("Cannot open picture \"%1\". It is not a regular file.").arg(path));
        }
        QVERIFY(timer.elapsed() < 5000);

        // Missing files keep the message every other caller shows.
        QCOMPARE(messageOf<FileError>([&] { LineFile::read(dir.filePath("none.rab")); }),
                 QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(dir.filePath("none.rab")));
        // A NUL inside a stored path must not open the file named by the part before it.
        LineFile({"real"}).write(dir.filePath("a.rab"));
        QVERIFY(messageOf<FileError>([&] {
                    LineFile::read(dir.filePath("a.rab") + QChar(0) + "x");
                }).startsWith("Cannot open file"));
        // A link to a regular file is read like the file.
        QVERIFY(QFile::link(dir.filePath("a.rab"), dir.filePath("link.rab")));
        QCOMPARE(LineFile::read(dir.filePath("link.rab")).lines(), QStringList{"real"});
    }

    // Record files are read up to 8 MiB, pictures up to 128 MiB; a larger file is refused
    // by its size before any of it is read, and a file that reports no size (or grows)
    // is read no further than one byte past the limit.
    void boundsWhatItReads()
    {
        QTemporaryDir dir;
        const QString atLimit = sizedFile(dir, "limit.rab", LineFile::MaxFileBytes);
        QCOMPARE(LineFile::read(atLimit).at(0).size(), qsizetype(LineFile::MaxFileBytes));
        const QString over = sizedFile(dir, "over.rab", LineFile::MaxFileBytes + 1);
        QCOMPARE(messageOf<FileError>([&] { LineFile::read(over); }),
                 QStringLiteral("Cannot read file \"%1\". It is 8.00 MiB (8388609 bytes), more than the 8 MiB a "
                                "record file can have.")
                     .arg(over));
        const QString picture = sizedFile(dir, "huge.jpg", MaxPictureFileBytes + 1);
        QCOMPARE(
            messageOf<FileError>([&] { loadPicture(picture); }),
            QStringLiteral("Cannot read picture \"%1\". It is 128.00 MiB (134217729 bytes), more than the 128 MiB a "
                           "picture file can have.")
                .arg(picture));

        // /proc files report size 0 and hold more.
        QVERIFY(readRegularFile("/proc/self/maps", 1 << 20, "file", "record file").contains("/"));
        QCOMPARE(messageOf<FileError>([] { readRegularFile("/proc/self/maps", 16, "file", "record file"); }),
                 QStringLiteral("Cannot read file \"/proc/self/maps\". It holds more than the 16 bytes a record file "
                                "can have."));
    }

    // Text windows-1252 has no byte for is written as "?", never as the control byte
    // 0x1A, and the file says which lines that happened on. A line break inside a line
    // would split it and shift every later line.
    void unstorableCharactersBecomeQuestionMarks()
    {
        QCOMPARE(unstorableCharacters(QStringLiteral("\u03a9 a \U0001F407 \u0141\u03a9\U0001F407")),
                 (QStringList{"\u03a9", "\U0001F407", "\u0141"}));
        const QString lone = QString(QChar(0xd800)) + "x" + QChar(0xdc00);
        QCOMPARE(unstorableCharacters(lone), (QStringList{QString(QChar(0xd800)), QString(QChar(0xdc00))}));
        QCOMPARE(unstorableCharacters("two\nlines"), QStringList{"\n"});
        const QString storable = QStringLiteral("caf\u00e9 \u20ac\u0160\u0178 \x1a \r\t") + QChar(0x81);
        QVERIFY(unstorableCharacters(storable).isEmpty() && isStorable(storable));
        QVERIFY(!isStorable(QStringLiteral("\u0080"))); // the byte 0x80 is the euro sign

        const LineFile file({"Thumper", QStringLiteral("\u03a9mega \U0001F407"), storable, "a\nb", ""});
        QCOMPARE(file.unencodableLines(), (QList<int>{1, 3}));
        const QByteArray bytes = file.toBytes();
        QCOMPARE(bytes, QByteArray("Thumper\r\n?mega ?\r\ncaf\xe9 \x80\x8a\x9f \x1a \r\t\x81\r\n"
                                   "a?b\r\n\r\n"));
    }

    // A message quotes at most 80 characters of a hostile text, then an ellipsis.
    void quotesOnlyTheStartOfLongText()
    {
        const QString line = QString(1 << 20, u'x');
        const QString message = messageOf<ConversionError>([&] { toInteger(line); });
        QCOMPARE(message, u'\'' + QString(80, u'x') + QStringLiteral("\u2026' is not a valid integer value"));
        QVERIFY_THROWS_EXCEPTION(ConversionError,
                                 LineRecord::parse(smallFormat(), LineFile({"x", QString(100000, u'7') + "z", "y"})));

        // A character outside the 16-bit range is not cut in half.
        const QString rabbits = QStringLiteral("a\U0001F407\U0001F407");
        QCOMPARE(excerpt(rabbits, 2), QStringLiteral("a\u2026"));
        QCOMPARE(excerpt(rabbits, 3), QStringLiteral("a\U0001F407\u2026"));

        // A path in a message is cut too, far past any real path.
        const QString longPath = "/tmp/" + QString(5000, u'p') + ".rab";
        QVERIFY(messageOf<FileError>([&] { LineFile::read(longPath); }).size() < 500);
    }

    // JPEG goes through libjpeg (any case of extension), whose own words name a broken
    // file; PNG and BMP through Qt; anything else, or a file that is not what its
    // extension says, is refused. A header may claim any size: one claiming more than
    // Qt's image allocation limit is refused before anything is allocated, with the
    // size it claims, whichever reader would decode it.
    void pictures()
    {
        QTemporaryDir dir;
        QByteArray jpeg = libjpegEncoded(16, 16, 3, [](jpeg_compress_struct &) {});
        const qsizetype frame = jpeg.indexOf("\xff\xc0");
        QVERIFY(frame > 0 && jpeg.size() < 1000);
        QByteArray bigJpeg = jpeg; // a 60000 x 60000 frame in a file of a few hundred bytes
        qToBigEndian<quint16>(60000, bigJpeg.data() + frame + 5);
        qToBigEndian<quint16>(60000, bigJpeg.data() + frame + 7);
        QByteArray png = encodedImage("png", Qt::blue);
        qToBigEndian<quint32>(60000, png.data() + 16);
        qToBigEndian<quint32>(60000, png.data() + 20);
        qToBigEndian<quint32>(crc32(QByteArrayView(png).sliced(12, 17)), png.data() + 29);
        // Qt states no size for a bitmap this large; the header still does.
        QByteArray bmp = encodedImage("bmp", Qt::green);
        qToLittleEndian<qint32>(30000, bmp.data() + 18);
        qToLittleEndian<qint32>(-30000, bmp.data() + 22); // top-down
        QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                       "\x02\x02\x44\x01\x00;",
                       35);
        qToLittleEndian<quint16>(65535, gif.data() + 6);
        qToLittleEndian<quint16>(40000, gif.data() + 8);
        const QString claims("it claims %1 x %2 pixels, larger than the 128 MiB of memory a picture may take");
        const struct
        {
            const char *name;
            QByteArray bytes;
            QString error; // empty: loads, and shows `colour`
            QColor colour;
        } cases[] = {
            {"a.png", encodedImage("png", Qt::blue), {}, Qt::blue},
            {"a.bmp", encodedImage("bmp", Qt::green), {}, Qt::green},
            {"p.JPG", jpeg, {}, QColor(0x70, 0x70, 0x70)},
            {"broken.jpg", "\xff\xd8\xff\xe0 this is not a photograph", "JPEG", {}},
            {"a.wmf", "not really", "a.wmf", {}},
            {"text.bmp", "plain text", "text.bmp", {}},
            {"big.jpg", bigJpeg, claims.arg(60000).arg(60000), {}},
            {"big.png", png, claims.arg(60000).arg(60000), {}},
            {"big.bmp", bmp, claims.arg(30000).arg(30000), {}},
            {"big.gif", gif, claims.arg(65535).arg(40000), {}},
        };
        for (const auto &c : cases) {
            const QString path = dir.filePath(c.name);
            TestFiles::writeBytes(path, c.bytes);
            QColor shown;
            const QString error = messageOf<PictureError>([&] { shown = loadPicture(path).pixelColor(1, 1); });
            const int off = qAbs(shown.red() - c.colour.red()) + qAbs(shown.green() - c.colour.green()) +
                            qAbs(shown.blue() - c.colour.blue());
            QVERIFY2(c.error.isEmpty() ? error.isEmpty() && off < 12 : error.contains(path) && error.contains(c.error),
                     qPrintable(c.name + (": " + error)));
        }
        QVERIFY_THROWS_EXCEPTION(FileError, loadPicture(dir.filePath("gone.png")));

        // The limit is Qt's: a smaller one refuses a picture the default allows.
        TestFiles::writeBytes(dir.filePath("fine.jpg"), libjpegEncoded(600, 600, 3, [](jpeg_compress_struct &) {}));
        QVERIFY(!loadPicture(dir.filePath("fine.jpg")).isNull());
        const AllocationLimit oneMegabyte(1);
        const QString error = messageOf<PictureError>([&] { loadPicture(dir.filePath("fine.jpg")); });
        QVERIFY2(error.contains("it claims 600 x 600 pixels, larger than the 1 MiB"), qPrintable(error));
    }

    // libjpeg's own memory and time are bounded too: a progressive file keeps every
    // coefficient in memory, which with full-size colour planes is more than the
    // decoded picture; and a file of hundreds of tiny scans is refused.
    void boundsLibjpegWork()
    {
        const QByteArray planes = libjpegEncoded(512, 512, 3, [](jpeg_compress_struct &info) {
            for (int c = 0; c < info.num_components; ++c)
                info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
            jpeg_simple_progression(&info);
        });
        QCOMPARE(decodeJpeg(planes).size(), QSize(512, 512));
        {
            // 512 x 512 x 4 bytes is exactly 1 MiB, so the picture passes; its
            // coefficients need 1.5 MiB.
            const AllocationLimit oneMegabyte(1);
            const QString error = messageOf<PictureError>([&] { decodeJpeg(planes); });
            QVERIFY2(error.startsWith("JPEG error: "), qPrintable(error));
        }

        // Grey, one scan for the DC, then each AC coefficient alone over 11 successive
        // approximations: 694 scans for a picture of 64 pixels.
        std::vector<jpeg_scan_info> script;
        script.push_back({1, {0}, 0, 0, 0, 0});
        for (int k = 1; k < 64; ++k) {
            script.push_back({1, {0}, k, k, 0, 10});
            for (int al = 9; al >= 0; --al)
                script.push_back({1, {0}, k, k, al + 1, al});
        }
        const auto scans = [&](int count) {
            return libjpegEncoded(8, 8, 1, [&](jpeg_compress_struct &info) {
                info.scan_info = script.data();
                info.num_scans = count;
            });
        };
        QCOMPARE(decodeJpeg(scans(1 + 11 * 40)).size(), QSize(8, 8));
        QCOMPARE(messageOf<PictureError>([&] { decodeJpeg(scans(int(script.size()))); }),
                 QStringLiteral("JPEG error: more than 500 scans"));
    }

    void registryForgetsClosedWindows()
    {
        auto first = std::make_unique<QObject>();
        WindowRegistry::setNewest(QStringLiteral("TKind"), first.get());
        auto *second = new QObject;
        WindowRegistry::setNewest(QStringLiteral("TKind"), second);
        QCOMPARE(WindowRegistry::newest(QStringLiteral("TKind")), second);
        delete second;
        QCOMPARE(WindowRegistry::newest(QStringLiteral("TKind")), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
