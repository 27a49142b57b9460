#pragma once

#include <optional>
#include <string>
#include <utility>

namespace corvel::imagetool {

// Either a value or a one-line reason why there is none; the tool reports failures as
// single lines, so a message is all a caller ever needs.
template <typename T> class [[nodiscard]] Outcome final {
public:
    static Outcome success(T value) {
        Outcome outcome;
        outcome.m_value = std::move(value);
        return outcome;
    }
    static Outcome failure(std::string message) {
        Outcome outcome;
        outcome.m_error = std::move(message);
        return outcome;
    }

    bool ok() const { return m_value.has_value(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const std::string& error() const { return m_error; }

private:
    Outcome() = default;

    std::optional<T> m_value;
    std::string m_error;
};

struct Done final {};
using Status = Outcome<Done>;

inline Status succeeded() {
    return Status::success(Done{});
}

} // namespace corvel::imagetool
