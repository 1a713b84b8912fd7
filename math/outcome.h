// The one shape of every step that can fail for a reason the designer should hear: the value the
// step made, or the fault that kept it from making one. The fault is the layer's own enum or
// struct (a geometry fault with its wheel, a reader fault with its line, the operating system's
// words for a file); the layers that show text word it. There are no sentinel values: a drawing
// that was not written, a rack that was not stored, cannot be mistaken for one that was.
#pragma once

#include <cassert>
#include <optional>
#include <utility>

namespace tarvo {

// The value of a step that makes nothing but may fail, such as writing a file.
struct Done {};

template <class Value, class Fault>
class Outcome {
public:
    // A success converts from its value, so a step ends with `return value;`. A default one
    // holds a default value, as a member not yet filled in does.
    // Two overloads rather than one by value: `return local;` then moves the local in (a
    // drawing of a large wheel holds millions of points) instead of copying it.
    Outcome() = default;
    Outcome(const Value& value) : value_(value) {}       // NOLINT(google-explicit-constructor)
    Outcome(Value&& value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)

    static Outcome Failure(Fault fault) {
        Outcome failed;
        failed.fault_ = std::move(fault);
        return failed;
    }

    bool ok() const { return !fault_.has_value(); }

    // The value made; asking for it after a failure is a programming error.
    const Value& value() const& {
        assert(ok());
        return value_;
    }
    Value&& value() && {
        assert(ok());
        return std::move(value_);
    }
    const Value* operator->() const { return &value(); }

    // Why the step failed; asking after a success is a programming error.
    const Fault& fault() const {
        assert(!ok());
        return *fault_;
    }

private:
    Value value_{};
    std::optional<Fault> fault_;
};

}  // namespace tarvo
