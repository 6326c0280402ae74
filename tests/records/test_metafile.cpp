#include "Metafiles.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/Metafile.h"
#include "records/Picture.h"
#include "records/RecordError.h"
#include "shell/SheetWidgets.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

Q_DECLARE_METATYPE(ConverterLimits)

using TestFiles::messageOf;

namespace {

const QString NotConverted = QStringLiteral("the metafile could not be converted");

// UTF-16 little-endian, as an enhanced metafile's description is stored.
QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text)
        Metafiles::put16(bytes, c.unicode());
    return bytes;
}

} // namespace

class TestMetafile : public QObject
{
    Q_OBJECT
private slots:
    // Metafiles go through the converter process: a good one comes back as a drawing,
    // a damaged one with the converter's reason. The header's description must lie
    // inside the header record, or libemf2svg reads outside the file.
    void convertsOrRefusesWithTheReason_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("reason"); // empty: converts
        const QString description = QStringLiteral("its description lies outside its header record");
        const QByteArray text = utf16(QString::fromLatin1("Hutchlore\0clip\0\0", 16));
        using Metafiles::emfRectangle;
        QTest::newRow("wmf") << Metafiles::wmfRectangle() << ".wmf"
                             << "";
        QTest::newRow("emf") << emfRectangle() << ".EMF"
                             << "";
        QTest::newRow("description filling the header") << emfRectangle(16, 88, text) << ".emf"
                                                        << "";
        QTest::newRow("description one character past") << emfRectangle(17, 88, text) << ".emf" << description;
        QTest::newRow("description past the header and the file")
            << Metafiles::emfDescriptionPastHeader() << ".emf" << description;
        QTest::newRow("description of 2^31 characters") << emfRectangle(0x80000000u, 88, text) << ".emf" << description;
        QTest::newRow("description at offset 2^32-1") << emfRectangle(1, 0xFFFFFFFFu, text) << ".emf" << description;
        QTest::newRow("description's offset past the header, no characters")
            << emfRectangle(0, 124, text) << ".emf" << description;
        QTest::newRow("description's characters, no offset") << emfRectangle(0x80000000u, 0, text) << ".emf"
                                                             << "";
        QByteArray shortHeader = emfRectangle();
        qToLittleEndian<quint32>(84, shortHeader.data() + 4);
        QTest::newRow("header record of 84 bytes") << shortHeader << ".emf"
                                                   << "its header record is too short";
        QTest::newRow("emf cut short") << emfRectangle().chopped(12) << ".emf"
                                       << "ends before its last record";
        QTest::newRow("wmf of text") << QByteArray("just words, no metafile") << ".wmf"
                                     << "header";
    }
    void convertsOrRefusesWithTheReason()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, extension);
        QFETCH(QString, reason);
        QByteArray svg;
        const QString error = messageOf<PictureError>([&] { svg = metafileToSvg(bytes, extension); });
        if (reason.isEmpty()) {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY(!renderSvg(svg).isNull());
        } else {
            QVERIFY2(error.contains(reason), qPrintable(error));
        }
    }

    // Every input the fuzzer keeps, hostile ones included, is converted or refused
    // with a reason: none crashes the converter.
    void fuzzCorpusNeverCrashesTheConverter()
    {
        const QDir corpus(QStringLiteral(METAFILE_CORPUS));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(names.size() >= 5);
        // The corpus holds the 132-byte file this test builds (the first byte picks EMF).
        QCOMPARE(TestFiles::readBytes(corpus.filePath(QStringLiteral("description-past-header.emf"))),
                 '\x01' + Metafiles::emfDescriptionPastHeader());
        for (const QString &name : names) {
            const QByteArray input = TestFiles::readBytes(corpus.filePath(name));
            QVERIFY2(!input.isEmpty(), qPrintable(name));
            const QString extension = (input[0] & 1) ? QStringLiteral(".emf") : QStringLiteral(".wmf");
            const QString error = messageOf<PictureError>([&] { metafileToSvg(input.mid(1), extension); });
            QVERIFY2(!error.contains(NotConverted) && !error.contains(QStringLiteral("cannot be shown")),
                     qPrintable(name + ": " + error));
        }
    }

    // A converter that crashes, hangs, works for ever, answers without end, takes
    // memory without end or answers wrongly is stopped in time, and its answer is
    // not taken.
    void misbehavingConverterIsStopped_data()
    {
        QTest::addColumn<QString>("misbehaviour");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<ConverterLimits>("limits");
        QTest::addColumn<int>("atMostMs");
        const QByteArray small = Metafiles::wmfRectangle();
        const ConverterLimits standard;
        QTest::newRow("crash") << "crash" << small << standard << 10'000;
        QTest::newRow("hang, stopped by the clock")
            << "hang" << small << ConverterLimits{.wallMilliseconds = 1000} << 10'000;
        // The clock would wait a minute: the processor time limit ends it first.
        QTest::newRow("endless work") << "spin" << small << ConverterLimits{.cpuSeconds = 1, .wallMilliseconds = 60'000}
                                      << 20'000;
        QTest::newRow("endless answer") << "flood" << small
                                        << ConverterLimits{.wallMilliseconds = 60'000, .replyBytes = 1 << 20} << 20'000;
        QTest::newRow("endless memory") << "grow" << small
                                        << ConverterLimits{.memoryBytes = 256 << 20, .wallMilliseconds = 60'000}
                                        << 30'000;
        QTest::newRow("good answer, failed status") << "status" << small << standard << 10'000;
        QTest::newRow("answer without its mark") << "unmarked" << small << standard << 10'000;
        // Ends without reading a byte of a file at the size bound: writing to it fails.
        QTest::newRow("reads nothing") << "deaf" << QByteArray(MaxMetafileBytes, 'x') << standard << 10'000;
    }
    void misbehavingConverterIsStopped()
    {
        QFETCH(QString, misbehaviour);
        QFETCH(QByteArray, input);
        QFETCH(ConverterLimits, limits);
        QFETCH(int, atMostMs);
        QElapsedTimer clock;
        clock.start();
        const QString error = messageOf<PictureError>(
            [&] { runMetafileConverter(QStringLiteral(MISBEHAVING_CONVERTER), {misbehaviour}, input, limits); });
        QCOMPARE(error, NotConverted);
        QVERIFY2(clock.elapsed() < atMostMs, qPrintable(QString::number(clock.elapsed())));
        if (misbehaviour == u"hang")
            QVERIFY(clock.elapsed() >= 900);
    }

    // What a converter answers reaches the caller whole: the drawing made from every
    // byte it was given, the reason for a refusal (cut to a bound).
    void answersComeBackWhole()
    {
        const QString converter = QStringLiteral(MISBEHAVING_CONVERTER);
        const QByteArray svg =
            runMetafileConverter(converter, {QStringLiteral("svg")}, QByteArray(MaxMetafileBytes, 'x'));
        QVERIFY2(svg.startsWith("<svg") && svg.contains(QByteArray::number(MaxMetafileBytes)), svg.constData());

        const QString reason = QStringLiteral("damaged metafile: a made-up reason");
        QCOMPARE(messageOf<PictureError>([&] {
                     runMetafileConverter(converter, {QStringLiteral("refuse"), reason}, "bytes");
                 }),
                 reason);
        const QString long_ = QString(5000, u'r');
        QCOMPARE(messageOf<PictureError>([&] {
                     runMetafileConverter(converter, {QStringLiteral("refuse"), long_}, "bytes");
                 }),
                 long_.left(MaxConverterReasonBytes));

        const QString missing = QDir::temp().filePath(QStringLiteral("no-such-converter"));
        const QString error = messageOf<PictureError>([&] { runMetafileConverter(missing, {}, "bytes"); });
        QVERIFY2(error.contains(missing) && error.contains(QStringLiteral("missing")), qPrintable(error));
    }

    // A rabbit whose metafile the converter fails on loads like one with any unreadable
    // picture: the record shows, the picture is blank, the message names the file.
    void recordLoadsWithoutAPictureTheConverterFailsOn()
    {
        WindowFixture fx;
        const QString picture = fx.path(QStringLiteral("clip.wmf"));
        TestFiles::writeBytes(picture, Metafiles::wmfRectangle());
        const QString rab = TestFiles::writeRabbit(
            fx.path(QStringLiteral("Thumper.rab")),
            {{RabbitFile::RabbitName, QStringLiteral("Thumper")}, {RabbitFile::RabbitPicture, picture}});
        const auto load = [&] {
            TRabbitSheet *rabbit = fx.newRabbit();
            rabbit->loadFile(rab);
            return rabbit;
        };
        qputenv("MISBEHAVIOUR", "crash");
        setMetafileConverterPath(QStringLiteral(MISBEHAVING_CONVERTER));
        TRabbitSheet *rabbit = load();
        setMetafileConverterPath({});
        QCOMPARE(rabbit->fileName(), rab);
        QCOMPARE(rabbit->field(QStringLiteral("RabbitName"))->value(), QStringLiteral("Thumper"));
        QVERIFY(rabbit->findChild<PictureBox *>(QStringLiteral("RabbitPicture"))->isBlank());
        const QStringList errors = fx.platform().takeErrors();
        QVERIFY2(errors.size() == 1 &&
                     errors[0].contains(QStringLiteral("Cannot load picture \"%1\": %2").arg(picture, NotConverted)),
                 qPrintable(errors.join(u'|')));

        // The same record with the real converter shows its picture.
        rabbit = load();
        QVERIFY(!rabbit->findChild<PictureBox *>(QStringLiteral("RabbitPicture"))->isBlank());
        QCOMPARE(fx.platform().takeErrors(), QStringList());
        fx.finish();
    }
};

QTEST_MAIN(TestMetafile)
#include "test_metafile.moc"
