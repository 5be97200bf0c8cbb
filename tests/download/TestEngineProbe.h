#pragma once
#include "tests/download/TestEngineControl.h"

#include <QList>
#include <QString>
#include <QStringList>

// Reaches the test engine the program has loaded from its program directory,
// without keeping a reference to it between calls (so the program's unload is
// real). Calls on an engine that is not loaded do nothing and return nothing.
class TestEngineProbe {
public:
    // The file the program loads: its program directory followed by libMarlow.so.
    explicit TestEngineProbe(const QString& libraryPath);

    bool isLoaded() const;
    QStringList calls() const;
    QList<TestEngineParamsSeen> paramsSeen() const;
    int threadsInside() const;
    void holdInRun(bool hold) const;
    void letGo() const;

    void fireMessage(int cell, int kind, const QString& text) const;
    void fireMessage(const EngineMessageRecord& record) const;
    void fireProgress(int cell, int total, int done) const;
    void fireState(int cell, int fileKind, int state) const;
    void fireDevice(int cell, int link, const QString& address) const;
    void fireDevice(const EngineDeviceRecord& record) const;
    void fireVerify(int status, int kind, const QString& text) const;
    void fireVerify(const EngineVerifyRecord& record) const;

private:
    template <typename Function, typename... Arguments>
    auto call(const char* name, Arguments... arguments) const;

    QByteArray m_path;
};
