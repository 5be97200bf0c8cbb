// A second process for the lock tests: takes a named lock or the single-instance
// marker, says "held" on standard output and keeps it until standard input closes.
#include "platform/NamedLock.h"
#include "platform/SingleInstanceLock.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const QString name = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "single") == 0) {
        SingleInstanceLock marker(name);
        std::printf("%s\n", marker.isFirstInstance() ? "held" : "refused");
        std::fflush(stdout);
        while (std::getchar() != EOF) {}
        return 0;
    }
    NamedLock lock(name);
    lock.lock();
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {}
    lock.unlock();
    return 0;
}
