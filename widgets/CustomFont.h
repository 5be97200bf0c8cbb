#pragma once
#include <QFont>
#include <QString>

#include <optional>

// One font, made from a face name, a height and a weight, owned for the life of
// the object. A negative height is the character height in pixels, a positive
// one the height of the whole character cell, 0 the default size; weights run
// from 100 to 900 (400 normal, 700 bold).
class CCustomFont {
public:
    void CreateFont(const QString& face, int height, int weight);

    bool IsCreated() const { return m_font.has_value(); }
    // The created font, or the application's font before one is made.
    QFont GetFont() const;

private:
    std::optional<QFont> m_font;
};
