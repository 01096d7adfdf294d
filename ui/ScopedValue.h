// A value set for the life of a scope: the variable takes the new value now
// and its earlier value back on every way out of the scope, a failure
// included. For flags such as "a send is under way" that must never stay
// set after the work they mark has ended.
#pragma once

#include <utility>

template <typename T>
class TScopedValue {
public:
    TScopedValue(T& variable, T value) : variable_(variable), earlier_(std::move(variable))
    {
        variable_ = std::move(value);
    }
    ~TScopedValue() { variable_ = std::move(earlier_); }
    TScopedValue(const TScopedValue&) = delete;
    TScopedValue& operator=(const TScopedValue&) = delete;

private:
    T& variable_;
    T earlier_;
};
