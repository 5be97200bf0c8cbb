#include "platform/NamedLock.h"
#include "platform/NamedLockGuard.h"
#include "platform/SingleInstanceLock.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

class NamedLockTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void anotherProcessHoldingTheLockMakesUsWait();
    void holdingThreadMayLockAgainOtherThreadsWait();
    void guardReleasesOnEveryPath();
    void secondInstanceIsRefusedUntilTheFirstDies();

private:
    QTemporaryDir m_runtimeDir;
};

namespace {

// Starts the helper process and waits until it reports its state.
QByteArray startHolder(QProcess& holder, const QString& mode, const QString& name)
{
    holder.start(QStringLiteral(ZARV_TEST_BIN_DIR "lock_holder"), {mode, name});
    if (!holder.waitForStarted(5000) || !holder.waitForReadyRead(5000))
        return {};
    return holder.readLine().trimmed();
}

} // namespace

void NamedLockTest::initTestCase()
{
    QVERIFY(m_runtimeDir.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtimeDir.path().toLocal8Bit());
}

void NamedLockTest::anotherProcessHoldingTheLockMakesUsWait()
{
    QProcess holder;
    QCOMPARE(startHolder(holder, QStringLiteral("lock"), QStringLiteral("Mutex")), QByteArray("held"));

    NamedLock lock(QStringLiteral("Mutex"));
    QVERIFY(!lock.tryLock());

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
    QVERIFY(lock.tryLock());
    lock.unlock();
}

void NamedLockTest::holdingThreadMayLockAgainOtherThreadsWait()
{
    NamedLock lock(QStringLiteral("Recursive"));
    lock.lock();
    lock.lock();

    std::atomic<bool> otherGotIt{true};
    auto tryFromOtherThread = [&] {
        QThread* thread = QThread::create([&] {
            NamedLock sameName(QStringLiteral("Recursive"));
            otherGotIt = sameName.tryLock();
            if (otherGotIt)
                sameName.unlock();
        });
        thread->start();
        thread->wait();
        delete thread;
    };

    tryFromOtherThread();
    QVERIFY(!otherGotIt);
    lock.unlock();
    tryFromOtherThread();
    QVERIFY2(!otherGotIt, "one unlock of two must keep the lock");
    lock.unlock();
    tryFromOtherThread();
    QVERIFY(otherGotIt);
}

void NamedLockTest::guardReleasesOnEveryPath()
{
    NamedLock lock(QStringLiteral("Guarded"));
    auto leaveEarly = [&](bool early) {
        NamedLockGuard guard(lock);
        return early;
    };
    leaveEarly(true);
    leaveEarly(false);

    QProcess holder;
    QCOMPARE(startHolder(holder, QStringLiteral("lock"), QStringLiteral("Guarded")), QByteArray("held"));
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
}

void NamedLockTest::secondInstanceIsRefusedUntilTheFirstDies()
{
    const QString marker = QStringLiteral("TOVA_Download_Platform.exe");
    QProcess first;
    QCOMPARE(startHolder(first, QStringLiteral("single"), marker), QByteArray("held"));

    {
        SingleInstanceLock second(marker);
        QVERIFY(!second.isFirstInstance());
    }

    first.kill();
    QVERIFY(first.waitForFinished(5000));
    SingleInstanceLock afterCrash(marker);
    QVERIFY(afterCrash.isFirstInstance());
}

QTEST_GUILESS_MAIN(NamedLockTest)
#include "NamedLockTest.moc"
