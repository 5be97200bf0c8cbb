#pragma once
#include <QColor>
#include <QPalette>

// The system colours the controls paint with, taken from the widget's palette so
// that they follow the desktop's colour scheme. System colours do not change with
// a control's state, so they come from the active group whatever the widget's.
class SystemColors {
public:
    static QColor ButtonFace(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Button); }
    static QColor ButtonHighlight(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Light); }
    static QColor ButtonShadow(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Dark); }
    static QColor ThreeDLight(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Midlight); }
    static QColor ThreeDDarkShadow(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Shadow); }
    static QColor ButtonText(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::ButtonText); }
    static QColor GrayText(const QPalette& palette) { return palette.color(QPalette::Disabled, QPalette::Text); }
    // The toolkit has no role for the empty workspace behind documents; Mid is the
    // one that tells it apart from the button colours.
    static QColor AppWorkspace(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Mid); }
};
