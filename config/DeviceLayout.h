#pragma once
#include <QList>
#include <QString>

#include <optional>

// One image file of a download layout (a File element of the device catalogue).
struct DeviceFile {
    QString fileName;  // filename: the image inside the package
    QString fileCode;  // filecode: partition or image code
    bool isDown = false;
    int transfer = 0;
};

// The device checks of a layout (its Chcek element).
struct DeviceCheck {
    bool phoneMatch = false;
    bool useNewBootloader = false;
};

// How the firmware of a model is downloaded: one Phone block of the device catalogue.
struct DeviceLayout {
    QString block;          // the block's name, chipset "_" serial
    int solutionType = 0;   // 0 UMS, 1 ADB, 2 model, 3 uDisk, 4 mavell, 5 7KA, 6 MTK, 7 LC
    QString chipsetType;
    bool unzipVkb = false;
    bool downAndroid = false;
    bool downMod = false;
    std::optional<DeviceCheck> check;
    std::optional<qint64> diskSize;
    QList<DeviceFile> files; // in document order
};
