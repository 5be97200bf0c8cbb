#pragma once
// The boundary between the program and the engine library libMarlow.so.
// Plain C layout only: the engine stand-in includes this header and nothing else
// of the program, and a third-party engine must be able to match it byte for byte.

#include <cstddef>
#include <cstdint>

constexpr int WM_USER = 1024;
// Event types that carry the engine's records to the user-interface thread.
constexpr int WM_ENGINE_MESSAGE = WM_USER + 600;
constexpr int WM_ENGINE_PROGRESS = WM_USER + 601;
constexpr int WM_ENGINE_STATE = WM_USER + 602;
constexpr int WM_ENGINE_DEVICE = WM_USER + 603;
constexpr int WM_ENGINE_VERIFY = WM_USER + 604;

constexpr int kEngineMessageTextUnits = 1024;
constexpr int kEngineVerifyTextUnits = 1024;
constexpr int kEngineUsbAddressUnits = 64;

extern "C" {

// Texts are UTF-16, NUL-terminated inside their array; an array filled to the
// end without a NUL ends at the end of the array.
struct EngineMessageRecord {
    int32_t cell;     // 0 to 7, or -1 for a message that belongs to no cell
    int32_t kind;     // 0 to 5
    uint8_t unused[512];
    char16_t text[kEngineMessageTextUnits];
};

struct EngineProgressRecord {
    int32_t cell;
    int32_t total;
    int32_t done;
};

struct EngineStateRecord {
    int32_t cell;
    int32_t fileKind; // 0 package, 1 modem, 2 GPS image, 3 all files
    int32_t state;    // 1 started, 2 finished successfully, 3 failed
};

struct EngineDeviceRecord {
    char16_t usbAddress[kEngineUsbAddressUnits];
    int32_t cell;
    int32_t link;     // 1 attached, 0 removed
};

struct EngineVerifyRecord {
    int32_t status;
    int32_t kind;     // 0 and 1 informational, 2 passed, 3 failed
    char16_t text[kEngineVerifyTextUnits];
};

typedef void (*EngineMessageCallback)(EngineMessageRecord record);
typedef void (*EngineProgressCallback)(int32_t cell, int32_t total, int32_t done);
typedef void (*EngineStateCallback)(int32_t cell, int32_t fileKind, int32_t state);
typedef void (*EngineDeviceCallback)(EngineDeviceRecord record);
typedef void (*EngineVerifyCallback)(EngineVerifyRecord record);

// The parameter block handed to the engine. Paths and callbacks are native
// pointers; the order of the fields is fixed.
struct EngineParams {
    const char16_t* packagePath;
    const char16_t* imagePath;  // may point to an empty string
    int32_t reserved;           // always 0
    int32_t role;               // 1 to 4
    int32_t ready;              // 1 once the block is filled
    int32_t DownLoadVKB;
    int32_t DownloadRES;
    int32_t CKPhoneName;
    int32_t CKeMMC;             // always 0 for role 4
    int32_t CKFuse;
    int32_t CKInstrument;
    int32_t DownLK;
    int32_t DownSystem;
    int32_t DownUserdata;
    EngineVerifyCallback onVerify;
    EngineDeviceCallback onDevice;
    EngineMessageCallback onMessage;
    EngineProgressCallback onProgress;
    EngineStateCallback onState;
};

// The six exports of the engine library; their results are not examined.
typedef int32_t (*InitDownloadObjFunction)(EngineParams* params);
typedef int32_t (*DownloadRunFunction)(int32_t* reserved);
typedef int32_t (*ReleaseDownloadObjFunction)();
typedef int32_t (*VerifyDataofVKBFunction)();
typedef int32_t (*DownloadStopFunction)();
typedef int32_t (*DownloadCommandlineFunction)(EngineParams* params);

} // extern "C"

static_assert(sizeof(EngineMessageRecord) == 2568);
static_assert(offsetof(EngineMessageRecord, kind) == 4);
static_assert(offsetof(EngineMessageRecord, text) == 520);
static_assert(sizeof(EngineProgressRecord) == 12);
static_assert(sizeof(EngineStateRecord) == 12);
static_assert(sizeof(EngineDeviceRecord) == 136);
static_assert(offsetof(EngineDeviceRecord, cell) == 128);
static_assert(offsetof(EngineDeviceRecord, link) == 132);
static_assert(sizeof(EngineVerifyRecord) == 2056);
static_assert(offsetof(EngineVerifyRecord, kind) == 4);
static_assert(offsetof(EngineVerifyRecord, text) == 8);

static_assert(offsetof(EngineParams, reserved) == 2 * sizeof(void*));
static_assert(offsetof(EngineParams, DownLoadVKB) == 2 * sizeof(void*) + 12);
static_assert(offsetof(EngineParams, DownUserdata) == 2 * sizeof(void*) + 44);
static_assert(offsetof(EngineParams, onVerify) % sizeof(void*) == 0);
static_assert(offsetof(EngineParams, onState) == offsetof(EngineParams, onVerify) + 4 * sizeof(void*));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(EngineParams) == 76);
#else
static_assert(sizeof(EngineParams) == 104);
#endif
