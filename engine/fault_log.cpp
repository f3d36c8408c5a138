#include "engine/fault_log.h"

#include "engine/run_time_error.h"

#include <array>
#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>

#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#endif

namespace engine {

namespace {

constexpr auto countInterval = std::chrono::minutes(1);

std::string typeName(const std::type_info& type) {
#if __has_include(<cxxabi.h>)
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    if (status == 0 && name)
        return name.get();
#endif
    return type.name();
}

struct Description {
    FaultLog::Severity severity;
    std::string kind;
    std::string what;
};

// The exception in flight, rethrown to be told apart.
Description describe() {
    constexpr std::array<const char*, 3> kinds{"Overflow", "DivisionByZero", "InvalidOperation"};
    try {
        throw;
    } catch (const RunTimeError& e) {
        return {FaultLog::Severity::Warning,
                std::string("RunTimeError::") + kinds.at(static_cast<std::size_t>(e.kind())),
                e.what()};
    } catch (const std::exception& e) {
        return {FaultLog::Severity::Critical, typeName(typeid(e)), e.what()};
    } catch (...) {
        return {FaultLog::Severity::Critical, "an exception of unknown type", ""};
    }
}

} // namespace

void FaultLog::caught(std::string_view handler, std::string_view step, Time now) noexcept {
    try {
        Description d = describe();
        std::string where(handler);
        if (!step.empty())
            where.append(", ").append(step);
        auto [at, first] =
            faults_.try_emplace(where + '\n' + d.kind, Fault{d.severity, where, d.kind, now});
        if (first) {
            writer_(d.severity,
                    where + " failed: " + d.kind + (d.what.empty() ? "" : ": ") + d.what);
            return;
        }
        ++at->second.unwritten;
        if (now - at->second.written >= countInterval)
            writeCount(at->second, now);
    } catch (...) {
    }
}

void FaultLog::flush(Time now) noexcept {
    try {
        for (auto& [key, fault] : faults_)
            if (fault.unwritten > 0 && now - fault.written >= countInterval)
                writeCount(fault, now);
    } catch (...) {
    }
}

void FaultLog::writeCount(Fault& fault, Time now) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - fault.written);
    const long long times = fault.unwritten;
    fault.written = now;
    fault.unwritten = 0;
    writer_(fault.severity, fault.where + " failed again: " + fault.kind + ", " +
                                (times == 1 ? "once" : std::to_string(times) + " times") +
                                " in the last " + std::to_string(seconds.count()) + " s");
}

} // namespace engine
