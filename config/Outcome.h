#pragma once
#include <QString>

#include <optional>

// What a reader gives back: a value, or the reason there is none.
template<typename T>
struct Outcome {
    std::optional<T> value;
    QString error;

    static Outcome failure(QString reason) { return {std::nullopt, std::move(reason)}; }
    explicit operator bool() const { return value.has_value(); }
};
