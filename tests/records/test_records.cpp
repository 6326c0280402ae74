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

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void splitsLines_data();
    void splitsLines();
    void everyByteButCrLfRoundTrips();
    void writesCrLfThroughSaveFile();
    void failedWriteKeepsOldFile();
    void missingLineNamesIndex();
    void integers_data();
    void integers();
    void paths_data();
    void paths();
    void optionalGroups_data();
    void optionalGroups();
    void parseChecksNumbersBeforeReturning();
    void decodesJpegThroughLibjpeg();
    void brokenJpegReportsLibjpegMessage();
    void otherPictureFormats();
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

void TestRecords::everyByteButCrLfRoundTrips()
{
    QByteArray line;
    for (int b = 1; b <= 255; ++b)
        if (b != '\r' && b != '\n')
            line.append(char(b));
    const QByteArray bytes = line + "\r\n" + "\xe9t\xe9 \x80 \x81\x8d\x8f\x90\x9d" + "\r\n";
    const LineFile file = LineFile::fromBytes(bytes);
    QCOMPARE(file.count(), 2);
    QCOMPARE(file.at(1).left(3), QStringLiteral("\u00e9t\u00e9"));
    QCOMPARE(file.at(1).mid(4, 1), QStringLiteral("\u20ac")); // 0x80 is the euro sign
    QCOMPARE(file.toBytes(), bytes);
}

void TestRecords::writesCrLfThroughSaveFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.rab");
    LineFile({"one", "", "caf\u00e9"}).write(path);
    QCOMPARE(TestFiles::readBytes(path), QByteArray("one\r\n\r\ncaf\xe9\r\n"));
    QCOMPARE(LineFile::read(path).lines(), QStringList({"one", "", "caf\u00e9"}));
}

void TestRecords::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.rab");
    TestFiles::writeBytes(path, "old\r\n");
    // A folder that does not exist cannot take the file.
    QVERIFY_THROWS_EXCEPTION(FileError, LineFile({"new"}).write(dir.filePath("missing/x.rab")));
    QVERIFY_THROWS_EXCEPTION(FileError, LineFile::read(dir.filePath("nothing.rab")));
    QCOMPARE(TestFiles::readBytes(path), QByteArray("old\r\n"));
}

void TestRecords::missingLineNamesIndex()
{
    const LineFile file({"a", "b"});
    QCOMPARE(file.at(1), QStringLiteral("b"));
    try {
        file.at(2);
        QFAIL("no error for a missing line");
    } catch (const LineIndexError &e) {
        QVERIFY(e.message().contains(QStringLiteral("(2)")));
    }
}

void TestRecords::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "13" << true << 13;
    QTest::newRow("negative") << "-4" << true << -4;
    QTest::newRow("blank around") << " 9 " << true << 9;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("word") << "ten" << false << 0;
    QTest::newRow("decimal") << "10.5" << false << 0;
    QTest::newRow("too big") << "99999999999" << false << 0;
}

void TestRecords::integers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid) {
        QCOMPARE(toInteger(text), value);
        return;
    }
    try {
        toInteger(text);
        QFAIL("no conversion error");
    } catch (const ConversionError &e) {
        QVERIFY2(e.message().contains(u'\'' + text + u'\''), qPrintable(e.message()));
    }
}

void TestRecords::paths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::newRow("unix") << "/home/b/Rabbits/Thumper.rab" << "Thumper.rab" << ".rab";
    QTest::newRow("windows") << "C:\\Rabbits\\Thumper.RAB" << "Thumper.RAB" << ".RAB";
    QTest::newRow("two dots") << "/r/a.b.rbty" << "a.b.rbty" << ".rbty";
    QTest::newRow("dot in folder only") << "/r.x/name" << "name" << "";
}

void TestRecords::paths()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QCOMPARE(fileNamePart(path), name);
    QCOMPARE(extensionOf(path), extension);
}

namespace {
const LineFormat &smallFormat()
{
    // Head of 3 lines, then groups [3,5) and [5,6).
    static const LineFormat format({{0, "a", "_"}, {1, "n", "0", FieldCheck::Integer}, {2, "c", "_"},
                                    {3, "d", "None"}, {4, "e", "None"}, {5, "f", "None"}},
                                   {3, 5});
    return format;
}
} // namespace

void TestRecords::optionalGroups_data()
{
    QTest::addColumn<int>("available");
    QTest::addColumn<int>("used"); // -1: index error at line `available`
    QTest::newRow("short head") << 2 << -1;
    QTest::newRow("head only") << 3 << 3;
    QTest::newRow("inside first group") << 4 << -1;
    QTest::newRow("first group") << 5 << 5;
    QTest::newRow("whole") << 6 << 6;
    QTest::newRow("longer than the format") << 9 << 6;
}

void TestRecords::optionalGroups()
{
    QFETCH(int, available);
    QFETCH(int, used);
    if (used >= 0) {
        QCOMPARE(smallFormat().linesUsed(available), used);
        return;
    }
    try {
        smallFormat().linesUsed(available);
        QFAIL("no index error");
    } catch (const LineIndexError &e) {
        QVERIFY(e.message().contains(QStringLiteral("(%1)").arg(available)));
    }
}

void TestRecords::parseChecksNumbersBeforeReturning()
{
    const LineRecord ok = LineRecord::parse(smallFormat(), LineFile({"x", "12", "y"}));
    QCOMPARE(ok.present(), 3);
    QCOMPARE(ok.value(1), QStringLiteral("12"));
    QVERIFY(!ok.has(3));
    QCOMPARE(ok.value(3), QStringLiteral("None")); // missing lines keep the new-record value
    QVERIFY_THROWS_EXCEPTION(ConversionError, LineRecord::parse(smallFormat(), LineFile({"x", "1 2", "y"})));
}

namespace {
QByteArray encodedImage(const char *format, QColor colour)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return buffer.data();
}
} // namespace

void TestRecords::decodesJpegThroughLibjpeg()
{
    const QByteArray jpeg = encodedImage("jpeg", QColor(200, 30, 30));
    if (jpeg.isEmpty())
        QSKIP("no JPEG writer to make a sample");
    const QImage image = decodeJpeg(jpeg);
    QCOMPARE(image.size(), QSize(20, 10));
    const QColor pixel = image.pixelColor(10, 5);
    QVERIFY(qAbs(pixel.red() - 200) < 8 && pixel.green() < 50);

    QTemporaryDir dir;
    TestFiles::writeBytes(dir.filePath("p.JPG"), jpeg);
    QCOMPARE(loadPicture(dir.filePath("p.JPG")).size(), QSize(20, 10));
}

void TestRecords::brokenJpegReportsLibjpegMessage()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.jpg");
    TestFiles::writeBytes(path, QByteArray("\xff\xd8\xff\xe0 this is not a photograph"));
    try {
        loadPicture(path);
        QFAIL("broken JPEG loaded");
    } catch (const PictureError &e) {
        // libjpeg's own words, and the file named.
        QVERIFY2(e.message().contains(QStringLiteral("broken.jpg")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("JPEG")), qPrintable(e.message()));
    }
}

void TestRecords::otherPictureFormats()
{
    QTemporaryDir dir;
    TestFiles::writeBytes(dir.filePath("a.png"), encodedImage("png", Qt::blue));
    TestFiles::writeBytes(dir.filePath("a.bmp"), encodedImage("bmp", Qt::green));
    QCOMPARE(loadPicture(dir.filePath("a.png")).pixelColor(1, 1), QColor(Qt::blue));
    QCOMPARE(loadPicture(dir.filePath("a.bmp")).pixelColor(1, 1), QColor(Qt::green));
    TestFiles::writeBytes(dir.filePath("a.wmf"), "not really");
    QVERIFY_THROWS_EXCEPTION(PictureError, loadPicture(dir.filePath("a.wmf")));
    TestFiles::writeBytes(dir.filePath("text.bmp"), "plain text");
    QVERIFY_THROWS_EXCEPTION(PictureError, loadPicture(dir.filePath("text.bmp")));
    QVERIFY_THROWS_EXCEPTION(FileError, loadPicture(dir.filePath("gone.png")));
}

void TestRecords::registryForgetsClosedWindows()
{
    auto *first = new QObject;
    first->setObjectName("first");
    WindowRegistry::setNewest(QStringLiteral("TKind"), first);
    auto *second = new QObject;
    WindowRegistry::setNewest(QStringLiteral("TKind"), second);
    QCOMPARE(WindowRegistry::newest(QStringLiteral("TKind")), second);
    delete second;
    QCOMPARE(WindowRegistry::newest(QStringLiteral("TKind")), nullptr);
    delete first;
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
