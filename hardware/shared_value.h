#pragma once
// A value one thread writes while others read it: an atomic load and store
// on every access, and still copyable (load then store), so that a struct
// holding it can be reset by assigning a fresh one. It gives no ordering
// beyond the value itself; a value that must change together with others
// needs a lock instead.
#include <atomic>

template <typename T>
class SharedValue {
public:
    SharedValue(T v = T()) : value(v) {}
    SharedValue(const SharedValue& other) : value(other.value.load()) {}
    SharedValue& operator=(const SharedValue& other)
    {
        value.store(other.value.load());
        return *this;
    }
    SharedValue& operator=(T v)
    {
        value.store(v);
        return *this;
    }
    operator T() const { return value.load(); }

private:
    std::atomic<T> value;
};
