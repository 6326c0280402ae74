// Leaks on purpose. Its ctest runs it in the environment of every other test and
// expects it to fail: the proof that a leak made in a test function, which Qt Core
// calls, is reported.
#include <QTest>

#include <cstring>

// Where the block's only pointer passes; a volatile store keeps the compiler from
// eliding the allocation.
char *volatile droppedBlock = nullptr;

class LeakDetected : public QObject
{
    Q_OBJECT
private slots:
    void dropsFourThousandBytes()
    {
        char *block = new char[4000];
        std::memset(block, 1, 4000);
        QCOMPARE(block[3999], char(1));
        droppedBlock = block;
        droppedBlock = nullptr;
    }
};

QTEST_GUILESS_MAIN(LeakDetected)
#include "leak_detected.moc"
