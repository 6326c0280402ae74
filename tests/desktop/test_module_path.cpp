#include "browser/BrowserLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Where the program looks for its browser module, decided from the folder it lies in.
// Each layout is made in a fresh temporary folder; the program is never run.
class TestModulePath : public QObject
{
    Q_OBJECT
private slots:
    void decidedByWhereTheProgramLies_data()
    {
        // Paths are relative to the temporary folder. A layout entry ending in "/" is
        // made as a folder, any other as an empty file. <bin> and <module> stand for
        // the installed program's folder and module, as configured.
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("module");

        const QString built = QStringLiteral("build/lib/hutchlore/hutchlore_browser.so");
        QTest::newRow("program at the top of its build tree")
            << QStringList{"build/CMakeCache.txt", "build/cmake_install.cmake"} << "build" << built;
        QTest::newRow("test program further down the build tree")
            << QStringList{"build/CMakeCache.txt", "build/cmake_install.cmake", "build/tests/cmake_install.cmake",
                           "build/tests/desktop/cmake_install.cmake"}
            << "build/tests/desktop" << built;
        QTest::newRow("installed") << QStringList{"<bin>/"} << "<bin>" << "<module>";
        // Someone may write a build tree's marks and a module above the prefix (/tmp):
        // the installed program never climbs out of its own folder.
        QTest::newRow("installed below a folder anyone may write to")
            << QStringList{"CMakeCache.txt", "cmake_install.cmake", "lib/hutchlore/hutchlore_browser.so", "<bin>/"}
            << "<bin>" << "<module>";
        QTest::newRow("staged install inside a build tree")
            << QStringList{"build/CMakeCache.txt", "build/cmake_install.cmake", "build/stage/<bin>/"}
            << "build/stage/<bin>" << "build/stage/<module>";
        QTest::newRow("a cache that is a folder marks no build tree")
            << QStringList{"<bin>/CMakeCache.txt/", "<bin>/cmake_install.cmake"} << "<bin>" << "<module>";
        QTest::newRow("CMake folders under no cache")
            << QStringList{"<bin>/cmake_install.cmake", "<bin>/sub/cmake_install.cmake"} << "<bin>/sub"
            << "<bin>/sub/" + relative(installedModule());
    }
    void decidedByWhereTheProgramLies()
    {
        QFETCH(QStringList, layout);
        QFETCH(QString, program);
        QFETCH(QString, module);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir root(dir.path());
        for (const QString &entry : layout) {
            const QString path = root.filePath(expanded(entry));
            if (entry.endsWith(u'/')) {
                QVERIFY2(QDir().mkpath(path), qPrintable(path));
            } else {
                QVERIFY(QDir().mkpath(QFileInfo(path).path()));
                QFile file(path);
                QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
            }
        }
        QCOMPARE(browserModulePaths(root.filePath(expanded(program))),
                 QStringList{QDir::cleanPath(root.filePath(expanded(module)))});
    }

private:
    static QString installedBinDir() { return QStringLiteral(HUTCHLORE_INSTALLED_BINDIR); }
    static QString installedModule() { return QStringLiteral(HUTCHLORE_INSTALLED_MODULE); }
    // The path from the installed program's folder to `target`, both under one prefix.
    static QString relative(const QString &target) { return QDir(installedBinDir()).relativeFilePath(target); }
    // An absolute installed path made relative, so a layout puts it under the test folder.
    static QString expanded(QString path)
    {
        path.replace(QStringLiteral("<bin>"), installedBinDir().mid(1));
        path.replace(QStringLiteral("<module>"), installedModule().mid(1));
        return path;
    }
};

QTEST_GUILESS_MAIN(TestModulePath)
#include "test_module_path.moc"
