#pragma once

namespace marlow {

// The nine options of the parameter block, as the engine uses them.
struct FlashOptions {
    bool writePackage = false;
    bool writeGpsImage = false;
    bool checkPhoneName = false;
    bool checkEmmc = false;
    bool checkFuse = false;
    bool checkInstrument = false;
    bool writeLk = false;
    bool writeSystem = false;
    bool writeUserdata = false;
};

} // namespace marlow
