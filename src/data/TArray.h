// A growable array of plain records: element storage, count, capacity and a growth step.
// add() appends one zero-filled element, growing the storage by the step (to capacity + step
// elements) whenever the new count would reach the capacity; it answers null when the storage
// can't grow. Elements must be trivially copyable, since growing moves them bytewise.
#pragma once

#include <cstdlib>
#include <cstring>
#include <type_traits>

template <typename T>
class TArray {
    static_assert(std::is_trivially_copyable_v<T>, "TArray moves its elements bytewise");

public:
    explicit TArray(int growth = 5) : growth_(growth > 0 ? growth : 5) {}
    ~TArray() { std::free(items_); }
    TArray(const TArray&) = delete;
    TArray& operator=(const TArray&) = delete;

    T* add() {
        if (count_ + 1 >= capacity_) {
            const int capacity = capacity_ + growth_;
            void* grown = std::realloc(items_, sizeof(T) * static_cast<std::size_t>(capacity));
            if (!grown) return nullptr;
            items_ = static_cast<T*>(grown);
            capacity_ = capacity;
        }
        T* item = items_ + count_++;
        std::memset(static_cast<void*>(item), 0, sizeof(T));
        return item;
    }
    void clear() { count_ = 0; }

    int count() const { return count_; }
    int capacity() const { return capacity_; }
    T& operator[](int i) { return items_[i]; }
    const T& operator[](int i) const { return items_[i]; }
    T* begin() { return items_; }
    T* end() { return items_ + count_; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + count_; }

private:
    T* items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int growth_;
};
