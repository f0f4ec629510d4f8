// A value or an error: the way fallible operations report failure inside the runner.
#pragma once

#include <optional>
#include <utility>
#include <variant>

namespace quarv::detail {

template <class E>
struct Unexpected {
    E error;
};
template <class E>
Unexpected<std::decay_t<E>> unexpected(E&& error) {
    return {std::forward<E>(error)};
}

template <class T, class E>
class [[nodiscard]] Expected {
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    template <class G>
    Expected(Unexpected<G> error) : m_state(std::in_place_index<1>, std::move(error.error)) {}

    bool has_value() const noexcept { return m_state.index() == 0; }
    explicit operator bool() const noexcept { return has_value(); }
    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    E& error() & { return std::get<1>(m_state); }
    const E& error() const& { return std::get<1>(m_state); }
    E&& error() && { return std::get<1>(std::move(m_state)); }

private:
    std::variant<T, E> m_state;
};

// Success without a value, or an error.
template <class E>
class [[nodiscard]] Expected<void, E> {
public:
    Expected() = default;
    template <class G>
    Expected(Unexpected<G> error) : m_error(std::move(error.error)) {}

    bool has_value() const noexcept { return !m_error.has_value(); }
    explicit operator bool() const noexcept { return has_value(); }
    E& error() & { return *m_error; }
    const E& error() const& { return *m_error; }
    E&& error() && { return std::move(*m_error); }

private:
    std::optional<E> m_error;
};

}  // namespace quarv::detail
