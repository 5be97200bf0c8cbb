#pragma once
#include "config/DeviceLayout.h"
#include "config/Outcome.h"
#include "config/XMLDOM.h"

#include <QString>

// The device catalogue DEVICE_CONFIG.xml: for every model, the layout of its firmware.
// A model element VK<model> names a Phone block in its Index; models share blocks.
class CDeviceCatalogue {
public:
    static inline const QString kUrl = QStringLiteral("res://Sorrel.dll//DEVICE_CONFIG.xml");

    // From a res: URL or a file; false when it cannot be read or is not well-formed XML.
    bool Load(const QString& source = kUrl);

    // VK<model> -> its Index -> the Phone block of that name. Names compare exactly.
    Outcome<DeviceLayout> Resolve(const QString& model) const;

    // The first Phone block of that name, read whole. A value out of its range (a
    // solution type past 7, a switch other than 0 or 1, a number with other
    // characters than digits) or a missing part refuses the block.
    Outcome<DeviceLayout> Block(const QString& name) const;

private:
    CXMLDOM m_document;
};
