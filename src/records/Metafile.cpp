#include "records/Metafile.h"
#include "records/OwnFiles.h"

#include "records/Picture.h"
#include "records/RecordError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>

// AddressSanitizer reserves terabytes of address space as it starts, so a checked
// build cannot bound its converter's address space; it bounds the converter's memory
// through the sanitizer's own options instead.
#if defined(__SANITIZE_ADDRESS__)
#define HUTCHLORE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HUTCHLORE_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

PictureError notConverted()
{
    return PictureError(QStringLiteral("the metafile could not be converted"));
}

PictureError damaged(const QString &what)
{
    return PictureError(QStringLiteral("damaged metafile: %1").arg(what));
}

// Runs in the child between fork and exec: async-signal-safe calls only. A limit
// that cannot be set ends the child rather than letting it run unbounded.
void limitChild(const ConverterLimits &limits)
{
    const auto lower = [](int resource, rlim_t soft, rlim_t hard) {
        rlimit current{};
        if (getrlimit(resource, &current) != 0)
            _exit(126);
        const rlimit wanted{std::min(soft, current.rlim_max), std::min(hard, current.rlim_max)};
        if (setrlimit(resource, &wanted) != 0)
            _exit(126);
    };
    // SIGXCPU at the soft limit, SIGKILL a second later for a child that ignores it.
    lower(RLIMIT_CPU, rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds) + 1);
    lower(RLIMIT_CORE, 0, 0); // a crash on a hostile file leaves no core file behind
#ifndef HUTCHLORE_ADDRESS_SANITIZER
    lower(RLIMIT_AS, rlim_t(limits.memoryBytes), rlim_t(limits.memoryBytes));
#endif
}

QString &converterSetByTest()
{
    static QString program;
    return program;
}

} // namespace

bool isMetafileExtension(const QString &extension)
{
    const QString lower = extension.toLower();
    return lower == u".wmf" || lower == u".emf";
}

void setMetafileConverterPath(const QString &program)
{
    converterSetByTest() = program;
}

QString metafileConverterPath()
{
    if (!converterSetByTest().isEmpty())
        return converterSetByTest();
    return ownFilePath(QStringLiteral("hutchlore-metafile"));
}

QByteArray runMetafileConverter(const QString &program, const QStringList &arguments, const QByteArray &bytes,
                                const ConverterLimits &limits)
{
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        throw PictureError(QStringLiteral("metafiles cannot be shown: the converter %1 is missing")
                               .arg(QDir::toNativeSeparators(program)));
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // The converter's own complaints go where the program's go; only the reply is read.
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setChildProcessModifier([limits] { limitChild(limits); });
#ifdef HUTCHLORE_ADDRESS_SANITIZER
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString megabytes = QString::number(std::max<qint64>(1, limits.memoryBytes / (1024 * 1024)));
    QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    if (!options.isEmpty())
        options += u':';
    options +=
        QStringLiteral("hard_rss_limit_mb=%1:max_allocation_size_mb=%1:allocator_may_return_null=1").arg(megabytes);
    environment.insert(QStringLiteral("ASAN_OPTIONS"), options);
    process.setProcessEnvironment(environment);
#endif

    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return int(std::max<qint64>(0, limits.wallMilliseconds - clock.elapsed())); };
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(std::max(1, left())))
        throw PictureError(QStringLiteral("metafiles cannot be shown: the converter %1 could not be started (%2)")
                               .arg(QDir::toNativeSeparators(program), process.errorString()));
    // Written while waiting for the reply below; a converter that never reads it is
    // stopped at the time limit like any other.
    process.write(bytes);
    process.closeWriteChannel();

    QByteArray reply;
    bool stopped = false;
    for (;;) {
        reply.append(process.read(limits.replyBytes + 1 - reply.size()));
        if (reply.size() > limits.replyBytes || (process.state() != QProcess::NotRunning && left() == 0)) {
            stopped = true;
            break;
        }
        if (process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(left());
    }
    if (stopped) {
        process.kill();
        process.waitForFinished(5000);
        throw notConverted();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw notConverted();
    if (reply.startsWith(ConverterSvgMark))
        return reply.remove(0, 1);
    if (reply.startsWith(ConverterRefusalMark))
        throw PictureError(QString::fromUtf8(reply.sliced(1, std::min(reply.size() - 1, MaxConverterReasonBytes))));
    throw notConverted();
}

QByteArray metafileToSvg(const QByteArray &bytes, const QString &extension)
{
    if (bytes.size() > MaxMetafileBytes)
        throw PictureError(QStringLiteral("the metafile is larger than %1 bytes").arg(MaxMetafileBytes));
    const QString lower = extension.toLower();
    if (!isMetafileExtension(lower))
        throw PictureError(QStringLiteral("unsupported picture format"));
    return runMetafileConverter(metafileConverterPath(), {lower.mid(1)}, bytes);
}

QImage renderSvg(const QByteArray &svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        throw damaged(QStringLiteral("its drawing could not be read"));
    QSizeF size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBoxF().size();
    if (!(size.width() >= 1 && size.height() >= 1) || !std::isfinite(size.width()) || !std::isfinite(size.height()))
        throw damaged(QStringLiteral("its drawing has no size"));
    // A metafile may claim any size; it is drawn smaller, proportions kept.
    double scale = std::min(1.0, double(MaxMetafileSide) / std::max(size.width(), size.height()));
    if (const qint64 limit = pictureMemoryLimit(); limit > 0) {
        const double bytes = size.width() * size.height() * scale * scale * 4;
        if (bytes > double(limit))
            scale *= std::sqrt(double(limit) / bytes);
    }
    const QSize pixels(std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw PictureError(QStringLiteral("not enough memory to draw the metafile"));
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return image;
}

QImage decodeMetafile(const QByteArray &bytes, const QString &extension)
{
    return renderSvg(metafileToSvg(bytes, extension));
}
