#include "ScriptedPlatform.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPrinter>
#include <QTest>

namespace {
void failUnexpected(const QString &what)
{
    // Recorded as a test failure; the test keeps going so it can report more.
    QTest::qFail(qPrintable(QStringLiteral("unexpected %1").arg(what)), __FILE__, __LINE__);
}
} // namespace

ScriptedPlatform::Installed::Installed()
{
    auto platform = std::make_unique<ScriptedPlatform>();
    m_platform = platform.get();
    m_previous = Platform::install(std::move(platform));
}

ScriptedPlatform::Installed::~Installed()
{
    if (!m_platform->allAnswered())
        QTest::qFail("scripted answers left unused", __FILE__, __LINE__);
    Platform::install(std::move(m_previous));
}

QStringList ScriptedPlatform::takeErrors()
{
    QStringList errors;
    std::swap(errors, m_errors);
    return errors;
}

void ScriptedPlatform::takeError(const QString &part)
{
    const QStringList errors = takeErrors();
    if (errors.size() != 1 || !errors.first().contains(part))
        QTest::qFail(
            qPrintable(QStringLiteral("expected one error naming \"%1\", got: %2").arg(part, errors.join(" | "))),
            __FILE__, __LINE__);
}

void ScriptedPlatform::whileOpen()
{
    // As if the breeder did it while the dialog was open: the dialog's event loop
    // also frees the windows closed meanwhile.
    if (const auto action = std::exchange(m_whileOpen, nullptr)) {
        action();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

std::optional<QString> ScriptedPlatform::nextFile(const char *what)
{
    whileOpen();
    if (m_steps.isEmpty() || !std::holds_alternative<FileChoice>(m_steps.head())) {
        failUnexpected(QString::fromLatin1(what));
        return std::nullopt;
    }
    return std::get<FileChoice>(m_steps.dequeue()).path;
}

std::optional<QString> ScriptedPlatform::runOpenDialog(QWidget *, const FileDialogSpec &request)
{
    m_titles.append(request.title);
    m_filters.append(request.filter);
    m_starts.append(request.start);
    return nextFile("open dialog");
}

QStringList ScriptedPlatform::runOpenFilesDialog(QWidget *, const FileDialogSpec &request)
{
    m_titles.append(request.title);
    whileOpen();
    if (!m_steps.isEmpty() && std::holds_alternative<FilesChoice>(m_steps.head()))
        return std::get<FilesChoice>(m_steps.dequeue()).paths;
    if (!m_steps.isEmpty() && std::holds_alternative<FileChoice>(m_steps.head())) {
        const std::optional<QString> path = std::get<FileChoice>(m_steps.dequeue()).path;
        return path ? QStringList{*path} : QStringList();
    }
    failUnexpected(QStringLiteral("open dialog for several files"));
    return {};
}

std::optional<QString> ScriptedPlatform::runSaveDialog(QWidget *, const FileDialogSpec &request)
{
    m_titles.append(request.title);
    m_filters.append(request.filter);
    return nextFile("save dialog");
}

std::optional<QString> ScriptedPlatform::runPictureDialog(QWidget *)
{
    return nextFile("picture dialog");
}

std::optional<QString> ScriptedPlatform::runFolderDialog(QWidget *, const QString &title, const QString &)
{
    m_titles.append(title);
    return nextFile("folder dialog");
}

Platform::Answer ScriptedPlatform::runQuestion(QWidget *, const QString &message, Buttons)
{
    whileOpen();
    if (m_steps.isEmpty() || !std::holds_alternative<Question>(m_steps.head())) {
        failUnexpected(QStringLiteral("question \"%1\"").arg(message));
        return Answer::Cancel;
    }
    const Question question = std::get<Question>(m_steps.dequeue());
    if (question.message != message)
        failUnexpected(QStringLiteral("question \"%1\" (expected \"%2\")").arg(message, question.message));
    return question.answer;
}

void ScriptedPlatform::runErrorDisplay(QWidget *, const QString &message)
{
    m_errors.append(message);
}

bool ScriptedPlatform::runPrinterDialog(QWidget *, QPrinter &printer)
{
    if (m_steps.isEmpty() || !std::holds_alternative<PrinterChoice>(m_steps.head())) {
        failUnexpected(QStringLiteral("print dialog"));
        return false;
    }
    const QString pdf = std::get<PrinterChoice>(m_steps.dequeue()).pdfPath;
    if (pdf.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
}

QStringList ScriptedPlatform::fontFaces()
{
    return QFontDatabase::families();
}
