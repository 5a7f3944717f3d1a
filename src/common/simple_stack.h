// The last-in-first-out stack of the expression evaluators: operators while
// an expression is reordered, values while it is evaluated.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <utility>
#include <vector>

template <typename T>
class simple_stack {
public:
    // The stack's array takes its memory from `memory`. It starts with room
    // for a few values, so that a short expression never regrows it.
    explicit simple_stack(std::pmr::memory_resource* memory = std::pmr::get_default_resource())
        : items_(memory) {
        items_.reserve(kInitialRoom);
    }

    void push(T value) { items_.push_back(std::move(value)); }

    // Removes and returns the top value; the stack must not be empty.
    T pop() {
        T top = std::move(items_.back());
        items_.pop_back();
        return top;
    }

    // The n-th value from the top, 0 being the top; n < size().
    T& peek(std::size_t n = 0) { return items_[items_.size() - 1 - n]; }

    // Removes n values from the top; n <= size().
    void drop(std::size_t n) {
        items_.erase(items_.end() - static_cast<std::ptrdiff_t>(n), items_.end());
    }

    std::size_t size() const { return items_.size(); }

private:
    static constexpr std::size_t kInitialRoom = 8;
    std::pmr::vector<T> items_;
};
