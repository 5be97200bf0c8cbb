#pragma once
#include <QString>

#include <optional>

// The download profile is stored so that it cannot be read or changed by hand: each
// character is XORed with a fixed key, a checksum unit is appended, and the units
// are stored as Base64 of their bytes in the ANSI code page.

// Plain texts up to this length can be encoded; the option strings are far shorter.
constexpr int kMaximumOptionTextLength = 258;

// The stored form of a plain text; nothing when the text is too long, holds a NUL
// character (it would decode as the key character) or holds a character the ANSI
// code page cannot carry.
std::optional<QString> EncodeOptionText(const QString& plain);

// The plain text of a stored form; nothing when the stored form is empty or its
// checksum does not match, as it will not after almost any change by hand.
std::optional<QString> DecodeOptionText(const QString& encoded);
