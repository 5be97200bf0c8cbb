#pragma once

// The numbers the engine's records carry, as the program reads them.
namespace marlow {

enum MessageKind { ErrorLine = 0, ProgressLine = 1, InfoLine = 2, DetailLine = 3, RecordLine = 4, MarkerLine = 5 };
enum FileKind { PackageFiles = 0, ModemFiles = 1, GpsFiles = 2, AllFiles = 3 };
enum CellState { Started = 1, Passed = 2, Failed = 3 };
enum VerifyKind { VerifyStep = 0, VerifyChecked = 1, VerifyPassed = 2, VerifyFailed = 3 };

constexpr int kNoCell = -1;

} // namespace marlow
