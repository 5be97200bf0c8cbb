#pragma once
#include <string>
#include <utility>
#include <variant>

namespace marlow {

// A value or the one-line reason it could not be had.
template <typename T>
class Result {
public:
    Result(T value) : m_state(std::move(value)) {}
    static Result failure(std::string reason) { return Result(Failure{std::move(reason)}); }

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<T>(m_state); }
    const T& value() const { return std::get<T>(m_state); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const std::string& error() const { return std::get<Failure>(m_state).reason; }

private:
    struct Failure {
        std::string reason;
    };
    explicit Result(Failure failure) : m_state(std::move(failure)) {}
    std::variant<T, Failure> m_state;
};

// For operations that give nothing back but can fail.
struct Done {};
using Status = Result<Done>;
inline Status succeeded() { return Done{}; }

} // namespace marlow
