#include "TestFiles.h"
#include "records/LineFile.h"
#include "records/LineFormat.h"
#include "records/Picture.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void splitsLines_data();
    void splitsLines();
    void everyByteButCrLfRoundTrips();
    void writesCrLfAndKeepsOldFileOnFailure();
    void integers();
    void paths();
    void optionalGroupsAndParse();
    void pictures();
    void registryForgetsClosedWindows();
};

void TestRecords::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf only") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("lone CR stays in the text") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
    QTest::newRow("mixed") << QByteArray("a\nb\r\nc") << QStringList{"a", "b", "c"};
}

void TestRecords::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(LineFile::fromBytes(bytes).lines(), lines);
}

// windows-1252 both ways, the five bytes it leaves undefined included.
void TestRecords::everyByteButCrLfRoundTrips()
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

void TestRecords::writesCrLfAndKeepsOldFileOnFailure()
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
    QVERIFY_THROWS_EXCEPTION(FileError, LineFile::read(dir.filePath("nothing.rab")));
}

// Integers may carry blanks around them; a conversion error quotes the text.
void TestRecords::integers()
{
    QCOMPARE(toInteger("13"), 13);
    QCOMPARE(toInteger("-4"), -4);
    QCOMPARE(toInteger(" 9 "), 9);
    for (const QString text : {"", "ten", "10.5", "99999999999", " 1 2 "})
        QCOMPARE(messageOf<ConversionError>([&] { toInteger(text); }),
                 u'\'' + text + QStringLiteral("' is not a valid integer value"));
}

void TestRecords::paths()
{
    const QList<std::array<QString, 3>> cases = {
        {"/home/b/Rabbits/Thumper.rab", "Thumper.rab", ".rab"},
        {"C:\\Rabbits\\Thumper.RAB", "Thumper.RAB", ".RAB"},
        {"/r/a.b.rbty", "a.b.rbty", ".rbty"},
        {"/r.x/name", "name", ""},
    };
    for (const auto &[path, name, extension] : cases) {
        QCOMPARE(fileNamePart(path), name);
        QCOMPARE(extensionOf(path), extension);
    }
}

// A file supplies its head and every optional group it reaches; ending inside
// either is an index error naming the first missing line. Parsing checks the
// numbers before it returns a record.
void TestRecords::optionalGroupsAndParse()
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

// JPEG goes through libjpeg (any case of extension), whose own words name a broken
// file; PNG and BMP through Qt; anything else, or a file that is not what its
// extension says, is refused.
void TestRecords::pictures()
{
    QTemporaryDir dir;
    TestFiles::writeBytes(dir.filePath("broken.jpg"), QByteArray("\xff\xd8\xff\xe0 this is not a photograph"));
    const QString broken = messageOf<PictureError>([&] { loadPicture(dir.filePath("broken.jpg")); });
    QVERIFY2(broken.contains("broken.jpg") && broken.contains("JPEG"), qPrintable(broken));
    TestFiles::writeBytes(dir.filePath("a.png"), encodedImage("png", Qt::blue));
    TestFiles::writeBytes(dir.filePath("a.bmp"), encodedImage("bmp", Qt::green));
    QCOMPARE(loadPicture(dir.filePath("a.png")).pixelColor(1, 1), QColor(Qt::blue));
    QCOMPARE(loadPicture(dir.filePath("a.bmp")).pixelColor(1, 1), QColor(Qt::green));
    TestFiles::writeBytes(dir.filePath("a.wmf"), "not really");
    QVERIFY_THROWS_EXCEPTION(PictureError, loadPicture(dir.filePath("a.wmf")));
    TestFiles::writeBytes(dir.filePath("text.bmp"), "plain text");
    QVERIFY_THROWS_EXCEPTION(PictureError, loadPicture(dir.filePath("text.bmp")));
    QVERIFY_THROWS_EXCEPTION(FileError, loadPicture(dir.filePath("gone.png")));

    const QByteArray jpeg = encodedImage("jpeg", QColor(200, 30, 30));
    if (jpeg.isEmpty())
        QSKIP("no JPEG writer to make a sample");
    const QImage image = decodeJpeg(jpeg);
    QCOMPARE(image.size(), QSize(20, 10));
    QVERIFY(qAbs(image.pixelColor(10, 5).red() - 200) < 8 && image.pixelColor(10, 5).green() < 50);
    TestFiles::writeBytes(dir.filePath("p.JPG"), jpeg);
    QCOMPARE(loadPicture(dir.filePath("p.JPG")).size(), QSize(20, 10));
}

void TestRecords::registryForgetsClosedWindows()
{
    auto first = std::make_unique<QObject>();
    WindowRegistry::setNewest(QStringLiteral("TKind"), first.get());
    auto *second = new QObject;
    WindowRegistry::setNewest(QStringLiteral("TKind"), second);
    QCOMPARE(WindowRegistry::newest(QStringLiteral("TKind")), second);
    delete second;
    QCOMPARE(WindowRegistry::newest(QStringLiteral("TKind")), nullptr);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
