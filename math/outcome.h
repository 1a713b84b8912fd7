// The one shape of every step that can fail for a reason the designer should hear: the value the
// step made, or the fault that kept it from making one. The fault is the layer's own enum or
// struct (a geometry fault with its wheel, a reader fault with its line, the operating system's
// error code for a file); the layers that show text word it. There are no sentinel values: a
// drawing that was not written, a rack that was not stored, cannot be mistaken for one that was.
#pragma once

#include <cassert>
#include <utility>
#include <variant>

namespace tarvo {

// The value of a step that makes nothing but may fail, such as writing a file.
struct Done {};

template <class Value, class Fault>
class Outcome {
  public:
    // There is no default: a step says what it made (`return value;`, `return Done{};`) or why
    // it failed, so `return {};` and a result left unassigned do not compile.
    Outcome() = delete;
    // A success converts from its value. Two overloads rather than one by value: `return local;`
    // then moves the local in (a drawing of a large wheel holds millions of points) instead of
    // copying it.
    Outcome(const Value& value)
        : state_(std::in_place_index<0>, value) {}  // NOLINT(google-explicit-constructor)
    Outcome(Value&& value)                          // NOLINT(google-explicit-constructor)
        : state_(std::in_place_index<0>, std::move(value)) {}

    static Outcome Failure(Fault fault) { return Outcome(FaultTag{}, std::move(fault)); }

    bool ok() const { return state_.index() == 0; }

    // The value made; asking for it after a failure is a programming error.
    const Value& value() const& {
        assert(ok());
        return std::get<0>(state_);
    }
    Value&& value() && {
        assert(ok());
        return std::get<0>(std::move(state_));
    }
    const Value* operator->() const { return &value(); }

    // Why the step failed; asking after a success is a programming error.
    const Fault& fault() const {
        assert(!ok());
        return std::get<1>(state_);
    }

  private:
    struct FaultTag {};
    Outcome(FaultTag, Fault&& fault) : state_(std::in_place_index<1>, std::move(fault)) {}

    // By index, so a value and a fault of the same type stay apart.
    std::variant<Value, Fault> state_;
};

}  // namespace tarvo
