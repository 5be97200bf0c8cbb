#pragma once
#include <QColor>
#include <QPalette>

// The system colours the controls paint with, taken from the widget's palette so
// that they follow the desktop's colour scheme.
class SystemColors {
public:
    static QColor ButtonFace(const QPalette& palette) { return palette.color(QPalette::Button); }
    static QColor ButtonHighlight(const QPalette& palette) { return palette.color(QPalette::Light); }
    static QColor ButtonShadow(const QPalette& palette) { return palette.color(QPalette::Dark); }
    static QColor ButtonText(const QPalette& palette) { return palette.color(QPalette::ButtonText); }
    static QColor GrayText(const QPalette& palette) { return palette.color(QPalette::Disabled, QPalette::Text); }
    // The toolkit has no role for the empty workspace behind documents; Mid is the
    // one that tells it apart from the button colours.
    static QColor AppWorkspace(const QPalette& palette) { return palette.color(QPalette::Mid); }
};
