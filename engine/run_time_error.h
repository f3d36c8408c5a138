#pragma once

#include <stdexcept>
#include <string>

namespace engine {

// A fault inside one step of a handler. It ends the handler at the failing step;
// whoever called the handler decides what happens next.
class RunTimeError : public std::runtime_error {
public:
    enum class Kind { Overflow, DivisionByZero, InvalidOperation };

    RunTimeError(Kind kind, const std::string& what)
        : std::runtime_error(what)
        , kind_(kind) {}

    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

} // namespace engine
