#include "tests/download/TestEngineProbe.h"

#include "download/EngineText.h"

#include <QFile>

#include <dlfcn.h>
#include <type_traits>

TestEngineProbe::TestEngineProbe(const QString& libraryPath)
    : m_path(QFile::encodeName(libraryPath))
{
}

template <typename Function, typename... Arguments>
auto TestEngineProbe::call(const char* name, Arguments... arguments) const
{
    using Result = std::invoke_result_t<Function, Arguments...>;
    void* library = dlopen(m_path.constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!library) {
        if constexpr (std::is_void_v<Result>)
            return;
        else
            return Result{};
    }
    auto function = reinterpret_cast<Function>(dlsym(library, name));
    if constexpr (std::is_void_v<Result>) {
        function(arguments...);
        dlclose(library);
    } else {
        const Result result = function(arguments...);
        dlclose(library);
        return result;
    }
}

bool TestEngineProbe::isLoaded() const
{
    void* library = dlopen(m_path.constData(), RTLD_NOW | RTLD_NOLOAD);
    if (library)
        dlclose(library);
    return library != nullptr;
}

QStringList TestEngineProbe::calls() const
{
    QStringList names;
    const int count = call<int (*)()>("TestEngineCallCount");
    for (int i = 0; i < count; ++i) {
        char name[64] = {};
        if (call<int (*)(int, char*, int)>("TestEngineCallAt", i, name, int(sizeof name)))
            names << QString::fromLatin1(name);
    }
    return names;
}

QList<TestEngineParamsSeen> TestEngineProbe::paramsSeen() const
{
    QList<TestEngineParamsSeen> seen;
    const int count = call<int (*)()>("TestEngineParamsCount");
    for (int i = 0; i < count; ++i) {
        TestEngineParamsSeen one{};
        if (call<int (*)(int, TestEngineParamsSeen*)>("TestEngineParamsAt", i, &one))
            seen << one;
    }
    return seen;
}

int TestEngineProbe::threadsInside() const
{
    return call<int (*)()>("TestEngineThreadsInside");
}

void TestEngineProbe::holdInRun(bool hold) const
{
    call<void (*)(int)>("TestEngineHoldInRun", hold ? 1 : 0);
}

void TestEngineProbe::letGo() const
{
    call<void (*)()>("TestEngineLetGo");
}

void TestEngineProbe::fireMessage(int cell, int kind, const QString& text) const
{
    EngineMessageRecord record{};
    record.cell = cell;
    record.kind = kind;
    setEngineText(record.text, text);
    fireMessage(record);
}

void TestEngineProbe::fireMessage(const EngineMessageRecord& record) const
{
    call<void (*)(const EngineMessageRecord*)>("TestEngineFireMessage", &record);
}

void TestEngineProbe::fireProgress(int cell, int total, int done) const
{
    call<void (*)(int32_t, int32_t, int32_t)>("TestEngineFireProgress", cell, total, done);
}

void TestEngineProbe::fireState(int cell, int fileKind, int state) const
{
    call<void (*)(int32_t, int32_t, int32_t)>("TestEngineFireState", cell, fileKind, state);
}

void TestEngineProbe::fireDevice(int cell, int link, const QString& address) const
{
    EngineDeviceRecord record{};
    record.cell = cell;
    record.link = link;
    setEngineText(record.usbAddress, address);
    fireDevice(record);
}

void TestEngineProbe::fireDevice(const EngineDeviceRecord& record) const
{
    call<void (*)(const EngineDeviceRecord*)>("TestEngineFireDevice", &record);
}

void TestEngineProbe::fireVerify(int status, int kind, const QString& text) const
{
    EngineVerifyRecord record{};
    record.status = status;
    record.kind = kind;
    setEngineText(record.text, text);
    fireVerify(record);
}

void TestEngineProbe::fireVerify(const EngineVerifyRecord& record) const
{
    call<void (*)(const EngineVerifyRecord*)>("TestEngineFireVerify", &record);
}
