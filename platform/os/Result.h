#pragma once

#include "platform/os/Failure.h"

#include <optional>
#include <utility>
#include <variant>

namespace quarvel::platform {

// The outcome of an operation that can fail: its value, or the Failure that says why there is none.
template <class T>
class Result {
public:
    Result(T value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_outcome(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only on success.
    const T& value() const& { return std::get<0>(m_outcome); }
    T& value() & { return std::get<0>(m_outcome); }
    T&& value() && { return std::get<0>(std::move(m_outcome)); }

    // Only on failure.
    const Failure& failure() const { return std::get<1>(m_outcome); }

    T valueOr(T fallback) const& { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Failure> m_outcome;
};

// The outcome of an operation that gives nothing back but can fail.
template <>
class Result<void> {
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only on failure.
    const Failure& failure() const { return *m_failure; }

private:
    std::optional<Failure> m_failure;
};

} // namespace quarvel::platform
